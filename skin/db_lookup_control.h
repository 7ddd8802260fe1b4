#pragma once
#include <QKeySequence>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/data/data_link.h"
#include "platform/tcolor.h"

namespace kavri {

class TSkinDBLookupControl;

// The lookup control's link to the source of the field it sets.
class TSkinDataSourceLink : public TDataLink {
 public:
  explicit TSkinDataSourceLink(TSkinDBLookupControl* control) : control_(control) {}
  void Forget() { control_ = nullptr; }

 protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;
  bool FocusControl(TField* field) override;

 private:
  TSkinDBLookupControl* control_;
};

// The lookup control's link to the records it offers.
class TSkinListSourceLink : public TDataLink {
 public:
  explicit TSkinListSourceLink(TSkinDBLookupControl* control) : control_(control) {}
  void Forget() { control_ = nullptr; }

 protected:
  void ActiveChanged() override;
  void LayoutChanged() override;
  void DataSetChanged() override;

 private:
  TSkinDBLookupControl* control_;
};

// Chooses a record of a list data set whose key field becomes the value of a field of another
// data set, showing the list's readable fields instead of the key. Bound to a lookup field, the
// field itself names the list set, its key field and the field shown (lookup-field mode): the
// choice is written into the field the lookup field is keyed by, and KeyField and ListSource
// can then not be set. Typing searches the list field
// by its start, without regard to case: keys typed within 2,000 ms of each other build one search
// text of at most 32 characters (one time stamp shared by every lookup control).
class TSkinDBLookupControl : public QWidget {
  Q_OBJECT
 public:
  explicit TSkinDBLookupControl(QWidget* owner = nullptr);
  ~TSkinDBLookupControl() override;

  TDataSource* DataSource() const { return dataLink_->DataSource(); }
  void SetDataSource(TDataSource* source);
  QString DataField() const { return dataFieldName_; }
  // A name no field of the set has, or a lookup field naming a field its list set lacks, raises
  // EDatabaseError (field not found), and the control is bound to nothing.
  void SetDataField(const QString& name);
  // None in lookup-field mode.
  TDataSource* ListSource() const { return lookupMode_ ? nullptr : listLink_->DataSource(); }
  void SetListSource(TDataSource* source);
  // Empty in lookup-field mode.
  QString KeyField() const { return lookupMode_ ? QString() : keyFieldName_; }
  void SetKeyField(const QString& name);
  // Semicolon-separated; the first (or the one at ListFieldIndex) is the one searched and shown.
  QString ListField() const { return listFieldName_; }
  void SetListField(const QString& names);
  int ListFieldIndex() const { return listFieldIndex_; }
  void SetListFieldIndex(int index);
  bool ReadOnly() const { return dataLink_->ReadOnly(); }
  void SetReadOnly(bool value) { dataLink_->SetReadOnly(value); }
  // A key that clears the field; empty for none.
  QKeySequence NullValueKey() const { return nullValueKey_; }
  void SetNullValueKey(const QKeySequence& key) { nullValueKey_ = key; }

  QVariant KeyValue() const { return keyValue_; }
  void SetKeyValue(const QVariant& value);
  TField* Field() const { return dataField_; }
  // The field the choice is written into: the data field, or the key of a lookup field.
  TField* MasterField() const { return masterField_; }
  bool LookupMode() const { return lookupMode_; }
  TField* KeyFieldObject() const { return keyField_; }
  TField* ListFieldObject() const { return listField_; }
  const std::vector<TField*>& ListFields() const { return listFields_; }
  QString SearchText() const { return searchText_; }
  bool ListActive() const { return listActive_; }

  // Where every lookup control reads the time of a search key, in ms; tests give their own.
  static void SetSearchClock(std::function<qint64()> clock);
  static constexpr qint64 kSearchPauseMs = 2000;
  static constexpr int kMaxSearchLength = 32;

  std::function<void()> OnClick;

  virtual bool CanModify() const;
  virtual bool LocateKey();
  virtual void SelectKeyValue(const QVariant& value);
  virtual void ProcessSearchKey(QChar key);

 protected:
  friend class TSkinDataSourceLink;
  friend class TSkinListSourceLink;

  virtual void KeyValueChanged() {}
  virtual void ListLinkDataChanged() {}
  virtual void UpdateDataFields();
  // Raises EDatabaseError when a list field is missing; the list stays inactive then.
  virtual void UpdateListFields();
  void DataLinkRecordChanged(TField* field);
  void DataFieldsChanged();
  void SetLookupMode(bool value);
  void CheckNotCircular() const;
  void CheckNotLookup() const;
  TDataSet* ListSet() const { return listLink_->DataSet(); }
  // The list's source and key field as in use, whether set or taken from a lookup field.
  TDataSource* ListSourceInUse() const { return listLink_->DataSource(); }
  const QString& KeyFieldInUse() const { return keyFieldName_; }
  TSkinListSourceLink& ListLink() { return *listLink_; }
  void ClearSearch() { searchText_.clear(); }

  // The key that clears the field, taken; false for any other key.
  bool NullValueKeyPressed(QKeyEvent* event);
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void ListChanged();  // from the list link: fields again, a failure leaves the list inactive

  // The list source of lookup-field mode, over the lookup field's set.
  std::unique_ptr<TDataSource> lookupSource_;
  std::unique_ptr<TSkinDataSourceLink> dataLink_;
  std::unique_ptr<TSkinListSourceLink> listLink_;
  QString dataFieldName_, keyFieldName_, listFieldName_;
  int listFieldIndex_ = 0;
  TField* dataField_ = nullptr;
  TField* masterField_ = nullptr;
  TField* keyField_ = nullptr;
  TField* listField_ = nullptr;
  std::vector<TField*> listFields_;
  QVariant keyValue_;
  QString searchText_;
  bool listActive_ = false;
  bool lookupMode_ = false;
  bool settingSource_ = false;
  QKeySequence nullValueKey_;
};

// Variants compared as the lookup compares them: null equals only null, and values that cannot be
// compared are unequal.
bool LookupValuesEqual(const QVariant& a, const QVariant& b);

}  // namespace kavri
