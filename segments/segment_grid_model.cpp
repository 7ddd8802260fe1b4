#include "segments/segment_grid_model.h"

#include <algorithm>

#include "platform/int_convert.h"
#include "platform/text.h"
#include "skin/grid_model.h"

namespace kavri {

namespace {

const std::string kNoText;

// A number cell as the reader takes it: trimmed, blank is 0.
std::string NormalisedNumber(const std::string& cell) {
  const std::string_view text = TrimView(cell);
  return text.empty() ? "0" : std::to_string(StrToInt(text));
}

// The rows with every number cell rewritten in decimal; raises before anything is returned.
std::vector<TSegmentRow> Normalised(std::vector<TSegmentRow> rows) {
  for (TSegmentRow& row : rows)
    for (int col = 1; col < kSegmentColumns; ++col) row[col] = NormalisedNumber(row[col]);
  return rows;
}

TSegmentRow RowOfNumbers(const std::array<int32_t, kSegmentColumns - 1>& values) {
  TSegmentRow row;
  for (int col = 1; col < kSegmentColumns; ++col) row[col] = std::to_string(values[col - 1]);
  return row;
}

}  // namespace

TSegmentRow RowFromControls(const TSegmentControls& c) {
  const std::string_view time = TrimView(c.timeText);
  const int32_t a = time.empty() ? 0 : StrToInt(time);
  TSegmentRow row = RowOfNumbers({a, c.B, c.C, c.D, c.E, c.F, c.G, c.H, c.I, c.J, c.K, c.L, c.M, c.N, 0, 30000, c.Q, c.R});
  row[0] = c.drawingName;
  return row;
}

TSegmentRow CreationRow() { return RowOfNumbers({500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 257, 20, 0, 30, 0, 30000, 0, 0}); }

TSegmentRow NewSegmentRow() { return RowOfNumbers({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 30, 0, 30000, 0, 0}); }

const TSegmentRow& TSegmentGridModel::Header() {
  static const TSegmentRow header = [] {
    TSegmentRow h;
    h[0] = "Drawing name";
    for (int col = 1; col < kSegmentColumns; ++col) h[col] = std::string(1, static_cast<char>('A' + col - 1));
    return h;
  }();
  return header;
}

TSegmentGridModel::TSegmentGridModel() : rows_{CreationRow()} {}

const std::string& TSegmentGridModel::Cell(int col, int row) const {
  if (col < 0 || col >= kSegmentColumns || row < 0 || row > LastRow()) return kNoText;
  return row == 0 ? Header()[col] : rows_[row - 1][col];
}

void TSegmentGridModel::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || col >= kSegmentColumns || row < 1 || row > LastRow()) return;
  rows_[row - 1][col] = text;
}

void TSegmentGridModel::SetRow(int row) {
  if (row >= 1 && row <= LastRow()) current_ = row;
}

bool TSegmentGridModel::MoveRow(int from, int to) { return MoveListRow(rows_, 1, from, to, current_); }

void TSegmentGridModel::ReplaceRows(std::vector<TSegmentRow> rows) {
  if (rows.empty()) rows.emplace_back();
  rows_ = std::move(rows);
  current_ = 1;
}

bool TSegmentGridModel::HasName() const { return !TrimView(name_).empty(); }

bool TSegmentGridModel::IsLoneBlankRow() const { return rows_.size() == 1 && TrimView(rows_[0][0]).empty(); }

void TSegmentGridModel::Add(const TSegmentControls& controls) {
  if (!HasName()) return;
  TSegmentRow row = RowFromControls(controls);
  if (IsLoneBlankRow()) rows_[0] = std::move(row);
  else rows_.push_back(std::move(row));
}

void TSegmentGridModel::Insert(const TSegmentControls& controls) {
  if (!HasName()) return;
  TSegmentRow row = RowFromControls(controls);
  if (IsLoneBlankRow()) {
    rows_[0] = std::move(row);
    return;
  }
  // The rows that move down are read back as numbers first, so a bad cell stops the insert
  // before anything moved.
  const auto at = rows_.begin() + (current_ - 1);
  std::vector<TSegmentRow> moved = Normalised(std::vector<TSegmentRow>(at, rows_.end()));
  rows_.erase(at, rows_.end());
  rows_.push_back(std::move(row));
  for (TSegmentRow& r : moved) rows_.push_back(std::move(r));
  status_ = "Insert a row.";
}

void TSegmentGridModel::Remove() {
  if (!HasName()) return;
  if (rows_.size() == 1) {
    rows_[0] = TSegmentRow();
    return;
  }
  if (current_ == LastRow()) {
    rows_.pop_back();
    current_ = LastRow();
    status_ = "移除一行";
    return;
  }
  const auto after = rows_.begin() + current_;
  std::vector<TSegmentRow> moved = Normalised(std::vector<TSegmentRow>(after, rows_.end()));
  rows_.erase(rows_.begin() + (current_ - 1), rows_.end());
  for (TSegmentRow& r : moved) rows_.push_back(std::move(r));
  status_ = "Remove a row.";
}

void TSegmentGridModel::Up() {
  if (!HasName() || current_ < 2) return;
  std::swap(rows_[current_ - 1], rows_[current_ - 2]);
}

void TSegmentGridModel::Down() {
  if (!HasName() || current_ >= LastRow()) return;
  std::swap(rows_[current_ - 1], rows_[current_]);
}

void TSegmentGridModel::CheckNumberCells() const {
  for (const TSegmentRow& row : rows_)
    for (int col = 1; col < kSegmentColumns; ++col) NormalisedNumber(row[col]);
}

}  // namespace kavri
