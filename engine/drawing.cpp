#include "engine/drawing.h"

#include <algorithm>

#include <new>

#include "platform/file_io.h"
#include "platform/regular_file.h"

namespace kavri {

DrawingObject::DrawingObject(const DrawingObject& other) { *this = other; }

DrawingObject& DrawingObject::operator=(const DrawingObject& other) {
  if (this == &other) return *this;
  std::vector<std::unique_ptr<PointRecord>> copy;
  copy.reserve(other.points_.size());
  for (const auto& p : other.points_) copy.push_back(std::make_unique<PointRecord>(*p));
  points_ = std::move(copy);
  return *this;
}

PointRecord* DrawingObject::Add(const PointRecord& p) {
  points_.push_back(std::make_unique<PointRecord>(p));
  return points_.back().get();
}

PointRecord* DrawingObject::Insert(size_t index, const PointRecord& p) {
  index = std::min(index, points_.size());
  auto it = points_.insert(points_.begin() + static_cast<std::ptrdiff_t>(index), std::make_unique<PointRecord>(p));
  return it->get();
}

void DrawingObject::Delete(size_t index) {
  if (index < points_.size()) points_.erase(points_.begin() + static_cast<std::ptrdiff_t>(index));
}

long DrawingObject::IndexOf(const PointRecord* p) const {
  for (size_t i = 0; i < points_.size(); ++i)
    if (points_[i].get() == p) return static_cast<long>(i);
  return -1;
}

Drawing::Drawing(const Drawing& other) { *this = other; }

Drawing& Drawing::operator=(const Drawing& other) {
  if (this == &other) return *this;
  std::vector<std::unique_ptr<DrawingObject>> copy;
  copy.reserve(other.objects_.size());
  for (const auto& o : other.objects_) copy.push_back(std::make_unique<DrawingObject>(*o));
  objects_ = std::move(copy);
  return *this;
}

DrawingObject* Drawing::AddObject() {
  objects_.push_back(std::make_unique<DrawingObject>());
  return objects_.back().get();
}

DrawingObject* Drawing::InsertObject(size_t index) {
  index = std::min(index, objects_.size());
  auto it = objects_.insert(objects_.begin() + static_cast<std::ptrdiff_t>(index), std::make_unique<DrawingObject>());
  return it->get();
}

void Drawing::DeleteObject(size_t index) {
  if (index < objects_.size()) objects_.erase(objects_.begin() + static_cast<std::ptrdiff_t>(index));
}

size_t Drawing::PointCount() const {
  size_t n = 0;
  for (const auto& o : objects_) n += o->Count();
  return n;
}

PointRecord DrawingRecordPoint(const uint8_t* record, int scale) {
  PointRecord p;
  p.x = record[0] * scale;
  p.y = record[1] * scale;
  p.kind = record[2];
  p.colour = record[3];
  p.blanked = (record[4] & 0x7F) != 0 ? 1 : 0;
  return p;
}

void DecodeDrawing(const uint8_t* data, size_t size, Drawing& drawing, int scale) {
  drawing.Clear();
  const size_t records = size / kDrawingRecordSize;  // a trailing partial record is ignored
  DrawingObject* open = nullptr;
  for (size_t r = 0; r < records; ++r) {
    const uint8_t* rec = data + r * kDrawingRecordSize;
    if (!open) open = drawing.AddObject();
    open->Add(DrawingRecordPoint(rec, scale));
    if (DrawingRecordEndsObject(rec)) open = nullptr;
  }
}

std::vector<uint8_t> EncodeDrawing(const Drawing& drawing, int scale) {
  std::vector<uint8_t> image;
  image.reserve(drawing.PointCount() * 5);
  auto toByte = [scale](int32_t v) { return static_cast<uint8_t>(std::clamp(v / scale, 0, 255)); };
  for (const auto& object : drawing.Objects()) {
    const size_t n = object->Count();
    for (size_t i = 0; i < n; ++i) {
      const PointRecord& p = (*object)[i];
      image.push_back(toByte(p.x));
      image.push_back(toByte(p.y));
      image.push_back(static_cast<uint8_t>(p.kind & 0xFF));
      image.push_back(p.colour);
      image.push_back(static_cast<uint8_t>((p.blanked ? 1 : 0) | (i + 1 == n ? 0x80 : 0)));
    }
  }
  return image;
}

std::optional<Bytes> ReadDrawingFileBytes(const std::string& fileName, std::string* error) {
  return ReadWholeFile(fileName, kMaxDrawingFileBytes, error);
}

bool LoadDrawingFile(const std::string& fileName, Drawing& drawing, int scale, std::string* error) {
  drawing.Clear();
  if (scale <= 0) return false;
  std::optional<Bytes> bytes = ReadDrawingFileBytes(fileName, error);
  if (!bytes) return false;
  try {
    DecodeDrawing(bytes->data(), bytes->size(), drawing, scale);
  } catch (const std::bad_alloc&) {
    drawing.Clear();
    if (error) *error = CannotReadText(fileName, kNotEnoughMemory);
    return false;
  }
  return true;
}

bool DrawingFits(const std::string& fileName, size_t points, std::string* error) {
  if (points <= kMaxDrawingPoints) return true;
  if (error)
    *error = "Cannot write " + fileName + ": the drawing has " + std::to_string(points) + " points, more than the " +
             std::to_string(kMaxDrawingPoints) + " a drawing file may hold";
  return false;
}

bool SaveDrawingFile(const std::string& fileName, const Drawing& drawing, int scale, std::string* error) {
  if (scale <= 0) {
    if (error) *error = "the scale must be above 0";
    return false;
  }
  if (!DrawingFits(fileName, drawing.PointCount(), error)) return false;
  return ReplaceFileAtomically(fileName, EncodeDrawing(drawing, scale), error);
}

}  // namespace kavri
