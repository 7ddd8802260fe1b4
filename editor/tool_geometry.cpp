#include "editor/tool_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace kavri {

void SnapToAxis(const PointRecord& anchor, int& x, int& y) {
  const int dx = std::abs(x - anchor.x), dy = std::abs(y - anchor.y);
  if (dy < dx)
    y = anchor.y;
  else if (dy > dx)
    x = anchor.x;
}

void SquareTheBox(int x0, int y0, int& x1, int& y1) {
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  if (dy > dx) {
    if (x1 > x0)
      x1 = x0 + dy;
    else if (x1 < x0)
      x1 = x0 - dy;
  } else if (dy < dx) {
    if (y1 > y0)
      y1 = y0 + dx;
    else if (y1 < y0)
      y1 = y0 - dx;
  }
}

void ScaleFactors(int dx, int dy, bool perAxis, double& fx, double& fy) {
  if (perAxis) {
    fx = std::abs(dx) * 0.02;
    fy = std::abs(dy) * 0.02;
  } else {
    fx = fy = std::max(std::abs(dx), std::abs(dy)) * 0.02;
  }
}

int ScaleAbout(int centre, int v, double factor) {
  return static_cast<int>(centre + factor * (v - centre));
}

}  // namespace kavri
