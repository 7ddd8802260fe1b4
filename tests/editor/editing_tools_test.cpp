#include "editor/pick_rules.h"
#include "editor_fixture.h"

namespace kavri::testing_editor {
namespace {

using EditingToolsTest = EditorTest;

PointRecord At(int x, int y) {
  PointRecord p;
  p.x = x;
  p.y = y;
  return p;
}

TEST(PickRules, LinePickNeedsDistanceSquaredBelowFiveAndThePressBetweenTheEnds) {
  const struct { PointRecord a, b; int px, py; bool hit; } cases[] = {
      {At(100, 100), At(200, 100), 150, 102, true},   // d^2 = 4
      {At(100, 100), At(200, 100), 150, 103, false},  // d^2 = 9
      {At(100, 100), At(200, 100), 100, 100, false},  // on an end point: not between the ends
      {At(100, 100), At(200, 100), 250, 100, false},  // on the line, past its end
      {At(100, 100), At(100, 200), 102, 150, true},
      {At(100, 100), At(200, 200), 150, 151, true},
      {At(50, 50), At(50, 50), 54, 46, true},  // coincident ends: strict reach
      {At(50, 50), At(50, 50), 55, 50, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SegmentHit(c.a, c.b, c.px, c.py), c.hit) << c.px << "," << c.py;
}

TEST(PickRules, BoxIsInclusiveAndReachIsStrict) {
  EXPECT_TRUE(InBox(At(10, 20), At(10, 30), At(0, 20)));
  EXPECT_FALSE(InBox(At(11, 20), At(10, 30), At(0, 20)));
  EXPECT_TRUE(WithinReach(At(104, 96), 100, 100));
  EXPECT_FALSE(WithinReach(At(105, 100), 100, 100));
}

TEST_F(EditingToolsTest, SelectPointTogglesCoincidentPointsAndBoxSelectsEachOnce) {
  AddLine({{100, 100}, {100, 100}, {300, 300}});
  tools.SelectTool(20);
  Left(102, 98);
  EXPECT_TRUE(tools.HitFlag());
  EXPECT_EQ(doc.SelectionList().size(), 2u);
  Left(50, 50);  // a miss starts a box ...
  EXPECT_FALSE(tools.HitFlag());
  Left(400, 400);  // ... which adds the rest, the selected ones listed once
  EXPECT_EQ(doc.SelectionList().size(), 3u);
  Left(101, 101);  // toggles both off again
  EXPECT_EQ(doc.SelectionList().size(), 1u);
  Right();  // nothing pending: unselects
  EXPECT_TRUE(doc.SelectionList().empty());
  EXPECT_EQ(doc.EditorDrawing[0][2].state, 0);
}

TEST_F(EditingToolsTest, SelectObjectTakesWholeObjectsByLineOrBox) {
  AddLine({{100, 100}, {200, 100}});
  AddLine({{100, 300}, {200, 300}, {200, 400}});
  tools.SelectTool(21);
  Left(150, 301);
  EXPECT_EQ(doc.SelectionList().size(), 3u);
  Right();
  Left(90, 90);
  Left(110, 110);  // the box holds one point of the first object
  EXPECT_EQ(doc.SelectionList().size(), 2u);
}

TEST_F(EditingToolsTest, MovePointDragsTheFirstPointInReachAndUnselects) {
  AddLine({{100, 100}, {103, 101}});
  tools.SelectTool(22);
  Left(101, 101);
  EXPECT_TRUE(tools.WaitsForPress());
  ASSERT_TRUE(tools.Move(false, 150, 150));
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{150, 150}, {103, 101}}));
  Left(200, 210);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{200, 210}, {103, 101}}));
  EXPECT_TRUE(doc.SelectionList().empty());
  EXPECT_EQ(doc.EditorDrawing[0][0].state, 0);
  EXPECT_EQ(doc.History().Count(), 2u);

  Left(400, 400);  // nothing in reach: changes nothing, records nothing
  Left(410, 410);
  EXPECT_EQ(doc.History().Count(), 2u);
}

TEST_F(EditingToolsTest, AddPointInsertsBeforeTheEndOfTheFirstHitSegmentOnly) {
  DrawingObject& line = AddLine({{100, 100}, {200, 100}}, 9);
  line[1].blanked = 1;
  tools.SelectTool(23);
  Left(150, 103);  // d^2 = 9: missed
  EXPECT_EQ(line.Count(), 2u);
  EXPECT_EQ(doc.History().Count(), 1u);
  Left(150, 102);
  EXPECT_EQ(PointsOf(line), (std::vector<P>{{100, 100, 0, 9, 0}, {150, 102, 0, 9, 1}, {200, 100, 0, 9, 1}}));
  EXPECT_EQ(doc.History().Count(), 2u);
}

