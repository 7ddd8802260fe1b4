#include "editor/undo_history.h"

namespace kavri {

DrawingSnapshot DrawingSnapshot::Of(const Drawing& drawing) {
  DrawingSnapshot s;
  s.points.reserve(drawing.PointCount());
  s.objectSizes.reserve(drawing.Count());
  for (const auto& object : drawing.Objects()) {
    s.objectSizes.push_back(static_cast<uint32_t>(object->Count()));
    for (const auto& p : object->Points()) {
      s.points.push_back(*p);
      s.points.back().state = 0;
    }
  }
  return s;
}

void DrawingSnapshot::RestoreInto(Drawing& drawing) const {
  auto& objects = drawing.Objects();
  objects.resize(objectSizes.size());
  size_t next = 0;
  for (size_t o = 0; o < objectSizes.size(); ++o) {
    if (!objects[o]) objects[o] = std::make_unique<DrawingObject>();
    auto& points = objects[o]->Points();
    points.resize(objectSizes[o]);
    for (auto& p : points) {
      if (p)
        *p = this->points[next];
      else
        p = std::make_unique<PointRecord>(this->points[next]);
      ++next;
    }
  }
}

size_t DrawingSnapshot::MemoryBytes() const {
  return points.capacity() * sizeof(PointRecord) + objectSizes.capacity() * sizeof(uint32_t);
}

void UndoHistory::Push(const Drawing& drawing) {
  while (snapshots_.size() > static_cast<size_t>(index_ + 1)) {
    bytes_ -= snapshots_.back().MemoryBytes();
    snapshots_.pop_back();
  }
  snapshots_.push_back(DrawingSnapshot::Of(drawing));
  bytes_ += snapshots_.back().MemoryBytes();
  ++index_;
  while (snapshots_.size() > kMaxSnapshots || (bytes_ > maxBytes_ && snapshots_.size() > 1)) DropOldest();
}

void UndoHistory::DropOldest() {
  bytes_ -= snapshots_.front().MemoryBytes();
  snapshots_.pop_front();
  --index_;
}

void UndoHistory::Clear() {
  snapshots_.clear();
  index_ = -1;
  bytes_ = 0;
}

bool UndoHistory::Undo(Drawing& drawing) {
  if (index_ <= 0) return false;
  --index_;
  snapshots_[static_cast<size_t>(index_)].RestoreInto(drawing);
  return true;
}

bool UndoHistory::Redo(Drawing& drawing) {
  if (static_cast<size_t>(index_ + 1) >= snapshots_.size()) return false;
  ++index_;
  snapshots_[static_cast<size_t>(index_)].RestoreInto(drawing);
  return true;
}

}  // namespace kavri
