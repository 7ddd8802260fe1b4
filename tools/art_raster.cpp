#include "tools/art_raster.h"

#include <algorithm>
#include <cmath>

#include "skin/pixel_ops.h"

namespace kavri::art {

TShape Box(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    double qx = std::abs(x - cx) - ((x1 - x0) / 2 - r), qy = std::abs(y - cy) - ((y1 - y0) / 2 - r);
    double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
  };
}

TShape Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

TShape Capsule(double ax, double ay, double bx, double by, double r) {
  return [=](double x, double y) {
    double px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(px - dx * t, py - dy * t) - r;
  };
}

TShape Polygon(std::vector<std::pair<double, double>> pts) {
  double area = 0;
  for (size_t i = 0; i < pts.size(); ++i) {
    auto [x0, y0] = pts[i];
    auto [x1, y1] = pts[(i + 1) % pts.size()];
    area += x0 * y1 - x1 * y0;
  }
  double sign = area > 0 ? 1.0 : -1.0;
  return [pts, sign](double x, double y) {
    double d = -1e9;
    for (size_t i = 0; i < pts.size(); ++i) {
      auto [x0, y0] = pts[i];
      auto [x1, y1] = pts[(i + 1) % pts.size()];
      double ex = x1 - x0, ey = y1 - y0, len = std::hypot(ex, ey);
      if (len == 0) continue;
      // Outward normal of a counter-clockwise (in y-down space: clockwise) edge.
      double nx = ey / len * sign, ny = -ex / len * sign;
      d = std::max(d, (x - x0) * nx + (y - y0) * ny);
    }
    return d;
  };
}

TShape Union(TShape a, TShape b) {
  return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}
TShape Intersect(TShape a, TShape b) {
  return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}
TShape Subtract(TShape a, TShape b) {
  return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

TColor Mix(TColor a, TColor b, double t) {
  auto ch = [t](int x, int y) { return static_cast<uint8_t>(std::lround(x + (y - x) * t)); };
  return RGBToTColor(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)),
                     ch(GetBValue(a), GetBValue(b)));
}
TColor Lighten(TColor c, double t) { return Mix(c, 0xFFFFFF, t); }
TColor Darken(TColor c, double t) { return Mix(c, 0x000000, t); }

namespace {
double Coverage(const TShape& shape, int x, int y) {
  return std::clamp(0.5 - shape(x + 0.5, y + 0.5), 0.0, 1.0);
}
}  // namespace

TArtCanvas::TArtCanvas(int width, int height, TColor background) : image_(NewSkinBitmap(width, height, background)) {}

void TArtCanvas::Set(int x, int y, TColor c) { SetPixelAt(image_, x, y, c); }
TColor TArtCanvas::Get(int x, int y) const { return PixelAt(image_, x, y); }

void TArtCanvas::Paint(const TShape& shape, TColor color, double opacity) {
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) {
      double c = Coverage(shape, x, y) * opacity;
      if (c > 0) Set(x, y, Mix(Get(x, y), color, c));
    }
}

void TArtCanvas::PaintGradient(const TShape& shape, TColor from, TColor to, double start, double end,
                               bool vertical) {
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) {
      double c = Coverage(shape, x, y);
      if (c <= 0) continue;
      double at = (vertical ? y : x) + 0.5;
      double t = end > start ? std::clamp((at - start) / (end - start), 0.0, 1.0) : 0.0;
      Set(x, y, Mix(Get(x, y), Mix(from, to, t), c));
    }
}

void TArtCanvas::PaintVertical(const TShape& shape, TColor top, TColor bottom, double y0, double y1) {
  PaintGradient(shape, top, bottom, y0, y1, true);
}

void TArtCanvas::PaintHorizontal(const TShape& shape, TColor left, TColor right, double x0, double x1) {
  PaintGradient(shape, left, right, x0, x1, false);
}

void TArtCanvas::PaintSolid(const TShape& shape, TColor color) {
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x)
      if (Coverage(shape, x, y) >= 0.5) Set(x, y, color);
}

void TArtCanvas::KeyOutside(const TShape& shape, TColor key) {
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x)
      if (Coverage(shape, x, y) <= 0) Set(x, y, key);
}

}  // namespace kavri::art
