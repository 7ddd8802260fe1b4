#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/transforms.h"

using namespace kavri;

namespace {

double Spread(int d, double x) {
  SpreadX(d, x);
  return x;
}
double Scroll(int d, double x) {
  ScrollX(d, x);
  return x;
}
double Squash(int a, double y) {
  SquashY(a, y);
  return y;
}

constexpr int kMaxInt = std::numeric_limits<int>::max();
constexpr int kMinInt = std::numeric_limits<int>::min();

}  // namespace

TEST(Transforms, SpreadFoldsAtBothEdges) {
  EXPECT_EQ(Spread(20, 10), 10);    // folded at 0
  EXPECT_EQ(Spread(20, 250), 240);  // folded at 255
  EXPECT_EQ(Spread(20, 127), 107);
  EXPECT_EQ(Spread(20, 128), 148);
  EXPECT_EQ(Spread(300, 0), 210);   // folded at 0, then at 255
  EXPECT_EQ(Spread(600, 0), 0);     // beyond one period: left alone
  EXPECT_EQ(Spread(400, 200), 90);  // past 510 wraps by a period
  EXPECT_EQ(Spread(55, 200), 255);
  EXPECT_EQ(Spread(0, 64), 64);

  double x = 10, y = 250;
  SpreadY(20, y);
  SpreadX(20, x);
  EXPECT_EQ(y, 240);
  EXPECT_EQ(x, 10);
}

TEST(Transforms, ScrollMovesTowardZeroAndFolds) {
  EXPECT_EQ(Scroll(300, 0), 210);
  EXPECT_EQ(Scroll(10, 100), 90);
  EXPECT_EQ(Scroll(150, 100), 50);   // folded at 0
  EXPECT_EQ(Scroll(400, 100), 210);  // folded at 0 and at 255
  EXPECT_EQ(Scroll(600, 250), 250);
  EXPECT_EQ(Scroll(10, 250), 240);   // the right half moves left too
  EXPECT_EQ(Scroll(0, 100), 100);
  EXPECT_EQ(Scroll(-5, -10), -10);   // no movement for d <= 0, whatever x is

  double y = 100;
  ScrollY(150, y);
  EXPECT_EQ(y, 50);
}

TEST(Transforms, ZoomPointScalesBothAxesAndCaps) {
  double x = 192, y = 0;
  ZoomPoint(40, x, y);
  EXPECT_EQ(x, 255);
  EXPECT_EQ(y, 0);
  x = 64, y = 200;
  ZoomPoint(40, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 255);

  x = 200, y = 0;  // each axis on its own
  ZoomPoint(10, x, y);
  EXPECT_EQ(x, 164);
  EXPECT_EQ(y, 64);

  x = 129.9, y = 126.1;  // fractions cut toward the centre
  ZoomPoint(10, x, y);
  EXPECT_EQ(x, 128);
  EXPECT_EQ(y, 128);

  for (int v = 0; v <= 255; ++v) {
    x = v, y = 255 - v;
    ZoomPoint(20, x, y);
    EXPECT_EQ(x, v);
    EXPECT_EQ(y, 255 - v);
  }

  x = 200, y = 0;  // a negative factor is capped as a huge one
  ZoomPoint(-20, x, y);
  EXPECT_EQ(x, 255);
  EXPECT_EQ(y, 0);

  x = 1e300, y = -1e300;  // far outside the int range: saturates, then capped
  ZoomPoint(20, x, y);
  EXPECT_EQ(x, 255);
  EXPECT_EQ(y, 0);
}

