#pragma once
#include <QPointer>
#include <QString>
#include <QObject>
#include <functional>

#include "platform/data/data_source.h"

namespace kavri {

// A control's connection to a data source. It follows the source's data set and keeps a window of
// BufferCount records around the current one (a list or grid shows the whole window).
class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return source_; }
  void SetDataSource(TDataSource* source);
  TDataSet* DataSet() const { return source_ ? source_->DataSet() : nullptr; }
  bool DataSourceFixed() const { return dataSourceFixed_; }
  void SetDataSourceFixed(bool value) { dataSourceFixed_ = value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool Active() const { return active_; }
  bool Editing() const { return editing_; }

  // The window: rows FirstRow() .. FirstRow() + RecordCount() - 1 of the set's buffer rows.
  int BufferCount() const { return bufferCount_; }
  void SetBufferCount(int count);
  int FirstRow() const { return first_; }
  int RecordCount() const;
  int ActiveRecord() const;  // the current record's place in the window
  // Makes the fields read window row `index` (for drawing); setting ActiveRecord() back restores.
  void SetActiveRecord(int index);

  // Asks the set to enter edit state; true when this link is now editing.
  virtual bool Edit();
  // Writes this link's pending value (UpdateData) without hearing its own field change back.
  void UpdateRecord();

 protected:
  virtual void ActiveChanged() {}
  virtual void CheckBrowseMode() {}
  virtual void DataSetChanged() { RecordChanged(nullptr); }
  virtual void DataSetScrolled(int distance) { (void)distance; DataSetChanged(); }
  virtual void EditingChanged() {}
  virtual bool FocusControl(TField* field) { (void)field; return false; }
  virtual void LayoutChanged() { DataSetChanged(); }
  virtual void RecordChanged(TField* field) { (void)field; }
  virtual void UpdateData() {}

 private:
  friend class TDataSource;
  bool DataEvent(TDataEvent event, TField* field);  // true when it took a focus request
  void UpdateState();
  void SetActive(bool value);
  void SetEditing(bool value);
  int UpdateWindow();  // keeps the current record inside the window; answers how far it scrolled

  QPointer<TDataSource> source_;
  bool readOnly_ = false;
  bool dataSourceFixed_ = false;
  bool active_ = false;
  bool editing_ = false;
  bool updating_ = false;
  int bufferCount_ = 1;
  int first_ = 0;
};

// The link of a control that shows and edits one field.
class TFieldDataLink : public TDataLink {
 public:
  QString FieldName() const { return fieldName_; }
  void SetFieldName(const QString& name);
  TField* Field() const { return field_; }
  // The widget showing the field; a focus request for the field gives it the focus.
  QObject* Control() const { return control_; }
  void SetControl(QObject* control) { control_ = control; }

  bool CanModify() const;
  // Editing: the set is in edit or insert state and this link's field can be changed.
  bool Editing() const { return fieldEditing_; }
  bool Edit() override;
  // The control's value differs from the field's.
  void Modified() { modified_ = true; }
  bool IsModified() const { return modified_; }
  // Drops the control's change and shows the field again.
  void Reset() { RecordChanged(nullptr); }

  std::function<void()> OnDataChange;
  std::function<void()> OnEditingChange;
  std::function<void()> OnUpdateData;
  std::function<void()> OnActiveChange;

 protected:
  void ActiveChanged() override;
  void EditingChanged() override;
  bool FocusControl(TField* field) override;
  void LayoutChanged() override;
  void RecordChanged(TField* field) override;
  void UpdateData() override;

 private:
  void UpdateField();
  void SetField(TField* field);
  void SetFieldEditing(bool value);

  QString fieldName_;
  TField* field_ = nullptr;
  QPointer<QObject> control_;
  bool modified_ = false;
  bool fieldEditing_ = false;
};

}  // namespace kavri
