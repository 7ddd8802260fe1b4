#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "segments/segment_grid_model.h"
#include "shell/error_guard.h"
#include "tests/support/recording_dialogs.h"

namespace kavri {
namespace {

TSegmentControls Controls(const std::string& drawing, const std::string& time = "100") {
  TSegmentControls c;
  c.drawingName = drawing;
  c.timeText = time;
  return c;
}

std::vector<std::string> Names(const TSegmentGridModel& m) {
  std::vector<std::string> names;
  for (const TSegmentRow& row : m.Rows()) names.push_back(row[0]);
  return names;
}

// A model holding rows named n1..nk, built through Add.
TSegmentGridModel ModelWith(int count) {
  TSegmentGridModel m;
  for (int i = 1; i <= count; ++i) m.Add(Controls("n" + std::to_string(i)));
  return m;
}

TEST(SegmentGridModel, FreshModelHasHeaderAndCreationRow) {
  TSegmentGridModel m;
  EXPECT_EQ(m.SegmentName(), "NewSection");
  EXPECT_EQ(m.Status(), "Auto creat a new segment.");
  EXPECT_EQ(m.Cell(0, 0), "Drawing name");
  EXPECT_EQ(m.Cell(1, 0), "A");
  EXPECT_EQ(m.Cell(18, 0), "R");
  ASSERT_EQ(m.RowCount(), 2);
  const TSegmentRow expected = {"", "500", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                                "257", "20", "0", "30", "0", "30000", "0", "0"};
  EXPECT_EQ(m.Row(1), expected);
}

TEST(SegmentGridModel, RowFromControlsTakesEverySliderAndFixedOP) {
  TSegmentControls c = Controls("star.ddr", " 250 ");
  c.B = 1; c.C = 2; c.D = 3; c.E = 4; c.F = 5; c.G = 6; c.H = 7; c.I = 8; c.J = 9;
  c.K = 259; c.L = 11; c.M = 12; c.N = 13; c.Q = -255; c.R = 255;
  const TSegmentRow expected = {"star.ddr", "250", "1", "2", "3", "4", "5", "6", "7", "8", "9",
                                "259", "11", "12", "13", "0", "30000", "-255", "255"};
  EXPECT_EQ(RowFromControls(c), expected);
  EXPECT_EQ(RowFromControls(Controls("x", "  "))[1], "0");
  EXPECT_EQ(RowFromControls(Controls("x", "007"))[1], "7");
}

TEST(SegmentGridModel, AddFillsTheLoneBlankRowThenAppends) {
  TSegmentGridModel m;
  m.Add(Controls("a.ddr"));
  EXPECT_EQ(Names(m), (std::vector<std::string>{"a.ddr"}));
  EXPECT_EQ(m.Cell(1, 1), "100");
  m.Add(Controls("b.ddr"));
  EXPECT_EQ(Names(m), (std::vector<std::string>{"a.ddr", "b.ddr"}));
  // A row whose name is blank but which is not alone is kept, and the new one appended.
  m.SetCell(0, 1, "");
  m.Add(Controls("c.ddr"));
  EXPECT_EQ(Names(m), (std::vector<std::string>{"", "b.ddr", "c.ddr"}));
}

TEST(SegmentGridModel, InvalidTimeChangesNothingAndShowsTheConversionMessage) {
  for (bool insert : {false, true}) {
    kavri_test::RecordingDialogs dialogs;
    TSegmentGridModel m = ModelWith(2);
    const std::vector<TSegmentRow> before = m.Rows();
    EXPECT_FALSE(RunGuarded([&] { insert ? m.Insert(Controls("z.ddr", "abc")) : m.Add(Controls("z.ddr", "abc")); }));
    EXPECT_EQ(m.Rows(), before);
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"'abc' is not a valid integer value"}));
  }
}

TEST(SegmentGridModel, InsertPutsTheNewRowAtTheCurrentRowAndNormalisesTheMovedCells) {
  TSegmentGridModel m = ModelWith(3);
  m.SetCell(5, 2, "");
  m.SetCell(6, 3, " 12 ");
  m.SetCell(0, 3, "odd|name");  // names move as text, whatever they hold
  m.SetRow(2);
  m.Insert(Controls("new.ddr"));
  EXPECT_EQ(Names(m), (std::vector<std::string>{"n1", "new.ddr", "n2", "odd|name"}));
  EXPECT_EQ(m.Cell(5, 3), "0");
  EXPECT_EQ(m.Cell(6, 4), "12");
  EXPECT_EQ(m.Status(), "Insert a row.");
  EXPECT_EQ(m.CurrentRow(), 2);
}

