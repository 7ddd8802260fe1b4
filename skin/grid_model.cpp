#include "skin/grid_model.h"

#include <algorithm>

namespace kavri {

namespace {
const QString kNoText;
}

TGridModel::TGridModel(int colCount, int rowCount, int fixedCols, int fixedRows)
    : colCount_(std::max(colCount, 1)), fixedCols_(0), fixedRows_(0) {
  colWidths_.assign(colCount_, defaultColWidth_);
  rows_.assign(std::max(rowCount, 1), TRow{std::vector<QString>(colCount_), defaultRowHeight_});
  SetFixedCols(fixedCols);
  SetFixedRows(fixedRows);
  col_ = fixedCols_;
  row_ = fixedRows_;
}

void TGridModel::SetColCount(int count) {
  count = std::max(count, 1);
  if (count <= fixedCols_) fixedCols_ = count - 1;
  colCount_ = count;
  colWidths_.resize(count, defaultColWidth_);
  for (TRow& r : rows_) r.cells.resize(count);
  ClampCurrent();
}

void TGridModel::SetRowCount(int count) {
  count = std::max(count, 1);
  if (count <= fixedRows_) fixedRows_ = count - 1;
  rows_.resize(count, TRow{std::vector<QString>(colCount_), defaultRowHeight_});
  ClampCurrent();
}

bool TGridModel::SetFixedCols(int count) {
  if (count < 0 || count >= colCount_) return false;
  fixedCols_ = count;
  ClampCurrent();
  return true;
}

bool TGridModel::SetFixedRows(int count) {
  if (count < 0 || count >= RowCount()) return false;
  fixedRows_ = count;
  ClampCurrent();
  return true;
}

void TGridModel::ClampCurrent() {
  col_ = std::clamp(col_, fixedCols_, colCount_ - 1);
  row_ = std::clamp(row_, fixedRows_, RowCount() - 1);
}

bool TGridModel::FocusCell(int col, int row) {
  if (!Contains(col, row) || IsFixed(col, row)) return false;
  if (col == col_ && row == row_) return false;
  if (CanSelect && !CanSelect(col, row)) return false;
  col_ = col;
  row_ = row;
  return true;
}

const QString& TGridModel::Cell(int col, int row) const {
  if (!Contains(col, row)) return kNoText;
  return rows_[row].cells[col];
}

void TGridModel::SetCell(int col, int row, const QString& text) {
  if (Contains(col, row)) rows_[row].cells[col] = text;
}

void TGridModel::ClearRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  for (QString& s : rows_[row].cells) s.clear();
}

bool TGridModel::MoveRow(int from, int to) {
  return from >= fixedRows_ && to >= fixedRows_ && MoveListRow(rows_, 0, from, to, row_);
}

void TGridModel::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(width, 0);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
}

void TGridModel::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(height, 0);
  for (TRow& r : rows_) r.height = defaultRowHeight_;
}

int TGridModel::ColWidth(int col) const {
  return col >= 0 && col < colCount_ ? colWidths_[col] : 0;
}

int TGridModel::RowHeight(int row) const {
  return row >= 0 && row < RowCount() ? rows_[row].height : 0;
}

void TGridModel::SetColWidth(int col, int width) {
  if (col >= 0 && col < colCount_) colWidths_[col] = std::max(width, 0);
}

void TGridModel::SetRowHeight(int row, int height) {
  if (row >= 0 && row < RowCount()) rows_[row].height = std::max(height, 0);
}

}  // namespace kavri
