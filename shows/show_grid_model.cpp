#include "shows/show_grid_model.h"

#include <algorithm>

#include "engine/ilda_file.h"
#include "engine/section_file.h"
#include "platform/int_convert.h"
#include "platform/text.h"
#include "skin/grid_model.h"

namespace kavri {

namespace {

const std::string kNoText;
const std::string kTimeHeader = "Time";
const std::string kNameHeaders[TShowGridModel::kTrackCount] = {"FileName", "FileName", "FimeName"};

const TShowRow kBlankRow{"", "0"};

// Rows that move keep their texts; only an empty time becomes "0", as it reads back.
TShowRow Moved(TShowRow row) {
  if (row.time.empty()) row.time = "0";
  return row;
}

// The default time as Add converts it (a blank text is no number) and as Insert does (blank is 0).
int32_t DefaultTicks(const std::string& text, bool blankIsZero) {
  const std::string_view trimmed = TrimView(text);
  if (blankIsZero && trimmed.empty()) return 0;
  return StrToInt(trimmed);
}

}  // namespace

TShowTrackGrid::TShowTrackGrid(int track) : track_(track), rows_{kBlankRow} {}

const std::string& TShowTrackGrid::Cell(int col, int row) const {
  if (col < 0 || col > 1 || row < 0 || row > LastRow()) return kNoText;
  if (row == 0) return col == 0 ? kNameHeaders[track_] : kTimeHeader;
  const TShowRow& r = rows_[static_cast<size_t>(row - 1)];
  return col == 0 ? r.name : r.time;
}

void TShowTrackGrid::SetCell(int col, int row, const std::string& text) {
  if (col < 0 || col > 1 || row < 1 || row > LastRow()) return;
  TShowRow& r = rows_[static_cast<size_t>(row - 1)];
  (col == 0 ? r.name : r.time) = text;
}

void TShowTrackGrid::SetRow(int row) {
  if (row >= 1 && row <= LastRow()) current_ = row;
}

bool TShowTrackGrid::MoveRow(int from, int to) { return MoveListRow(rows_, 1, from, to, current_); }

void TShowTrackGrid::ReplaceRows(std::vector<TShowRow> rows) {
  if (rows.empty()) rows.push_back(kBlankRow);
  rows_ = std::move(rows);
  current_ = 1;
}

bool TShowTrackGrid::IsLoneBlankRow() const { return rows_.size() == 1 && TrimView(rows_[0].name).empty(); }

void TShowTrackGrid::Add(TShowRow row) {
  if (IsLoneBlankRow())
    rows_[0] = std::move(row);
  else
    rows_.push_back(std::move(row));
  current_ = LastRow();
}

void TShowTrackGrid::Insert(TShowRow row) {
  if (IsLoneBlankRow()) {
    rows_[0] = std::move(row);
    return;
  }
  const auto at = rows_.begin() + (current_ - 1);
  std::transform(at, rows_.end(), at, Moved);
  rows_.insert(at, std::move(row));
}

const char* TShowTrackGrid::Remove() {
  if (rows_.size() == 1) {
    rows_[0] = TShowRow();
    return "";
  }
  if (current_ == LastRow()) {
    rows_.pop_back();
    current_ = LastRow();
    return "移除一行";
  }
  const auto after = rows_.begin() + current_;
  std::transform(after, rows_.end(), after, Moved);
  rows_.erase(after - 1);
  return "Remove a row.";
}

void TShowTrackGrid::Up() {
  if (current_ < 2) return;
  std::swap(rows_[static_cast<size_t>(current_ - 1)], rows_[static_cast<size_t>(current_ - 2)]);
  --current_;
}

void TShowTrackGrid::Down() {
  if (current_ >= LastRow()) return;
  std::swap(rows_[static_cast<size_t>(current_ - 1)], rows_[static_cast<size_t>(current_)]);
  ++current_;
}

TShowGridModel::TShowGridModel() : tracks_{TShowTrackGrid(0), TShowTrackGrid(1), TShowTrackGrid(2)} {}

void TShowGridModel::SetEditTrack(int track) {
  if (track >= 0 && track < kTrackCount) editTrack_ = track;
}

bool TShowGridModel::HasName() const { return !TrimView(name_).empty(); }

void TShowGridModel::Add(const TShowRowSource& source) {
  if (!HasName()) return;
  int32_t ticks = 0;
  switch (source.kind) {
    case TShowContentKind::Drawing:
      ticks = DefaultTicks(defaultTime_, false);
      break;
    case TShowContentKind::Segment:
      ticks = source.path.empty() ? 0 : SumSectionDurations(source.path);
      break;
    case TShowContentKind::Ilda:
      ticks = source.path.empty() ? 0 : ReadIldaTotalFrames(source.path);
      break;
  }
  Track(editTrack_).Add({LowerCase(source.name), std::to_string(ticks)});
}

void TShowGridModel::Insert(const TShowRowSource& source) {
  if (!HasName()) return;
  TShowTrackGrid& grid = Track(editTrack_);
  const bool fillsBlank = grid.LastRow() == 1 && TrimView(grid.Cell(0, 1)).empty();
  grid.Insert({LowerCase(source.name), std::to_string(DefaultTicks(defaultTime_, true))});
  if (!fillsBlank) status_ = "Insert a row.";
}

void TShowGridModel::Remove() {
  if (!HasName()) return;
  if (const std::string text = Track(editTrack_).Remove(); !text.empty()) status_ = text;
}

void TShowGridModel::Up() {
  if (HasName()) Track(editTrack_).Up();
}

void TShowGridModel::Down() {
  if (HasName()) Track(editTrack_).Down();
}

void TShowGridModel::ClearTracks() {
  for (TShowTrackGrid& grid : tracks_) grid.ReplaceRows({});
}

void TShowGridModel::ReplaceShow(const std::string& name, std::string music, TShowTrackCells tracks) {
  name_ = name;
  music_ = std::move(music);
  for (int t = 0; t < kTrackCount; ++t) {
    std::vector<TShowRow> rows;
    rows.reserve(tracks[static_cast<size_t>(t)].size());
    for (auto& [rowName, time] : tracks[static_cast<size_t>(t)]) rows.push_back({std::move(rowName), std::move(time)});
    tracks[static_cast<size_t>(t)] = {};
    Track(t).ReplaceRows(std::move(rows));
  }
}

TShowTrackCells TShowGridModel::Cells() const {
  TShowTrackCells cells;
  for (int t = 0; t < kTrackCount; ++t)
    for (const TShowRow& row : Track(t).Rows()) cells[static_cast<size_t>(t)].emplace_back(row.name, row.time);
  return cells;
}

void TShowGridModel::CheckTimeCells() const {
  for (int t = 0; t < kTrackCount; ++t) {
    const std::vector<TShowRow>& rows = Track(t).Rows();
    for (size_t r = 0; r < rows.size(); ++r) {
      const std::string_view time = TrimView(rows[r].time);
      int32_t value = 0;
      if (time.empty() || TryStrToInt(time, value)) continue;
      throw EConvertError("Track" + std::to_string(t + 1) + " row " + std::to_string(r + 1) + ": '" + QuotedPiece(rows[r].time) +
                          "' is not a valid integer value");
    }
  }
}

}  // namespace kavri
