#include "engine/show_file.h"

#include "platform/int_convert.h"
#include "platform/text.h"

namespace kavri {

namespace {

const char* const kMusicMarker = "[Music]";
const char* const kTrackMarkers[TSequence::kTrackCount] = {"[Track1]", "[Track2]", "[Track3]"};

bool IsMarker(const std::string& line) {
  return line == kMusicMarker || line == kTrackMarkers[0] || line == kTrackMarkers[1] || line == kTrackMarkers[2];
}

// Index of the first line equal to `marker`, or lines.size() when there is none.
size_t FindMarker(const TextLines& lines, const char* marker) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == marker) return i;
  return lines.size();
}

std::string FileExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  const size_t sep = name.find_last_of("/\\");
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return {};
  return name.substr(dot);
}

std::unique_ptr<TSequenceRecord> ParseShowRow(const std::string& line) {
  auto record = std::make_unique<TSequenceRecord>();
  const size_t bar = line.find('|');
  record->name = line.substr(0, bar);
  if (bar != std::string::npos) {
    const std::string_view time = TrimView(std::string_view(line).substr(bar + 1));
    record->time = time.empty() ? 0 : StrToInt(time);
  }
  return record;
}

}  // namespace

void SortShowLine(std::string_view line, TRowFileMeasure& measure) {
  // sortState: the phase in its low two bits, and a bit per track whose first section was seen;
  // readers take a track from its first section only, so a repeated one frees nothing.
  enum { kElsewhere = 0, kTrackStart = 1, kLoneBlank = 2, kPhase = 3 };
  for (int t = 0; t < TSequence::kTrackCount; ++t) {
    if (line != kTrackMarkers[t]) continue;
    const int seen = 4 << t;
    measure.sortState = (measure.sortState & ~kPhase) | ((measure.sortState & seen) ? kElsewhere : kTrackStart) | seen;
    return;
  }
  const int phase = measure.sortState & kPhase;
  measure.sortState &= ~kPhase;
  if (line == kMusicMarker) return;
  if (phase == kTrackStart && (line == "|0" || line == "|")) {
    ++measure.freeLines;
    measure.sortState |= kLoneBlank;
  } else if (phase == kLoneBlank) {
    --measure.freeLines;  // the blank row had others after it: a row of the file's own
  }
}

void LoadShowLines(const TextLines& lines, TSequence& show, TPlayContentLoader* content) {
  show.ClearTracks();
  const size_t music = FindMarker(lines, kMusicMarker);
  show.music = music + 1 < lines.size() && !IsMarker(lines[music + 1]) ? lines[music + 1] : std::string();
  for (int t = 0; t < TSequence::kTrackCount; ++t) {
    // A track runs from its section line to the next section line, whatever order they come in.
    for (size_t i = FindMarker(lines, kTrackMarkers[t]) + 1; i < lines.size() && !IsMarker(lines[i]); ++i) {
      std::unique_ptr<TSequenceRecord> record = ParseShowRow(lines[i]);
      if (content) LoadSequenceContent(*record, *content);
      show.Track(t).push_back(std::move(record));
    }
  }
}

void LoadShowFile(const std::string& fileName, TSequence& show) {
  LoadShowLines(ReadRowLines(fileName, kShowFileRule).value_or(TextLines()), show, nullptr);
}

bool LoadShowFileWithContent(const std::string& fileName, TPlayContentLoader& content, TSequence& show,
                             std::string* error) {
  try {
    LoadShowLines(ReadContentLines(fileName, kShowFileRule), show, &content);
  } catch (const EContentRefused& refusal) {
    show.ClearTracks();
    show.music.clear();
    if (error) *error = refusal.MessageFor(fileName);
    return false;
  }
  return true;
}

bool LoadShowFileWithContent(const std::string& fileName, const std::string& programFolder, TSequence& show,
                             std::string* error) {
  TPlayContentLoader content(programFolder);
  return LoadShowFileWithContent(fileName, content, show, error);
}

void LoadSequenceContent(TSequenceRecord& record, TPlayContentLoader& content) {
  const std::string ext = FileExtension(record.name);
  if (ext == ".ddr")
    record.drawing = content.Drawing(record.name);
  else if (ext == ".sec")
    record.rows = content.Segment(record.name);
  else if (ext == ".ild")
    record.ilda = content.Ilda(record.name);
}

bool LoadSequenceContent(TSequenceRecord& record, const std::string& programFolder, std::string* error) {
  TPlayContentLoader content(programFolder);
  try {
    LoadSequenceContent(record, content);
  } catch (const EContentRefused& refusal) {
    if (error) *error = refusal.what();
    return false;
  }
  return true;
}

TextLines FormatShowLines(const std::string& music, const TShowTrackCells& tracks) {
  TextLines lines = {kMusicMarker, music};
  for (int t = 0; t < TSequence::kTrackCount; ++t) {
    lines.push_back(kTrackMarkers[t]);
    for (const TShowRowCells& row : tracks[static_cast<size_t>(t)])
      lines.push_back(LowerCase(row.first) + "|" + LowerCase(row.second));
  }
  return lines;
}

TShowTrackCells ShowTrackCells(const TSequence& show) {
  TShowTrackCells cells;
  for (int t = 0; t < TSequence::kTrackCount; ++t)
    for (const auto& record : show.Track(t))
      cells[static_cast<size_t>(t)].emplace_back(record->name, std::to_string(record->time));
  return cells;
}

TShowTrackCells TakeShowTrackCells(TSequence& show) {
  TShowTrackCells cells;
  for (int t = 0; t < TSequence::kTrackCount; ++t) {
    cells[static_cast<size_t>(t)].reserve(show.Track(t).size());
    for (const auto& record : show.Track(t))
      cells[static_cast<size_t>(t)].emplace_back(std::move(record->name), std::to_string(record->time));
    show.Track(t).clear();
  }
  return cells;
}

bool SaveShowFile(const std::string& path, const std::string& music, const TShowTrackCells& tracks,
                  std::string* error) {
  // Texts that would not read back as the same field are refused rather than stored wrongly.
  auto refuse = [error](const std::string& text) {
    if (error) *error = "The show text '" + QuotedPiece(text) + "' cannot be stored: it holds '|' or a line break";
    return false;
  };
  if (BreaksField(music)) return refuse(music);
  // A music line equal to a section line would read back as that section, the music as none.
  if (IsMarker(music)) {
    if (error) *error = "The music text '" + music + "' cannot be stored: it reads as a section line";
    return false;
  }
  for (const auto& track : tracks)
    for (const TShowRowCells& row : track) {
      if (BreaksField(row.first, "|")) return refuse(row.first);
      if (BreaksField(row.second)) return refuse(row.second);
    }
  return WriteRowLines(path, FormatShowLines(music, tracks), kShowFileRule, error);
}

bool SaveShowFile(const std::string& path, const TSequence& show, std::string* error) {
  return SaveShowFile(path, show.music, ShowTrackCells(show), error);
}

}  // namespace kavri
