#include "platform/data/key_index.h"

#include <algorithm>

#include "platform/data/key_compare.h"

namespace kavri {

void TKeyIndex::Reserve(int records) {
  entries_.reserve(static_cast<size_t>(records));
  bookmarks_.reserve(static_cast<size_t>(records));
}

void TKeyIndex::Add(TBookmark bookmark, const QVariant& stored) {
  const int position = static_cast<int>(bookmarks_.size());
  bookmarks_.push_back(bookmark);
  const TKeyHashes hashes = StoredKeyHashes(type_, stored);
  for (int i = 0; i < hashes.count; ++i) entries_.push_back({hashes.hash[i], position});
}

void TKeyIndex::Seal() {
  std::sort(entries_.begin(), entries_.end());
  entries_.shrink_to_fit();
  bookmarks_.shrink_to_fit();
}

int TKeyIndex::Find(const QVariant& key, const std::function<bool(int, TBookmark)>& matches) const {
  const TKeyHashes probes = KeyProbeHashes(type_, key);
  int found = -1;
  for (int p = 0; p < probes.count; ++p) {
    // Equal hashes sit together in position order: the first accepted is this probe's first match.
    auto it = std::lower_bound(entries_.begin(), entries_.end(), TEntry{probes.hash[p], 0});
    for (; it != entries_.end() && it->hash == probes.hash[p]; ++it) {
      if (found >= 0 && it->position >= found) break;
      if (matches(it->position, bookmarks_[static_cast<size_t>(it->position)])) {
        found = it->position;
        break;
      }
    }
  }
  return found;
}

}  // namespace kavri
