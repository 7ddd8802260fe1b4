#include "skin/db_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QProxyStyle>

namespace kavri {

namespace {

constexpr int kNoLimit = 32767;  // the line edit's own "no limit"

// The line edit takes its password character from its style.
class TPasswordCharStyle : public QProxyStyle {
 public:
  explicit TPasswordCharStyle(QChar c) : c_(c) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_LineEdit_PasswordCharacter) return c_.unicode();
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }

 private:
  QChar c_;
};

}  // namespace

TSkinDBEdit::TSkinDBEdit(QWidget* owner) : TDBFieldControl<TSkinEdit>(owner) {
  setReadOnly(true);
  TFieldDataLink& link = binding_.DataLink();
  link.OnDataChange = [this] { DataChange(); };
  link.OnEditingChange = [this] { EditingChange(); };
  link.OnUpdateData = [this] { UpdateData(); };
  link.OnActiveChange = [this] { ActiveChange(); };
  connect(this, &QLineEdit::textChanged, this, [this] { binding_.DataLink().Modified(); });
  connect(this, &QLineEdit::textEdited, this, &TSkinDBEdit::ApplyCharCase);
}

TSkinDBEdit::~TSkinDBEdit() {
  if (passwordStyle_) setStyle(nullptr);
}

void TSkinDBEdit::SetPasswordChar(QChar c) {
  passwordChar_ = c;
  setStyle(nullptr);
  passwordStyle_.reset();
  if (!c.isNull()) {
    passwordStyle_ = std::make_unique<TPasswordCharStyle>(c);
    setStyle(passwordStyle_.get());
  }
  setEchoMode(c.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TSkinDBEdit::ApplyCharCase() {
  if (charCase_ == TEditCharCase::ecNormal) return;
  const QString cased = charCase_ == TEditCharCase::ecUpperCase ? text().toUpper() : text().toLower();
  if (cased == text()) return;
  const int caret = cursorPosition();
  setText(cased);
  setCursorPosition(caret);
}

void TSkinDBEdit::SetDataField(const QString& name) {
  ResetMaxLength();
  binding_.SetDataField(name);
}

void TSkinDBEdit::SetMaxLength(int value) {
  maxLength_ = std::max(0, value);
  setMaxLength(maxLength_ > 0 ? maxLength_ : kNoLimit);
}

void TSkinDBEdit::ResetMaxLength() {
  // A limit taken from the old field gives way to the next field's size.
  if (maxLength_ <= 0 || !binding_.DataLink().DataSet()) return;
  TField* f = binding_.DataLink().DataSet()->FindField(DataField());
  if (f && f->IsString() && f->Size() == maxLength_) SetMaxLength(0);
}

void TSkinDBEdit::ActiveChange() { ResetMaxLength(); }

void TSkinDBEdit::DataChange() {
  TField* f = Field();
  if (!f) {
    alignment_ = Qt::AlignLeft;
    setAlignment(Qt::AlignLeft);
    ShowText(QString());
    return;
  }
  if (f->Alignment() != alignment_) {
    setText(QString());
    alignment_ = f->Alignment();
  }
  // Editing text is entered from the left; the shown value sits as its field aligns.
  setAlignment(focused_ ? Qt::AlignLeft : alignment_);
  if (f->IsString() && maxLength_ == 0) SetMaxLength(f->Size());
  if (focused_ && binding_.DataLink().CanModify()) {
    ShowText(f->Text());
  } else {
    ShowText(f->DisplayText());
    if (binding_.DataLink().Editing()) setModified(true);
  }
}

void TSkinDBEdit::ShowText(const QString& value) {
  // The same text again keeps the caret and the selection the operator is typing over.
  if (text() != value) setText(value);
}

void TSkinDBEdit::EditingChange() { setReadOnly(!binding_.DataLink().Editing()); }

void TSkinDBEdit::UpdateData() { Field()->SetText(text()); }

void TSkinDBEdit::SetFocused(bool value) {
  if (focused_ == value) return;
  focused_ = value;
  binding_.DataLink().Reset();
}

void TSkinDBEdit::CommitRefused() {
  selectAll();
  setFocus();
}

void TSkinDBEdit::keyPressEvent(QKeyEvent* event) {
  switch (binding_.ApplyKeyRule(*event, false)) {
    case TDBFieldBinding::TKeyRule::Drop:
      event->accept();
      return;
    case TDBFieldBinding::TKeyRule::Reset:
      selectAll();
      event->accept();
      return;
    case TDBFieldBinding::TKeyRule::Pass:
      break;
  }
  TSkinEdit::keyPressEvent(event);
}

}  // namespace kavri
