#include "editor/tool_controller.h"

#include "editor/editor_texts.h"
#include "editor/selection_commands.h"

namespace kavri {

namespace {

bool IsLineTool(int code) { return code == 1 || code == 2; }

}  // namespace

std::string_view ToolController::SelectTool(int code) {
  // The two line tools extend the same chain; any other change must not leave presses or a
  // drag behind for the new tool to pick up.
  if (code != tool_ && !(IsLineTool(code) && IsLineTool(tool_))) doc_.CancelToolState();
  tool_ = code;
  preview_.Clear();
  return editor_texts::ToolChosen(code);
}

void ToolController::Escape() {
  doc_.CancelToolState();
  doc_.UnselectAll();
  tool_ = 0;
  preview_.Clear();
}

PressResult ToolController::Press(MouseButton button, bool ctrl, int x, int y) {
  PressResult result;
  if (button == MouseButton::Middle || tool_ == 0) return result;
  preview_.Clear();
  if (button == MouseButton::Right) {
    result.redraw = PressRight();
  } else if (tool_ >= 1 && tool_ <= 9) {
    result.redraw = PressDrawingTool(ctrl, x, y);
  } else if (tool_ >= 20 && tool_ <= 28) {
    result.redraw = PressEditingTool(ctrl, x, y, result);
  }
  return result;
}

bool ToolController::PressRight() {
  switch (tool_) {
    case 20:
    case 21:
      if (doc_.PendingPoints().Empty()) doc_.UnselectAll();
      doc_.PendingPoints().Clear();
      return true;
    case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8:
    case 22: case 26: case 27:
      doc_.CancelToolState();
      return true;
    default:
      return false;
  }
}

bool ToolController::Move(bool ctrl, int x, int y) {
  preview_.Clear();
  const DrawingObject& pending = doc_.PendingPoints();
  switch (tool_) {
    case 20:
    case 21:
      if (pending.Count() != 1) return false;
      preview_.underDrawing.push_back({PreviewShape::Kind::Rectangle, pending[0].x, pending[0].y, x, y,
                                       RGBToTColor(255, 0, 0), false, true});
      return true;
    case 22:
      // Only a drag that has begun follows the mouse.
      if (pending.Count() != 1) return false;
      for (PointRecord* p : doc_.SelectionList()) {
        p->x = x;
        p->y = y;
      }
      return true;
    case 26:
    case 27:
      if (pending.Count() != 1) return false;
      DragTo(tool_ == 27, ctrl, x, y);
      preview_.selectionOnTop = tool_ == 26;
      return true;
    default:
      if (tool_ < 1 || tool_ > 8 || pending.Empty()) return false;
      PreviewDrawingTool(ctrl, x, y);
      return true;
  }
}

PointRecord ToolController::ClickPoint(int x, int y) const {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.colour = static_cast<uint8_t>(doc_.CurrentColor);
  p.blanked = doc_.PendingPoints().Empty() ? 1 : 0;
  return p;
}

void ToolController::Finish() {
  doc_.PendingPoints().Clear();
  doc_.ReleaseCursorClip();
}

void ToolController::StyleNew(DrawingObject& object, size_t from, int kind, uint8_t blanked) const {
  for (size_t i = from; i < object.Count(); ++i) {
    PointRecord& p = object[i];
    p.kind = kind;
    p.colour = static_cast<uint8_t>(doc_.CurrentColor);
    p.blanked = blanked;
    p.state = 0;
  }
}

void ToolController::MarkEnds(DrawingObject& object) const {
  if (object.Empty()) return;
  object[0].kind = 2;
  object[0].blanked = 1;
  object[object.Count() - 1].kind = 2;
}

}  // namespace kavri
