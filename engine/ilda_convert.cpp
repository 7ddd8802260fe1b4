#include <algorithm>

#include "engine/colour_tables.h"
#include "engine/ilda_file.h"

namespace kavri {

namespace {

PointRecord ToIldaPoint(const PointRecord& source) {
  PointRecord p;
  p.x = source.x - 128;
  p.y = 127 - source.y;
  p.kind = source.kind;
  p.colour = ColorIndexToIldaColor(source.colour);
  p.state = 0;
  p.blanked = source.blanked;
  return p;
}

}  // namespace

// The frame is cut while it is built: a drawing of a million points costs one frame's worth.
size_t DrawingToIldaFrame(const Drawing& drawing, TILDAframe& frame) {
  const size_t total = drawing.PointCount();
  frame.points.clear();
  frame.points.reserve(std::min(total, kIldaMaxFramePoints));
  for (const auto& object : drawing.Objects())
    for (const auto& source : object->Points()) {
      if (frame.points.size() == kIldaMaxFramePoints) return total - kIldaMaxFramePoints;
      frame.points.push_back(ToIldaPoint(*source));
    }
  return 0;
}

size_t DrawingToIldaFrame(const TPlayDrawing& drawing, TILDAframe& frame) {
  const size_t total = drawing.PointCount();
  frame.points.clear();
  frame.points.reserve(std::min(total, kIldaMaxFramePoints));
  for (size_t i = 0; i < drawing.ObjectCount(); ++i)
    for (const PointRecord& source : drawing.Object(i)) {
      if (frame.points.size() == kIldaMaxFramePoints) return total - kIldaMaxFramePoints;
      frame.points.push_back(ToIldaPoint(source));
    }
  return 0;
}

void IldaFrameToDrawing(Drawing& drawing, const TILDAframe& frame) {
  drawing.Clear();
  if (frame.points.empty()) return;
  DrawingObject* object = drawing.AddObject();
  object->Points().reserve(frame.points.size());
  for (const PointRecord& source : frame.points) {
    PointRecord p;
    p.x = source.x + 128;
    p.y = 127 - source.y;
    p.kind = source.kind;
    p.colour = IldaColorToColorIndex(source.colour);
    p.state = 0;
    p.blanked = source.blanked ? 1 : 0;
    object->Add(p);
  }
}

}  // namespace kavri
