#include "platform/data/key_compare.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cmath>
#include <cstring>
#include <limits>

namespace kavri {

namespace {

enum class TAffinity { afNone, afNumeric, afText };

// A value by the classes SQLite stores.
struct TKeyValue {
  enum TClass { kNull, kInteger, kReal, kText, kBlob } cls = kNull;
  qint64 integer = 0;
  double real = 0;
  QString text;
  QByteArray bytes;

  bool IsNumber() const { return cls == kInteger || cls == kReal; }
};

TKeyValue Integer(qint64 n) {
  TKeyValue v;
  v.cls = TKeyValue::kInteger;
  v.integer = n;
  return v;
}

TKeyValue Real(double d) {
  TKeyValue v;
  if (std::isnan(d)) return v;  // SQLite keeps no NaN: it stores null
  v.cls = TKeyValue::kReal;
  v.real = d;
  return v;
}

TKeyValue Text(const QString& text) {
  TKeyValue v;
  v.cls = TKeyValue::kText;
  v.text = text;
  return v;
}

TKeyValue Classified(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
      return Integer(value.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
      const qulonglong n = value.toULongLong();
      if (n <= static_cast<qulonglong>(std::numeric_limits<qint64>::max())) return Integer(static_cast<qint64>(n));
      return Real(static_cast<double>(n));
    }
    case QMetaType::Float:
    case QMetaType::Double:
      return Real(value.toDouble());
    case QMetaType::QByteArray: {
      TKeyValue v;
      v.cls = TKeyValue::kBlob;
      v.bytes = value.toByteArray();
      return v;
    }
    default:
      return Text(value.toString());
  }
}

bool IsSpace(QChar c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool IsDigit(QChar c) { return c >= '0' && c <= '9'; }

// SQLite's numeric affinity on a text: a well-formed integer or real literal, spaces around it
// allowed, becomes that number (an integer too large for 64 bits a real); any other text stays.
TKeyValue Numeric(const TKeyValue& v) {
  if (v.cls != TKeyValue::kText) return v;
  const QString& t = v.text;
  int from = 0, to = static_cast<int>(t.size());
  while (from < to && IsSpace(t[from])) ++from;
  while (to > from && IsSpace(t[to - 1])) --to;
  int i = from;
  if (i < to && (t[i] == '+' || t[i] == '-')) ++i;
  int digits = 0;
  while (i < to && IsDigit(t[i])) ++i, ++digits;
  bool integral = true;
  if (i < to && t[i] == '.') {
    integral = false;
    ++i;
    while (i < to && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return v;
  if (i < to && (t[i] == 'e' || t[i] == 'E')) {
    integral = false;
    ++i;
    if (i < to && (t[i] == '+' || t[i] == '-')) ++i;
    int exponent = 0;
    while (i < to && IsDigit(t[i])) ++i, ++exponent;
    if (exponent == 0) return v;
  }
  if (i != to) return v;
  const QString literal = t.mid(from, to - from);
  bool ok = false;
  if (integral) {
    const qint64 n = literal.toLongLong(&ok);
    if (ok) return Integer(n);
  }
  const double d = literal.toDouble(&ok);
  return ok ? Real(d) : v;
}

// A real that is a whole number within 64 bits, as that integer.
bool WholeInteger(double d, qint64& n) {
  constexpr double kTwo63 = 9223372036854775808.0;
  if (!(d >= -kTwo63 && d < kTwo63) || std::trunc(d) != d) return false;
  n = static_cast<qint64>(d);
  return true;
}

// An integer and a real are equal when the real is that whole number.
bool RealIsInteger(double d, qint64 n) {
  qint64 whole = 0;
  return WholeInteger(d, whole) && whole == n;
}

bool SameValue(const TKeyValue& a, const TKeyValue& b) {
  if (a.IsNumber() && b.IsNumber()) {
    if (a.cls == TKeyValue::kInteger && b.cls == TKeyValue::kInteger) return a.integer == b.integer;
    if (a.cls == TKeyValue::kReal && b.cls == TKeyValue::kReal) return a.real == b.real;
    return a.cls == TKeyValue::kInteger ? RealIsInteger(b.real, a.integer) : RealIsInteger(a.real, b.integer);
  }
  if (a.cls != b.cls) return false;
  if (a.cls == TKeyValue::kText) return a.text == b.text;
  if (a.cls == TKeyValue::kBlob) return a.bytes == b.bytes;
  return false;  // null equals nothing here
}

TAffinity FieldAffinity(TFieldType type) {
  switch (type) {
    case TFieldType::ftInteger:
    case TFieldType::ftFloat:
    case TFieldType::ftBoolean:
      return TAffinity::afNumeric;
    case TFieldType::ftString:
    case TFieldType::ftMemo:
      return TAffinity::afText;
    case TFieldType::ftBlob:
      break;
  }
  return TAffinity::afNone;
}

// A text field holding a number is a column of numeric affinity (NUMERIC, DATE, ... are read as
// text), since a text column turns every number it is given into text.
TAffinity StoredAffinity(TFieldType type, const TKeyValue& stored) {
  const TAffinity affinity = FieldAffinity(type);
  return affinity == TAffinity::afText && stored.IsNumber() ? TAffinity::afNumeric : affinity;
}

TAffinity KeyAffinity(const TKeyValue& key) {
  if (key.IsNumber()) return TAffinity::afNumeric;
  return key.cls == TKeyValue::kText ? TAffinity::afText : TAffinity::afNone;
}

quint64 Mixed(quint64 x) {
  // splitmix64's finaliser: close integers land far apart.
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

quint64 HashOf(const TKeyValue& v) {
  switch (v.cls) {
    case TKeyValue::kNull:
      return Mixed(0x6e756c6cULL);
    case TKeyValue::kInteger:
      return Mixed(static_cast<quint64>(v.integer));
    case TKeyValue::kReal: {
      // A whole real hashes as the integer it equals.
      const double d = v.real;
      qint64 whole = 0;
      if (WholeInteger(d, whole)) return Mixed(static_cast<quint64>(whole));
      quint64 bits;
      std::memcpy(&bits, &d, sizeof bits);
      return Mixed(bits ^ 0x7265616cULL);
    }
    case TKeyValue::kText:
      return Mixed(static_cast<quint64>(qHash(v.text)) ^ 0x74657874ULL);
    case TKeyValue::kBlob:
      return Mixed(static_cast<quint64>(qHash(v.bytes)) ^ 0x626c6f62ULL);
  }
  return 0;
}

void Add(TKeyHashes& hashes, const TKeyValue& v) { hashes.hash[hashes.count++] = HashOf(v); }

}  // namespace

bool KeyEquals(TFieldType type, const QVariant& stored, const QVariant& key) {
  TKeyValue s = Classified(stored), k = Classified(key);
  if (k.cls == TKeyValue::kNull) return s.cls == TKeyValue::kNull;
  if (s.cls == TKeyValue::kNull) return false;
  const TAffinity sa = StoredAffinity(type, s), ka = KeyAffinity(k);
  // Text affinity would only turn numbers into text, and a key holding a number has numeric affinity.
  if (sa == TAffinity::afNumeric || ka == TAffinity::afNumeric) {
    if (sa != TAffinity::afNumeric) s = Numeric(s);
    if (ka != TAffinity::afNumeric) k = Numeric(k);
  }
  return SameValue(s, k);
}

TKeyHashes StoredKeyHashes(TFieldType, const QVariant& stored) {
  const TKeyValue s = Classified(stored);
  TKeyHashes hashes;
  Add(hashes, s);
  const TKeyValue number = Numeric(s);
  if (s.cls == TKeyValue::kText && number.IsNumber()) Add(hashes, number);  // a numeric key reads it as a number
  return hashes;
}

TKeyHashes KeyProbeHashes(TFieldType type, const QVariant& key) {
  const TKeyValue k = Classified(key);
  TKeyHashes hashes;
  switch (FieldAffinity(type)) {
    case TAffinity::afNumeric:
      Add(hashes, Numeric(k));
      break;
    case TAffinity::afText:
      Add(hashes, k);
      // The same text as a number, for the numbers of a column of numeric affinity.
      if (k.cls == TKeyValue::kText) {
        const TKeyValue number = Numeric(k);
        if (number.IsNumber()) Add(hashes, number);
      }
      break;
    case TAffinity::afNone:
      Add(hashes, k);
      break;
  }
  return hashes;
}

}  // namespace kavri
