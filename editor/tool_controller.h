#pragma once
// The drawing editor's tools: the canvas hands every press, mouse movement, tool change and Esc to
// one controller, which changes the document and describes the preview to draw.
#include <string_view>

#include "editor/editor_document.h"
#include "editor/tool_preview.h"

namespace kavri {

enum class MouseButton { Left, Right, Middle };

struct PressResult {
  bool redraw = false;        // the canvas must be redrawn from the drawing
  bool colourPicked = false;  // the dropper set CurrentColor: show the new colour
};

class ToolController {
 public:
  explicit ToolController(EditorDocument& doc) : doc_(doc) {}

  int CurrentTool() const { return tool_; }
  // Makes `code` the active tool and returns its status text. Another tool cancels what the old
  // one was in the middle of (a drag goes back); the two line tools share their chain.
  std::string_view SelectTool(int code);
  PressResult Press(MouseButton button, bool ctrl, int x, int y);
  // True when the canvas must be redrawn with Preview() on top.
  bool Move(bool ctrl, int x, int y);
  // Cancels the tool's presses (a drag goes back), unselects everything and leaves no tool.
  void Escape();

  const ToolPreview& Preview() const { return preview_; }
  // The canvas keeps the mouse (positions clamped to it) while this holds.
  bool WaitsForPress() const { return doc_.CursorClipped(); }
  // The last selection press hit a point or line.
  bool HitFlag() const { return hit_; }

 private:
  PointRecord ClickPoint(int x, int y) const;
  void Finish();
  void StyleNew(DrawingObject& object, size_t from, int kind, uint8_t blanked) const;
  void MarkEnds(DrawingObject& object) const;

  bool PressDrawingTool(bool ctrl, int x, int y);
  bool PressLine(bool multiPoint, bool ctrl, int x, int y);
  bool PressArc(int x, int y);
  bool PressCircle(bool ctrl, int x, int y);
  bool PressRectangle(bool manyPoints, int x, int y);
  bool PressPolygon(bool manyPoints, int x, int y);
  bool PressPoint(int x, int y);

  bool PressEditingTool(bool ctrl, int x, int y, PressResult& result);
  bool PressSelect(bool objects, int x, int y);
  bool PressMovePoint(int x, int y);
  bool PressAddPoint(int x, int y);
  bool PressLineAttribute(bool blanking, int x, int y);
  bool PressDrag(bool scale, bool ctrl, int x, int y);
  bool PressDropper(int x, int y);
  bool PressRight();

  void DragTo(bool scale, bool ctrl, int x, int y);
  void PreviewDrawingTool(bool ctrl, int x, int y);

  EditorDocument& doc_;
  int tool_ = 0;
  bool hit_ = false;
  ToolPreview preview_;
};

}  // namespace kavri
