#include "platform/data/data_set.h"

#include <algorithm>

#include "platform/data/data_source.h"
#include "platform/data/key_compare.h"

namespace kavri {

namespace {

bool IsEditState(TDataSetState s) { return s == TDataSetState::dsEdit || s == TDataSetState::dsInsert; }

// An exact key compares as the database compares values; a case-blind or partial search of a text
// field reads both sides as texts.
bool ValueMatches(const TField& field, const QVariant& stored, const QVariant& key, TLocateOptions options) {
  const bool text = field.IsString() || field.DataType() == TFieldType::ftMemo;
  if (options == 0 || !text || !key.isValid() || key.isNull() || !stored.isValid())
    return KeyEquals(field.DataType(), stored, key);
  const QString s = stored.toString(), k = key.toString();
  const Qt::CaseSensitivity cs = (options & loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
  return (options & loPartialKey) ? s.startsWith(k, cs) : s.compare(k, cs) == 0;
}

}  // namespace

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() {
  // Subclasses close before their storage goes; here the sources only let go.
  state_ = TDataSetState::dsInactive;
  for (TDataSource* source : std::vector<TDataSource*>(sources_)) source->DataSetGone();
}

TField* TDataSet::AddField(const QString& name, TFieldType type, int size) {
  fields_.push_back(std::make_unique<TField>(this, FieldCount(), name, type, size));
  return fields_.back().get();
}

void TDataSet::AddLookupField(const QString& name, TFieldType type, int size, const TLookupDef& lookup) {
  if (Active()) throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
  lookupDefs_.push_back({name, type, size, lookup});
}

void TDataSet::Open() {
  if (Active()) return;
  fields_.clear();
  lookupKeys_.clear();
  DropKeyIndexes();
  DoOpen();
  storedFields_ = FieldCount();
  try {
    AddLookupFields();
  } catch (...) {
    DoClose();
    fields_.clear();
    lookupKeys_.clear();
    throw;
  }
  MoveTo(0, true, DoRecordCount() == 0);
  SetState(TDataSetState::dsBrowse);
}

void TDataSet::Close() {
  if (!Active()) return;
  // Links drop their fields while the state event runs; only then do the fields go.
  editBuffer_.clear();
  oldValues_.clear();
  SetState(TDataSetState::dsInactive);
  DoClose();
  fields_.clear();
  lookupKeys_.clear();
  DropKeyIndexes();
  bof_ = eof_ = true;
}

void TDataSet::AddLookupFields() {
  for (const TLookupFieldDef& def : lookupDefs_) {
    std::vector<TField*> keys = GetFieldList(def.lookup.keyFields);
    fields_.push_back(std::make_unique<TField>(this, FieldCount(), def.name, def.type, def.size, def.lookup));
    lookupKeys_.push_back(std::move(keys));
  }
}

QVariant TDataSet::LookupValue(int fieldIndex) const {
  const TField& field = *fields_.at(fieldIndex);
  TDataSet* list = field.LookupDataSet();
  if (!list || !list->Active()) return {};
  QVariantList keys;
  for (TField* key : lookupKeys_.at(fieldIndex - storedFields_)) {
    const QVariant value = key->Value();
    if (!value.isValid()) return {};  // no key, nothing to look up
    keys << value;
  }
  return field.Converted(list->Lookup(field.LookupKeyFields(), keys, field.LookupResultField()));
}

void TDataSet::SetState(TDataSetState state) {
  if (state_ == state) return;
  state_ = state;
  modified_ = false;
  DataEvent(TDataEvent::deUpdateState);
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) throw EDatabaseError(QStringLiteral("Cannot modify a read-only dataset"));
}

void TDataSet::CheckEditing() const {
  if (!IsEditState(state_)) throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
}

int TDataSet::RecordCount() const { return Active() ? DoRecordCount() : 0; }

int TDataSet::BufferRowCount() const { return RecordCount() + (Inserting() ? 1 : 0); }

void TDataSet::DataEvent(TDataEvent event, TField* field) {
  // A source may leave the set while its links hear the event.
  for (TDataSource* source : std::vector<TDataSource*>(sources_)) {
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) continue;
    source->NotifyLinks(event, field);
  }
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(TDataEvent::deCheckBrowseMode);
  if (!IsEditState(state_)) return;
  UpdateRecord();
  if (modified_)
    Post();
  else
    Cancel();
}

void TDataSet::UpdateRecord() {
  CheckEditing();
  DataEvent(TDataEvent::deUpdateRecord);
}

void TDataSet::MoveTo(int row, bool bof, bool eof) {
  current_ = row;
  display_ = -1;
  bof_ = bof;
  eof_ = eof;
}

