#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/play_drawing.h"
#include "platform/text_lines.h"

namespace kavri {

class TPlayContentLoader;

// One segment row: a drawing name, the eighteen parameters A to R, and the row's picture.
struct TSectionRecord {
  static constexpr int kParameterCount = 18;  // A..R
  static constexpr int kFieldCount = 19;      // name, A..R

  std::string name;  // drawing file name with ".ddr", relative to the drawing folder
  int32_t A = 0, B = 0, C = 0, D = 0, E = 0, F = 0, G = 0, H = 0, I = 0, J = 0, K = 0, L = 0, M = 0, N = 0;
  uint8_t O = 0;
  int32_t P = 0, Q = 0, R = 0;
  TPlayDrawingPtr drawing = EmptyPlayDrawing();  // loaded at scale 1, shared with the load's other rows

  // Parameter i, 0 = A .. 17 = R; setting O keeps the value's low byte.
  int32_t Parameter(int i) const;
  void SetParameter(int i, int32_t value);
};

using TSectionList = std::vector<std::unique_ptr<TSectionRecord>>;

// What a segment file may hold, wherever it is opened, played or written. The grid scrolls one row
// per step of a bar a few hundred pixels long: at 100,000 rows of 21 pixels each pixel of the bar
// already passes hundreds of rows, so a longer segment could be shown no better, only cost more
// memory. The longest row the program writes is a grid row whose 19 cells each hold as much as a
// cell takes (kMaxTypedTextChars characters) joined by "|"; a longer line is no row of ours. The
// writers refuse what this refuses, so a saved segment always opens.
constexpr TRowFileRule kSegmentFileRule{100000,
                                        TSectionRecord::kFieldCount * kMaxTypedTextBytes + TSectionRecord::kFieldCount - 1,
                                        "Segment Edit"};

// Replaces `rows` with the file's rows, each with its drawing loaded from the drawing folder of
// `programFolder`; rows naming the same drawing share it. A field that is not an integer raises
// EConvertError; the rows read before it stay in the list. A file that cannot be read or breaks
// kSegmentFileRule is refused: false, no rows, and why in *error. When the drawings would not fit
// in memory the segment is refused before the drawing that would pass the limit is read: false, no
// rows, and a message naming both files in *error.
bool LoadSectionFile(const std::string& fileName, TSectionList& rows, const std::string& programFolder,
                     std::string* error = nullptr);
bool LoadSectionFile(const std::string& fileName, TSectionList& rows, TPlayContentLoader& content,
                     std::string* error = nullptr);
// The rows of the lines with their drawings from `content`; the rows are counted against its
// budget as the content of `fileName`. Raises EConvertError and EContentTooLarge.
void LoadSectionLines(const TextLines& lines, TSectionList& rows, TPlayContentLoader& content,
                      const std::string& fileName);

// Fills `record` from one line and loads its drawing (a missing drawing gives an empty picture);
// false with a message in *error when the drawing does not fit in memory.
bool ParseSectionLine(std::string_view line, TSectionRecord& record, const std::string& programFolder,
                      std::string* error = nullptr);
// The same without loading the drawing. Fields are trimmed before conversion; empty and missing
// fields read as 0.
void ParseSectionFields(std::string_view line, TSectionRecord& record);

// Field A of one line (0 when empty or missing), and the sum of it over a file (a segment's time;
// 0 for a file that cannot be read; held within the int range).
int ParseSecondField(std::string_view line);
int SumSectionDurations(const std::string& fileName);

// The writers' line: the cells joined by "|". A record gives its name and A..R in decimal.
std::string JoinSectionCells(const std::vector<std::string>& cells);
std::vector<std::string> SectionCells(const TSectionRecord& record);
std::string FormatSectionLine(const TSectionRecord& record);

// Writes one line per row (CR LF), replacing the file atomically; false, keeping the old file,
// when the write fails. The cell form writes the texts as they stand, as the segment grid holds them.
// What would not read back is refused before anything is written (false, file untouched, why in
// *error): a cell holding "|" or a line break, and lines kSegmentFileRule refuses.
bool SaveSectionFile(const std::string& path, const TSectionList& rows, std::string* error = nullptr);
bool SaveSectionFile(const std::string& path, const std::vector<std::vector<std::string>>& cellRows,
                     std::string* error = nullptr);

}  // namespace kavri
