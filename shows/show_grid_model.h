#pragma once
// The show being edited, without the grid widgets: its name, music text, default time and message
// line, the three track grids (rows of a content file name and a time in clock ticks) and the row
// commands on the track being edited. The window shows each track in its string grid and passes
// the grid's own edits back (SetCell, MoveRow, SetRow).
//
// Rows are numbered as the grids number them: row 0 is the header, data rows start at 1.
//
//   TShowGridModel show;                                  // "NewSequence", one blank row per track
//   show.SetEditTrack(1);                                  // the "Edit track" choice
//   TShowRowSource source{TShowContentKind::Segment, "intro.sec", SectionFolder() + "intro.sec"};
//   RunGuarded([&] { show.Add(source); });                 // a bad default time raises, nothing changes
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "engine/show_file.h"

namespace kavri {

// The most lines of a show file Open takes, its header lines counted and a track's lone blank row not.
constexpr size_t kMaxShowLines = kShowFileRule.maxLines;

struct TShowRow {
  std::string name;
  std::string time;
  bool operator==(const TShowRow&) const = default;
};

// The rows of one track grid and its current row; there is always one data row.
class TShowTrackGrid {
 public:
  explicit TShowTrackGrid(int track);

  // Counts the header row, as the grid's RowCount does.
  int RowCount() const { return static_cast<int>(rows_.size()) + 1; }
  int LastRow() const { return static_cast<int>(rows_.size()); }
  // Row 0 gives the header; outside the grid, "".
  const std::string& Cell(int col, int row) const;
  void SetCell(int col, int row, const std::string& text);  // data rows only
  const std::vector<TShowRow>& Rows() const { return rows_; }

  int CurrentRow() const { return current_; }
  void SetRow(int row);  // rows outside 1..LastRow() are ignored
  // A row dragged in the grid: the rows between shift and the current row follows its row.
  bool MoveRow(int from, int to);
  // Replaces every row and makes row 1 current; no rows leave one ("", "0") row.
  void ReplaceRows(std::vector<TShowRow> rows);

  // The row commands of one grid; Add and Insert take the name and time of the new row.
  void Add(TShowRow row);
  void Insert(TShowRow row);
  // The message the command leaves, "" for none.
  const char* Remove();
  void Up();
  void Down();

 private:
  bool IsLoneBlankRow() const;

  int track_;
  std::vector<TShowRow> rows_;
  int current_ = 1;
};

enum class TShowContentKind { Drawing, Segment, Ilda };

// The item selected in one of the content lists, as Add and Insert take it.
struct TShowRowSource {
  TShowContentKind kind = TShowContentKind::Drawing;
  std::string name;  // "" when nothing is selected
  std::string path;  // its file, read for the time of a segment or ILDA row
};

class TShowGridModel {
 public:
  static constexpr int kTrackCount = TSequence::kTrackCount;
  static constexpr const char* kNoName = "NewSequence";

  TShowGridModel();

  const std::string& ShowName() const { return name_; }
  void SetShowName(const std::string& name) { name_ = name; }
  const std::string& Music() const { return music_; }
  void SetMusic(const std::string& music) { music_ = music; }
  const std::string& DefaultTime() const { return defaultTime_; }
  void SetDefaultTime(const std::string& text) { defaultTime_ = text; }
  const std::string& Status() const { return status_; }
  void SetStatus(const std::string& status) { status_ = status; }
  // The text the commands left since the last take, "" when they left none.
  std::string TakeStatus() { return std::exchange(status_, std::string()); }

  TShowTrackGrid& Track(int track) { return tracks_.at(static_cast<size_t>(track)); }
  const TShowTrackGrid& Track(int track) const { return tracks_.at(static_cast<size_t>(track)); }
  // The track the row commands act on (0..2); other values are ignored.
  int EditTrack() const { return editTrack_; }
  void SetEditTrack(int track);

  // The row commands on the edit track. Each does nothing while the show name is blank. Add and
  // Insert raise EConvertError, with the grid unchanged, when the default time they need is not an
  // integer.
  void Add(const TShowRowSource& source);
  void Insert(const TShowRowSource& source);
  void Remove();
  void Up();
  void Down();

  // Every track cut back to one ("", "0") row.
  void ClearTracks();
  // Name, music and rows of an opened show; an empty track keeps one ("", "0") row.
  void ReplaceShow(const std::string& name, std::string music, TShowTrackCells tracks);
  TShowTrackCells Cells() const;

  // Raises EConvertError naming the track and row of the first time cell that would not read back
  // as an integer (a blank cell reads as 0).
  void CheckTimeCells() const;

 private:
  bool HasName() const;

  std::string name_ = kNoName;
  std::string music_;
  std::string defaultTime_ = "100";
  std::string status_ = "Auto create a new show.";
  std::array<TShowTrackGrid, kTrackCount> tracks_;
  int editTrack_ = 0;
};

}  // namespace kavri
