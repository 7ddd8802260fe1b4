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
// What a settings file may hold: a few dozen short lines are needed, room is left for the operator's
// notes, and a line takes the longest path a program may have.
constexpr TRowFileRule kSettingsFileRule{256, 4096, "the start-up"};
// Whether `text` fits on one line of the file as its reader measures lines: in bytes.
constexpr bool FitsSettingsLine(std::string_view text) { return text.size() <= kSettingsFileRule.maxLineBytes; }

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

// The file's lines (CR, LF or CRLF endings); an empty list when it is missing or unreadable
// (*found says which), and when it breaks kSettingsFileRule (*found true; why in *refusal). Such a
// file is measured before any line is made, and one larger than the rule allows is not read at all.
TSettingsLines LoadSettingsLines(const std::string& path, bool* found = nullptr, std::string* refusal = nullptr);

// The value on a numeric setting line, clamped to its range; its initial value when the line is
// missing or holds no decimal integer. `line` must name a numeric setting.
int32_t ReadSettingLine(const TSettingsLines& lines, int line);

// The operator's message about the numeric lines whose text is not what is used (not a number, out
// of range, missing from a short file), naming each line, the start of what it held and the value
// used instead; or, when the file was refused, why. Lines are counted from 1 there, as a text
// editor and the refusal count them. Empty when every line is used as it stands, and
// for a file that does not exist.
std::string DescribeReplacedSettings(const TSettingsLines& lines, bool fileFound, const std::string& refusal = {});

TEditorSettings ReadEditorSettings(const TSettingsLines& lines);
std::string ReadMediaPlayerPath(const TSettingsLines& lines);
// Lines 13 to 43 into the shared output settings (engine/shared_state.h), the path included.
void ReadOutputSettings(const TSettingsLines& lines);

// Puts the editor's values and the current output settings on their lines, first completing a
// short list to 44 lines (each added unused line names the setting below it). Other lines stay.
void WriteSettingsToLines(TSettingsLines& lines, const TEditorSettings& editor);

// At exit: WriteSettingsToLines, then the whole list saved with CRLF endings, replacing the file
// atomically. False (old file kept, reason in *error) when the write fails or the reader would
// refuse the file.
bool SaveSettingsFile(const std::string& path, TSettingsLines& lines, const TEditorSettings& editor,
                      std::string* error = nullptr);

}  // namespace kavri
