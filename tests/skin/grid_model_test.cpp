#include "skin/grid_model.h"

#include <gtest/gtest.h>

#include <QStringList>

using kavri::TGridModel;

namespace {

QStringList Column(const TGridModel& m, int col) {
  QStringList out;
  for (int r = 0; r < m.RowCount(); ++r) out << m.Cell(col, r);
  return out;
}

// A segment-style grid: one fixed header row, no fixed column, data rows from 1.
TGridModel SegmentGrid(int dataRows) {
  TGridModel m(3, dataRows + 1, 0, 1);
  m.SetCell(0, 0, "Drawing name");
  for (int r = 1; r <= dataRows; ++r) m.SetCell(0, r, QString("row%1").arg(r));
  return m;
}

TEST(GridModel, HeaderRowLivesInsideTheCellSpaceAndRowCountCountsIt) {
  TGridModel m = SegmentGrid(2);
  EXPECT_EQ(m.RowCount(), 3);
  EXPECT_EQ(m.Cell(0, 0), "Drawing name");
  EXPECT_EQ(m.Row(), 1);  // the current cell starts on the first data row
  EXPECT_EQ(m.Col(), 0);
  EXPECT_TRUE(m.IsFixed(2, 0));
  EXPECT_FALSE(m.IsFixed(0, 1));
  // Out of range reads are empty, writes are ignored.
  EXPECT_EQ(m.Cell(3, 0), "");
  EXPECT_EQ(m.Cell(0, -1), "");
  m.SetCell(7, 7, "x");
  EXPECT_EQ(m.RowCount(), 3);
}

TEST(GridModel, ShrinkingDropsTextsAndGrowingGivesEmptyRows) {
  TGridModel m = SegmentGrid(3);
  m.SetRowCount(2);
  m.SetRowCount(4);
  EXPECT_EQ(Column(m, 0), (QStringList{"Drawing name", "row1", "", ""}));
  // A count of 1 cannot keep a fixed row with a data row below it: the fixed part gives way.
  m.SetRowCount(0);
  EXPECT_EQ(m.RowCount(), 1);
  EXPECT_EQ(m.FixedRows(), 0);
  EXPECT_EQ(m.Row(), 0);
  EXPECT_FALSE(m.SetFixedRows(1));
}

TEST(GridModel, CurrentCellFollowsShrinkingAndStaysOffFixedCells) {
  TGridModel m = SegmentGrid(5);
  ASSERT_TRUE(m.SetRow(5));
  m.SetRowCount(3);
  EXPECT_EQ(m.Row(), 2);
  EXPECT_FALSE(m.SetRow(0));  // the header is never current
  EXPECT_FALSE(m.SetRow(3));  // past the end
  EXPECT_EQ(m.Row(), 2);
  m.SetColCount(1);
  EXPECT_EQ(m.Col(), 0);
}

TEST(GridModel, SelectCellVetoKeepsTheCurrentCell) {
  TGridModel m = SegmentGrid(4);
  std::vector<std::pair<int, int>> asked;
  m.CanSelect = [&](int col, int row) {
    asked.emplace_back(col, row);
    return row != 3;
  };
  EXPECT_TRUE(m.SetRow(2));
  EXPECT_FALSE(m.SetRow(3));
  EXPECT_EQ(m.Row(), 2);
  EXPECT_TRUE(m.FocusCell(1, 4));
  EXPECT_EQ(m.Row(), 4);
  EXPECT_EQ(m.Col(), 1);
  // Selecting the cell that is already current asks nothing.
  EXPECT_FALSE(m.FocusCell(1, 4));
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{0, 2}, {0, 3}, {1, 4}}));
}

TEST(GridModel, MoveRowReallyMovesTheRowsAndTheCurrentRowFollows) {
  TGridModel m = SegmentGrid(4);
  m.SetCell(1, 2, "b");
  m.SetRowHeight(2, 40);
  ASSERT_TRUE(m.SetRow(2));
  // Down: row 2 lands on row 4, rows 3 and 4 shift up.
  ASSERT_TRUE(m.MoveRow(2, 4));
  EXPECT_EQ(Column(m, 0), (QStringList{"Drawing name", "row1", "row3", "row4", "row2"}));
  EXPECT_EQ(m.Cell(1, 4), "b");
  EXPECT_EQ(m.RowHeight(4), 40);
  EXPECT_EQ(m.RowHeight(2), 24);
  EXPECT_EQ(m.Row(), 4);
  // Up, with the current row among the shifted ones.
  ASSERT_TRUE(m.SetRow(2));  // "row3"
  ASSERT_TRUE(m.MoveRow(4, 1));
  EXPECT_EQ(Column(m, 0), (QStringList{"Drawing name", "row2", "row1", "row3", "row4"}));
  EXPECT_EQ(m.Cell(0, m.Row()), "row3");
}

TEST(GridModel, MoveRowRefusesTheHeaderAndRowsOutsideTheGrid) {
  TGridModel m = SegmentGrid(3);
  EXPECT_FALSE(m.MoveRow(0, 2));
  EXPECT_FALSE(m.MoveRow(2, 0));
  EXPECT_FALSE(m.MoveRow(1, 4));
  EXPECT_FALSE(m.MoveRow(-1, 2));
  EXPECT_FALSE(m.MoveRow(2, 2));
  EXPECT_EQ(Column(m, 0), (QStringList{"Drawing name", "row1", "row2", "row3"}));
}

TEST(GridModel, FixedCountsThatLeaveNoDataCellAreRefused) {
  TGridModel m(4, 64, 0, 0);  // the palette grid: no fixed cells at all
  EXPECT_EQ(m.Row(), 0);
  EXPECT_EQ(m.Col(), 0);
  EXPECT_FALSE(m.SetFixedCols(4));
  EXPECT_TRUE(m.SetFixedCols(3));
  EXPECT_EQ(m.Col(), 3);
  EXPECT_FALSE(m.SetFixedRows(-1));
}

TEST(GridModel, DefaultSizesResetEveryRowAndColumn) {
  TGridModel m(19, 2, 0, 1);
  m.SetDefaultRowHeight(20);
  m.SetDefaultColWidth(28);
  m.SetColWidth(0, 126);
  EXPECT_EQ(m.ColWidth(0), 126);
  EXPECT_EQ(m.ColWidth(18), 28);
  EXPECT_EQ(m.RowHeight(1), 20);
  m.SetRowCount(5);
  EXPECT_EQ(m.RowHeight(4), 20);  // new rows take the default of the moment
  EXPECT_EQ(m.ColWidth(19), 0);
}

}  // namespace
