#include "platform/data/field.h"

#include <utility>

#include "platform/data/data_set.h"

namespace kavri {

TField::TField(TDataSet* dataSet, int index, QString name, TFieldType type, int size)
    : dataSet_(dataSet), index_(index), name_(std::move(name)), type_(type), size_(size) {}

TField::TField(TDataSet* dataSet, int index, QString name, TFieldType type, int size, TLookupDef lookup)
    : dataSet_(dataSet),
      index_(index),
      name_(std::move(name)),
      type_(type),
      size_(size),
      kind_(TFieldKind::fkLookup),
      lookup_(std::move(lookup)) {}

TDataSet* TField::LookupDataSet() const { return lookup_.lookupDataSet.data(); }

Qt::Alignment TField::Alignment() const {
  const bool numeric = type_ == TFieldType::ftInteger || type_ == TFieldType::ftFloat;
  return numeric ? Qt::AlignRight : Qt::AlignLeft;
}

QVariant TField::Value() const { return dataSet_->FieldValue(index_); }

QString TField::AsString() const {
  const QVariant v = Value();
  if (!v.isValid()) return {};
  switch (type_) {
    case TFieldType::ftFloat:
      return QString::number(v.toDouble(), 'g', 15);
    case TFieldType::ftBoolean:
      return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TFieldType::ftBlob:
      return QString::fromUtf8(v.toByteArray());
    default:
      return v.toString();
  }
}

QString TField::DisplayText() const {
  try {
    return AsString();
  } catch (const EDatabaseError&) {
    return {};
  }
}

QVariant TField::Converted(const QVariant& value) const {
  if (!value.isValid() || value.isNull()) return {};
  const QString text = value.toString();
  bool ok = true;
  switch (type_) {
    case TFieldType::ftString: {
      QString s = value.toString();
      return size_ > 0 ? s.left(size_) : s;
    }
    case TFieldType::ftMemo:
      return value.toString();
    case TFieldType::ftBlob:
      return value.toByteArray();
    case TFieldType::ftInteger: {
      const qlonglong n = value.typeId() == QMetaType::QString ? text.trimmed().toLongLong(&ok) : value.toLongLong(&ok);
      if (!ok) throw EDatabaseError(QStringLiteral("'%1' is not a valid integer value").arg(text));
      return n;
    }
    case TFieldType::ftFloat: {
      const double d = value.typeId() == QMetaType::QString ? text.trimmed().toDouble(&ok) : value.toDouble(&ok);
      if (!ok) throw EDatabaseError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
      return d;
    }
    case TFieldType::ftBoolean: {
      if (value.typeId() != QMetaType::QString) return value.toBool();
      const QString t = text.trimmed().toLower();
      if (t == "true" || t == "1") return true;
      if (t == "false" || t == "0") return false;
      throw EDatabaseError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
    }
  }
  return value;
}

void TField::SetValue(const QVariant& value) { dataSet_->SetFieldValue(this, value); }

void TField::SetAsString(const QString& text) {
  if (text.isEmpty() && !IsString() && type_ != TFieldType::ftMemo) {
    SetValue(QVariant());
    return;
  }
  SetValue(text);
}

bool TField::IsValidChar(QChar c) const {
  switch (type_) {
    case TFieldType::ftInteger:
      return c.isDigit() || c == '+' || c == '-';
    case TFieldType::ftFloat:
      return c.isDigit() || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
    default:
      return true;
  }
}

bool TField::CanModify() const { return !Lookup() && dataSet_->CanModify(); }

void TField::FocusControl() { dataSet_->DataEvent(TDataEvent::deFocusControl, this); }

}  // namespace kavri