TEST(Transforms, ScaleAboutTheCentre) {
  EXPECT_EQ(ScaleX(200, 10), 164);
  for (int n : {0, 1, 20, 40, -40}) EXPECT_EQ(ScaleX(128, n), 128) << n;
  EXPECT_EQ(ScaleX(255, 20), 255);
  EXPECT_EQ(ScaleX(0, 20), 0);
  EXPECT_EQ(ScaleX(255, 40), 255);  // capped at 127 above the centre
  EXPECT_EQ(ScaleX(0, 40), 0);
  EXPECT_EQ(ScaleX(100, 30), 86);
  EXPECT_EQ(ScaleX(129, 19), 128);  // 19/20 truncates toward the centre
  EXPECT_EQ(ScaleX(127, 19), 128);
  EXPECT_EQ(ScaleX(50, 0), 128);
  EXPECT_EQ(ScaleY(60, 10), 94);
  EXPECT_EQ(ScaleY(300, 20), 255);
  EXPECT_EQ(ScaleY(-40, 20), 0);
  EXPECT_EQ(ScaleX(200, -20), 56);  // a negative size mirrors

  // Values from an unchecked settings file must not overflow.
  EXPECT_EQ(ScaleX(kMaxInt, kMaxInt), 255);
  EXPECT_EQ(ScaleX(kMinInt, kMaxInt), 0);
  EXPECT_EQ(ScaleY(kMinInt, kMinInt), 255);
  EXPECT_EQ(ScaleY(kMaxInt, kMinInt), 0);
}

TEST(Transforms, RotatePointTurnsAboutTheFrameCentre) {
  double x = 228, y = 128;
  RotatePoint(90, x, y);
  EXPECT_NEAR(x, 128, 1e-4);
  EXPECT_NEAR(y, 228, 1e-4);

  x = 228, y = 128;
  RotatePoint(-90, x, y);
  EXPECT_NEAR(x, 128, 1e-4);
  EXPECT_NEAR(y, 28, 1e-4);

  x = 200.25, y = 17.5;
  RotatePoint(0, x, y);
  EXPECT_EQ(x, 200.25);
  EXPECT_EQ(y, 17.5);

  x = 128, y = 128;
  RotatePoint(77, x, y);
  EXPECT_EQ(x, 128);
  EXPECT_EQ(y, 128);

  // Half a turn with pi as 3.1415926 leaves a visible remainder a closer pi would not.
  x = 228, y = 128;
  RotatePoint(180, x, y);
  EXPECT_NEAR(x, 28, 1e-9);
  EXPECT_NEAR(y - 128, 100 * std::sin(3.1415926), 1e-9);
  EXPECT_GT(y - 128, 1e-6);
}

TEST(Transforms, RotatePointAboutTurnsAboutTheGivenCentre) {
  double x = 20, y = 20;
  RotatePointAbout(90, 10, 20, x, y);
  EXPECT_NEAR(x, 10, 1e-4);
  EXPECT_NEAR(y, 30, 1e-4);

  x = 20, y = 20;
  RotatePointAbout(-90, 10, 20, x, y);
  EXPECT_NEAR(x, 10, 1e-4);
  EXPECT_NEAR(y, 10, 1e-4);

  x = 10, y = 60;  // off-axis centre: the x and y of the centre are not interchangeable
  RotatePointAbout(90, 10, 50, x, y);
  EXPECT_NEAR(x, 0, 1e-4);
  EXPECT_NEAR(y, 50, 1e-4);

  x = 7, y = 9;
  RotatePointAbout(33.3, 7, 9, x, y);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 9);
}

TEST(Transforms, SquashPullsTowardTheCentreLine) {
  EXPECT_EQ(Squash(128, 127), 128);  // d = 0: halves shift by one
  EXPECT_EQ(Squash(128, 128), 127);
  EXPECT_EQ(Squash(128, 200), 199);
  EXPECT_EQ(Squash(127, 0), -1);     // 127 * 64 / 63 = 129.01: just past the edge
  EXPECT_EQ(Squash(0, 0), 252);      // d = 127: mirrored
  EXPECT_EQ(Squash(0, 255), 1);
  EXPECT_EQ(Squash(255, 0), 252);
  for (int a : {63, 192}) {          // d = 64: seen edge-on
    EXPECT_EQ(Squash(a, 0), 127) << a;
    EXPECT_EQ(Squash(a, 255), 128) << a;
  }
  EXPECT_EQ(Squash(160, 0), 64);     // 127 * 32 / 63 = 64.5, cut to 64
  EXPECT_EQ(Squash(160, 255), 190);  // 127 * 32 / 64 = 63.5, cut to 63
  EXPECT_EQ(Squash(40, 0), 172);     // d = 87: 127 + 127 * 23 / 64
  EXPECT_EQ(Squash(40, 255), 82);    // 128 - 127 * 23 / 63
  EXPECT_EQ(Squash(128, 127.9), 128);
  EXPECT_EQ(Squash(128, 1e300), 127 + (int64_t{kMaxInt} * 64) / 64);

  double x = 200;
  SquashX(128, x);
  EXPECT_EQ(x, 199);
}

