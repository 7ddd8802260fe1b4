#include "platform/data/memory_data_set.h"

#include <algorithm>

namespace kavri {

void TMemoryDataSet::AddFieldDef(const QString& name, TFieldType type, int size) {
  if (Active()) throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
  defs_.push_back({name, type, size});
}

void TMemoryDataSet::AddRecord(const TRecordValues& values) {
  TRecordValues row = values;
  row.resize(static_cast<int>(defs_.size()));
  records_.push_back({nextBookmark_++, row});
  DropKeyIndexes();
}

void TMemoryDataSet::DoOpen() {
  for (const TFieldDef& def : defs_) AddField(def.name, def.type, def.size);
}

int TMemoryDataSet::DoIndexOf(TBookmark bookmark) const {
  auto it = std::find_if(records_.begin(), records_.end(), [&](const TStoredRecord& r) { return r.bookmark == bookmark; });
  return it == records_.end() ? -1 : static_cast<int>(it - records_.begin());
}

TBookmark TMemoryDataSet::DoInsert(int before, const TRecordValues& values) {
  const int at = std::clamp(before, 0, DoRecordCount());
  records_.insert(records_.begin() + at, {nextBookmark_, values});
  return nextBookmark_++;
}

void TMemoryDataSet::DoUpdate(int index, const TRecordValues&, const TRecordValues& values) {
  records_.at(index).values = values;
}

void TMemoryDataSet::DoDelete(int index) { records_.erase(records_.begin() + index); }

}  // namespace kavri