TEST_F(EditingToolsTest, LineColourAndBlankingChangeTheSegmentEndAndAlwaysRecord) {
  DrawingObject& line = AddLine({{100, 100}, {200, 100}, {200, 200}});
  doc.CurrentColor = 30;
  tools.SelectTool(24);
  Left(150, 101);
  EXPECT_EQ(PointsOf(line)[1], (P{200, 100, 0, 30, 0}));
  EXPECT_EQ(line[0].colour, 4);
  tools.SelectTool(25);
  Left(201, 150);
  EXPECT_EQ(line[2].blanked, 1);
  Left(10, 10);  // a miss still records a step
  EXPECT_EQ(doc.History().Count(), 4u);
}

TEST_F(EditingToolsTest, MoveShiftsTheSelectionOrAddsMovedCopies) {
  for (bool copy : {false, true}) {
    doc.ReplaceDrawing(Drawing{});
    doc.CopyFlag = copy;
    AddLine({{10, 10}, {20, 10}});
    AddLine({{300, 300}});
    doc.Select(doc.EditorDrawing[0].At(0));
    doc.Select(doc.EditorDrawing[0].At(1));
    tools.SelectTool(26);
    Left(0, 0);
    ASSERT_TRUE(tools.Move(false, 5, 5));
    EXPECT_TRUE(tools.Preview().selectionOnTop);
    ASSERT_GE(doc.EditorDrawing.Count(), 1u);
    EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{15, 15}, {25, 15}}));
    Left(30, 40);
    const std::vector<std::pair<int, int>> moved{{40, 50}, {50, 50}}, original{{10, 10}, {20, 10}};
    EXPECT_EQ(doc.SelectionList().size(), 2u) << copy;
    EXPECT_EQ(doc.History().Count(), 2u);
    if (!copy) {
      EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), moved);
      EXPECT_EQ(doc.EditorDrawing.Count(), 2u);
    } else {
      EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), original);
      ASSERT_EQ(doc.EditorDrawing.Count(), 3u);
      EXPECT_EQ(PlacesOf(doc.EditorDrawing[2]), moved);
      EXPECT_EQ(doc.EditorDrawing[2][0].state, 0);
      EXPECT_EQ(doc.EditorDrawing[2][0].kind, doc.EditorDrawing[0][0].kind);
    }
  }
}

TEST_F(EditingToolsTest, ScaleFactorIsTheOffsetOverFiftyPerAxisWithCtrl) {
  const struct { int px, py; bool ctrl, copy; std::vector<std::pair<int, int>> want; } cases[] = {
      {305, 260, false, false, {{305, 255}, {255, 205}}},  // 1:1
      {355, 255, false, false, {{355, 255}, {255, 155}}},  // 2:1
      {155, 255, false, false, {{355, 255}, {255, 155}}},  // direction does not matter
      {355, 280, true, false, {{355, 255}, {255, 230}}},   // x 2, y 0.5
      {230, 255, false, false, {{280, 255}, {255, 230}}},  // 0.5
      {355, 255, false, true, {{355, 255}, {255, 155}}},
  };
  for (const auto& c : cases) {
    doc.ReplaceDrawing(Drawing{});
    doc.CopyFlag = c.copy;
    AddLine({{305, 255}, {255, 205}});
    SelectEverything();
    tools.SelectTool(27);
    Left(255, 255);
    Left(c.px, c.py, c.ctrl);
    ASSERT_GT(doc.EditorDrawing.Count(), 0u);
    const DrawingObject& result = doc.EditorDrawing[doc.EditorDrawing.Count() - 1];
    EXPECT_EQ(PlacesOf(result), c.want) << c.px << "," << c.py;
    EXPECT_EQ(doc.EditorDrawing.Count(), c.copy ? 2u : 1u);
    if (c.copy) {
      EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{305, 255}, {255, 205}}));
    }
  }
}

TEST_F(EditingToolsTest, DropperTakesTheHitSegmentsEndColourAndTheLastObjectWins) {
  tools.SelectTool(28);
  PressResult r = tools.Press(MouseButton::Left, false, 150, 100);
  EXPECT_FALSE(r.colourPicked);
  EXPECT_EQ(doc.CurrentColor, 4);
  DrawingObject& first = AddLine({{100, 100}, {200, 100}}, 20);
  first[0].colour = 21;
  AddLine({{150, 50}, {150, 150}}, 22);
  r = tools.Press(MouseButton::Left, false, 150, 100);
  EXPECT_TRUE(r.colourPicked);
  EXPECT_FALSE(r.redraw);
  EXPECT_EQ(doc.CurrentColor, 22);
  EXPECT_EQ(doc.History().Count(), 1u);
}

}  // namespace
}  // namespace kavri::testing_editor
