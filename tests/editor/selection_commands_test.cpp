#include "editor/selection_commands.h"

#include "editor_fixture.h"

namespace kavri::testing_editor {
namespace {

using SelectionCommandsTest = EditorTest;

std::vector<int> RainbowOf(int n) {
  std::vector<PointRecord> points(static_cast<size_t>(n));
  std::vector<PointRecord*> list;
  for (auto& p : points) list.push_back(&p);
  RainbowColours(list);
  std::vector<int> colours;
  for (const auto& p : points) colours.push_back(p.colour);
  return colours;
}

TEST(RainbowColours, SixBandsFromTwoAndShortListsFromThree) {
  EXPECT_EQ(RainbowOf(12), (std::vector<int>{2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7}));
  EXPECT_EQ(RainbowOf(13), (std::vector<int>{2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 2}));
  EXPECT_EQ(RainbowOf(5), (std::vector<int>{3, 4, 5, 6, 7}));
}

TEST_F(SelectionCommandsTest, MirrorsFlipTheSelectionOrAddMirroredCopies) {
  const struct { bool horizontal, copy; std::pair<int, int> want; } cases[] = {
      {true, false, {30, 500}}, {false, false, {480, 10}}, {true, true, {30, 500}}, {false, true, {480, 10}}};
  for (const auto& c : cases) {
    doc.ReplaceDrawing(Drawing{});
    doc.CopyFlag = c.copy;
    AddLine({{30, 10}, {40, 40}});
    AddLine({{1, 1}});
    doc.Select(doc.EditorDrawing[0].At(0));
    MirrorSelection(doc, c.horizontal);
    EXPECT_EQ(doc.History().Count(), 2u);
    ASSERT_GE(doc.EditorDrawing.Count(), 1u);
    if (!c.copy) {
      EXPECT_EQ(PlacesOf(doc.EditorDrawing[0])[0], c.want);
      EXPECT_EQ(doc.EditorDrawing.Count(), 2u);
    } else {
      EXPECT_EQ(PlacesOf(doc.EditorDrawing[0])[0], (std::pair<int, int>{30, 10}));
      ASSERT_EQ(doc.EditorDrawing.Count(), 3u);
      EXPECT_EQ(PlacesOf(doc.EditorDrawing[2]), (std::vector<std::pair<int, int>>{c.want}));
      EXPECT_EQ(doc.SelectionList().size(), 1u);
      EXPECT_EQ(doc.EditorDrawing[0][0].state, 1);
    }
  }
}

TEST_F(SelectionCommandsTest, ToCenterPutsTheMiddleOfTheBoundsOnTheCanvasCentre) {
  const struct { std::vector<std::pair<int, int>> before, after; } cases[] = {
      {{{10, 20}}, {{255, 255}}},
      {{{10, 20}, {31, 61}}, {{245, 235}, {266, 276}}},
      // Outside the canvas, as imports can be.
      {{{530, -490}}, {{255, 255}}},
      {{{500, -490}, {530, -470}}, {{240, 245}, {270, 265}}},
  };
  for (const auto& c : cases) {
    doc.ReplaceDrawing(Drawing{});
    DrawingObject& object = *doc.EditorDrawing.AddObject();
    for (auto [x, y] : c.before) object.Add(PointRecord{x, y, 0, 4, 0, 0});
    SelectEverything();
    CentreSelection(doc);
    EXPECT_EQ(PlacesOf(object), c.after);
    EXPECT_EQ(doc.History().Count(), 2u);
  }
  doc.ReplaceDrawing(Drawing{});
  CentreSelection(doc);
  EXPECT_EQ(doc.History().Count(), 1u);
}

TEST_F(SelectionCommandsTest, ColourBlankingAndEraseRecordAsTheEditorDoes) {
  DrawingObject& line = AddLine({{1, 1}, {2, 2}, {3, 3}});
  ColourSelection(doc);  // nothing selected: no step
  EXPECT_EQ(doc.History().Count(), 1u);
  ToggleSelectionBlanking(doc);  // always a step
  EXPECT_EQ(doc.History().Count(), 2u);
  doc.CurrentColor = 50;
  doc.Select(line.At(0));
  doc.Select(line.At(2));
  ColourSelection(doc);
  ToggleSelectionBlanking(doc);
  EXPECT_EQ(PointsOf(line), (std::vector<P>{{1, 1, 0, 50, 1}, {2, 2, 0, 4, 0}, {3, 3, 0, 50, 1}}));
  EraseSelection(doc);
  EXPECT_EQ(PlacesOf(line), (std::vector<std::pair<int, int>>{{2, 2}}));
  EXPECT_TRUE(doc.SelectionList().empty());
  EraseSelection(doc);  // an empty selection still records
  EXPECT_EQ(doc.History().Count(), 6u);
}

TEST_F(SelectionCommandsTest, BufferPastesCopiesSelectingOnlyTheLatest) {
  AddLine({{1, 1}, {2, 2}});
  AddLine({{5, 5}});
  EXPECT_FALSE(SaveToBuffer(doc));  // nothing selected: the buffer is kept
  doc.Select(doc.EditorDrawing[0].At(1));
  EXPECT_TRUE(SaveToBuffer(doc));
  LoadFromBuffer(doc);
  LoadFromBuffer(doc);
  ASSERT_EQ(doc.EditorDrawing.Count(), 4u);
  EXPECT_EQ(PlacesOf(doc.EditorDrawing[3]), (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
  EXPECT_EQ(doc.SelectionList().size(), 2u);
  EXPECT_EQ(doc.EditorDrawing[2][0].state, 0);
  EXPECT_EQ(doc.EditorDrawing[3][0].state, 1);
  doc.ReplaceDrawing(Drawing{});  // the buffer outlives the drawing
  LoadFromBuffer(doc);
  EXPECT_EQ(doc.EditorDrawing.Count(), 1u);
}

TEST_F(SelectionCommandsTest, SelectAllListsEveryPointOnce) {
  AddLine({{1, 1}, {2, 2}});
  doc.Select(doc.EditorDrawing[0].At(0));
  SelectAll(doc);
  EXPECT_EQ(doc.SelectionList().size(), 2u);
  UnselectAll(doc);
  EXPECT_TRUE(doc.SelectionList().empty());
  EXPECT_EQ(doc.EditorDrawing[0][1].state, 0);
}

}  // namespace
}  // namespace kavri::testing_editor
