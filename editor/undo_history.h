#pragma once
// The editor's linear undo history. A snapshot is flat (every point in one array plus the size of
// each object), so hundreds of snapshots of a large drawing cost about 16 bytes a point and no heap
// block per point.
#include <cstdint>
#include <deque>
#include <vector>

#include "engine/drawing.h"

namespace kavri {

struct DrawingSnapshot {
  std::vector<PointRecord> points;    // every point of every object, in order, state 0
  std::vector<uint32_t> objectSizes;  // points of each object

  static DrawingSnapshot Of(const Drawing& drawing);
  // Makes `drawing` equal to the snapshot. Objects and points already there are reused, so an
  // undo that changed little allocates little; pointers into the drawing must be dropped first.
  void RestoreInto(Drawing& drawing) const;
  size_t MemoryBytes() const;
};

class UndoHistory {
 public:
  static constexpr size_t kMaxSnapshots = 400;
  // Most bytes the snapshots may hold together: 400 steps of an ordinary drawing (a few thousand
  // points) fit many times over, while the steps of a drawing of a million points (16 MB each) stop
  // at about sixteen instead of filling the machine's memory.
  static constexpr size_t kMaxBytes = size_t{256} << 20;

  explicit UndoHistory(size_t maxBytes = kMaxBytes) : maxBytes_(maxBytes) {}

  // Drops the redo branch above the current snapshot, appends a snapshot of the drawing and makes
  // it current; past the step limit or the byte budget the oldest snapshots go, though the newest
  // is always kept.
  void Push(const Drawing& drawing);
  // Empties the history.
  void Clear();
  // Steps to the previous or next snapshot and restores it into the drawing; false (drawing left
  // alone) at the oldest or newest snapshot.
  bool Undo(Drawing& drawing);
  bool Redo(Drawing& drawing);

  size_t Count() const { return snapshots_.size(); }
  // Position of the snapshot matching the drawing; -1 when the history is empty.
  int Index() const { return index_; }
  const DrawingSnapshot& At(size_t n) const { return snapshots_[n]; }
  // What the snapshots hold together.
  size_t MemoryBytes() const { return bytes_; }

 private:
  void DropOldest();

  std::deque<DrawingSnapshot> snapshots_;
  int index_ = -1;
  size_t bytes_ = 0;
  size_t maxBytes_;
};

}  // namespace kavri
