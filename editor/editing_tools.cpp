// The tools that work on what is drawn (codes 20 to 28): selecting, dragging, scaling, adding
// points and changing lines.
#include "editor/pick_rules.h"
#include "editor/tool_controller.h"
#include "editor/tool_geometry.h"

namespace kavri {

namespace {

bool SamePlace(const PointRecord& a, const PointRecord& b) { return a.x == b.x && a.y == b.y; }

// Where Move or Scale takes a point, from the first press (base or centre) and the mouse.
struct DragMotion {
  bool scale;
  int bx, by, dx, dy;
  double fx, fy;

  void Apply(PointRecord& p) const {
    if (scale) {
      p.x = ScaleAbout(bx, p.x, fx);
      p.y = ScaleAbout(by, p.y, fy);
    } else {
      p.x += dx;
      p.y += dy;
    }
  }
};

DragMotion MotionTo(const PointRecord& base, bool scale, bool ctrl, int x, int y) {
  DragMotion m{scale, base.x, base.y, x - base.x, y - base.y, 1, 1};
  if (scale) ScaleFactors(m.dx, m.dy, ctrl, m.fx, m.fy);
  return m;
}

}  // namespace

bool ToolController::PressEditingTool(bool ctrl, int x, int y, PressResult& result) {
  switch (tool_) {
    case 20: return PressSelect(false, x, y);
    case 21: return PressSelect(true, x, y);
    case 22: return PressMovePoint(x, y);
    case 23: return PressAddPoint(x, y);
    case 24: return PressLineAttribute(false, x, y);
    case 25: return PressLineAttribute(true, x, y);
    case 26: return PressDrag(false, ctrl, x, y);
    case 27: return PressDrag(true, ctrl, x, y);
    default:
      result.colourPicked = PressDropper(x, y);
      return false;
  }
}

bool ToolController::PressSelect(bool objects, int x, int y) {
  DrawingObject& pending = doc_.PendingPoints();
  pending.Add(ClickPoint(x, y));
  hit_ = false;
  Drawing& drawing = doc_.EditorDrawing;
  if (pending.Count() == 1) {
    for (auto& object : drawing.Objects()) {
      if (objects) {
        if (FirstHitSegment(*object, x, y) == 0) continue;
        hit_ = true;
        for (auto& p : object->Points()) doc_.Select(p.get());
        continue;
      }
      for (auto& p : object->Points()) {
        if (!WithinReach(*p, x, y)) continue;
        hit_ = true;
        if (p->state == 1)
          doc_.Unselect(p.get());
        else
          doc_.Select(p.get());
      }
    }
    if (hit_) pending.Clear();  // a miss keeps the press as the first corner of a box
  } else {
    const PointRecord a = pending[0], b = pending[1];
    for (auto& object : drawing.Objects()) {
      if (objects) {
        bool any = false;
        for (const auto& p : object->Points()) any = any || InBox(*p, a, b);
        if (any)
          for (auto& p : object->Points()) doc_.Select(p.get());
      } else {
        for (auto& p : object->Points())
          if (InBox(*p, a, b)) doc_.Select(p.get());
      }
    }
    pending.Clear();
  }
  return true;
}

bool ToolController::PressMovePoint(int x, int y) {
  DrawingObject& pending = doc_.PendingPoints();
  if (pending.Empty()) {
    doc_.ClipCursorToCanvas();
    pending.Add(ClickPoint(x, y));
    doc_.UnselectAll();
    for (auto& object : doc_.EditorDrawing.Objects()) {
      for (auto& p : object->Points()) {
        if (!WithinReach(*p, x, y)) continue;
        doc_.Select(p.get());
        break;
      }
      if (!doc_.SelectionList().empty()) break;
    }
    doc_.BeginDrag(true);
    return true;
  }
  const bool moved = !doc_.SelectionList().empty();
  for (PointRecord* p : doc_.SelectionList()) {
    p->x = x;
    p->y = y;
  }
  doc_.UnselectAll();
  if (moved) doc_.PushUndo();
  doc_.EndDrag();
  Finish();
  return true;
}

bool ToolController::PressAddPoint(int x, int y) {
  bool inserted = false;
  for (auto& object : doc_.EditorDrawing.Objects()) {
    const size_t b = FirstHitSegment(*object, x, y);
    if (b == 0) continue;
    PointRecord p;
    p.x = x;
    p.y = y;
    p.colour = (*object)[b].colour;
    p.blanked = (*object)[b].blanked;
    object->Insert(b, p);
    inserted = true;
  }
  if (inserted) doc_.PushUndo();
  return true;
}

bool ToolController::PressLineAttribute(bool blanking, int x, int y) {
  auto change = [&](PointRecord& p) {
    if (blanking)
      p.blanked = p.blanked ? 0 : 1;
    else
      p.colour = static_cast<uint8_t>(doc_.CurrentColor);
  };
  for (auto& object : doc_.EditorDrawing.Objects()) {
    for (size_t i = 1; i < object->Count(); ++i) {
      PointRecord& a = (*object)[i - 1];
      PointRecord& b = (*object)[i];
      if (!SegmentHit(a, b, x, y)) continue;
      change(b);
      if (SamePlace(a, b)) change(a);
    }
  }
  doc_.PushUndo();
  return true;
}

bool ToolController::PressDrag(bool scale, bool ctrl, int x, int y) {
  DrawingObject& pending = doc_.PendingPoints();
  if (pending.Empty()) {
    doc_.ClipCursorToCanvas();
    pending.Add(ClickPoint(x, y));
    doc_.BeginDrag(false);
    return true;
  }
  const DragMotion motion = MotionTo(pending[0], scale, ctrl, x, y);
  doc_.RestoreDragOriginals();
  if (doc_.CopyFlag)
    doc_.AppendChangedCopiesOfSelection([&](PointRecord& p) { motion.Apply(p); });
  else
    for (const auto& d : doc_.DragOriginals()) motion.Apply(*d.point);
  if (!doc_.SelectionList().empty()) doc_.PushUndo();
  doc_.EndDrag();
  Finish();
  return true;
}

void ToolController::DragTo(bool scale, bool ctrl, int x, int y) {
  const DragMotion motion = MotionTo(doc_.PendingPoints()[0], scale, ctrl, x, y);
  for (const auto& [point, original] : doc_.DragOriginals()) {
    point->x = original.x;
    point->y = original.y;
    motion.Apply(*point);
  }
}

bool ToolController::PressDropper(int x, int y) {
  bool picked = false;
  for (const auto& object : doc_.EditorDrawing.Objects()) {
    const size_t b = FirstHitSegment(*object, x, y);
    if (b == 0) continue;
    const PointRecord& a = (*object)[b - 1];
    doc_.CurrentColor = SamePlace(a, (*object)[b]) ? a.colour : (*object)[b].colour;
    picked = true;
  }
  return picked;
}

}  // namespace kavri
