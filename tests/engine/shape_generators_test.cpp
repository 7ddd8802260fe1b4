#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/shape_generators.h"

using namespace kavri;

namespace {

using XY = std::pair<int, int>;

std::vector<XY> Coords(const DrawingObject& list) {
  std::vector<XY> out;
  for (const auto& p : list.Points()) out.emplace_back(p->x, p->y);
  return out;
}

double Distance(const XY& a, const XY& b) { return std::hypot(a.first - b.first, a.second - b.second); }

bool OnlyCoordinatesSet(const DrawingObject& list) {
  for (const auto& p : list.Points())
    if (p->kind != 0 || p->colour != 0 || p->state != 0 || p->blanked != 0) return false;
  return true;
}

}  // namespace

TEST(LineToPoints, AxisLinesGiveThePointsBetweenTheEnds) {
  DrawingObject list;
  LineToPoints(0, 0, 10, 0, 3, list);
  EXPECT_EQ(Coords(list), (std::vector<XY>{{3, 0}, {6, 0}, {9, 0}}));
  EXPECT_TRUE(OnlyCoordinatesSet(list));

  list.Clear();
  LineToPoints(5, 20, 5, 10, 4, list);  // upward
  EXPECT_EQ(Coords(list), (std::vector<XY>{{5, 16}, {5, 12}}));

  list.Clear();
  LineToPoints(0, 0, 15, 0, 20, list);  // shorter than the step
  LineToPoints(0, 0, 12, 9, 20, list);
  LineToPoints(3, 3, 3, 3, 1, list);
  EXPECT_TRUE(list.Empty());
}

TEST(LineToPoints, SlopedLinesFollowTheLineAndAppendAfterExistingPoints) {
  DrawingObject list;
  list.Add(PointRecord{100, 100, 2, 7, 0, 1});
  LineToPoints(0, 0, 30, 10, 10, list);  // length 31.6: n = 3, d = 10
  EXPECT_EQ(Coords(list), (std::vector<XY>{{100, 100}, {10, 3}, {20, 6}}));
  EXPECT_EQ(list[0].colour, 7);  // the point already there is untouched

  list.Clear();
  LineToPoints(0, 40, 10, 0, 10, list);  // steep, downward in y: n = 4, d = 10
  EXPECT_EQ(Coords(list), (std::vector<XY>{{2, 30}, {5, 20}, {7, 10}}));
}

TEST(LineToPoints, EndsOnTinyOrInvalidSteps) {
  // A step of 1 on a diagonal makes dy / n round to 0; the walk must still move on.
  DrawingObject list;
  LineToPoints(0, 0, 5, 10, 1, list);
  ASSERT_EQ(list.Count(), 9u);
  for (size_t i = 0; i < list.Count(); ++i) EXPECT_EQ(list[i].y, static_cast<int>(i) + 1);
  EXPECT_EQ(list[3].x, 2);  // (4 - b) / k with k = 2

  list.Clear();
  LineToPoints(0, 0, 10, 3, 1, list);
  EXPECT_EQ(list.Count(), 9u);
  list.Clear();
  LineToPoints(0, 0, 7, 0, 0, list);
  LineToPoints(0, 0, -7, 0, -5, list);
  EXPECT_EQ(list.Count(), 12u);
}

TEST(EllipseToPoints, ClosedRunAroundTheBoxWithMinimumSpacing) {
  DrawingObject list;
  EllipseToPoints(100, 100, 300, 200, 10, list);
  const auto pts = Coords(list);
  ASSERT_GE(pts.size(), 20u);
  EXPECT_EQ(pts.front(), XY(300, 150));  // starts at the right end of the horizontal axis
  EXPECT_EQ(pts.back(), pts.front());    // and closes on it
  EXPECT_TRUE(OnlyCoordinatesSet(list));
  for (size_t i = 1; i + 1 < pts.size(); ++i) {
    EXPECT_GE(Distance(pts[i], pts[i - 1]), 10.0) << i;
    const double ex = (pts[i].first - 200) / 100.0, ey = (pts[i].second - 150) / 50.0;
    EXPECT_NEAR(ex * ex + ey * ey, 1.0, 0.08) << i;  // on the ellipse
  }
}

