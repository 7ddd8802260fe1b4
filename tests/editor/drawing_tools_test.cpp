#include "editor_fixture.h"
#include "engine/shape_generators.h"

namespace kavri::testing_editor {
namespace {

using DrawingToolsTest = EditorTest;

TEST_F(DrawingToolsTest, TwoPointLineChainsPressesIntoOneObjectUntilTheRightButton) {
  tools.SelectTool(1);
  Left(100, 100);
  EXPECT_TRUE(tools.WaitsForPress());
  Left(200, 100);
  Left(200, 200);
  Right();
  EXPECT_FALSE(tools.WaitsForPress());
  ASSERT_EQ(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PointsOf(doc.EditorDrawing[0]),
            (std::vector<P>{{100, 100, 2, 4, 1}, {200, 100, 0, 4, 0}, {200, 200, 0, 4, 0}}));
  EXPECT_EQ(doc.History().Count(), 3u);  // baseline and one per segment
  EXPECT_TRUE(doc.PendingPoints().Empty());

  Left(300, 300);  // after the right button a new line starts
  Left(310, 300);
  EXPECT_EQ(doc.EditorDrawing.Count(), 2u);
}

TEST_F(DrawingToolsTest, CtrlSnapsTheLineEndToTheNearerAxis) {
  const struct { int x, y, wantX, wantY; } cases[] = {{150, 110, 150, 100}, {110, 150, 100, 150}, {130, 130, 130, 130}};
  for (const auto& c : cases) {
    tools.SelectTool(1);
    Left(100, 100);
    Left(c.x, c.y, true);
    Right();
    const DrawingObject& line = doc.EditorDrawing[doc.EditorDrawing.Count() - 1];
    EXPECT_EQ(PlacesOf(line), (std::vector<std::pair<int, int>>{{100, 100}, {c.wantX, c.wantY}})) << c.x << "," << c.y;
  }
}

TEST_F(DrawingToolsTest, MultiPointLineFillsBetweenVerticesAtThePointSpace) {
  tools.SelectTool(2);
  doc.PointSpace = 3;
  Left(0, 0);
  Left(10, 0);
  doc.PointSpace = 50;
  Left(10, 20);  // shorter than the spacing: the two vertices only
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PointsOf(doc.EditorDrawing[0]), (std::vector<P>{{0, 0, 2, 4, 1},
                                                            {3, 0, 0, 4, 0},
                                                            {6, 0, 0, 4, 0},
                                                            {9, 0, 0, 4, 0},
                                                            {10, 0, 2, 4, 0},
                                                            {10, 20, 2, 4, 0}}));
}

TEST_F(DrawingToolsTest, RectangleHasFiveCornersEndingOnTheFirst) {
  tools.SelectTool(5);
  Left(10, 20);
  Left(110, 220);
  EXPECT_FALSE(tools.WaitsForPress());
  ASSERT_EQ(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PointsOf(doc.EditorDrawing[0]), (std::vector<P>{{10, 20, 2, 4, 1},
                                                            {10, 220, 2, 4, 0},
                                                            {110, 220, 2, 4, 0},
                                                            {110, 20, 2, 4, 0},
                                                            {10, 20, 2, 4, 0}}));
  EXPECT_EQ(doc.History().Count(), 2u);
}

TEST_F(DrawingToolsTest, ManyPointRectangleFillsItsSides) {
  tools.SelectTool(6);
  doc.PointSpace = 10;
  Left(0, 0);
  Left(20, 20);
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]),
            (std::vector<std::pair<int, int>>{{0, 0}, {0, 10}, {0, 20}, {10, 20}, {20, 20}, {20, 10}, {20, 0}, {10, 0}, {0, 0}}));
  std::vector<int> kinds;
  for (const auto& p : doc.EditorDrawing[0].Points()) kinds.push_back(p->kind);
  EXPECT_EQ(kinds, (std::vector<int>{2, 0, 2, 0, 2, 0, 2, 0, 2}));
}

