#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/drawing.h"
#include "engine/ilda_file.h"
#include "engine/section_file.h"
#include "platform/text_lines.h"

namespace kavri {

// One track row: a content file and its time in show-clock ticks, with the content once loaded.
struct TSequenceRecord {
  std::string name;  // with ".ddr", ".sec" or ".ild", relative to its content folder
  int32_t time = 0;
  Drawing drawing;    // for ".ddr"
  TSectionList rows;  // for ".sec"
  TILDAimage ilda;    // for ".ild"
};

using TSequenceTrack = std::vector<std::unique_ptr<TSequenceRecord>>;

struct TSequence {
  static constexpr int kTrackCount = 3;
  std::string music;  // a bare name (in the music folder) or a full path
  TSequenceTrack track1, track2, track3;

  TSequenceTrack& Track(int i) { return i == 0 ? track1 : i == 1 ? track2 : track3; }
  const TSequenceTrack& Track(int i) const { return i == 0 ? track1 : i == 1 ? track2 : track3; }
  void ClearTracks() {
    track1.clear();
    track2.clear();
    track3.clear();
  }
};

// Replace the show's tracks with the file's rows and set its music name. A time that is not an
// integer raises EConvertError; rows read before it stay. A missing section line gives an empty
// track (or music name). A file that cannot be read gives an empty show.
void LoadShowFile(const std::string& fileName, TSequence& show);
// The same, loading each row's content (LoadSequenceContent) before the row joins its track.
void LoadShowFileWithContent(const std::string& fileName, const std::string& programFolder, TSequence& show);
// Both readers on lines in memory; with programFolder null, contents are not loaded.
void LoadShowLines(const TextLines& lines, TSequence& show, const std::string* programFolder);

// Loads the drawing, segment or ILDA image the row names (extension compared exactly) from its
// content folder; a missing file or another extension leaves the content empty.
void LoadSequenceContent(TSequenceRecord& record, const std::string& programFolder);

// The show editor's grid rows: name and time texts per track, written in lower case.
using TShowRowCells = std::pair<std::string, std::string>;
using TShowTrackCells = std::array<std::vector<TShowRowCells>, TSequence::kTrackCount>;

// The show file's lines: "[Music]", the music text unchanged, then each "[TrackN]" with its rows as
// lower-cased "name|time".
TextLines FormatShowLines(const std::string& music, const TShowTrackCells& tracks);
TShowTrackCells ShowTrackCells(const TSequence& show);

// Write the show file with CR LF line ends, replacing it atomically; false, keeping the old
// file, when the write fails. A name holding "|" or any text holding a line break is refused
// (false, file untouched): it would not read back as the same row.
bool SaveShowFile(const std::string& path, const std::string& music, const TShowTrackCells& tracks,
                  std::string* error = nullptr);
bool SaveShowFile(const std::string& path, const TSequence& show, std::string* error = nullptr);

}  // namespace kavri
