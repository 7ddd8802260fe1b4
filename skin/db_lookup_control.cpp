#include "skin/db_lookup_control.h"

#include <QDateTime>
#include <QKeyEvent>
#include <algorithm>

#include "skin/db_error.h"

namespace kavri {

namespace {

std::function<qint64()>& SearchClock() {
  static std::function<qint64()> clock = [] { return QDateTime::currentMSecsSinceEpoch(); };
  return clock;
}

// The time of the last search key of any lookup control.
qint64& LastSearchKey() {
  static qint64 at = 0;
  return at;
}

}  // namespace

bool LookupValuesEqual(const QVariant& a, const QVariant& b) {
  const bool aNull = !a.isValid() || a.isNull(), bNull = !b.isValid() || b.isNull();
  if (aNull || bNull) return aNull == bNull;
  return QVariant::compare(a, b) == QPartialOrdering::Equivalent;
}

// ---- links ----

void TSkinDataSourceLink::ActiveChanged() {
  if (control_) control_->DataFieldsChanged();
}
void TSkinDataSourceLink::LayoutChanged() { ActiveChanged(); }
void TSkinDataSourceLink::RecordChanged(TField* field) {
  if (control_) control_->DataLinkRecordChanged(field);
}
bool TSkinDataSourceLink::FocusControl(TField* field) {
  if (!control_ || !field || field != control_->Field() || !control_->isEnabled() || !control_->isVisible())
    return false;
  control_->setFocus(Qt::OtherFocusReason);
  return true;
}

void TSkinListSourceLink::ActiveChanged() {
  if (control_) control_->ListChanged();
}
void TSkinListSourceLink::LayoutChanged() { ActiveChanged(); }
void TSkinListSourceLink::DataSetChanged() {
  if (control_) control_->ListLinkDataChanged();
}

// ---- control ----

TSkinDBLookupControl::TSkinDBLookupControl(QWidget* owner)
    : QWidget(owner),
      lookupSource_(std::make_unique<TDataSource>()),
      dataLink_(std::make_unique<TSkinDataSourceLink>(this)),
      listLink_(std::make_unique<TSkinListSourceLink>(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
}

TSkinDBLookupControl::~TSkinDBLookupControl() {
  dataLink_->Forget();
  listLink_->Forget();
}

void TSkinDBLookupControl::SetSearchClock(std::function<qint64()> clock) { SearchClock() = std::move(clock); }

void TSkinDBLookupControl::SetDataSource(TDataSource* source) {
  // The fields are resolved once, below, where a missing one raises to the caller.
  settingSource_ = true;
  dataLink_->SetDataSource(source);
  settingSource_ = false;
  UpdateDataFields();
}

void TSkinDBLookupControl::SetDataField(const QString& name) {
  if (dataFieldName_ == name) return;
  dataFieldName_ = name;
  UpdateDataFields();
}

void TSkinDBLookupControl::SetListSource(TDataSource* source) {
  CheckNotLookup();
  listLink_->SetDataSource(source);
  UpdateListFields();
}

void TSkinDBLookupControl::SetKeyField(const QString& name) {
  CheckNotLookup();
  if (keyFieldName_ == name) return;
  keyFieldName_ = name;
  UpdateListFields();
}

void TSkinDBLookupControl::SetListField(const QString& names) {
  if (listFieldName_ == names) return;
  listFieldName_ = names;
  UpdateListFields();
}

void TSkinDBLookupControl::SetListFieldIndex(int index) {
  if (listFieldIndex_ == index) return;
  listFieldIndex_ = index;
  UpdateListFields();
}

void TSkinDBLookupControl::CheckNotCircular() const {
  if (listLink_->Active() && dataLink_->DataSet() && listLink_->DataSet() == dataLink_->DataSet())
    throw EDatabaseError(QStringLiteral("Circular datalinks are not allowed"));
}

void TSkinDBLookupControl::CheckNotLookup() const {
  if (lookupMode_) throw EDatabaseError(QStringLiteral("Property already defined by lookup field"));
  if (dataLink_->DataSourceFixed()) throw EDatabaseError(QStringLiteral("Operation not allowed in a DBCtrlGrid"));
}

void TSkinDBLookupControl::UpdateDataFields() {
  dataField_ = masterField_ = nullptr;
  try {
    if (dataLink_->Active() && !dataFieldName_.isEmpty()) {
      CheckNotCircular();
      TDataSet* set = dataLink_->DataSet();
      TField* field = set->FieldByName(dataFieldName_);
      masterField_ = field->Lookup() ? set->FieldByName(field->KeyFields()) : field;
      dataField_ = field;
    }
    SetLookupMode(dataField_ && dataField_->Lookup());
  } catch (...) {
    // Bound to nothing, and nothing left of a lookup field bound before.
    dataField_ = masterField_ = nullptr;
    SetLookupMode(false);
    DataLinkRecordChanged(nullptr);
    throw;
  }
  DataLinkRecordChanged(nullptr);
}

void TSkinDBLookupControl::DataFieldsChanged() {
  // The set opened or changed its fields: a field name it lacks is shown, and the set's other
  // controls still hear of the change.
  if (!settingSource_) RunDataStep([this] { UpdateDataFields(); });
}

void TSkinDBLookupControl::SetLookupMode(bool value) {
  if (value) {
    // Also when another lookup field replaces one: the list follows the field now bound.
    masterField_ = dataField_->DataSet()->FieldByName(dataField_->KeyFields());
    lookupSource_->SetDataSet(dataField_->LookupDataSet());
    keyFieldName_ = dataField_->LookupKeyFields();
    lookupMode_ = true;
    listLink_->SetDataSource(lookupSource_.get());
    // A list field the lookup field names and its set lacks raises to whoever bound the field.
    UpdateListFields();
  } else if (lookupMode_) {
    listLink_->SetDataSource(nullptr);
    lookupMode_ = false;
    keyFieldName_.clear();
    lookupSource_->SetDataSet(nullptr);
    masterField_ = dataField_;
    ListChanged();
  }
}

void TSkinDBLookupControl::UpdateListFields() {
  listActive_ = false;
  keyField_ = listField_ = nullptr;
  listFields_.clear();
  if (listLink_->Active() && !keyFieldName_.isEmpty()) {
    CheckNotCircular();
    TDataSet* set = ListSet();
    keyField_ = set->FieldByName(keyFieldName_);
    try {
      listFields_ = set->GetFieldList(listFieldName_);
    } catch (const EDatabaseError&) {
      throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(listFieldName_));
    }
    if (lookupMode_) {
      // The lookup field's result is what the list shows first and searches.
      TField* result = set->FieldByName(dataField_->LookupResultField());
      if (std::find(listFields_.begin(), listFields_.end(), result) == listFields_.end())
        listFields_.insert(listFields_.begin(), result);
      listField_ = result;
    } else {
      if (listFields_.empty()) listFields_.push_back(keyField_);
      const bool valid = listFieldIndex_ >= 0 && listFieldIndex_ < static_cast<int>(listFields_.size());
      listField_ = listFields_[valid ? listFieldIndex_ : 0];
    }
    listActive_ = true;
  }
}

void TSkinDBLookupControl::ListChanged() {
  try {
    UpdateListFields();
  } catch (const EDatabaseError&) {
    // The list's set changed under the control: it shows nothing until its fields exist again.
    listActive_ = false;
    ListLinkDataChanged();
  }
}

void TSkinDBLookupControl::DataLinkRecordChanged(TField* field) {
  if (!field || field == masterField_) SetKeyValue(masterField_ ? masterField_->Value() : QVariant());
}

void TSkinDBLookupControl::SetKeyValue(const QVariant& value) {
  if (LookupValuesEqual(value, keyValue_)) return;
  keyValue_ = value;
  KeyValueChanged();
}

bool TSkinDBLookupControl::LocateKey() {
  TDataSet* set = ListSet();
  if (!keyValue_.isValid() || keyValue_.isNull() || !set || !set->Active() || !keyField_) return false;
  try {
    return set->Locate(keyField_->FieldName(), {keyValue_});
  } catch (const std::exception&) {
    return false;
  }
}

void TSkinDBLookupControl::SelectKeyValue(const QVariant& value) {
  if (masterField_) {
    RunDataStep([&] {
      if (dataLink_->Edit()) masterField_->SetValue(value);
    });
  } else {
    SetKeyValue(value);
  }
  update();
  if (OnClick) OnClick();
}

bool TSkinDBLookupControl::CanModify() const {
  return listActive_ && !ReadOnly() && (!dataLink_->DataSource() || (masterField_ && masterField_->CanModify()));
}

void TSkinDBLookupControl::ProcessSearchKey(QChar key) {
  if (!listField_ || !listField_->IsString()) return;
  if (key == QChar('\b') || key == QChar(27)) {
    searchText_.clear();
    return;
  }
  if (key < QChar(' ') || !CanModify()) return;
  const qint64 now = SearchClock()();
  if (now - LastSearchKey() > kSearchPauseMs) searchText_.clear();
  LastSearchKey() = now;
  if (searchText_.size() >= kMaxSearchLength) return;
  const QString candidate = searchText_ + key;
  try {
    if (ListSet()->Locate(listField_->FieldName(), {candidate}, loCaseInsensitive | loPartialKey)) {
      SelectKeyValue(keyField_->Value());
      searchText_ = candidate;
    }
  } catch (const std::exception&) {
    searchText_ = candidate;  // a candidate too long for the field still counts as typed
  }
}

bool TSkinDBLookupControl::NullValueKeyPressed(QKeyEvent* event) {
  if (nullValueKey_.isEmpty() || QKeySequence(event->keyCombination()) != nullValueKey_ || !CanModify()) return false;
  // The field cleared is the one written: a lookup field is emptied through its key.
  RunDataStep([&] {
    if (dataLink_->Edit() && masterField_) masterField_->Clear();
  });
  event->accept();
  return true;
}

void TSkinDBLookupControl::keyPressEvent(QKeyEvent* event) {
  if (!NullValueKeyPressed(event)) QWidget::keyPressEvent(event);
}

void TSkinDBLookupControl::focusInEvent(QFocusEvent* event) {
  searchText_.clear();
  QWidget::focusInEvent(event);
  update();
}

void TSkinDBLookupControl::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace kavri
