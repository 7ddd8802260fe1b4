#include "engine/play_drawing.h"

#include <algorithm>

namespace kavri {

TPlayDrawing TPlayDrawing::Decode(const uint8_t* data, size_t size) {
  TPlayDrawing drawing;
  const size_t records = size / kDrawingRecordSize;  // a trailing partial record is ignored
  drawing.points_.reserve(records);
  bool open = false;
  for (size_t r = 0; r < records; ++r) {
    const uint8_t* rec = data + r * kDrawingRecordSize;
    if (!open) drawing.objectStarts_.push_back(r);
    drawing.points_.push_back(DrawingRecordPoint(rec, 1));
    open = !DrawingRecordEndsObject(rec);
  }
  drawing.objectStarts_.shrink_to_fit();
  return drawing;
}

TPlayDrawing TPlayDrawing::FromDrawing(const Drawing& drawing) {
  TPlayDrawing copy;
  copy.points_.reserve(drawing.PointCount());
  copy.objectStarts_.reserve(drawing.Count());
  for (const auto& object : drawing.Objects()) {
    copy.objectStarts_.push_back(copy.points_.size());
    for (const auto& point : object->Points()) {
      PointRecord p = *point;
      p.x = std::clamp<decltype(p.x)>(p.x, 0, 255);
      p.y = std::clamp<decltype(p.y)>(p.y, 0, 255);
      p.blanked = point->blanked != 0 ? 1 : 0;
      copy.points_.push_back(p);
    }
  }
  return copy;
}

std::span<const PointRecord> TPlayDrawing::Object(size_t i) const {
  const size_t begin = objectStarts_[i];
  const size_t end = i + 1 < objectStarts_.size() ? objectStarts_[i + 1] : points_.size();
  return std::span<const PointRecord>(points_).subspan(begin, end - begin);
}

void TPlayDrawing::Clear() {
  points_.clear();
  objectStarts_.clear();
}

size_t TPlayDrawing::HeldBytes() const {
  return points_.capacity() * sizeof(PointRecord) + objectStarts_.capacity() * sizeof(size_t);
}

const TPlayDrawingPtr& EmptyPlayDrawing() {
  static const TPlayDrawingPtr empty = std::make_shared<const TPlayDrawing>();
  return empty;
}

}  // namespace kavri
