#pragma once
// What a tool shows while the mouse moves, as shapes the canvas draws over a fresh redraw of the
// drawing. Coordinates are canvas pixels; a rectangle or ellipse is given by two opposite corners.
#include <vector>

#include "platform/tcolor.h"

namespace kavri {

struct PreviewShape {
  enum class Kind { Line, Rectangle, Ellipse };
  Kind kind = Kind::Line;
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  TColor colour = 0;
  bool filled = false;  // rectangles and ellipses; hollow otherwise
  bool dashed = false;
  bool operator==(const PreviewShape&) const = default;
};

struct ToolPreview {
  std::vector<PreviewShape> underDrawing;  // drawn between the grid and the objects
  std::vector<PreviewShape> overDrawing;   // drawn after the objects
  bool selectionOnTop = false;             // the selected points again, without their lines, on top

  bool Empty() const { return underDrawing.empty() && overDrawing.empty() && !selectionOnTop; }
  void Clear() { *this = ToolPreview{}; }
};

}  // namespace kavri
