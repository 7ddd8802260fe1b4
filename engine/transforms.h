#pragma once
// Point transforms of the play loops and the rotation dialog, and the edge intersections that
// cut lines at the frame border. Frame space: 0..255 on both axes, centre 128, y downwards.
// All are free functions on one coordinate pair: no state, no allocation. The ones every play
// loop calls for every point are defined at the end of this header, so they compile inline.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/numeric.h"

namespace kavri {

// Left half moves left and right half right by d, folding back at 0 and 255.
inline void SpreadX(int d, double& x);
inline void SpreadY(int d, double& y);
// Moves toward 0 by d, folding back at 0 and 255; d <= 0 leaves the value alone.
inline void ScrollX(int d, double& x);
inline void ScrollY(int d, double& y);
// Scales both coordinates about 128 by n/20; the result is integral, 0..255.
inline void ZoomPoint(int n, double& x, double& y);
// v scaled about 128 by n/20 (n = 20 is 1:1), clamped to 0..255.
inline int ScaleX(int v, int n);
inline int ScaleY(int v, int n);
// Turns the point by angle degrees about (128, 128); results stay unrounded.
void RotatePoint(int angle, double& x, double& y);
// A turn by a fixed angle, with its cosine and sine worked out once: loops that turn every point
// by the same angle use it instead of RotatePoint, with bit for bit the same results.
struct TRotation {
  double c = 1;
  double s = 0;
  static TRotation Of(double angle);
  // The turns by 0..359 degrees, worked out once for the program.
  static const TRotation& OfWholeDegrees(int angle);
  inline void About(double cx, double cy, double& x, double& y) const;
  void AboutCentre(double& x, double& y) const { About(128, 128, x, y); }
};
// Turns the point by angle degrees about (cx, cy).
void RotatePointAbout(double angle, int cx, int cy, double& x, double& y);
// Pulls the coordinate toward the centre line and mirrors it, as if the picture turned about
// the horizontal (SquashY) or vertical (SquashX) axis; a runs 0..255 over a half turn.
inline void SquashY(int a, double& y);
inline void SquashX(int a, double& x);

// Where the line through (x0, y0) and (x1, y1) meets x = 0, x = 255, y = 0 or y = 255.
// A line parallel to that edge gives (x1, y1).
void ClipToLeftEdge(int x0, int y0, int x1, int y1, int& x, int& y);
void ClipToRightEdge(int x0, int y0, int x1, int y1, int& x, int& y);
void ClipToTopEdge(int x0, int y0, int x1, int y1, int& x, int& y);
void ClipToBottomEdge(int x0, int y0, int x1, int y1, int& x, int& y);

// The per-point transforms.

namespace transforms_detail {

// v - d, folded back at 0 and at 255. Below 0 the fold gives d - v, exactly -(v - d), so both
// cases are one fabs and the hard-to-predict branch between them goes.
inline void FoldDown(int d, double& v) {
  if (d <= 255 + v) {
    v = std::fabs(v - d);
  } else if (d <= 510) {
    v = 510 - d + v;
  }
}

inline void Spread(int d, double& v) {
  if (v > 127) {
    v = v + d;
    if (v > 255) v = std::fabs(v - 510);  // 510 - v up to 510, v - 510 above
  } else {
    FoldDown(d, v);
  }
}

inline void Scroll(int d, double& v) {
  if (d > 0) FoldDown(d, v);
}

// The caps compare t as unsigned, so a negative t (negative n) is capped too. The point's side
// is hard to predict, so it only picks between integers (128 - v is exactly -(v - 128)).
inline double Zoom(int n, double v) {
  const int32_t upper = v > 128;
  int32_t t = TruncToInt(std::fabs(v - 128) * n * 0.05);
  const uint32_t cap = 128 - upper;
  t = static_cast<int32_t>(std::min(static_cast<uint32_t>(t), cap));
  return 128 + (2 * upper - 1) * t;  // arithmetic, as the compiler made a branch of a select
}

// 64-bit so that sizes and coordinates from an unchecked settings file cannot overflow. As in
// Zoom, the side only picks between integers.
inline int Scale(int v, int n) {
  const int64_t upper = v > 128;
  const int64_t t = std::min<int64_t>(std::abs(int64_t{v} - 128) * n / 20, 128 - upper);
  return static_cast<int>(std::clamp<int64_t>(128 + (2 * upper - 1) * t, 0, 255));
}

// The lower side uses 128 and /63, the upper side 127 and /64; integer division toward zero.
// The point's side and the angle's quarter each flip the direction; t * m is never negative, so
// the four cases reduce to selects between integers.
inline double Squash(int a, double v) {
  // a - 128 below 0 gives 127 - a = ~(a - 128): flipping by the sign mask avoids a branch.
  const int64_t fromMiddle = int64_t{a} - 128;
  const int64_t d = fromMiddle ^ (fromMiddle >> 63);
  const bool lower = v < 128;
  const int64_t lowerT = TruncToInt(127 - v);
  const int64_t upperT = TruncToInt(v - 128);
  const int64_t t = upperT ^ ((lowerT ^ upperT) & -int64_t{lower});
  const int64_t m = std::abs(d - 64);
  const int64_t towardLower = 128 - t * m / 63;
  const int64_t towardUpper = 127 + t * m / 64;
  const int64_t toLower = lower == (d < 64);
  return static_cast<double>(towardUpper ^ ((towardLower ^ towardUpper) & -toLower));
}

}  // namespace transforms_detail

inline void SpreadX(int d, double& x) { transforms_detail::Spread(d, x); }
inline void SpreadY(int d, double& y) { transforms_detail::Spread(d, y); }
inline void ScrollX(int d, double& x) { transforms_detail::Scroll(d, x); }
inline void ScrollY(int d, double& y) { transforms_detail::Scroll(d, y); }

inline void ZoomPoint(int n, double& x, double& y) {
  x = transforms_detail::Zoom(n, x);
  y = transforms_detail::Zoom(n, y);
}

inline int ScaleX(int v, int n) { return transforms_detail::Scale(v, n); }
inline int ScaleY(int v, int n) { return transforms_detail::Scale(v, n); }

inline void TRotation::About(double cx, double cy, double& x, double& y) const {
  if (x == cx && y == cy) return;
  const double x0 = x;
  const double y0 = y;
  x = c * x0 - s * y0 + (1 - c) * cx + s * cy;
  y = s * x0 + c * y0 + (1 - c) * cy - s * cx;
}

inline void SquashY(int a, double& y) { y = transforms_detail::Squash(a, y); }
inline void SquashX(int a, double& x) { x = transforms_detail::Squash(a, x); }

}  // namespace kavri
