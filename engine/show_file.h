#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/play_content.h"
#include "platform/text_lines.h"

namespace kavri {

// One track row: a content file and its time in show-clock ticks, with the content once loaded.
// Content is shared with the other rows of the same load that name the same file.
struct TSequenceRecord {
  std::string name;  // with ".ddr", ".sec" or ".ild", a file name in its content folder
  int32_t time = 0;
  TPlayDrawingPtr drawing = EmptyPlayDrawing();  // for ".ddr"
  TSectionListPtr rows = EmptySegment();         // for ".sec"
  TIldaImagePtr ilda = EmptyIldaImage();         // for ".ild"
};

using TSequenceTrack = std::vector<std::unique_ptr<TSequenceRecord>>;

// What a show file may hold, wherever it is opened, played or written: its rows over the three
// tracks and the five lines of music and track headers. Each track grid scrolls one row per step of
// a bar a few hundred pixels long; at this many rows a pixel of the bar already passes hundreds of
// them, so a longer show could be shown no better, only cost more memory. The longest line the
// program writes is a track row of two cells, each as long as a cell takes (kMaxTypedTextChars
// characters), and "|"; the music field takes no more than one cell. A longer line is none of ours.
// The writer refuses what this refuses, so a saved show always opens. The blank row of a track that
// holds no other, the one Show Edit shows and writes for an empty track ("|0", or "|" once the row
// was blanked), is not counted (SortShowLine), so that any show it opens can be saved back as it was.
void SortShowLine(std::string_view line, TRowFileMeasure& measure);
constexpr TRowFileRule kShowFileRule{100000, 2 * kMaxTypedTextBytes + 1, "Show Edit", &SortShowLine};

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
// track (or music name). A file that cannot be read or breaks kShowFileRule gives an empty show.
void LoadShowFile(const std::string& fileName, TSequence& show);
// The same, loading each row's content (LoadSequenceContent) before the row joins its track; every
// file is read once for the whole show, segments' drawings included. A show file or a segment it
// names that cannot be read or breaks its rule is refused, as is content that would not fit in
// memory, before the file that would pass the limit is read: false, an empty show, and why in *error.
bool LoadShowFileWithContent(const std::string& fileName, const std::string& programFolder, TSequence& show,
                             std::string* error = nullptr);
bool LoadShowFileWithContent(const std::string& fileName, TPlayContentLoader& content, TSequence& show,
                             std::string* error = nullptr);
// Both readers on lines in memory; with `content` null, contents are not loaded. Raises
// EConvertError and EContentTooLarge.
void LoadShowLines(const TextLines& lines, TSequence& show, TPlayContentLoader* content);

// Loads the drawing, segment or ILDA image the row names (extension compared exactly) from its
// content folder; a missing file, a name that is not a bare file name or another extension
// leaves the content empty. The first form is false, with the message in *error, when the
// content does not fit in memory; the second raises EContentTooLarge.
bool LoadSequenceContent(TSequenceRecord& record, const std::string& programFolder, std::string* error = nullptr);
void LoadSequenceContent(TSequenceRecord& record, TPlayContentLoader& content);

// The show editor's grid rows: name and time texts per track, written in lower case.
using TShowRowCells = std::pair<std::string, std::string>;
using TShowTrackCells = std::array<std::vector<TShowRowCells>, TSequence::kTrackCount>;

// The show file's lines: "[Music]", the music text unchanged, then each "[TrackN]" with its rows as
// lower-cased "name|time".
TextLines FormatShowLines(const std::string& music, const TShowTrackCells& tracks);
TShowTrackCells ShowTrackCells(const TSequence& show);
// The same, taking the names from the show rather than copying them.
TShowTrackCells TakeShowTrackCells(TSequence& show);

// Write the show file with CR LF line ends, replacing it atomically; false, keeping the old
// file, when the write fails. A name holding "|", any text holding a line break, a music text
// equal to a section line and lines kShowFileRule refuses are refused (false, file untouched, why
// in *error): they would not read back.
bool SaveShowFile(const std::string& path, const std::string& music, const TShowTrackCells& tracks,
                  std::string* error = nullptr);
bool SaveShowFile(const std::string& path, const TSequence& show, std::string* error = nullptr);

}  // namespace kavri
