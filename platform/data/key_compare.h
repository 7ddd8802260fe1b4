#pragma once
#include <QVariant>
#include <QtGlobal>

#include "platform/data/field.h"

namespace kavri {

// Whether a value stored in a field of `type` equals `key`, the way SQLite's = compares a column
// with a value from another column. A field's type stands for its column's affinity (integer, float
// and Boolean numeric; string and memo text; blob, which is also what a column without a declared
// type is read as: none); a key has the affinity of what it holds (a number numeric, a text text,
// bytes none). Numeric affinity on either side turns the other side's text into a number when it
// reads as one. Numbers then equal by value whether integer or real, texts by their characters,
// bytes by their bytes, and nothing else is equal. A null key equals only a null value.
bool KeyEquals(TFieldType type, const QVariant& stored, const QVariant& key);

// Hashes for finding equal values without comparing each: a stored value that KeyEquals a key has
// one of its StoredKeyHashes among the key's KeyProbeHashes. At most two of each.
struct TKeyHashes {
  quint64 hash[2];
  int count = 0;
};
TKeyHashes StoredKeyHashes(TFieldType type, const QVariant& stored);
TKeyHashes KeyProbeHashes(TFieldType type, const QVariant& key);

}  // namespace kavri
