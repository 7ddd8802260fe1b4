#include "skin/db_combo_box.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kavri {

TSkinDBComboBox::TSkinDBComboBox(QWidget* owner) : TDBFieldControl<TSkinCustomComboBox>(owner) {
  TFieldDataLink& link = binding_.DataLink();
  link.OnDataChange = [this] { DataChange(); };
  link.OnEditingChange = [this] { SetEditReadOnly(); };
  link.OnUpdateData = [this] { Field()->SetText(GetComboText()); };
  SetEditReadOnly();
}

void TSkinDBComboBox::SetStyle(TComboBoxStyle style) {
  if (style == TComboBoxStyle::csSimple && binding_.DataLink().DataSourceFixed())
    throw EDatabaseError(QStringLiteral("Control cannot be used in a DBCtrlGrid"));
  TSkinCustomComboBox::SetStyle(style);
  SetEditReadOnly();
}

void TSkinDBComboBox::SetItems(const QStringList& items) {
  TSkinCustomComboBox::SetItems(items);
  DataChange();
}

void TSkinDBComboBox::SetEditReadOnly() {
  if (lineEdit()) lineEdit()->setReadOnly(!binding_.DataLink().Editing());
}

QString TSkinDBComboBox::GetComboText() const {
  if (isEditable()) return currentText();
  return currentIndex() >= 0 ? itemText(currentIndex()) : QString();
}

void TSkinDBComboBox::SetComboText(const QString& value) {
  if (value == GetComboText()) return;
  const QSignalBlocker block(this);
  const int index = value.isEmpty() ? -1 : findText(value);
  setCurrentIndex(index);
  if (index < 0 && isEditable()) setEditText(value);
}

void TSkinDBComboBox::DataChange() {
  if (dropped_ && Style() != TComboBoxStyle::csSimple) return;
  SetComboText(Field() ? Field()->Text() : QString());
}

bool TSkinDBComboBox::TakeOperatorText() {
  // Entering the edit shows the field again, which would undo the pick: keep what was picked.
  const QString picked = GetComboText();
  if (!binding_.RequestEdit()) {
    DataChange();
    return false;
  }
  SetComboText(picked);
  return true;
}

void TSkinDBComboBox::Change() {
  if (!TakeOperatorText()) return;
  TSkinCustomComboBox::Change();
  binding_.DataLink().Modified();
}

void TSkinDBComboBox::Click() {
  if (!TakeOperatorText()) return;
  TSkinCustomComboBox::Click();
  binding_.DataLink().Modified();
}

void TSkinDBComboBox::showPopup() {
  binding_.RequestEdit();
  dropped_ = true;
  TSkinCustomComboBox::showPopup();
}

void TSkinDBComboBox::hidePopup() {
  TSkinCustomComboBox::hidePopup();
  dropped_ = false;
  if (!binding_.DataLink().Editing()) DataChange();
}

void TSkinDBComboBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Up || key == Qt::Key_Down) && !binding_.RequestEdit()) {
    event->accept();
    return;
  }
  const TDBFieldBinding::TKeyRule rule = binding_.ApplyKeyRule(*event, false);
  if (rule == TDBFieldBinding::TKeyRule::Drop) {
    event->accept();
    return;
  }
  if (rule == TDBFieldBinding::TKeyRule::Reset && lineEdit()) lineEdit()->selectAll();
  TSkinCustomComboBox::keyPressEvent(event);
}

}  // namespace kavri
