#pragma once
#include <QImage>
#include <functional>
#include <vector>

#include "platform/tcolor.h"

namespace kavri::art {

// Signed distance in pixels from a point to a shape's outline: negative inside. Pixel (x, y) covers
// [x, x+1) x [y, y+1); shapes are sampled at pixel centres, so their edges come out anti-aliased by
// distance and the result depends only on this arithmetic, never on a rasteriser.
using TShape = std::function<double(double x, double y)>;

TShape Box(double x0, double y0, double x1, double y1, double radius = 0);
TShape Circle(double cx, double cy, double r);
TShape Capsule(double ax, double ay, double bx, double by, double r);  // a thick line with round ends
TShape Polygon(std::vector<std::pair<double, double>> points);         // convex
TShape Union(TShape a, TShape b);
TShape Intersect(TShape a, TShape b);
TShape Subtract(TShape a, TShape b);

TColor Mix(TColor a, TColor b, double t);  // t = 0 gives a, 1 gives b
TColor Lighten(TColor c, double t);
TColor Darken(TColor c, double t);

class TArtCanvas {
 public:
  TArtCanvas(int width, int height, TColor background);
  // Blends colour over what is there by the shape's coverage (times opacity).
  void Paint(const TShape& shape, TColor color, double opacity = 1.0);
  // Colour by row between top and bottom colour over rows y0..y1.
  void PaintVertical(const TShape& shape, TColor top, TColor bottom, double y0, double y1);
  void PaintHorizontal(const TShape& shape, TColor left, TColor right, double x0, double x1);
  // Hard-edged paint (no blending) for pictures that are masked by a plain colour later.
  void PaintSolid(const TShape& shape, TColor color);
  // Every pixel the shape does not touch becomes the key colour.
  void KeyOutside(const TShape& shape, TColor key);
  void Set(int x, int y, TColor c);
  TColor Get(int x, int y) const;
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  const QImage& Image() const { return image_; }

 private:
  void PaintGradient(const TShape& shape, TColor from, TColor to, double start, double end, bool vertical);
  QImage image_;
};

}  // namespace kavri::art
