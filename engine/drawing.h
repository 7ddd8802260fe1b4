#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavri {

// One point of a picture or frame. Coordinates: 0..255 in frame space, 0..510 on the editor
// canvas, -128..127 in ILDA frames; y grows downwards.
struct PointRecord {
  int32_t x = 0;
  int32_t y = 0;
  int32_t kind = 0;     // 0..3 in drawings (2 starts an object); signed Z high byte in ILDA frames
  uint8_t colour = 0;   // palette index
  uint8_t state = 0;    // 0 normal, 1 selected, 2 marked for deletion
  uint8_t blanked = 0;  // 1 when the beam is off while moving to this point

  bool operator==(const PointRecord&) const = default;
};

// One connected path. Points keep their addresses while they stay in the object, because the
// editor's selection holds pointers to them.
class DrawingObject {
 public:
  DrawingObject() = default;
  DrawingObject(const DrawingObject& other);
  DrawingObject& operator=(const DrawingObject& other);
  DrawingObject(DrawingObject&&) noexcept = default;
  DrawingObject& operator=(DrawingObject&&) noexcept = default;

  size_t Count() const { return points_.size(); }
  bool Empty() const { return points_.empty(); }
  PointRecord& operator[](size_t i) { return *points_[i]; }
  const PointRecord& operator[](size_t i) const { return *points_[i]; }
  PointRecord* At(size_t i) { return points_[i].get(); }

  PointRecord* Add(const PointRecord& p);
  PointRecord* Insert(size_t index, const PointRecord& p);
  void Delete(size_t index);
  // Index of the point at this address, or -1.
  long IndexOf(const PointRecord* p) const;
  void Clear() { points_.clear(); }

  std::vector<std::unique_ptr<PointRecord>>& Points() { return points_; }
  const std::vector<std::unique_ptr<PointRecord>>& Points() const { return points_; }

 private:
  std::vector<std::unique_ptr<PointRecord>> points_;
};

// A picture: an ordered list of objects, each kept at a stable address.
class Drawing {
 public:
  Drawing() = default;
  Drawing(const Drawing& other);
  Drawing& operator=(const Drawing& other);
  Drawing(Drawing&&) noexcept = default;
  Drawing& operator=(Drawing&&) noexcept = default;

  size_t Count() const { return objects_.size(); }
  bool Empty() const { return objects_.empty(); }
  DrawingObject& operator[](size_t i) { return *objects_[i]; }
  const DrawingObject& operator[](size_t i) const { return *objects_[i]; }
  DrawingObject* At(size_t i) { return objects_[i].get(); }

  DrawingObject* AddObject();
  DrawingObject* InsertObject(size_t index);
  void DeleteObject(size_t index);
  void Clear() { objects_.clear(); }
  size_t PointCount() const;

  std::vector<std::unique_ptr<DrawingObject>>& Objects() { return objects_; }
  const std::vector<std::unique_ptr<DrawingObject>>& Objects() const { return objects_; }

 private:
  std::vector<std::unique_ptr<DrawingObject>> objects_;
};

// Most points a drawing file may hold: sixteen full ILDA frames, far more than a laser can draw
// in a frame, and little enough that loading it stays within a modest amount of memory.
constexpr size_t kMaxDrawingPoints = size_t{1} << 20;

// Replaces the contents of `drawing` with the file's picture, coordinates multiplied by `scale`.
// Returns false with an empty drawing when scale is not positive, or when the file cannot be read
// (missing, not a regular file, more than kMaxDrawingPoints points, memory runs out); the reason
// is then in *error (when given).
bool LoadDrawingFile(const std::string& fileName, Drawing& drawing, int scale, std::string* error = nullptr);

// True when a drawing of `points` points fits a drawing file, which the reader then takes whole;
// else false with the reason, naming the limit, in *error (when given).
bool DrawingFits(const std::string& fileName, size_t points, std::string* error = nullptr);

// Writes `drawing` (coordinates divided by `scale`, clamped to 0..255) as a drawing file,
// replacing the old file atomically. Returns false, keeping the old file and writing nothing,
// when the drawing does not fit a drawing file, the write fails or scale is not positive.
bool SaveDrawingFile(const std::string& fileName, const Drawing& drawing, int scale, std::string* error = nullptr);

// The drawing file image in memory (the writer's bytes) and its parser; the file routines use them.
std::vector<uint8_t> EncodeDrawing(const Drawing& drawing, int scale);
void DecodeDrawing(const uint8_t* data, size_t size, Drawing& drawing, int scale);

// One record of a drawing file: its point, and whether it is the last point of its object.
constexpr size_t kDrawingRecordSize = 5;
// The largest drawing file the reader takes: kMaxDrawingPoints records and a trailing partial one,
// which is ignored.
constexpr size_t kMaxDrawingFileBytes = kMaxDrawingPoints * kDrawingRecordSize + kDrawingRecordSize - 1;
PointRecord DrawingRecordPoint(const uint8_t* record, int scale);
inline bool DrawingRecordEndsObject(const uint8_t* record) { return (record[4] & 0x80) != 0; }

// The bytes of a drawing file as the editor and playback both take it: nothing (reason in *error,
// when given) for a file past kMaxDrawingFileBytes or one that cannot be read, so that one file is
// never a drawing in one window and missing in another.
std::optional<std::vector<uint8_t>> ReadDrawingFileBytes(const std::string& fileName, std::string* error = nullptr);

}  // namespace kavri
