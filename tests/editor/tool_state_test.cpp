// What a tool is in the middle of must never outlive the points it refers to, nor carry over to
// another tool.
#include <functional>

#include "editor/selection_commands.h"
#include "editor_fixture.h"

namespace kavri::testing_editor {
namespace {

using ToolStateTest = EditorTest;

void ExpectNoToolState(const EditorDocument& doc) {
  EXPECT_TRUE(doc.PendingPoints().Empty());
  EXPECT_TRUE(doc.DragOriginals().empty());
  EXPECT_FALSE(doc.ChainingFlag());
  EXPECT_FALSE(doc.CursorClipped());
}

TEST_F(ToolStateTest, EveryPathThatReplacesObjectsOrTheSelectionEndsTheLineChain) {
  const struct { const char* name; std::function<void(EditorDocument&)> run; } paths[] = {
      {"undo", [](EditorDocument& d) { d.Undo(); }},
      {"open", [](EditorDocument& d) { d.ReplaceDrawing(Drawing{}); }},
      {"erase", [](EditorDocument& d) { EraseSelection(d); }},
      {"select all", [](EditorDocument& d) { SelectAll(d); }},
      {"paste", [](EditorDocument& d) { LoadFromBuffer(d); }},
  };
  for (const auto& path : paths) {
    doc.ReplaceDrawing(Drawing{});
    tools.SelectTool(1);
    Left(100, 100);
    Left(200, 100);
    ASSERT_TRUE(doc.ChainingFlag());
    path.run(doc);
    ExpectNoToolState(doc);
    const size_t objects = doc.EditorDrawing.Count();
    Left(300, 300);  // a fresh first press, not a segment on a freed chain
    Left(300, 400);
    ASSERT_EQ(doc.EditorDrawing.Count(), objects + 1) << path.name;
    EXPECT_EQ(PointsOf(doc.EditorDrawing[objects]), (std::vector<P>{{300, 300, 2, 4, 1}, {300, 400, 0, 4, 0}}))
        << path.name;
  }
}

TEST_F(ToolStateTest, SelectionChangeDuringAMovePutsTheDragBackAndEndsIt) {
  AddLine({{10, 10}, {20, 20}});
  doc.Select(doc.EditorDrawing[0].At(0));
  tools.SelectTool(26);
  Left(0, 0);
  tools.Move(false, 50, 50);
  SelectAll(doc);
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{10, 10}, {20, 20}}));
  ExpectNoToolState(doc);
  EXPECT_FALSE(tools.Move(false, 60, 60));  // no drag left to follow the mouse
  Left(5, 5);                                // starts a new move of both points
  Left(6, 6);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{11, 11}, {21, 21}}));
}

TEST_F(ToolStateTest, ChoosingAnotherToolOrEscCancelsPressesButTheLineToolsShareTheirChain) {
  AddLine({{300, 300}});
  doc.Select(doc.EditorDrawing[0].At(0));
  tools.SelectTool(1);
  Left(100, 100);
  tools.SelectTool(22);
  ExpectNoToolState(doc);
  Left(50, 50);  // a first Move point press, so the selected point does not jump
  Left(60, 60);
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{300, 300}}));

  doc.PointSpace = 500;
  tools.SelectTool(1);
  Left(100, 100);
  Left(200, 100);
  tools.SelectTool(2);
  tools.SelectTool(2);
  Left(200, 200);
  ASSERT_GE(doc.EditorDrawing.Count(), 2u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[1]), (std::vector<std::pair<int, int>>{{100, 100}, {200, 100}, {200, 200}}));

  tools.Escape();
  EXPECT_EQ(tools.CurrentTool(), 0);
  ExpectNoToolState(doc);
  tools.SelectTool(1);
  Left(400, 400);
  EXPECT_EQ(doc.EditorDrawing.Count(), 2u);
  EXPECT_EQ(doc.PendingPoints().Count(), 1u);
}

TEST_F(ToolStateTest, EscDuringADragPutsThePointsBackWithoutAnUndoStep) {
  const struct { int tool; bool unselectsOnRight; } drags[] = {{22, true}, {26, false}, {27, false}};
  for (const auto& drag : drags) {
    doc.ReplaceDrawing(Drawing{});
    AddLine({{100, 100}, {150, 120}});
    SelectEverything();
    tools.SelectTool(drag.tool);
    Left(101, 101);
    ASSERT_TRUE(tools.Move(false, 200, 230));
    ASSERT_NE(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{100, 100}, {150, 120}}));
    tools.Escape();
    EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{100, 100}, {150, 120}})) << drag.tool;
    EXPECT_TRUE(doc.SelectionList().empty());
    EXPECT_EQ(doc.EditorDrawing[0][0].state, 0);
    EXPECT_EQ(doc.History().Count(), 1u);

    // The right button puts a drag back too; only Move point also unselects.
    SelectEverything();
    tools.SelectTool(drag.tool);
    Left(101, 101);
    tools.Move(false, 200, 230);
    Right();
    EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{100, 100}, {150, 120}})) << drag.tool;
    EXPECT_EQ(doc.SelectionList().empty(), drag.unselectsOnRight) << drag.tool;
  }
}

TEST_F(ToolStateTest, DragToolsShowNothingUntilTheirFirstPress) {
  for (int tool : {22, 26, 27}) {
    doc.ReplaceDrawing(Drawing{});
    AddLine({{100, 100}, {150, 120}});
    SelectEverything();
    tools.SelectTool(tool);
    EXPECT_FALSE(tools.Move(false, 300, 300)) << tool;
    ASSERT_GE(doc.EditorDrawing.Count(), 1u);
    EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{100, 100}, {150, 120}})) << tool;
  }
}

TEST_F(ToolStateTest, SaveRestartsTheHistoryFromTheSavedDrawing) {
  tools.SelectTool(9);
  Left(1, 1);
  doc.ResetHistory();
  EXPECT_FALSE(doc.ModifiedFlag);
  Left(2, 2);
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(doc.EditorDrawing.Count(), 1u);
  EXPECT_FALSE(doc.Undo());
}

}  // namespace
}  // namespace kavri::testing_editor
