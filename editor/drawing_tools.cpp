// The tools that add objects (codes 1 to 9): their presses and their rubber-band previews.
#include "editor/tool_controller.h"
#include "editor/tool_geometry.h"
#include "engine/colour_tables.h"
#include "engine/shape_generators.h"

namespace kavri {

bool ToolController::PressDrawingTool(bool ctrl, int x, int y) {
  switch (tool_) {
    case 1: return PressLine(false, ctrl, x, y);
    case 2: return PressLine(true, ctrl, x, y);
    case 3: return PressArc(x, y);
    case 4: return PressCircle(ctrl, x, y);
    case 5: return PressRectangle(false, x, y);
    case 6: return PressRectangle(true, x, y);
    case 7: return PressPolygon(false, x, y);
    case 8: return PressPolygon(true, x, y);
    default: return PressPoint(x, y);
  }
}

bool ToolController::PressLine(bool multiPoint, bool ctrl, int x, int y) {
  doc_.ClipCursorToCanvas();
  DrawingObject& pending = doc_.PendingPoints();
  if (!pending.Empty() && ctrl) SnapToAxis(pending[pending.Count() - 1], x, y);
  pending.Add(ClickPoint(x, y));
  if (pending.Count() < 2) return true;

  const PointRecord a = pending[0], b = pending[1];
  DrawingObject* chain = doc_.ChainObject();
  if (!chain) {
    chain = doc_.EditorDrawing.AddObject();
    chain->Add(a)->kind = 2;
    doc_.StartChain(chain);
  }
  if (multiPoint) {
    const size_t from = chain->Count();
    LineToPoints(a.x, a.y, b.x, b.y, doc_.PointSpace, *chain);
    StyleNew(*chain, from, 0, 0);
  }
  chain->Add(b)->kind = multiPoint ? 2 : 0;
  pending.Delete(0);  // the end stays as the next segment's anchor
  doc_.PushUndo();
  return true;
}

bool ToolController::PressArc(int x, int y) {
  doc_.ClipCursorToCanvas();
  DrawingObject& pending = doc_.PendingPoints();
  pending.Add(ClickPoint(x, y));
  if (pending.Count() < 3) return true;
  DrawingObject& arc = *doc_.EditorDrawing.AddObject();
  ArcToPoints(pending[0].x, pending[0].y, pending[1].x, pending[1].y, pending[2].x, pending[2].y, doc_.PointSpace,
              arc);
  StyleNew(arc, 0, 0, 0);
  MarkEnds(arc);
  doc_.PushUndo();
  Finish();
  return true;
}

bool ToolController::PressCircle(bool ctrl, int x, int y) {
  doc_.ClipCursorToCanvas();
  DrawingObject& pending = doc_.PendingPoints();
  pending.Add(ClickPoint(x, y));
  if (pending.Count() < 2) return true;
  const int x0 = pending[0].x, y0 = pending[0].y;
  int x1 = pending[1].x, y1 = pending[1].y;
  if (ctrl) SquareTheBox(x0, y0, x1, y1);
  DrawingObject ellipse;
  EllipseToPoints(x0, y0, x1, y1, doc_.PointSpace, ellipse);
  if (!ellipse.Empty()) {
    StyleNew(ellipse, 0, 0, 0);
    MarkEnds(ellipse);
    *doc_.EditorDrawing.AddObject() = std::move(ellipse);
    doc_.PushUndo();
  }
  Finish();
  return true;
}

bool ToolController::PressRectangle(bool manyPoints, int x, int y) {
  doc_.ClipCursorToCanvas();
  DrawingObject& pending = doc_.PendingPoints();
  pending.Add(ClickPoint(x, y));
  if (pending.Count() < 2) return true;
  PointRecord corners[5] = {pending[0], pending[0], pending[1], pending[1], pending[0]};
  corners[1].y = pending[1].y;
  corners[3].y = pending[0].y;
  for (int i = 0; i < 5; ++i) {
    corners[i].kind = 2;
    if (i == 0 || i == 2) continue;  // the clicked corners keep their own colour and blanking
    corners[i].colour = static_cast<uint8_t>(doc_.CurrentColor);
    corners[i].blanked = 0;
  }
  DrawingObject& rect = *doc_.EditorDrawing.AddObject();
  rect.Add(corners[0]);
  for (int i = 1; i < 5; ++i) {
    if (manyPoints) {
      const size_t from = rect.Count();
      LineToPoints(corners[i - 1].x, corners[i - 1].y, corners[i].x, corners[i].y, doc_.PointSpace, rect);
      StyleNew(rect, from, 0, 0);
    }
    rect.Add(corners[i]);
  }
  doc_.PushUndo();
  Finish();
  return true;
}

bool ToolController::PressPolygon(bool manyPoints, int x, int y) {
  doc_.ClipCursorToCanvas();
  DrawingObject& pending = doc_.PendingPoints();
  PointRecord click = ClickPoint(x, y);
  click.blanked = 0;
  pending.Add(click);
  if (pending.Count() < 2) return true;
  DrawingObject vertices;
  CircleToPoints(pending[0].x, pending[0].y, pending[1].x, pending[1].y, doc_.PolygonSides, vertices);
  StyleNew(vertices, 0, 2, 0);
  if (!vertices.Empty()) vertices[0].blanked = 1;
  if (!manyPoints) {
    // An empty polygon is still added, as the vertex-only tool always did.
    *doc_.EditorDrawing.AddObject() = std::move(vertices);
    doc_.PushUndo();
  } else if (!vertices.Empty()) {
    DrawingObject& polygon = *doc_.EditorDrawing.AddObject();
    polygon.Add(vertices[0]);
    for (size_t i = 1; i < vertices.Count(); ++i) {
      const size_t from = polygon.Count();
      LineToPoints(vertices[i - 1].x, vertices[i - 1].y, vertices[i].x, vertices[i].y, doc_.PointSpace, polygon);
      StyleNew(polygon, from, 0, 0);
      polygon.Add(vertices[i]);
    }
    doc_.PushUndo();
  }
  Finish();
  return true;
}

bool ToolController::PressPoint(int x, int y) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.kind = 2;
  p.colour = static_cast<uint8_t>(doc_.CurrentColor);
  DrawingObject& dot = *doc_.EditorDrawing.AddObject();
  dot.Add(p)->blanked = 1;
  dot.Add(p);
  doc_.PushUndo();
  return true;
}

