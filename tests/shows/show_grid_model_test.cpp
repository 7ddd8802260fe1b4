#include "shows/show_grid_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/ilda_file.h"
#include "engine/section_file.h"
#include "platform/int_convert.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

std::vector<TShowRow> Rows(std::initializer_list<TShowRow> rows) { return rows; }

class ShowGridModelTest : public ::testing::Test {
 protected:
  ShowGridModelTest() {
    // A segment of three rows lasting 40 + 0 + 25 ticks, an ILDA image of 7 frames.
    EXPECT_TRUE(SaveSectionFile(segment, {{"a.ddr", "40"}, {"b.ddr", ""}, {"c.ddr", "25", "9"}}));
    TILDAimage image;
    for (int i = 0; i < 7; ++i) image.frames.push_back(std::make_unique<TILDAframe>());
    EXPECT_TRUE(WriteIldaFile(ilda, image));
    show.SetShowName("gig");
  }
  TShowRowSource Drawing(const std::string& name) { return {TShowContentKind::Drawing, name, dir.Path(name)}; }

  kavri_test::ScratchDir dir;
  std::string segment = dir.Path("Intro.sec");
  std::string ilda = dir.Path("Laser.ILD");
  TShowGridModel show;
};

TEST_F(ShowGridModelTest, AddTakesItsTimeFromTheKindOfContentOnEachTrack) {
  show.SetDefaultTime(" 250 ");
  for (int t = 0; t < 3; ++t) {
    SCOPED_TRACE(t);
    show.SetEditTrack(t);
    show.Add(Drawing("Star.DDR"));  // fills the blank first row
    show.Add({TShowContentKind::Segment, "Intro.sec", segment});
    show.Add({TShowContentKind::Ilda, "Laser.ILD", ilda});
    EXPECT_EQ(show.Track(t).Rows(), Rows({{"star.ddr", "250"}, {"intro.sec", "65"}, {"laser.ild", "7"}}));
    EXPECT_EQ(show.Track(t).CurrentRow(), 3);
  }
  // Nothing selected in the list: a nameless row; a segment or image time of a file not there is 0.
  show.Add({TShowContentKind::Segment, "", ""});
  show.Add({TShowContentKind::Ilda, "gone.ild", dir.Path("gone.ild")});
  ASSERT_GE(show.Track(2).Rows().size(), 4u);
  EXPECT_EQ(show.Track(2).Rows().back(), (TShowRow{"gone.ild", "0"}));
  EXPECT_EQ(show.Track(2).Rows()[3], (TShowRow{"", "0"}));
}

TEST_F(ShowGridModelTest, AddDrawingWithABadDefaultTimeRaisesAndLeavesTheGridAsItWas) {
  show.Add(Drawing("a.ddr"));
  for (const char* bad : {"abc", "", "1|2", "99999999999"}) {
    SCOPED_TRACE(bad);
    show.SetDefaultTime(bad);
    EXPECT_THROW(show.Add(Drawing("b.ddr")), EConvertError);
    EXPECT_EQ(show.Track(0).Rows(), Rows({{"a.ddr", "100"}}));
  }
  // Segment and image rows do not read the default time.
  show.Add({TShowContentKind::Segment, "intro.sec", segment});
  EXPECT_EQ(show.Track(0).LastRow(), 2);
}

TEST_F(ShowGridModelTest, InsertPushesTheCurrentRowDownWithTheDefaultTimeWhateverTheKind) {
  show.SetEditTrack(1);
  show.SetDefaultTime("30");
  show.Insert({TShowContentKind::Ilda, "X.ild", ilda});  // a blank single row is filled in place
  EXPECT_EQ(show.Track(1).Rows(), Rows({{"x.ild", "30"}}));
  EXPECT_EQ(show.Status(), "Auto create a new show.");
  show.Track(1).SetCell(1, 1, "");
  show.Add(Drawing("b.ddr"));
  show.Track(1).SetRow(1);
  show.SetDefaultTime("  ");  // blank is 0 for Insert
  show.Insert({TShowContentKind::Segment, "s.sec", segment});
  EXPECT_EQ(show.Track(1).Rows(), Rows({{"s.sec", "0"}, {"x.ild", "0"}, {"b.ddr", "30"}}));
  EXPECT_EQ(show.Track(1).CurrentRow(), 1);
  EXPECT_EQ(show.Status(), "Insert a row.");
  show.SetDefaultTime("x");
  EXPECT_THROW(show.Insert(Drawing("c.ddr")), EConvertError);
  EXPECT_EQ(show.Track(1).LastRow(), 3);
}

