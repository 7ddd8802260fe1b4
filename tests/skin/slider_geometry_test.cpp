#include <gtest/gtest.h>

#include <climits>

#include "skin/slider_geometry.h"

using namespace kavri;

TEST(SliderGeometry, ClampsBelowToMinAndAboveToMax) {
  EXPECT_EQ(ClampPosition(105, 0, 100), 100);
  EXPECT_EQ(ClampPosition(-1, 0, 100), 0);
  EXPECT_EQ(ClampPosition(42, 0, 100), 42);
  EXPECT_EQ(ClampPosition(int64_t{INT_MAX} + 10, INT_MIN, INT_MAX), INT_MAX);
  // A reversed range keeps the documented order of the tests: below Min wins.
  EXPECT_EQ(ClampPosition(5, 10, 0), 10);
}

TEST(SliderGeometry, SliderOffsetSpansTheTrackAndStaysInside) {
  // 200-pixel track, 20-pixel slider: 180 pixels of travel.
  EXPECT_EQ(SliderOffsetForPosition(200, 20, 0, 0, 100), 0);
  EXPECT_EQ(SliderOffsetForPosition(200, 20, 100, 0, 100), 180);
  EXPECT_EQ(SliderOffsetForPosition(200, 20, 50, 0, 100), 90);
  EXPECT_EQ(SliderOffsetForPosition(200, 20, 1, 0, 3), 60);
  EXPECT_EQ(SliderOffsetForPosition(200, 20, -50, -100, 100), 45);
  // Min = Max: the slider sits at the start.
  EXPECT_EQ(SliderOffsetForPosition(200, 20, 7, 7, 7), 0);
  // A value outside the range never puts the slider outside the track.
  EXPECT_EQ(SliderOffsetForPosition(200, 20, 300, 0, 100), 180);
  EXPECT_EQ(SliderOffsetForPosition(200, 20, -300, 0, 100), 0);
  // Wide ranges do not overflow.
  EXPECT_EQ(SliderOffsetForPosition(1000, 0, INT_MAX, INT_MIN, INT_MAX), 1000);
  EXPECT_EQ(SliderOffsetForPosition(1000, 0, 0, INT_MIN, INT_MAX), 500);
  // A slider longer than its track stays at the start.
  EXPECT_EQ(SliderOffsetForPosition(10, 20, 50, 0, 100), 0);
}

TEST(SliderGeometry, PositionAtPointCentresTheSliderOnThePoint) {
  EXPECT_EQ(PositionAtPoint(10, 200, 20, 0, 100), 0);
  EXPECT_EQ(PositionAtPoint(190, 200, 20, 0, 100), 100);
  EXPECT_EQ(PositionAtPoint(100, 200, 20, 0, 100), 50);
  EXPECT_EQ(PositionAtPoint(100, 200, 20, 10, 10), 10);
  // Round trip: the value at the slider's centre is the value that placed it.
  for (int v = 0; v <= 100; ++v) {
    int offset = SliderOffsetForPosition(200, 20, v, 0, 100);
    int back = ClampPosition(PositionAtPoint(offset + 10, 200, 20, 0, 100), 0, 100);
    EXPECT_LE(std::abs(back - v), 1) << v;
  }
  // Unclamped outside the travel.
  EXPECT_LT(PositionAtPoint(0, 200, 20, 0, 100), 0);
  EXPECT_GT(PositionAtPoint(200, 200, 20, 0, 100), 100);
  // A track exactly as long as the slider maps every point to 0.
  EXPECT_EQ(PositionAtPoint(0, 20, 20, 5, 50), 0);
  EXPECT_EQ(PositionAtPoint(19, 20, 20, 5, 50), 0);
  EXPECT_EQ(PositionAtPoint(100, 20, 30, 5, 50), 0);
}

TEST(SliderGeometry, PageStepsMoveTowardThePressAndNeverPassIt) {
  // Track 200, slider 20, value 50 -> slider at 90..110.
  const int off = SliderOffsetForPosition(200, 20, 50, 0, 100);
  ASSERT_EQ(off, 90);
  EXPECT_EQ(PageStepTowards(50, 10, 30, off, 200, 20, 0, 100), 40);
  EXPECT_EQ(PageStepTowards(50, 10, 150, off, 200, 20, 0, 100), 60);
  // Close to the slider the step stops at the press point's value.
  EXPECT_EQ(PageStepTowards(50, 10, 88, off, 200, 20, 0, 100), 43);
  EXPECT_EQ(PageStepTowards(50, 10, 112, off, 200, 20, 0, 100), 56);
  // Over the slider: nothing.
  EXPECT_EQ(PageStepTowards(50, 10, 95, off, 200, 20, 0, 100), 50);
  // Page 0 does nothing.
  EXPECT_EQ(PageStepTowards(50, 0, 30, off, 200, 20, 0, 100), 50);
  // Repeating from a press point: the value walks to it, then stays.
  int v = 0;
  for (int i = 0; i < 30; ++i) v = PageStepTowards(v, 7, 150, SliderOffsetForPosition(200, 20, v, 0, 100), 200, 20, 0, 100);
  const int under = ClampPosition(PositionAtPoint(150, 200, 20, 0, 100), 0, 100);
  EXPECT_EQ(v, under);
  for (int i = 0; i < 30; ++i) {
    int next = PageStepTowards(v, 7, 150, SliderOffsetForPosition(200, 20, v, 0, 100), 200, 20, 0, 100);
    EXPECT_EQ(next, v);
  }
  // A slider left where a drag put it (ahead of its value): a press beyond it must not step back.
  EXPECT_EQ(PageStepTowards(50, 10, 81, 60, 200, 20, 0, 100), 50);
  EXPECT_EQ(PageStepTowards(50, 10, 100, 120, 200, 20, 0, 100), 50);
  // Min = Max: every step yields that one value.
  EXPECT_EQ(PageStepTowards(5, 10, 150, 0, 200, 20, 5, 5), 5);
  // No overflow next to the ends of int.
  EXPECT_EQ(PageStepTowards(INT_MAX - 1, 100, 1000, 999, 1000, 0, INT_MIN, INT_MAX), INT_MAX);
}

TEST(SliderGeometry, ScrollThumbLengthRules) {
  EXPECT_EQ(ScrollThumbLength(150, 5, 50), 18);
  EXPECT_EQ(ScrollThumbLength(150, 40, 50), 40);
  EXPECT_EQ(ScrollThumbLength(150, 0, 50), 75);
  EXPECT_EQ(ScrollThumbLength(150, 0, 0), 15);
  EXPECT_EQ(ScrollThumbLength(150, 0, 9), 15);
  EXPECT_EQ(ScrollThumbLength(150, 0, 101), 15);
  EXPECT_EQ(ScrollThumbLength(150, 0, 10), 15);
  EXPECT_EQ(ScrollThumbLength(150, 0, 100), 150);
  EXPECT_EQ(ScrollThumbLength(150, 400, 0), 150);
  EXPECT_EQ(ScrollThumbLength(-3, 0, 50), 0);
}

TEST(SliderGeometry, NativeThumbIsThePageShareOfTheTrack) {
  EXPECT_EQ(NativeThumbLength(100, 0, 90, 10), 10);
  EXPECT_EQ(NativeThumbLength(100, 0, 0, 10), 100);
  EXPECT_EQ(NativeThumbLength(100, 0, 300, 100), 25);
  EXPECT_EQ(NativeThumbLength(100, 0, INT_MAX, 1), 0);
}
