#include "skin/db_check_box.h"

#include <QKeyEvent>

namespace kavri {

TSkinDBCheckBox::TSkinDBCheckBox(QWidget* owner) : TDBFieldControl<TSkinCheckBox>(owner) {
  SetState(cbUnchecked);
  TFieldDataLink& link = binding_.DataLink();
  link.OnDataChange = [this] { DataChange(); };
  link.OnUpdateData = [this] { UpdateData(); };
}

bool TSkinDBCheckBox::ValueMatch(const QString& list, const QString& text) {
  if (list.isEmpty()) return false;
  for (const QString& alternative : list.split(';'))
    if (alternative.compare(text, Qt::CaseInsensitive) == 0) return true;
  return false;
}

TCheckBoxState TSkinDBCheckBox::GetFieldState() const {
  const TField* f = Field();
  if (!f) return cbUnchecked;
  if (f->IsNull()) return cbGrayed;
  if (f->DataType() == TFieldType::ftBoolean) return f->Value().toBool() ? cbChecked : cbUnchecked;
  const QString text = f->Text();
  if (ValueMatch(valueChecked_, text)) return cbChecked;
  if (ValueMatch(valueUnchecked_, text)) return cbUnchecked;
  return cbGrayed;
}

void TSkinDBCheckBox::SetValueChecked(const QString& value) {
  valueChecked_ = value;
  DataChange();
}

void TSkinDBCheckBox::SetValueUnchecked(const QString& value) {
  valueUnchecked_ = value;
  DataChange();
}

void TSkinDBCheckBox::DataChange() { SetState(GetFieldState()); }

void TSkinDBCheckBox::UpdateData() {
  TField* f = Field();
  if (f->DataType() == TFieldType::ftBoolean) {
    f->SetAsBoolean(Checked());
    return;
  }
  f->SetText((Checked() ? valueChecked_ : valueUnchecked_).section(';', 0, 0));
}

void TSkinDBCheckBox::Toggle() {
  // Entering the edit shows the field again, which would undo the click: keep what was clicked.
  // Refused, the box keeps its flipped look until the field is shown again.
  const bool clicked = Checked();
  if (!binding_.RequestEdit()) return;
  SetChecked(clicked);
  binding_.DataLink().Modified();
}

void TSkinDBCheckBox::keyPressEvent(QKeyEvent* event) {
  TSkinCheckBox::keyPressEvent(event);
  binding_.ApplyChoiceKey(*event);
}

}  // namespace kavri
