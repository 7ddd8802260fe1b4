#include "skin/db_radio_group.h"

#include <QKeyEvent>

namespace kavri {

TSkinDBRadioGroup::TSkinDBRadioGroup(QWidget* owner) : TDBFieldControl<TSkinRadioGroup>(owner) {
  TFieldDataLink& link = binding_.DataLink();
  link.OnDataChange = [this] { DataChange(); };
  link.OnUpdateData = [this] { Field()->SetText(value_); };
}

QString TSkinDBRadioGroup::GetButtonValue(int index) const {
  if (index >= 0 && index < values_.size() && !values_[index].isEmpty()) return values_[index];
  return Items().value(index);
}

void TSkinDBRadioGroup::SelectValueButton(const QString& value) {
  inSetValue_ = true;
  int index = -1;
  for (int i = 0; i < Items().size() && index < 0; ++i)
    if (GetButtonValue(i) == value) index = i;
  SetItemIndex(index);
  inSetValue_ = false;
}

void TSkinDBRadioGroup::SetValue(const QString& value) {
  if (value == value_) return;
  SelectValueButton(value);
  value_ = value;
  if (OnChange) OnChange();
}

void TSkinDBRadioGroup::DataChange() { SetValue(Field() ? Field()->Text() : QString()); }

void TSkinDBRadioGroup::SetValues(const QStringList& values) {
  values_ = values;
  DataChange();
  SelectValueButton(value_);
}

void TSkinDBRadioGroup::SetItems(const QStringList& items) {
  TSkinRadioGroup::SetItems(items);
  DataChange();
  SelectValueButton(value_);
}

void TSkinDBRadioGroup::NewClick() {
  if (inSetValue_) return;
  const int clicked = ItemIndex();
  if (clicked < 0 || GetButtonValue(clicked) == value_) return;
  // The field can take the choice only in an edit; refused, the buttons show the field again.
  if (!binding_.RequestEdit()) {
    SelectValueButton(value_);
    return;
  }
  SetValue(GetButtonValue(clicked));
  binding_.DataLink().Modified();
}

void TSkinDBRadioGroup::keyPressEvent(QKeyEvent* event) {
  TSkinRadioGroup::keyPressEvent(event);
  binding_.ApplyChoiceKey(*event);
}

}  // namespace kavri