namespace {

PreviewShape Line(int x0, int y0, int x1, int y1, TColor colour) {
  return {PreviewShape::Kind::Line, x0, y0, x1, y1, colour, false, false};
}

PreviewShape Marker(PreviewShape::Kind kind, int x, int y, int half, TColor colour, bool filled = false) {
  return {kind, x - half, y - half, x + half, y + half, colour, filled, false};
}

void AddPath(std::vector<PreviewShape>& shapes, const DrawingObject& path, TColor colour) {
  for (size_t i = 1; i < path.Count(); ++i)
    shapes.push_back(Line(path[i - 1].x, path[i - 1].y, path[i].x, path[i].y, colour));
}

}  // namespace

void ToolController::PreviewDrawingTool(bool ctrl, int x, int y) {
  const DrawingObject& pending = doc_.PendingPoints();
  const PointRecord& first = pending[0];
  const TColor colour = ColorIndexToTColor(static_cast<uint8_t>(doc_.CurrentColor));
  auto& shapes = preview_.overDrawing;
  using Kind = PreviewShape::Kind;

  if (tool_ <= 3 && !(tool_ == 3 && pending.Count() == 2)) {
    const PointRecord& anchor = pending[pending.Count() - 1];
    if (ctrl && tool_ != 3) SnapToAxis(anchor, x, y);
    shapes.push_back(Line(anchor.x, anchor.y, x, y, colour));
    if (doc_.ShowPoints) {
      if (anchor.kind == 2)
        shapes.push_back(Marker(Kind::Rectangle, anchor.x, anchor.y, 2, colour));
      else
        shapes.push_back(Marker(Kind::Ellipse, anchor.x, anchor.y, 1, colour, true));
    }
  } else if (tool_ == 3) {
    shapes.push_back(Marker(Kind::Rectangle, first.x, first.y, 3, colour));
    DrawingObject arc;
    ArcToPoints(first.x, first.y, pending[1].x, pending[1].y, x, y, doc_.PointSpace, arc);
    AddPath(shapes, arc, colour);
  } else if (tool_ == 4) {
    if (ctrl) SquareTheBox(first.x, first.y, x, y);
    shapes.push_back({Kind::Ellipse, first.x, first.y, x, y, ColorIndexToTColor(first.colour), false, false});
  } else if (tool_ <= 6) {
    const int xs[5] = {first.x, first.x, x, x, first.x}, ys[5] = {first.y, y, y, first.y, first.y};
    for (int i = 1; i < 5; ++i) shapes.push_back(Line(xs[i - 1], ys[i - 1], xs[i], ys[i], colour));
    for (int i = 0; i < 4; ++i)
      shapes.push_back(Marker(tool_ == 5 ? Kind::Rectangle : Kind::Ellipse, xs[i], ys[i], 2, colour));
  } else {
    DrawingObject vertices;
    CircleToPoints(first.x, first.y, x, y, doc_.PolygonSides, vertices);
    AddPath(shapes, vertices, colour);
    for (const auto& v : vertices.Points()) shapes.push_back(Marker(Kind::Rectangle, v->x, v->y, 2, colour));
  }
}

}  // namespace kavri
