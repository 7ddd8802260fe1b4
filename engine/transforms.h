#pragma once
// Point transforms of the play loops and the rotation dialog, and the edge intersections that
// cut lines at the frame border. Frame space: 0..255 on both axes, centre 128, y downwards.
// All are free functions on one coordinate pair: no state, no allocation.
#include <cstdint>

namespace kavri {

// Left half moves left and right half right by d, folding back at 0 and 255.
void SpreadX(int d, double& x);
void SpreadY(int d, double& y);
// Moves toward 0 by d, folding back at 0 and 255; d <= 0 leaves the value alone.
void ScrollX(int d, double& x);
void ScrollY(int d, double& y);
// Scales both coordinates about 128 by n/20; the result is integral, 0..255.
void ZoomPoint(int n, double& x, double& y);
// v scaled about 128 by n/20 (n = 20 is 1:1), clamped to 0..255.
int ScaleX(int v, int n);
int ScaleY(int v, int n);
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
  void About(double cx, double cy, double& x, double& y) const;
  void AboutCentre(double& x, double& y) const { About(128, 128, x, y); }
};
// Turns the point by angle degrees about (cx, cy).
void RotatePointAbout(double angle, int cx, int cy, double& x, double& y);
// Pulls the coordinate toward the centre line and mirrors it, as if the picture turned about
// the horizontal (SquashY) or vertical (SquashX) axis; a runs 0..255 over a half turn.
void SquashY(int a, double& y);
void SquashX(int a, double& x);

// Where the line through (x0, y0) and (x1, y1) meets x = 0, x = 255, y = 0 or y = 255.
// A line parallel to that edge gives (x1, y1).
void ClipToLeftEdge(int x0, int y0, int x1, int y1, int& x, int& y);
void ClipToRightEdge(int x0, int y0, int x1, int y1, int& x, int& y);
void ClipToTopEdge(int x0, int y0, int x1, int y1, int& x, int& y);
void ClipToBottomEdge(int x0, int y0, int x1, int y1, int& x, int& y);

}  // namespace kavri