void TDataSet::Resync() {
  const bool empty = DoRecordCount() == 0;
  MoveTo(current_, empty, empty);
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::EndEdit() {
  display_ = -1;
  editBuffer_.clear();
  oldValues_.clear();
  SetState(TDataSetState::dsBrowse);
  Resync();
}

void TDataSet::First() {
  CheckBrowseMode();
  MoveTo(0, true, DoRecordCount() == 0);
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::Last() {
  CheckBrowseMode();
  const int count = DoRecordCount();
  MoveTo(std::max(0, count - 1), count == 0, true);
  DataEvent(TDataEvent::deDataSetChange);
}

int TDataSet::MoveBy(int distance) {
  CheckBrowseMode();
  if (distance == 0 || (distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  bof_ = eof_ = false;
  const int count = DoRecordCount();
  long long target = static_cast<long long>(current_) + distance;
  if (target >= count) {
    target = count - 1;
    eof_ = true;
  } else if (target < 0) {
    target = 0;
    bof_ = true;
  }
  const int moved = static_cast<int>(target) - current_;
  current_ = static_cast<int>(target);
  display_ = -1;
  DataEvent(bof_ || eof_ ? TDataEvent::deDataSetChange : TDataEvent::deDataSetScroll);
  return moved;
}

void TDataSet::BeginInsert(bool append) {
  CheckActive();
  CheckBrowseMode();
  CheckCanModify();
  const int count = DoRecordCount();
  insertRow_ = append ? count : std::min(current_, count);
  // A new last record is past every stored one; one inserted in place keeps the flags.
  if (append)
    MoveTo(insertRow_, false, true);
  else
    MoveTo(insertRow_, bof_, eof_);
  editBuffer_ = TRecordValues(StoredFieldCount());
  oldValues_.clear();
  SetState(TDataSetState::dsInsert);
  DataEvent(TDataEvent::deDataSetChange);
}

void TDataSet::Insert() { BeginInsert(false); }

void TDataSet::Append() { BeginInsert(true); }

void TDataSet::Edit() {
  if (IsEditState(state_)) return;
  CheckActive();
  if (DoRecordCount() == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  editBuffer_ = DoRecordAt(current_).values;
  oldValues_ = editBuffer_;
  display_ = -1;
  SetState(TDataSetState::dsEdit);
  DataEvent(TDataEvent::deRecordChange);
}

void TDataSet::Post() {
  UpdateRecord();
  DataEvent(TDataEvent::deCheckBrowseMode);
  DropKeyIndexes();
  // A refusal by the storage leaves the set in its edit state with every value still there.
  if (Inserting()) {
    const TBookmark bookmark = DoInsert(insertRow_, editBuffer_);
    current_ = std::max(0, DoIndexOf(bookmark));
  } else {
    DoUpdate(current_, oldValues_, editBuffer_);
  }
  EndEdit();
}

void TDataSet::Cancel() {
  if (!IsEditState(state_)) return;
  DataEvent(TDataEvent::deCheckBrowseMode);
  // The cursor must point at a stored record before the links hear the state change.
  if (Inserting()) current_ = std::clamp(insertRow_, 0, std::max(0, DoRecordCount() - 1));
  EndEdit();
}

void TDataSet::Delete() {
  CheckActive();
  if (Inserting()) {
    Cancel();
    return;
  }
  if (DoRecordCount() == 0) throw EDatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
  CheckCanModify();
  DataEvent(TDataEvent::deCheckBrowseMode);
  DropKeyIndexes();
  DoDelete(current_);
  current_ = std::clamp(current_, 0, std::max(0, DoRecordCount() - 1));
  EndEdit();
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  TBookmark bookmark = kNoBookmark;
  try {
    bookmark = GetBookmark();
  } catch (const EDatabaseError&) {
    // The current record went from the storage: the cursor stays at its place.
  }
  DropKeyIndexes();
  DoRefresh();
  const int index = bookmark == kNoBookmark ? -1 : DoIndexOf(bookmark);
  current_ = index >= 0 ? index : std::clamp(current_, 0, std::max(0, DoRecordCount() - 1));
  Resync();
}

TBookmark TDataSet::GetBookmark() const {
  if (!Active() || Inserting() || DoRecordCount() == 0) return kNoBookmark;
  return DoRecordAt(current_).bookmark;
}

TBookmark TDataSet::BookmarkAt(int row) const {
  if (!Active()) return kNoBookmark;
  if (Inserting()) {
    if (row == insertRow_) return kNoBookmark;
    if (row > insertRow_) --row;
  }
  if (row < 0 || row >= DoRecordCount()) return kNoBookmark;
  return DoRecordAt(row).bookmark;
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const {
  return Active() && bookmark != kNoBookmark && DoIndexOf(bookmark) >= 0;
}

void TDataSet::GotoBookmark(TBookmark bookmark) {
  CheckBrowseMode();
  const int index = bookmark == kNoBookmark ? -1 : DoIndexOf(bookmark);
  if (index < 0) throw EDatabaseError(QStringLiteral("Record not found"));
  current_ = index;
  Resync();
}

void TDataSet::DoScanField(int fieldIndex, const std::function<void(TBookmark, const QVariant&)>& take) const {
  const int count = DoRecordCount();
  for (int i = 0; i < count; ++i) {
    const TStoredRecord record = DoRecordAt(i);
    take(record.bookmark, record.values.value(fieldIndex));
  }
}

TStoredRecord TDataSet::DoRecordWithBookmark(int index, TBookmark) const { return DoRecordAt(index); }

const TKeyIndex& TDataSet::KeyIndex(const TField& field) const {
  for (const auto& index : keyIndexes_)
    if (index->FieldIndex() == field.Index()) return *index;
  auto index = std::make_unique<TKeyIndex>(field.Index(), field.DataType());
  index->Reserve(DoRecordCount());
  DoScanField(field.Index(), [&](TBookmark bookmark, const QVariant& value) { index->Add(bookmark, value); });
  index->Seal();
  keyIndexes_.push_back(std::move(index));
  return *keyIndexes_.back();
}

int TDataSet::FindRecord(const QString& keyFields, const QVariantList& keyValues, TLocateOptions options,
                         TStoredRecord* found) const {
  CheckActive();
  const std::vector<TField*> keys = GetFieldList(keyFields);
  if (static_cast<int>(keys.size()) != keyValues.size())
    throw EDatabaseError(QStringLiteral("Number of key values does not match the key fields"));
  auto matches = [&](const TStoredRecord& record) {
    for (size_t k = 0; k < keys.size(); ++k)
      if (!ValueMatches(*keys[k], record.values.value(keys[k]->Index()), keyValues[static_cast<int>(k)], options))
        return false;
    return true;
  };
  // An index or rows read before another program's change would answer for records gone or
  // renamed since.
  if (DoChangedElsewhere()) keyIndexes_.clear();
  TStoredRecord match;
  const int count = DoRecordCount();
  int index = -1;
  if (options == 0 && !keys.empty() && keys[0]->Index() < storedFields_) {
    // An exact key is found through the index of the first key field; the index only names
    // candidates, so each one is read and compared like any record.
    index = KeyIndex(*keys[0]).Find(keyValues[0], [&](int position, TBookmark bookmark) {
      if (position >= count) return false;
      try {
        TStoredRecord record = DoRecordWithBookmark(position, bookmark);
        if (!matches(record)) return false;
        match = std::move(record);
        return true;
      } catch (const EDatabaseError&) {
        return false;  // another program deleted it
      }
    });
  } else {
    for (int i = 0; i < count && index < 0; ++i) {
      TStoredRecord record = DoRecordAt(i);
      if (matches(record)) {
        index = i;
        match = std::move(record);
      }
    }
  }
  if (index >= 0 && found) *found = std::move(match);
  return index;
}

bool TDataSet::Locate(const QString& keyFields, const QVariantList& keyValues, TLocateOptions options) {
  CheckBrowseMode();
  TStoredRecord record;
  const int index = FindRecord(keyFields, keyValues, options, &record);
  if (index < 0) return false;
  DoGoingTo(index, record.bookmark);
  current_ = index;
  Resync();
  return true;
}

QVariant TDataSet::Lookup(const QString& keyFields, const QVariantList& keyValues, const QString& resultFields) {
  TStoredRecord record;
  if (FindRecord(keyFields, keyValues, 0, &record) < 0) return {};
  const std::vector<TField*> results = GetFieldList(resultFields);
  if (results.size() == 1) return record.values.value(results[0]->Index());
  QVariantList values;
  for (TField* f : results) values.append(record.values.value(f->Index()));
  return values;
}

TField* TDataSet::FindField(const QString& name) const {
  for (const auto& f : fields_)
    if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0) return f.get();
  return nullptr;
}

TField* TDataSet::FieldByName(const QString& name) const {
  TField* f = FindField(name);
  if (!f) throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name));
  return f;
}

std::vector<TField*> TDataSet::GetFieldList(const QString& names) const {
  std::vector<TField*> list;
  for (const QString& name : names.split(';', Qt::SkipEmptyParts)) list.push_back(FieldByName(name.trimmed()));
  return list;
}

QVariant TDataSet::FieldValue(int fieldIndex) const {
  if (!Active()) return {};
  if (fieldIndex >= storedFields_) return LookupValue(fieldIndex);
  const int row = DisplayRow();
  if (IsEditState(state_) && row == current_) return editBuffer_.value(fieldIndex);
  // Rows after one being inserted sit one place further down than they are stored.
  const int stored = Inserting() && row > insertRow_ ? row - 1 : row;
  if (stored < 0 || stored >= DoRecordCount()) return {};
  return DoRecordAt(stored).values.value(fieldIndex);
}

void TDataSet::SetFieldValue(TField* field, const QVariant& value) {
  CheckEditing();
  if (field->Lookup()) throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(field->FieldName()));
  const QVariant converted = field->Converted(value);
  editBuffer_[field->Index()] = converted;
  modified_ = true;
  DataEvent(TDataEvent::deFieldChange, field);
  // The lookup fields keyed by this one now read another value.
  for (size_t i = 0; i < lookupKeys_.size(); ++i) {
    const std::vector<TField*>& keys = lookupKeys_[i];
    if (std::find(keys.begin(), keys.end(), field) != keys.end())
      DataEvent(TDataEvent::deFieldChange, fields_.at(storedFields_ + i).get());
  }
}

}  // namespace kavri
