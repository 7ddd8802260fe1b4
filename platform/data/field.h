#pragma once
#include <QPointer>
#include <QString>
#include <QVariant>
#include <Qt>

namespace kavri {

class TDataSet;

enum class TFieldType { ftString, ftInteger, ftFloat, ftBoolean, ftMemo, ftBlob };

// A data field is stored with its record; a lookup field is computed each time it is read.
enum class TFieldKind { fkData, fkLookup };

// Where a lookup field takes its value: the record of `lookupDataSet` whose `lookupKeyFields`
// equal this record's `keyFields` (semicolon-separated lists, one to one), its `lookupResultField`.
struct TLookupDef {
  QString keyFields;
  QPointer<TDataSet> lookupDataSet;
  QString lookupKeyFields;
  QString lookupResultField;
};

// One column of a data set, read and written at the set's current record (or, while a link
// draws another row of its window, at that row). Values are QVariants; an invalid one is null.
class TField {
 public:
  TField(TDataSet* dataSet, int index, QString name, TFieldType type, int size);
  TField(TDataSet* dataSet, int index, QString name, TFieldType type, int size, TLookupDef lookup);

  TDataSet* DataSet() const { return dataSet_; }
  int Index() const { return index_; }
  const QString& FieldName() const { return name_; }
  QString DisplayLabel() const { return name_; }
  TFieldType DataType() const { return type_; }
  int Size() const { return size_; }  // characters of a string field; 0 elsewhere
  bool IsBlob() const { return type_ == TFieldType::ftMemo || type_ == TFieldType::ftBlob; }
  bool IsString() const { return type_ == TFieldType::ftString; }
  TFieldKind FieldKind() const { return kind_; }
  bool Lookup() const { return kind_ == TFieldKind::fkLookup; }
  // A lookup field's definition; empty texts and no set for a data field.
  const QString& KeyFields() const { return lookup_.keyFields; }
  TDataSet* LookupDataSet() const;
  const QString& LookupKeyFields() const { return lookup_.lookupKeyFields; }
  const QString& LookupResultField() const { return lookup_.lookupResultField; }
  Qt::Alignment Alignment() const;

  QVariant Value() const;
  bool IsNull() const { return !Value().isValid(); }
  QString AsString() const;
  QString Text() const { return AsString(); }         // the editing text
  // The text shown while not editing. Drawing never fails: a record the storage no longer holds
  // (another program deleted it) shows empty.
  QString DisplayText() const;

  // Writes need the set in edit or insert state, and a data field (a lookup field follows its
  // key). A text that is not a value of the field's type raises EDatabaseError and leaves the
  // field as it was; an empty text makes a non-string null.
  void SetValue(const QVariant& value);
  void SetAsString(const QString& text);
  void SetText(const QString& text) { SetAsString(text); }
  void SetAsBoolean(bool value) { SetValue(value); }
  void SetAsBlob(const QByteArray& data) { SetValue(data); }
  void Clear() { SetValue(QVariant()); }

  // Whether a typed character can belong to a value of this field.
  bool IsValidChar(QChar c) const;
  bool CanModify() const;
  // Asks the control bound to this field to take the focus.
  void FocusControl();

  // The value converted to this field's type; throws EDatabaseError when it is not one.
  QVariant Converted(const QVariant& value) const;

 private:
  TDataSet* dataSet_;
  int index_;
  QString name_;
  TFieldType type_;
  int size_;
  TFieldKind kind_ = TFieldKind::fkData;
  TLookupDef lookup_;
};

}  // namespace kavri
