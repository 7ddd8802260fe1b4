#include "skin/db_memo.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace kavri {

TSkinDBMemo::TSkinDBMemo(QWidget* owner) : TDBFieldControl<TSkinMemo>(owner) {
  setReadOnly(true);
  setTabChangesFocus(true);  // Tab leaves the memo unless it is told to take tabs
  TFieldDataLink& link = binding_.DataLink();
  link.OnDataChange = [this] { DataChange(); };
  link.OnEditingChange = [this] { EditingChange(); };
  link.OnUpdateData = [this] { UpdateData(); };
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (showing_) return;
    if (memoLoaded_) binding_.DataLink().Modified();
    memoLoaded_ = true;
  });
}

void TSkinDBMemo::ShowText(const QString& text) {
  if (toPlainText() == text) return;  // keeps the caret and the selection
  showing_ = true;
  setPlainText(text);
  showing_ = false;
}

void TSkinDBMemo::DataChange() {
  TField* f = Field();
  if (!f) {
    ShowText(QString());
    memoLoaded_ = false;
  } else if (f->IsBlob()) {
    if (autoDisplay_ || (binding_.DataLink().Editing() && memoLoaded_)) {
      memoLoaded_ = false;
      LoadMemo();
    } else {
      ShowText(QStringLiteral("(%1)").arg(f->DisplayLabel()));
      memoLoaded_ = false;
    }
  } else {
    ShowText(focused_ && binding_.DataLink().CanModify() ? f->Text() : f->DisplayText());
    memoLoaded_ = true;
  }
  viewport()->update();
}

void TSkinDBMemo::LoadMemo() {
  TField* f = Field();
  if (memoLoaded_ || !f || !f->IsBlob()) return;
  ShowText(f->AsString());
  memoLoaded_ = true;
  EditingChange();
}

void TSkinDBMemo::SetAutoDisplay(bool value) {
  if (autoDisplay_ == value) return;
  autoDisplay_ = value;
  if (value) LoadMemo();
}

void TSkinDBMemo::EditingChange() { setReadOnly(!(binding_.DataLink().Editing() && memoLoaded_)); }

void TSkinDBMemo::UpdateData() { Field()->SetAsString(toPlainText()); }

void TSkinDBMemo::SetFocused(bool value) {
  if (focused_ == value) return;
  focused_ = value;
  // A memo field keeps what the operator loaded; other fields switch to their editing text.
  if (!Field() || !Field()->IsBlob()) binding_.DataLink().Reset();
}

void TSkinDBMemo::keyPressEvent(QKeyEvent* event) {
  const bool focusKey = (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) && tabChangesFocus();
  if (focusKey) {
    TSkinMemo::keyPressEvent(event);
    return;
  }
  if (!memoLoaded_) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) LoadMemo();
    event->accept();
    return;
  }
  if (binding_.ApplyKeyRule(*event, true) != TDBFieldBinding::TKeyRule::Pass) {
    event->accept();
    return;
  }
  TSkinMemo::keyPressEvent(event);
}

void TSkinDBMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!memoLoaded_) {
    LoadMemo();
    return;
  }
  TSkinMemo::mouseDoubleClickEvent(event);
}

}  // namespace kavri