TEST(EllipseToPoints, ZeroSpacingKeepsEveryDistinctPointAndFlatBoxesGiveNothing) {
  DrawingObject list;
  EllipseToPoints(0, 0, 100, 100, 0, list);
  // n = trunc(141.4 * 0.2 + 2) = 30 steps per quarter.
  EXPECT_GE(list.Count(), 100u);
  EXPECT_LE(list.Count(), 125u);
  const auto pts = Coords(list);
  for (size_t i = 1; i < pts.size(); ++i) EXPECT_NE(pts[i], pts[i - 1]) << i;
  // It passes the right end, the bottom, the left end and the top of the box, in that order.
  const auto at = [&](XY p) { return std::find(pts.begin(), pts.end(), p) - pts.begin(); };
  EXPECT_EQ(at({100, 50}), 0);
  EXPECT_LT(at({50, 100}), at({0, 50}));
  EXPECT_LT(at({0, 50}), at({50, 0}));
  EXPECT_LT(at({50, 0}), static_cast<long>(pts.size()) - 1);

  list.Clear();
  EllipseToPoints(10, 10, 10, 90, 1, list);
  EllipseToPoints(10, 10, 90, 10, 1, list);
  EXPECT_TRUE(list.Empty());
}

TEST(ArcToPoints, WalksFromStartAngleToEndAngle) {
  DrawingObject list;
  ArcToPoints(100, 100, 150, 100, 100, 150, 5, list);  // angle 0 to pi/2, radius 50
  const auto pts = Coords(list);
  ASSERT_GE(pts.size(), 10u);
  EXPECT_EQ(pts.front(), XY(150, 100));
  EXPECT_NEAR(pts.back().first, 100, 5);
  EXPECT_NEAR(pts.back().second, 150, 1);
  for (size_t i = 1; i < pts.size(); ++i) {
    EXPECT_GE(Distance(pts[i], pts[i - 1]), 5.0);
    EXPECT_NEAR(Distance(pts[i], {100, 100}), 50, 1.5);
    EXPECT_GE(pts[i].second, pts[i - 1].second);  // clockwise on screen: y grows
  }

  list.Clear();
  ArcToPoints(100, 100, 100, 150, 150, 100, 5, list);  // reversed: from pi/2 down to 0
  ASSERT_FALSE(list.Empty());
  EXPECT_EQ(list[0].x, 100);
  EXPECT_NEAR(list[0].y, 150, 1);
  EXPECT_NEAR(list[list.Count() - 1].x, 150, 1);
}

TEST(ArcToPoints, DegenerateArcsAddNothing) {
  DrawingObject list;
  ArcToPoints(100, 100, 150, 150, 200, 200, 1, list);  // same angle
  ArcToPoints(100, 100, 100, 100, 200, 200, 1, list);  // start on the centre
  ArcToPoints(100, 100, 150, 100, 100, 100, 1, list);  // end on the centre
  EXPECT_TRUE(list.Empty());
}

TEST(CircleToPoints, SquareOnRadius100) {
  DrawingObject list;
  CircleToPoints(200, 200, 300, 200, 4, list);
  const auto pts = Coords(list);
  ASSERT_EQ(pts.size(), 5u);
  EXPECT_EQ(pts.back(), pts.front());
  for (size_t i = 1; i < 4; ++i) EXPECT_NEAR(Distance(pts[i], pts[i - 1]), 141, 2) << i;
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(Distance(pts[i], {200, 200}), 100, 1.5) << i;
  EXPECT_TRUE(OnlyCoordinatesSet(list));
}

TEST(CircleToPoints, SideCountsAndGuards) {
  for (int sides : {3, 5, 6, 8}) {
    DrawingObject list;
    CircleToPoints(250, 250, 250, 100, sides, list);
    ASSERT_EQ(list.Count(), static_cast<size_t>(sides) + 1) << sides;
    EXPECT_EQ(list[0].x, list[list.Count() - 1].x);
    EXPECT_EQ(list[0].y, list[list.Count() - 1].y);
  }
  DrawingObject list;
  CircleToPoints(10, 10, 10, 10, 6, list);
  CircleToPoints(10, 10, 50, 10, 0, list);
  CircleToPoints(10, 10, 50, 10, 2, list);
  EXPECT_TRUE(list.Empty());
}
