#include "editor/editor_imports.h"

#include "tests/editor/editor_fixture.h"

namespace kavri {
namespace {

using testing_editor::EditorTest;
using testing_editor::PlacesOf;
using Places = std::vector<std::pair<int, int>>;

class RotationTest : public EditorTest {};

TEST_F(RotationTest, TurnsTheSelectionAboutTheCentreInPlaceOrAsCopies) {
  struct Case {
    double angle;
    bool copy;
    Places expected;  // the drawing's second object after OK
  };
  // On screen (y downwards) a positive angle turns clockwise.
  const Case cases[] = {
      {90, false, {{256, 356}, {156, 256}}},  {-90, false, {{256, 156}, {356, 256}}},
      {180, false, {{156, 256}, {256, 156}}}, {360, false, {{356, 256}, {256, 356}}},
      {90, true, {{256, 356}, {156, 256}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    doc.ReplaceDrawing(Drawing{});
    DrawingObject& object = AddLine({{356, 256}, {256, 356}});
    doc.Select(object.At(0));
    doc.Select(object.At(1));
    doc.CopyFlag = c.copy;
    RotateSelection(doc, c.angle, 256, 256);
    ASSERT_EQ(doc.EditorDrawing.Count(), c.copy ? 2u : 1u);
    EXPECT_EQ(PlacesOf(doc.EditorDrawing[doc.EditorDrawing.Count() - 1]), c.expected);
    if (c.copy) {
      EXPECT_EQ(PlacesOf(object), (Places{{356, 256}, {256, 356}}));
      EXPECT_EQ(doc.SelectionList().size(), 2u);
      EXPECT_EQ(doc.EditorDrawing[1][0].state, 0);
    }
    EXPECT_TRUE(doc.ModifiedFlag);
  }
}

TEST_F(RotationTest, AFullTurnLeavesOffCentrePointsWhereTheyWere) {
  DrawingObject& object = AddLine({{356, 300}, {17, 499}, {510, 0}});
  SelectEverything();
  RotateSelection(doc, 360, 256, 256);
  EXPECT_EQ(PlacesOf(object), (Places{{356, 300}, {17, 499}, {510, 0}}));
}

TEST_F(RotationTest, OkIsOneUndoStepAndNothingSelectedChangesNothing) {
  DrawingObject& object = AddLine({{300, 200}, {400, 200}});
  doc.PushUndo();
  const size_t steps = doc.History().Count();
  doc.ModifiedFlag = false;
  RotateSelection(doc, 90, 256, 256);
  EXPECT_EQ(doc.History().Count(), steps);
  EXPECT_FALSE(doc.ModifiedFlag);

  doc.Select(object.At(1));
  RotateSelection(doc, 180, 256, 256);
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (Places{{300, 200}, {112, 312}}));
  EXPECT_EQ(doc.History().Count(), steps + 1);
  EXPECT_TRUE(doc.ModifiedFlag);
  ASSERT_TRUE(doc.Undo());
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (Places{{300, 200}, {400, 200}}));
}

TEST_F(RotationTest, CancelsADragInProgressBeforeTurning) {
  DrawingObject& object = AddLine({{300, 200}, {400, 200}});
  doc.Select(object.At(0));
  doc.BeginDrag(false);
  object[0].x = 350;  // the drag has moved it
  RotateSelection(doc, 180, 256, 256);
  ASSERT_GE(doc.EditorDrawing.Count(), 1u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[0]), (Places{{212, 312}, {400, 200}}));
}

class ImportSelectionTest : public EditorTest {};

TEST_F(ImportSelectionTest, ImportedObjectsBecomeTheOnlySelectionInOneUndoStep) {
  DrawingObject& old = AddLine({{1, 1}, {2, 2}});
  doc.PushUndo();
  doc.Select(old.At(0));
  const size_t steps = doc.History().Count();
  Drawing imported;
  for (int o = 0; o < 2; ++o) {
    DrawingObject& object = *imported.AddObject();
    object.Add(PointRecord{10 * o, 5, 0, 4, 0, 1});
    object.Add(PointRecord{10 * o + 3, 5, 0, 4, 0, 0});
  }
  AddObjectsAsSelection(doc, imported);
  EXPECT_TRUE(imported.Empty());
  ASSERT_EQ(doc.EditorDrawing.Count(), 3u);
  EXPECT_EQ(old[0].state, 0);
  ASSERT_EQ(doc.SelectionList().size(), 4u);
  EXPECT_EQ(doc.SelectionList()[0], doc.EditorDrawing[1].At(0));
  EXPECT_EQ(doc.SelectionList()[3], doc.EditorDrawing[2].At(1));
  EXPECT_EQ(doc.History().Count(), steps + 1);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.EditorDrawing.Count(), 1u);

  Drawing nothing;
  const size_t before = doc.History().Count();
  AddObjectsAsSelection(doc, nothing);
  EXPECT_EQ(doc.History().Count(), before);
}

}  // namespace
}  // namespace kavri
