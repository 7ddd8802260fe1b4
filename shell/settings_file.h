#pragma once
// "Kavri.ini": a list of text lines kept for the whole run. The odd lines 1 to 43 hold the
// settings (one decimal integer each, line 35 the media player path); line 0, the even lines and
// anything after line 43 are the operator's own and are written back exactly as read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_lines.h"

namespace kavri {

using TSettingsLines = TextLines;

// Lines 0..43: a complete file has at least this many.
constexpr int kSettingsLineCount = 44;
constexpr int kMediaPlayerPathLine = 35;
// The most of the file the start-up reads: far more than any settings and notes take, and little
// enough that the start stays quick and small whatever stands there. Its value lines count only by
// what stands there past the most the exit writes on them, so a file the exit writes is read whole.
constexpr uint64_t kSettingsFileMaxBytes = 1u << 20;
// The longest media player path taken from the operator: the longest path a program may have.
constexpr size_t kMaxPlayerPathBytes = 4096;
constexpr bool FitsPlayerPath(std::string_view text) { return text.size() <= kMaxPlayerPathBytes; }

// A numeric setting: its line, name, range and the value used when the line is missing or not a
// number. Values read are clamped to the range; a byte-sized setting first keeps the low byte of
// the number, as files have always been read.
struct TSettingLine {
  int line;
  const char* name;
  int32_t min;
  int32_t max;
  int32_t initial;
  bool byteSized = false;
};

// The 21 numeric settings in line order.
const std::vector<TSettingLine>& NumericSettingLines();
// The entry for `line`, or nullptr when that line holds no numeric setting.
const TSettingLine* FindSettingLine(int line);

// The drawing editor's values (lines 1 to 11), read when the editor is created and handed back
// when the program ends.
struct TEditorSettings {
  int32_t BackColor;     // palette index of the canvas background
  int32_t BlankColor;    // palette index of blanked moves, 0 = hidden
  int32_t GridStep1;     // grid dot spacing along x
  int32_t GridStep2;     // grid dot spacing along y
  int32_t PointSpace;    // spacing of generated points
  int32_t PolygonSides;  // sides of the polygon tools
};
TEditorSettings DefaultEditorSettings();

// ProgramFolder() + "Kavri.ini".
std::string SettingsFilePath();

// What the start-up found in the settings file, beyond its lines 0..43, and what the exit needs to
// write it back: the lines after 43 exactly as they were, and only to the file that was read.
struct TSettingsSource {
  bool found = false;  // a file stood there (a missing one is a first start)
  // False: the file cannot be read, or is larger than kSettingsFileMaxBytes and only the lines wholly
  // within its first kSettingsFileMaxBytes were read. Such a file is kept under `keptAs` at exit,
  // beside a new one.
  bool whole = true;
  std::string problem;  // why it was not read whole
  std::string keptAs;   // the name it is kept under (the first free at the start)
  // The bytes after line 43 (its line break on), for a file read whole that has a line 43.
  bool hasRest = false;
  std::string rest;
  std::string lineBreak = "\r\n";  // the file's own, kept for the lines written back
  // The file that was read (links followed): at exit a link is written through only to it.
  uint64_t device = 0;
  uint64_t inode = 0;
};

// Lines 0..43 of the file (CR, LF or CRLF endings; fewer when it is short), the rest kept in
// *source. Empty when the file is missing or cannot be read (then reported in *source). A file of any number of lines of any length
// is read while it is within kSettingsFileMaxBytes; of a larger one only the lines wholly within
// its first kSettingsFileMaxBytes are, so its values, which stand in its first lines, are still used.
TSettingsLines LoadSettingsLines(const std::string& path, TSettingsSource* source = nullptr);

// The value on a numeric setting line, clamped to its range; its initial value when the line is
// missing or holds no decimal integer. `line` must name a numeric setting.
int32_t ReadSettingLine(const TSettingsLines& lines, int line);

// The operator's message about the numeric lines whose text is not what is used (not a number, out
// of range, missing from a short file), naming each line, the start of what it held and the value
// used instead; and, for a file not read whole, why and what becomes of it. Lines are counted
// from 1 there, as a text editor counts them. Empty when every line is used as it stands, and for
// a file that does not exist.
std::string DescribeReplacedSettings(const TSettingsLines& lines, const TSettingsSource& source);

TEditorSettings ReadEditorSettings(const TSettingsLines& lines);
std::string ReadMediaPlayerPath(const TSettingsLines& lines);
// Lines 13 to 43 into the shared output settings (engine/shared_state.h), the path included.
void ReadOutputSettings(const TSettingsLines& lines);

// Completes a short list to 44 lines: each added unused line names the setting below it.
void CompleteSettingsLines(TSettingsLines& lines);
// Puts the editor's values and the current output settings on their lines, first completing a
// short list. Other lines stay.
void WriteSettingsToLines(TSettingsLines& lines, const TEditorSettings& editor);

// The file's image with these lines: lines 0..43 with the file's own line break, then the rest as
// it was read.
std::string SettingsFileImage(const TSettingsLines& lines, const TSettingsSource& source);

// At exit: WriteSettingsToLines, then the image replaces the file atomically. A file that was not
// read whole, and a link that does not lead to the file read, are not written: they are kept
// under a free name ending in ".bad" and a new file takes their place. False (reason in *error)
// when the write fails; the old file is then kept, in its place or under that name.
bool SaveSettingsFile(const std::string& path, TSettingsLines& lines, const TEditorSettings& editor,
                      const TSettingsSource& source, std::string* error = nullptr);

}  // namespace kavri
