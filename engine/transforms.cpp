#include "engine/transforms.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/numeric.h"

namespace kavri {

namespace {

// The rotations use this value of pi, not a closer one: the pictures were made with it.
constexpr double kPi = 3.1415926;

void Spread(int d, double& v) {
  if (v > 127) {
    v = v + d;
    if (v > 255 && v <= 510) {
      v = 510 - v;
    } else if (v > 510) {
      v = v - 510;
    }
  } else if (d <= v) {
    v = v - d;
  } else if (d <= 255 + v) {
    v = d - v;
  } else if (d <= 510) {
    v = 510 - d + v;
  }
}

void Scroll(int d, double& v) {
  if (d <= 0) return;
  if (d <= v) {
    v = v - d;
  } else if (d <= 255 + v) {
    v = d - v;
  } else if (d <= 510) {
    v = 510 - d + v;
  }
}

// The caps compare t as unsigned, so a negative t (negative n) is capped too.
double Zoom(int n, double v) {
  if (v > 128) {
    int32_t t = TruncToInt((v - 128) * n * 0.05);
    if (static_cast<uint32_t>(t) > 127) t = 127;
    return 128 + t;
  }
  int32_t t = TruncToInt((128 - v) * n * 0.05);
  if (static_cast<uint32_t>(t) > 128) t = 128;
  return 128 - t;
}

// 64-bit so that sizes and coordinates from an unchecked settings file cannot overflow.
int Scale(int v, int n) {
  int64_t r;
  if (v > 128) {
    const int64_t t = std::min<int64_t>((int64_t{v} - 128) * n / 20, 127);
    r = 128 + t;
  } else {
    const int64_t t = std::min<int64_t>((128 - int64_t{v}) * n / 20, 128);
    r = 128 - t;
  }
  return static_cast<int>(std::clamp<int64_t>(r, 0, 255));
}

void Rotate(double angle, double cx, double cy, double& x, double& y) {
  if (x == cx && y == cy) return;
  TRotation::Of(angle).About(cx, cy, x, y);
}

// The lower side uses 128 and /63, the upper side 127 and /64; integer division toward zero.
double Squash(int a, double v) {
  const int64_t d = a < 128 ? 127 - int64_t{a} : int64_t{a} - 128;
  if (v < 128) {
    const int64_t t = TruncToInt(127 - v);
    return d < 64 ? static_cast<double>(128 - t * (64 - d) / 63) : static_cast<double>(127 + t * (d - 64) / 64);
  }
  const int64_t t = TruncToInt(v - 128);
  return d < 64 ? static_cast<double>(127 + t * (64 - d) / 64) : static_cast<double>(128 - t * (d - 64) / 63);
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

void SpreadX(int d, double& x) { Spread(d, x); }
void SpreadY(int d, double& y) { Spread(d, y); }
void ScrollX(int d, double& x) { Scroll(d, x); }
void ScrollY(int d, double& y) { Scroll(d, y); }

void ZoomPoint(int n, double& x, double& y) {
  x = Zoom(n, x);
  y = Zoom(n, y);
}

int ScaleX(int v, int n) { return Scale(v, n); }
int ScaleY(int v, int n) { return Scale(v, n); }

void RotatePoint(int angle, double& x, double& y) { Rotate(angle, 128, 128, x, y); }

TRotation TRotation::Of(double angle) {
  const double a = angle * kPi / 180;
  return {std::cos(a), std::sin(a)};
}

void TRotation::About(double cx, double cy, double& x, double& y) const {
  if (x == cx && y == cy) return;
  const double x0 = x;
  const double y0 = y;
  x = c * x0 - s * y0 + (1 - c) * cx + s * cy;
  y = s * x0 + c * y0 + (1 - c) * cy - s * cx;
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

void SquashY(int a, double& y) { y = Squash(a, y); }
void SquashX(int a, double& x) { x = Squash(a, x); }

void ClipToLeftEdge(int x0, int y0, int x1, int y1, int& x, int& y) { ClipToVerticalEdge(0, x0, y0, x1, y1, x, y); }
void ClipToRightEdge(int x0, int y0, int x1, int y1, int& x, int& y) { ClipToVerticalEdge(255, x0, y0, x1, y1, x, y); }
void ClipToTopEdge(int x0, int y0, int x1, int y1, int& x, int& y) { ClipToHorizontalEdge(0, x0, y0, x1, y1, x, y); }
void ClipToBottomEdge(int x0, int y0, int x1, int y1, int& x, int& y) {
  ClipToHorizontalEdge(255, x0, y0, x1, y1, x, y);
}

}  // namespace kavri
