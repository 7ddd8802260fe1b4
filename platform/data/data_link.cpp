#include "platform/data/data_link.h"

#include <algorithm>

namespace kavri {

namespace {
bool IsEditState(TDataSetState s) { return s == TDataSetState::dsEdit || s == TDataSetState::dsInsert; }
}  // namespace

TDataLink::~TDataLink() {
  if (source_) source_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source) {
  if (source_ == source) return;
  if (source_) source_->RemoveLink(this);
  source_ = source;
  if (source_) source_->AddLink(this);
  UpdateState();
}

void TDataLink::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  UpdateState();
}

void TDataLink::UpdateState() {
  const TDataSetState state = source_ ? source_->State() : TDataSetState::dsInactive;
  SetActive(state != TDataSetState::dsInactive);
  SetEditing(IsEditState(state) && !readOnly_);
}

void TDataLink::SetActive(bool value) {
  if (active_ == value) return;
  active_ = value;
  first_ = 0;
  if (value) UpdateWindow();
  ActiveChanged();
}

void TDataLink::SetEditing(bool value) {
  if (editing_ == value) return;
  editing_ = value;
  EditingChanged();
}

void TDataLink::SetBufferCount(int count) {
  bufferCount_ = std::max(1, count);
  if (active_) UpdateWindow();
}

int TDataLink::UpdateWindow() {
  TDataSet* set = DataSet();
  if (!set) return 0;
  const int rows = set->BufferRowCount(), current = set->ActiveIndex(), old = first_;
  if (current < first_) first_ = current;
  if (current >= first_ + bufferCount_) first_ = current - bufferCount_ + 1;
  // A window that could be full is kept full at the end of the set.
  first_ = std::max(0, std::min(first_, rows - bufferCount_));
  return first_ - old;
}

int TDataLink::RecordCount() const {
  TDataSet* set = DataSet();
  if (!active_ || !set) return 0;
  return std::clamp(set->BufferRowCount() - first_, 0, bufferCount_);
}

int TDataLink::ActiveRecord() const {
  TDataSet* set = DataSet();
  if (!active_ || !set) return 0;
  return set->DisplayRow() - first_;
}

void TDataLink::SetActiveRecord(int index) {
  TDataSet* set = DataSet();
  if (!active_ || !set) return;
  const int row = first_ + index;
  set->SetDisplayRow(row == set->ActiveIndex() ? -1 : row);
}

bool TDataLink::Edit() {
  if (!readOnly_ && source_) source_->Edit();
  return editing_;
}

void TDataLink::UpdateRecord() {
  updating_ = true;
  try {
    UpdateData();
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
}

bool TDataLink::DataEvent(TDataEvent event, TField* field) {
  if (event == TDataEvent::deUpdateState) {
    UpdateState();
    return false;
  }
  if (!active_) return false;
  switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
      if (!updating_) RecordChanged(field);
      break;
    case TDataEvent::deDataSetChange:
      UpdateWindow();
      DataSetChanged();
      break;
    case TDataEvent::deDataSetScroll:
      DataSetScrolled(UpdateWindow());
      break;
    case TDataEvent::deLayoutChange:
      UpdateWindow();
      LayoutChanged();
      break;
    case TDataEvent::deUpdateRecord:
      UpdateRecord();
      break;
    case TDataEvent::deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case TDataEvent::deFocusControl:
      return FocusControl(field);
    case TDataEvent::deUpdateState:
      break;
  }
  return false;
}

// ---- field data link ----

void TFieldDataLink::SetFieldName(const QString& name) {
  if (fieldName_ == name) return;
  fieldName_ = name;
  UpdateField();
}

void TFieldDataLink::UpdateField() {
  TDataSet* set = DataSet();
  SetField(Active() && set && !fieldName_.isEmpty() ? set->FindField(fieldName_) : nullptr);
}

void TFieldDataLink::SetField(TField* field) {
  if (field_ == field) return;
  field_ = field;
  EditingChanged();
  RecordChanged(nullptr);
}

bool TFieldDataLink::CanModify() const { return !ReadOnly() && field_ && field_->CanModify(); }

bool TFieldDataLink::Edit() {
  if (CanModify()) TDataLink::Edit();
  return fieldEditing_;
}

void TFieldDataLink::SetFieldEditing(bool value) {
  if (fieldEditing_ == value) return;
  fieldEditing_ = value;
  modified_ = false;
  if (OnEditingChange) OnEditingChange();
}

void TFieldDataLink::ActiveChanged() {
  UpdateField();
  if (OnActiveChange) OnActiveChange();
}

void TFieldDataLink::EditingChanged() { SetFieldEditing(TDataLink::Editing() && CanModify()); }

void TFieldDataLink::LayoutChanged() { UpdateField(); }

void TFieldDataLink::RecordChanged(TField* field) {
  if (field && field != field_) return;
  if (OnDataChange) OnDataChange();
  modified_ = false;
}

void TFieldDataLink::UpdateData() {
  if (!modified_) return;
  if (field_ && OnUpdateData) OnUpdateData();
  modified_ = false;
}

bool TFieldDataLink::FocusControl(TField* field) {
  if (!field || field != field_ || !control_) return false;
  if (!control_->property("enabled").toBool() || !control_->property("visible").toBool()) return false;
  // The platform layer knows no widgets; the control's focus slot is reached by name.
  return QMetaObject::invokeMethod(control_, "setFocus");
}

}  // namespace kavri
