#include "editor/undo_history.h"

#include "editor/selection_commands.h"
#include "editor_fixture.h"

namespace kavri::testing_editor {
namespace {

using UndoTest = EditorTest;

TEST_F(UndoTest, FirstChangeAfterAResetCanBeUndoneWithoutMarkingTheBaselineModified) {
  EXPECT_EQ(doc.History().Count(), 1u);
  EXPECT_EQ(doc.History().Index(), 0);
  EXPECT_FALSE(doc.ModifiedFlag);

  tools.SelectTool(9);
  Left(10, 20);
  EXPECT_TRUE(doc.ModifiedFlag);
  EXPECT_EQ(doc.History().Count(), 2u);
  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(doc.EditorDrawing.Count(), 0u);
  EXPECT_FALSE(doc.Undo());
  EXPECT_TRUE(doc.Redo());
  ASSERT_EQ(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PointsOf(doc.EditorDrawing[0]), (std::vector<P>{{10, 20, 2, 4, 1}, {10, 20, 2, 4, 0}}));
  EXPECT_FALSE(doc.Redo());
}

TEST_F(UndoTest, HistoryKeepsTheNewest400AndUndoRedoReturnsToTheNewest) {
  tools.SelectTool(9);
  for (int i = 0; i < 401; ++i) Left(i % 500, i / 500);
  EXPECT_EQ(doc.History().Count(), 400u);
  EXPECT_EQ(doc.History().Index(), 399);
  // The oldest kept snapshot is the drawing after change 2 (baseline and change 1 dropped).
  EXPECT_EQ(doc.History().At(0).objectSizes.size(), 2u);

  EXPECT_TRUE(doc.Undo());
  EXPECT_EQ(doc.EditorDrawing.Count(), 400u);
  EXPECT_TRUE(doc.Redo());
  EXPECT_EQ(doc.EditorDrawing.Count(), 401u);
  EXPECT_EQ(doc.History().Index(), 399);
}

TEST_F(UndoTest, NewChangeAfterUndoDropsTheRedoBranch) {
  tools.SelectTool(9);
  Left(1, 1);
  Left(2, 2);
  doc.Undo();
  Left(3, 3);
  EXPECT_EQ(doc.History().Count(), 3u);
  EXPECT_FALSE(doc.Redo());
  ASSERT_EQ(doc.EditorDrawing.Count(), 2u);
  EXPECT_EQ(doc.EditorDrawing[1][0].x, 3);
}

TEST_F(UndoTest, EraseUndoRedoLeavesTheErasedPointsGoneAgain) {
  AddLine({{1, 1}, {2, 2}, {3, 3}});
  doc.PushUndo();
  doc.Select(doc.EditorDrawing[0].At(1));
  EraseSelection(doc);
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{1, 1}, {3, 3}}));
  doc.Undo();
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(doc.EditorDrawing[0].Count(), 3u);
  EXPECT_TRUE(doc.SelectionList().empty());
  EXPECT_EQ(doc.EditorDrawing[0][1].state, 0);
  doc.Redo();
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (std::vector<std::pair<int, int>>{{1, 1}, {3, 3}}));
}

TEST(DrawingSnapshot, RestoreRebuildsObjectsOfOtherSizesWithEveryFieldAndNoSelection) {
  Drawing source;
  for (int o = 0; o < 3; ++o) {
    DrawingObject* object = source.AddObject();
    for (int i = 0; i <= o; ++i) object->Add(PointRecord{o, i, 2, static_cast<uint8_t>(7 + i), 1, 1});
  }
  source.AddObject();  // empty objects are kept too
  const DrawingSnapshot snapshot = DrawingSnapshot::Of(source);
  EXPECT_EQ(snapshot.points.size(), 6u);

  for (Drawing target : {Drawing{}, source, [] {
                           Drawing d;
                           for (int o = 0; o < 6; ++o) d.AddObject()->Add(PointRecord{9, 9, 0, 0, 0, 0});
                           return d;
                         }()}) {
    snapshot.RestoreInto(target);
    ASSERT_EQ(target.Count(), 4u);
    for (size_t o = 0; o < 4; ++o) {
      ASSERT_EQ(target[o].Count(), source[o].Count());
      for (size_t i = 0; i < target[o].Count(); ++i) {
        PointRecord expected = source[o][i];
        expected.state = 0;
        EXPECT_EQ(target[o][i], expected);
      }
    }
  }
}

// Past its byte budget the history drops its oldest steps, keeps the newest always, and counts
// what a dropped redo branch held; a cleared history starts its count afresh.
TEST(UndoHistoryBudget, OldestStepsGoPastTheByteBudget) {
  auto drawingAt = [](int x) {
    Drawing d;
    for (int i = 0; i < 100; ++i) d.AddObject()->Add(PointRecord{x, i, 0, 4, 0, 0});
    return d;
  };
  const size_t step = DrawingSnapshot::Of(drawingAt(0)).MemoryBytes();
  struct Case {
    const char* name;
    size_t budgetSteps;  // budget as a number of steps, plus half a step
    int clearedPushes;   // pushes made and cleared before the others
    int pushes;
    int undosThenPush;  // undos before one last push (0: none)
    size_t kept;
    int oldestX;
  };
  const Case cases[] = {
      {"under the budget", 8, 0, 5, 0, 5, 0},
      {"past the budget", 3, 0, 10, 0, 3, 7},
      {"budget below one step", 0, 0, 4, 0, 1, 3},
      {"redo branch dropped first", 3, 0, 3, 2, 2, 0},
      {"filled to the budget after a clear", 3, 3, 3, 0, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UndoHistory history(c.budgetSteps * step + step / 2);
    Drawing drawing;
    for (int n = 0; n < c.clearedPushes; ++n) history.Push(drawingAt(50 + n));
    if (c.clearedPushes > 0) {
      history.Clear();
      EXPECT_EQ(history.Count(), 0u);
      EXPECT_EQ(history.Index(), -1);
      EXPECT_EQ(history.MemoryBytes(), 0u);
    }
    for (int n = 0; n < c.pushes; ++n) history.Push(drawingAt(n));
    if (c.undosThenPush > 0) {
      for (int n = 0; n < c.undosThenPush; ++n) EXPECT_TRUE(history.Undo(drawing));
      history.Push(drawingAt(99));
    }
    EXPECT_EQ(history.Count(), c.kept);
    EXPECT_EQ(history.Index(), static_cast<int>(c.kept) - 1);
    EXPECT_EQ(history.MemoryBytes(), c.kept * step);
    ASSERT_GE(history.Count(), 1u);
    EXPECT_EQ(history.At(0).points[0].x, c.oldestX);
    size_t undos = 0;
    while (history.Undo(drawing)) ++undos;
    EXPECT_EQ(undos, c.kept - 1);
  }
}

}  // namespace
}  // namespace kavri::testing_editor
