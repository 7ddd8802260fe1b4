#pragma once
// The segment being edited, without the grid widget: its name, its rows of 19 cell texts (the
// drawing name and A..R), the current row and the status line. The window shows it in its string
// grid and passes the grid's own edits back (SetCell, MoveRow, SetRow).
//
// Rows are numbered as the grid numbers them: row 0 is the header, data rows start at 1.
//
//   TSegmentGridModel segment;                    // "NewSection" with the creation row
//   TSegmentControls controls;                    // filled from the sliders, edits and lists
//   controls.drawingName = FileListBox1->Files().SelectedName();
//   RunGuarded([&] { segment.Add(controls); });   // a bad time raises and changes nothing
//   Label18->SetCaption(segment.Status());
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/section_file.h"

namespace kavri {

constexpr int kSegmentColumns = 19;  // drawing name, A..R

// The most lines (rows) of a segment file Open takes.
constexpr size_t kMaxSegmentRows = kSegmentFileRule.maxLines;
using TSegmentRow = std::array<std::string, kSegmentColumns>;

// What the effect controls hold when a row is made from them; the defaults are the controls'
// initial positions.
struct TSegmentControls {
  std::string drawingName;  // selected in the drawing list, "" when none
  std::string timeText = "100";
  int32_t B = 50, C = 0, D = 0, E = 0, F = 0, G = 0, H = 0, I = 0, J = 0;
  int32_t K = 257;  // the chosen colour mode
  int32_t L = 20, M = 0, N = 30;
  int32_t Q = 0, R = 0;  // the live offsets
};

// The row the controls make: the time as a decimal (empty is "0"), O = 0 and P = 30000. Raises
// EConvertError when the time is not an integer.
TSegmentRow RowFromControls(const TSegmentControls& controls);

// The row a fresh window starts with, and the one New starts a segment with.
TSegmentRow CreationRow();
TSegmentRow NewSegmentRow();

class TSegmentGridModel {
 public:
  static const TSegmentRow& Header();  // "Drawing name", "A" .. "R"

  TSegmentGridModel();

  const std::string& SegmentName() const { return name_; }
  void SetSegmentName(const std::string& name) { name_ = name; }
  const std::string& Status() const { return status_; }
  void SetStatus(const std::string& status) { status_ = status; }
  // The text the commands left since the last take, "" when they left none.
  std::string TakeStatus() { return std::exchange(status_, std::string()); }

  // Counts the header row, as the grid's RowCount does; there is always a data row.
  int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
  int LastRow() const { return static_cast<int>(rows_.size()); }
  // Row 0 gives the header; outside the grid, "".
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);  // an in-place edit; data rows only
  const TSegmentRow& Row(int row) const { return rows_.at(row - 1); }
  const std::vector<TSegmentRow>& Rows() const { return rows_; }

  // The current data row; SetRow ignores rows outside 1..LastRow().
  int CurrentRow() const { return current_; }
  void SetRow(int row);
  // A row dragged in the grid: the rows between shift and the current row follows its row.
  bool MoveRow(int from, int to);

  // Replaces every row (an empty list leaves one blank row) and makes row 1 current.
  void ReplaceRows(std::vector<TSegmentRow> rows);

  // The row commands. Each does nothing while the segment name is blank, and raises
  // EConvertError, with the grid unchanged, when the controls' time or a cell it would move is
  // not an integer.
  void Add(const TSegmentControls& controls);
  void Insert(const TSegmentControls& controls);
  void Remove();
  void Up();
  void Down();

  // Raises EConvertError for the first number cell that would not read back as an integer (a
  // blank cell reads as 0).
  void CheckNumberCells() const;

 private:
  bool HasName() const;
  bool IsLoneBlankRow() const;

  std::string name_ = "NewSection";
  std::string status_ = "Auto creat a new segment.";
  std::vector<TSegmentRow> rows_;
  int current_ = 1;
};

}  // namespace kavri
