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

void DrawingToIldaFrame(const Drawing& drawing, TILDAframe& frame) {
  frame.points.clear();
  frame.points.reserve(drawing.PointCount());
  for (const auto& object : drawing.Objects())
    for (const auto& source : object->Points()) frame.points.push_back(ToIldaPoint(*source));
}

void DrawingToIldaFrame(const TPlayDrawing& drawing, TILDAframe& frame) {
  frame.points.clear();
  frame.points.reserve(drawing.PointCount());
  for (size_t i = 0; i < drawing.ObjectCount(); ++i)
    for (const PointRecord& source : drawing.Object(i)) frame.points.push_back(ToIldaPoint(source));
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