TEST_F(ShowGridModelTest, RemoveBlanksTheOnlyRowAndSaysWhichRowWent) {
  TShowTrackGrid& grid = show.Track(0);
  grid.ReplaceRows(Rows({{"a.ddr", "1"}, {"b.ddr", ""}, {"c.ddr", "3"}, {"d.ddr", "4"}}));
  grid.SetRow(1);
  show.Remove();
  EXPECT_EQ(grid.Rows(), Rows({{"b.ddr", "0"}, {"c.ddr", "3"}, {"d.ddr", "4"}}));
  EXPECT_EQ(show.Status(), "Remove a row.");
  EXPECT_EQ(grid.CurrentRow(), 1);
  grid.SetRow(3);
  show.Remove();
  EXPECT_EQ(grid.Rows(), Rows({{"b.ddr", "0"}, {"c.ddr", "3"}}));
  EXPECT_EQ(show.Status(), "移除一行");
  EXPECT_EQ(grid.CurrentRow(), 2);
  show.Remove();
  show.Remove();
  EXPECT_EQ(grid.Rows(), Rows({{"", ""}}));
}

TEST_F(ShowGridModelTest, UpAndDownSwapWithTheNeighbourAndTheCurrentRowFollows) {
  TShowTrackGrid& grid = show.Track(2);
  show.SetEditTrack(2);
  grid.ReplaceRows(Rows({{"a", "1"}, {"b", "2"}, {"c", "3"}}));
  show.Up();  // row 1: nothing
  ASSERT_EQ(grid.Rows().size(), 3u);
  EXPECT_EQ(grid.Rows()[0].name, "a");
  show.Down();
  EXPECT_EQ(grid.Rows(), Rows({{"b", "2"}, {"a", "1"}, {"c", "3"}}));
  EXPECT_EQ(grid.CurrentRow(), 2);
  show.Down();
  show.Down();  // last row: nothing
  EXPECT_EQ(grid.Rows(), Rows({{"b", "2"}, {"c", "3"}, {"a", "1"}}));
  EXPECT_EQ(grid.CurrentRow(), 3);
  show.Up();
  EXPECT_EQ(grid.Rows(), Rows({{"b", "2"}, {"a", "1"}, {"c", "3"}}));
  EXPECT_EQ(grid.CurrentRow(), 2);
  // A row dragged in the grid: the current row stays on its row.
  EXPECT_TRUE(grid.MoveRow(3, 1));
  EXPECT_EQ(grid.Rows(), Rows({{"c", "3"}, {"b", "2"}, {"a", "1"}}));
  EXPECT_EQ(grid.CurrentRow(), 3);
  EXPECT_FALSE(grid.MoveRow(0, 2));
  EXPECT_FALSE(grid.MoveRow(2, 4));
}

TEST_F(ShowGridModelTest, RowCommandsDoNothingWithoutAShowName) {
  show.SetShowName("  ");
  show.Add(Drawing("a.ddr"));
  show.Insert(Drawing("a.ddr"));
  show.SetDefaultTime("bad");
  EXPECT_NO_THROW(show.Add(Drawing("a.ddr")));
  EXPECT_EQ(show.Track(0).Rows(), Rows({{"", "0"}}));
}

TEST_F(ShowGridModelTest, AnOpenedTrackWithoutRowsKeepsOneBlankRow) {
  TShowTrackCells cells;
  cells[1] = {{"a.ddr", "5"}};
  show.ReplaceShow("abc", "song.mp3", cells);
  EXPECT_EQ(show.Track(0).Rows(), Rows({{"", "0"}}));
  EXPECT_EQ(show.Track(1).Rows(), Rows({{"a.ddr", "5"}}));
  EXPECT_EQ(show.Track(2).RowCount(), 2);
}

TEST_F(ShowGridModelTest, CheckTimeCellsNamesTheTrackAndRowOfATimeThatWouldNotReadBack) {
  show.Track(0).ReplaceRows(Rows({{"a", " 7 "}, {"b", ""}}));
  show.Track(1).ReplaceRows(Rows({{"a", "-3"}, {"b", "1"}, {"c", "1|2"}}));
  try {
    show.CheckTimeCells();
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Track2 row 3: '1|2' is not a valid integer value");
  }
  show.Track(1).SetCell(1, 3, std::string(98 * 1024, '1') + "x");  // quoted by its start only
  try {
    show.CheckTimeCells();
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(std::string(e.what()), "Track2 row 3: '" + std::string(40, '1') + "…' is not a valid integer value");
  }
  show.Track(1).SetCell(1, 3, "12");
  show.Track(2).SetCell(1, 1, "abc");
  EXPECT_THROW(show.CheckTimeCells(), EConvertError);
  show.Track(2).SetCell(1, 1, "0");
  EXPECT_NO_THROW(show.CheckTimeCells());
}

}  // namespace
}  // namespace kavri