TEST_F(DrawingToolsTest, CtrlCircleUsesASquareBoxFromTheFirstCorner) {
  doc.PointSpace = 5;
  doc.CurrentColor = 9;
  tools.SelectTool(4);
  Left(100, 100);
  Left(140, 110, true);
  DrawingObject expected;
  EllipseToPoints(100, 100, 140, 140, 5, expected);
  ASSERT_EQ(doc.EditorDrawing.Count(), 1u);
  const DrawingObject& circle = doc.EditorDrawing[0];
  EXPECT_EQ(PlacesOf(circle), PlacesOf(expected));
  ASSERT_GT(circle.Count(), 2u);
  EXPECT_EQ(PointsOf(circle).front(), (P{140, 120, 2, 9, 1}));
  EXPECT_EQ(std::get<2>(PointsOf(circle).back()), 2);
  EXPECT_EQ(PointsOf(circle)[1], (P{circle[1].x, circle[1].y, 0, 9, 0}));
}

TEST_F(DrawingToolsTest, FlatCircleLeavesNoObjectButFlatPolygonsDifferAsBefore) {
  tools.SelectTool(4);
  Left(100, 100);
  Left(100, 150);  // zero width: no ellipse
  tools.SelectTool(7);
  Left(100, 100);
  Left(100, 100);  // zero radius: the vertex tool still adds its empty object
  tools.SelectTool(8);
  Left(100, 100);
  Left(100, 100);
  ASSERT_EQ(doc.EditorDrawing.Count(), 1u);
  EXPECT_TRUE(doc.EditorDrawing[0].Empty());
  EXPECT_EQ(doc.History().Count(), 2u);
}

TEST_F(DrawingToolsTest, PolygonVerticesAreCornersWithTheFirstBlanked) {
  doc.PolygonSides = 4;
  tools.SelectTool(7);
  Left(200, 200);
  Left(300, 200);
  DrawingObject expected;
  CircleToPoints(200, 200, 300, 200, 4, expected);
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  const auto points = PointsOf(doc.EditorDrawing[0]);
  ASSERT_EQ(points.size(), expected.Count());
  for (size_t i = 0; i < points.size(); ++i)
    EXPECT_EQ(points[i], (P{expected[i].x, expected[i].y, 2, 4, i == 0 ? 1 : 0}));
}

TEST_F(DrawingToolsTest, PointToolAddsADotOfTwoCorners) {
  doc.CurrentColor = 12;
  tools.SelectTool(9);
  Left(7, 8);
  EXPECT_FALSE(tools.WaitsForPress());
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PointsOf(doc.EditorDrawing[0]), (std::vector<P>{{7, 8, 2, 12, 1}, {7, 8, 2, 12, 0}}));
}

TEST_F(DrawingToolsTest, PreviewsDescribeTheRubberBand) {
  tools.SelectTool(1);
  Left(100, 100);
  ASSERT_TRUE(tools.Move(true, 150, 110));
  const auto& over = tools.Preview().overDrawing;
  ASSERT_EQ(over.size(), 2u);
  EXPECT_EQ(over[0].kind, PreviewShape::Kind::Line);
  EXPECT_EQ(std::tie(over[0].x0, over[0].y0, over[0].x1, over[0].y1), std::make_tuple(100, 100, 150, 100));
  EXPECT_EQ(over[1].kind, PreviewShape::Kind::Ellipse);  // the pending anchor
  EXPECT_TRUE(over[1].filled);

  tools.SelectTool(20);
  EXPECT_FALSE(tools.Move(false, 5, 5));
  Left(50, 60);  // a miss: first corner of a box
  ASSERT_TRUE(tools.Move(false, 80, 90));
  ASSERT_EQ(tools.Preview().underDrawing.size(), 1u);
  const PreviewShape& box = tools.Preview().underDrawing[0];
  EXPECT_TRUE(box.dashed);
  EXPECT_EQ(box.colour, RGBToTColor(255, 0, 0));
  EXPECT_EQ(std::tie(box.x0, box.y0, box.x1, box.y1), std::make_tuple(50, 60, 80, 90));
}

}  // namespace
}  // namespace kavri::testing_editor