TEST(Transforms, ClipToLeftAndRightEdges) {
  int x = -1, y = -1;
  ClipToRightEdge(0, 0, 100, 50, x, y);
  EXPECT_EQ(x, 255);
  EXPECT_EQ(y, 127);
  ClipToRightEdge(0, -12, 3, -40, x, y);  // single-precision slope
  EXPECT_EQ(x, 255);
  EXPECT_EQ(y, -2391);
  ClipToRightEdge(10, 40, 300, 40, x, y);  // horizontal
  EXPECT_EQ(x, 255);
  EXPECT_EQ(y, 40);
  ClipToRightEdge(300, 0, 300, 10, x, y);  // vertical: the end point
  EXPECT_EQ(x, 300);
  EXPECT_EQ(y, 10);

  ClipToLeftEdge(10, 30, 20, 50, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 10);
  ClipToLeftEdge(1, -3, 3, -6, x, y);  // -1.5 cut toward zero
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, -1);
  ClipToLeftEdge(10, 40, -50, 40, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 40);
  ClipToLeftEdge(-5, 0, -5, 100, x, y);
  EXPECT_EQ(x, -5);
  EXPECT_EQ(y, 100);
  ClipToLeftEdge(7, 8, 7, 8, x, y);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 8);
}

TEST(Transforms, ClipToTopAndBottomEdges) {
  int x = -1, y = -1;
  ClipToTopEdge(0, -10, 20, 10, x, y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 0);
  ClipToTopEdge(0, 10, 3, 17, x, y);  // -4.29 cut toward zero
  EXPECT_EQ(x, -4);
  EXPECT_EQ(y, 0);
  ClipToTopEdge(0, -12, 3, -16, x, y);  // single-precision slope and intercept
  EXPECT_EQ(x, -8);
  EXPECT_EQ(y, 0);
  ClipToTopEdge(0, 10, 100, 10, x, y);  // horizontal: the end point
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 10);
  ClipToTopEdge(50, 20, 50, -10, x, y);  // vertical
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 0);

  ClipToBottomEdge(0, 0, 100, 50, x, y);
  EXPECT_EQ(x, 510);
  EXPECT_EQ(y, 255);
  ClipToBottomEdge(0, -12, 3, -11, x, y);
  EXPECT_EQ(x, 800);
  EXPECT_EQ(y, 255);
  ClipToBottomEdge(0, 100, 50, 100, x, y);
  EXPECT_EQ(x, 50);
  EXPECT_EQ(y, 100);
  ClipToBottomEdge(60, 0, 60, 300, x, y);
  EXPECT_EQ(x, 60);
  EXPECT_EQ(y, 255);
  ClipToBottomEdge(9, 9, 9, 9, x, y);
  EXPECT_EQ(x, 9);
  EXPECT_EQ(y, 9);
}

TEST(Transforms, ClipsOfExtremeLinesStayDefined) {
  int x = 0, y = 0;
  ClipToRightEdge(kMinInt, kMinInt, kMaxInt, kMaxInt, x, y);
  EXPECT_EQ(x, 255);
  EXPECT_GE(y, 250);
  ClipToBottomEdge(0, 0, kMaxInt, 1, x, y);  // nearly flat: far off to the side, saturated
  EXPECT_EQ(x, kMaxInt);
  EXPECT_EQ(y, 255);
  ClipToTopEdge(kMaxInt, kMinInt, kMinInt, kMaxInt, x, y);
  EXPECT_EQ(y, 0);
}