TEST(SegmentGridModel, InsertIntoTheLoneBlankRowFillsIt) {
  TSegmentGridModel m;
  m.Insert(Controls("a.ddr"));
  EXPECT_EQ(Names(m), (std::vector<std::string>{"a.ddr"}));
  EXPECT_EQ(m.Status(), "Auto creat a new segment.");
}

TEST(SegmentGridModel, InsertOrRemoveOverABadCellChangesNothing) {
  for (bool insert : {false, true}) {
    kavri_test::RecordingDialogs dialogs;
    TSegmentGridModel m = ModelWith(3);
    m.SetCell(4, 3, "x1");
    m.SetRow(1);
    const std::vector<TSegmentRow> before = m.Rows();
    EXPECT_FALSE(RunGuarded([&] { insert ? m.Insert(Controls("z.ddr")) : m.Remove(); }));
    EXPECT_EQ(m.Rows(), before);
    EXPECT_EQ(m.Status(), "Auto creat a new segment.");
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"'x1' is not a valid integer value"}));
  }
}

TEST(SegmentGridModel, RemoveOfTheSingleLastAndMiddleRow) {
  struct Case {
    int rows, current;
    std::vector<std::string> names;
    std::string status;
    int currentAfter;
  };
  const Case cases[] = {
      {1, 1, {""}, "Auto creat a new segment.", 1},
      {3, 3, {"n1", "n2"}, "移除一行", 2},
      {3, 2, {"n1", "n3"}, "Remove a row.", 2},
      {3, 1, {"n2", "n3"}, "Remove a row.", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status + " from row " + std::to_string(c.current));
    TSegmentGridModel m = ModelWith(c.rows);
    m.SetRow(c.current);
    m.Remove();
    EXPECT_EQ(Names(m), c.names);
    EXPECT_EQ(m.Status(), c.status);
    EXPECT_EQ(m.CurrentRow(), c.currentAfter);
  }
  TSegmentGridModel single = ModelWith(1);
  single.Remove();
  EXPECT_EQ(single.Row(1), TSegmentRow());  // every cell emptied
}

TEST(SegmentGridModel, UpAndDownSwapWithTheNeighbourAndStopAtTheEnds) {
  struct Case {
    int current;
    bool up;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {1, true, {"n1", "n2", "n3"}},
      {3, false, {"n1", "n2", "n3"}},
      {2, true, {"n2", "n1", "n3"}},
      {2, false, {"n1", "n3", "n2"}},
  };
  for (const Case& c : cases) {
    TSegmentGridModel m = ModelWith(3);
    m.SetRow(c.current);
    c.up ? m.Up() : m.Down();
    EXPECT_EQ(Names(m), c.names) << (c.up ? "Up" : "Down") << " at " << c.current;
    EXPECT_EQ(m.CurrentRow(), c.current);  // the current row does not follow
  }
}

TEST(SegmentGridModel, RowCommandsDoNothingWithABlankName) {
  TSegmentGridModel m = ModelWith(2);
  m.SetSegmentName("  ");
  const std::vector<TSegmentRow> before = m.Rows();
  m.SetRow(2);
  m.Add(Controls("x"));
  m.Insert(Controls("x"));
  m.Remove();
  m.Up();
  EXPECT_EQ(m.Rows(), before);
}

TEST(SegmentGridModel, DraggedRowCarriesTheCurrentRow) {
  TSegmentGridModel m = ModelWith(4);
  m.SetRow(1);
  EXPECT_TRUE(m.MoveRow(1, 3));
  EXPECT_EQ(Names(m), (std::vector<std::string>{"n2", "n3", "n1", "n4"}));
  EXPECT_EQ(m.CurrentRow(), 3);
  m.SetRow(2);
  EXPECT_TRUE(m.MoveRow(4, 1));
  EXPECT_EQ(m.CurrentRow(), 3);
  EXPECT_FALSE(m.MoveRow(0, 2));
  EXPECT_FALSE(m.MoveRow(2, 5));
}

TEST(SegmentGridModel, ReplacingWithNoRowsKeepsOneBlankRow) {
  TSegmentGridModel m = ModelWith(3);
  m.SetRow(3);
  m.ReplaceRows({});
  EXPECT_EQ(m.RowCount(), 2);
  EXPECT_EQ(m.Row(1), TSegmentRow());
  EXPECT_EQ(m.CurrentRow(), 1);
}

}  // namespace
}  // namespace kavri
