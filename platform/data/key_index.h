#pragma once
#include <QVariant>
#include <functional>
#include <vector>

#include "platform/data/field.h"

namespace kavri {

using TBookmark = qint64;

// Where the records of a set hold each value of one field, so that a key is found by a binary
// search of hashes instead of a read of every record. It holds hashes only: every record it names
// is a candidate that the caller checks against the key. Made in one pass over the records; the set
// drops it whenever its records change.
class TKeyIndex {
 public:
  TKeyIndex(int fieldIndex, TFieldType type) : fieldIndex_(fieldIndex), type_(type) {}

  int FieldIndex() const { return fieldIndex_; }
  // Room for this many records, so that a large index is not copied while it grows.
  void Reserve(int records);
  // Records are added in order, positions from 0.
  void Add(TBookmark bookmark, const QVariant& stored);
  // After the last Add.
  void Seal();

  // The first record, by position, whose value may equal `key` and that `matches` accepts (it is
  // given the position and bookmark); -1 when none does.
  int Find(const QVariant& key, const std::function<bool(int position, TBookmark bookmark)>& matches) const;

  int RecordCount() const { return static_cast<int>(bookmarks_.size()); }

 private:
  struct TEntry {
    quint64 hash;
    int position;
    bool operator<(const TEntry& other) const {
      return hash != other.hash ? hash < other.hash : position < other.position;
    }
  };

  int fieldIndex_;
  TFieldType type_;
  std::vector<TEntry> entries_;
  std::vector<TBookmark> bookmarks_;
};

}  // namespace kavri
