#include "engine/section_file.h"

#include <algorithm>
#include <limits>

#include "engine/play_content.h"
#include "platform/int_convert.h"
#include "platform/text.h"

namespace kavri {

namespace {

int32_t TrimmedInt(std::string_view field) {
  const std::string_view text = TrimView(field);
  return text.empty() ? 0 : StrToInt(text);
}

// Splits off the text before the next "|"; without one the rest is the last field.
std::string_view NextField(std::string_view& rest, bool& more) {
  const size_t bar = rest.find('|');
  if (bar == std::string_view::npos) {
    std::string_view field = rest;
    rest = {};
    more = false;
    return field;
  }
  std::string_view field = rest.substr(0, bar);
  rest.remove_prefix(bar + 1);
  return field;
}

}  // namespace

int32_t TSectionRecord::Parameter(int i) const {
  const int32_t values[kParameterCount] = {A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R};
  return i >= 0 && i < kParameterCount ? values[i] : 0;
}

void TSectionRecord::SetParameter(int i, int32_t value) {
  int32_t* fields[kParameterCount] = {&A, &B, &C, &D, &E, &F, &G, &H, &I, &J, &K, &L, &M, &N, nullptr, &P, &Q, &R};
  if (i < 0 || i >= kParameterCount) return;
  if (i == 14)
    O = static_cast<uint8_t>(value & 0xFF);
  else
    *fields[i] = value;
}

void ParseSectionFields(std::string_view line, TSectionRecord& record) {
  std::string_view rest = line;
  bool more = true;
  record.name = std::string(NextField(rest, more));
  for (int i = 0; i < TSectionRecord::kParameterCount; ++i) {
    // Fields after the last "|" are missing and read as 0.
    const std::string_view field = more ? NextField(rest, more) : std::string_view();
    record.SetParameter(i, TrimmedInt(field));
  }
}

bool ParseSectionLine(std::string_view line, TSectionRecord& record, const std::string& programFolder,
                      std::string* error) {
  ParseSectionFields(line, record);
  TPlayContentLoader content(programFolder);
  try {
    record.drawing = content.Drawing(record.name);
  } catch (const EContentRefused& refusal) {
    record.drawing = EmptyPlayDrawing();
    if (error) *error = refusal.what();
    return false;
  }
  return true;
}

void LoadSectionLines(const TextLines& lines, TSectionList& rows, TPlayContentLoader& content,
                      const std::string& fileName) {
  rows.clear();
  uint64_t rowBytes = 0;
  for (const std::string& line : lines) rowBytes += sizeof(TSectionRecord) + sizeof(void*) + line.size();
  content.Reserve(rowBytes, fileName);
  rows.reserve(lines.size());
  for (const std::string& line : lines) {
    auto record = std::make_unique<TSectionRecord>();
    ParseSectionFields(line, *record);
    record->drawing = content.Drawing(record->name);
    rows.push_back(std::move(record));
  }
}

bool LoadSectionFile(const std::string& fileName, TSectionList& rows, TPlayContentLoader& content,
                     std::string* error) {
  rows.clear();
  try {
    LoadSectionLines(ReadContentLines(fileName, kSegmentFileRule), rows, content, fileName);
  } catch (const EContentRefused& refusal) {
    rows.clear();
    if (error) *error = refusal.MessageFor(fileName);
    return false;
  }
  return true;
}

bool LoadSectionFile(const std::string& fileName, TSectionList& rows, const std::string& programFolder,
                     std::string* error) {
  TPlayContentLoader content(programFolder);
  return LoadSectionFile(fileName, rows, content, error);
}

int ParseSecondField(std::string_view line) {
  std::string_view rest = line;
  bool more = true;
  NextField(rest, more);
  return more ? TrimmedInt(NextField(rest, more)) : 0;
}

int SumSectionDurations(const std::string& fileName) {
  int64_t sum = 0;
  for (const std::string& line : ReadRowLines(fileName, kSegmentFileRule).value_or(TextLines())) {
    sum += ParseSecondField(line);
    sum = std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  }
  return static_cast<int>(sum);
}

std::string JoinSectionCells(const std::vector<std::string>& cells) {
  std::string line;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i) line += '|';
    line += cells[i];
  }
  return line;
}

std::vector<std::string> SectionCells(const TSectionRecord& record) {
  std::vector<std::string> cells;
  cells.reserve(TSectionRecord::kFieldCount);
  cells.push_back(record.name);
  for (int i = 0; i < TSectionRecord::kParameterCount; ++i) cells.push_back(std::to_string(record.Parameter(i)));
  return cells;
}

std::string FormatSectionLine(const TSectionRecord& record) { return JoinSectionCells(SectionCells(record)); }

bool SaveSectionFile(const std::string& path, const TSectionList& rows, std::string* error) {
  std::vector<std::vector<std::string>> cellRows;
  cellRows.reserve(rows.size());
  for (const auto& row : rows) cellRows.push_back(SectionCells(*row));
  return SaveSectionFile(path, cellRows, error);
}

namespace {

// The lines SaveSectionFile writes to `path`, or nothing (why in *error) when it refuses them.
std::optional<TextLines> SectionFileLines(const std::string& path, const std::vector<std::vector<std::string>>& cellRows,
                                          std::string* error) {
  // Measured before any line is made, so a segment past the rule costs no more than its cells.
  TRowFileMeasure measure;
  for (const auto& cells : cellRows) {
    size_t bytes = cells.empty() ? 0 : cells.size() - 1;
    for (const std::string& cell : cells) {
      // A "|" or line break inside a cell would shift every later field of the row when read back.
      if (BreaksField(cell, "|")) {
        if (error) *error = "The segment cell '" + QuotedPiece(cell) + "' cannot be stored: it holds '|' or a line break";
        return std::nullopt;
      }
      bytes += cell.size();
    }
    measure.Add(bytes, kSegmentFileRule);
  }
  if (std::optional<std::string> refusal = SaveRefusal(measure, path, kSegmentFileRule)) {
    if (error) *error = std::move(*refusal);
    return std::nullopt;
  }
  TextLines lines;
  lines.reserve(cellRows.size());
  for (const auto& cells : cellRows) lines.push_back(JoinSectionCells(cells));
  return lines;
}

}  // namespace

bool SaveSectionFile(const std::string& path, const std::vector<std::vector<std::string>>& cellRows,
                     std::string* error) {
  // The lines are measured against the rule once, as they are made.
  const std::optional<TextLines> lines = SectionFileLines(path, cellRows, error);
  return lines && WriteTextLines(path, *lines, error);
}

}  // namespace kavri
