#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/drawing.h"

namespace kavri {

// A picture as the play loops read it: never changed once loaded, so one copy is shared by every
// row that names its file, and its points lie in one array (the editor's Drawing keeps a separate
// allocation per point for its selection, which costs several times the points themselves).
class TPlayDrawing {
 public:
  TPlayDrawing() = default;
  // The picture of a drawing file image at scale 1, read as LoadDrawingFile reads it.
  static TPlayDrawing Decode(const uint8_t* data, size_t size);
  // A copy of an editor drawing to play: x and y held to 0..255, blanked as 0 or 1.
  static TPlayDrawing FromDrawing(const Drawing& drawing);

  size_t ObjectCount() const { return objectStarts_.size(); }
  std::span<const PointRecord> Object(size_t i) const;
  size_t PointCount() const { return points_.size(); }
  bool Empty() const { return points_.empty(); }
  // Bytes held for the points and object bounds.
  size_t HeldBytes() const;

  // Building in place, list by list. Clear keeps the capacity, so a loop that rebuilds a picture
  // at every step allocates only while the picture grows.
  void Clear();
  void BeginObject() { objectStarts_.push_back(points_.size()); }
  void Append(const PointRecord& p) { points_.push_back(p); }  // to the object last begun

 private:
  std::vector<PointRecord> points_;
  std::vector<size_t> objectStarts_;  // index of each object's first point
};

using TPlayDrawingPtr = std::shared_ptr<const TPlayDrawing>;

// The one empty picture rows hold while they name no loaded drawing.
const TPlayDrawingPtr& EmptyPlayDrawing();

}  // namespace kavri
