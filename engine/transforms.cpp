#include "engine/transforms.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/numeric.h"

namespace kavri {

namespace {

// The rotations use this value of pi, not a closer one: the pictures were made with it.
constexpr double kPi = 3.1415926;

void Rotate(double angle, double cx, double cy, double& x, double& y) {
  if (x == cx && y == cy) return;
  TRotation::Of(angle).About(cx, cy, x, y);
}

// Slope and intercept of a line that is neither vertical nor horizontal, kept in single
// precision as the clipped frames always were.
struct TLine {
  float k;
  float b;
};
TLine LineThrough(int x0, int y0, int x1, int y1) {
  const float k = static_cast<float>(static_cast<double>(int64_t{y1} - y0) / static_cast<double>(int64_t{x1} - x0));
  const float b = static_cast<float>(y0 - static_cast<double>(x0) * k);
  return {k, b};
}

// Meeting point with the edge x = edge. A vertical line gives its end point; the slope is only
// computed for a line that has one.
void ClipToVerticalEdge(int edge, int x0, int y0, int x1, int y1, int& x, int& y) {
  if (x0 == x1 || y0 == y1) {
    x = x0 == x1 ? x1 : edge;
    y = y1;
    return;
  }
  const TLine line = LineThrough(x0, y0, x1, y1);
  x = edge;
  y = TruncToInt(static_cast<double>(edge) * line.k + line.b);
}

// Meeting point with the edge y = edge. A horizontal line gives its end point.
void ClipToHorizontalEdge(int edge, int x0, int y0, int x1, int y1, int& x, int& y) {
  if (x0 == x1 || y0 == y1) {
    x = x1;
    y = y0 == y1 ? y1 : edge;
    return;
  }
  const TLine line = LineThrough(x0, y0, x1, y1);
  x = TruncToInt((static_cast<double>(edge) - line.b) / line.k);
  y = edge;
}

}  // namespace

void RotatePoint(int angle, double& x, double& y) { Rotate(angle, 128, 128, x, y); }

TRotation TRotation::Of(double angle) {
  const double a = angle * kPi / 180;
  return {std::cos(a), std::sin(a)};
}

const TRotation& TRotation::OfWholeDegrees(int angle) {
  static const auto table = [] {
    std::array<TRotation, 360> t{};
    for (int a = 0; a < 360; ++a) t[a] = Of(a);
    return t;
  }();
  return table[static_cast<size_t>(angle)];
}

void RotatePointAbout(double angle, int cx, int cy, double& x, double& y) { Rotate(angle, cx, cy, x, y); }

void ClipToLeftEdge(int x0, int y0, int x1, int y1, int& x, int& y) { ClipToVerticalEdge(0, x0, y0, x1, y1, x, y); }
void ClipToRightEdge(int x0, int y0, int x1, int y1, int& x, int& y) { ClipToVerticalEdge(255, x0, y0, x1, y1, x, y); }
void ClipToTopEdge(int x0, int y0, int x1, int y1, int& x, int& y) { ClipToHorizontalEdge(0, x0, y0, x1, y1, x, y); }
void ClipToBottomEdge(int x0, int y0, int x1, int y1, int& x, int& y) {
  ClipToHorizontalEdge(255, x0, y0, x1, y1, x, y);
}

}  // namespace kavri
