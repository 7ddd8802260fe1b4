#pragma once
// The cell space of a grid without any widget: texts, sizes, fixed rows and columns, the current
// cell with its veto, and row moves. The skinned grids keep one of these and only draw it.
//
// Coordinates are (col, row) and include the fixed rows and columns: with one fixed header row,
// row 0 is the header and data rows start at 1, and RowCount() counts the header too.
#include <QString>
#include <algorithm>
#include <functional>
#include <vector>

namespace kavri {

// Moves the row numbered `from` to number `to` in a list whose first element is row `first`; the
// rows between shift by one and `current` follows the row it was on. False, and nothing moves, when
// either number is outside the list or they are equal.
template <typename TRowData>
bool MoveListRow(std::vector<TRowData>& rows, int first, int from, int to, int& current) {
  const int last = first + static_cast<int>(rows.size()) - 1;
  if (from < first || to < first || from > last || to > last || from == to) return false;
  const auto at = [&](int row) { return rows.begin() + (row - first); };
  if (from < to)
    std::rotate(at(from), at(from) + 1, at(to) + 1);
  else
    std::rotate(at(to), at(from), at(from) + 1);
  if (current == from) current = to;
  else if (from < current && current <= to) --current;
  else if (to <= current && current < from) ++current;
  return true;
}

class TGridModel {
 public:
  TGridModel(int colCount = 5, int rowCount = 5, int fixedCols = 1, int fixedRows = 1);

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  // Counts are at least 1; a count that would leave no room below the fixed part shrinks the
  // fixed part. Removed rows and columns take their texts with them.
  void SetColCount(int count);
  void SetRowCount(int count);
  // Refused (returns false) when it would leave no non-fixed row or column.
  bool SetFixedCols(int count);
  bool SetFixedRows(int count);

  // The current cell; always a non-fixed cell while one exists.
  int Col() const { return col_; }
  int Row() const { return row_; }
  // Makes (col, row) current when it is a non-fixed cell and CanSelect agrees; true when it moved.
  bool FocusCell(int col, int row);
  bool SetCol(int col) { return FocusCell(col, row_); }
  bool SetRow(int row) { return FocusCell(col_, row); }
  // Asked before the current cell changes; false keeps the old one.
  std::function<bool(int col, int row)> CanSelect;

  bool IsFixed(int col, int row) const { return col < fixedCols_ || row < fixedRows_; }
  bool Contains(int col, int row) const { return col >= 0 && row >= 0 && col < colCount_ && row < RowCount(); }

  // Outside the grid: reads give an empty text, writes are ignored.
  const QString& Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);
  void ClearRow(int row);

  // Moves a non-fixed row to another non-fixed position; the rows between shift by one, the row
  // heights travel with their rows and the current row follows the row it was on.
  bool MoveRow(int from, int to);

  int DefaultColWidth() const { return defaultColWidth_; }
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultColWidth(int width);   // resets every column to it
  void SetDefaultRowHeight(int height); // resets every row to it
  int ColWidth(int col) const;
  int RowHeight(int row) const;
  void SetColWidth(int col, int width);
  void SetRowHeight(int row, int height);

 private:
  struct TRow {
    std::vector<QString> cells;
    int height;
  };
  void ClampCurrent();

  int colCount_;
  int fixedCols_;
  int fixedRows_;
  int col_ = 0;
  int row_ = 0;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  std::vector<int> colWidths_;
  std::vector<TRow> rows_;
};

}  // namespace kavri
