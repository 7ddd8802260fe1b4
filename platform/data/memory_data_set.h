#pragma once
#include <vector>

#include "platform/data/data_set.h"

namespace kavri {

// A data set held in memory: fields defined up front, records kept in order.
class TMemoryDataSet : public TDataSet {
  Q_OBJECT
 public:
  TMemoryDataSet() = default;
  ~TMemoryDataSet() override { Close(); }

  // Defines a field; only while the set is closed.
  void AddFieldDef(const QString& name, TFieldType type, int size = 0);
  // Adds a stored record directly, open or not (values in field order, missing ones null).
  void AddRecord(const TRecordValues& values);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

 protected:
  void DoOpen() override;
  void DoClose() override {}
  bool DoCanModify() const override { return !readOnly_; }
  int DoRecordCount() const override { return static_cast<int>(records_.size()); }
  TStoredRecord DoRecordAt(int index) const override { return records_.at(index); }
  int DoIndexOf(TBookmark bookmark) const override;
  TBookmark DoInsert(int before, const TRecordValues& values) override;
  void DoUpdate(int index, const TRecordValues& old, const TRecordValues& values) override;
  void DoDelete(int index) override;

 private:
  struct TFieldDef {
    QString name;
    TFieldType type;
    int size;
  };
  std::vector<TFieldDef> defs_;
  std::vector<TStoredRecord> records_;
  TBookmark nextBookmark_ = 1;
  bool readOnly_ = false;
};

}  // namespace kavri
