#include "engine/play_drawing.h"

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

std::span<const PointRecord> TPlayDrawing::Object(size_t i) const {
  const size_t begin = objectStarts_[i];
  const size_t end = i + 1 < objectStarts_.size() ? objectStarts_[i + 1] : points_.size();
  return std::span<const PointRecord>(points_).subspan(begin, end - begin);
}

size_t TPlayDrawing::HeldBytes() const {
  return points_.capacity() * sizeof(PointRecord) + objectStarts_.capacity() * sizeof(size_t);
}

const TPlayDrawingPtr& EmptyPlayDrawing() {
  static const TPlayDrawingPtr empty = std::make_shared<const TPlayDrawing>();
  return empty;
}

}  // namespace kavri
