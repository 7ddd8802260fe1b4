#include "shell/settings_file.h"

#include <algorithm>

#include "engine/shared_state.h"
#include "platform/file_io.h"
#include "platform/int_convert.h"
#include "platform/program_folder.h"
#include "platform/text.h"

namespace kavri {

namespace {

std::string LineText(const TSettingsLines& lines, int line) {
  return line >= 0 && static_cast<size_t>(line) < lines.size() ? lines[line] : std::string();
}

void SetLine(TSettingsLines& lines, int line, std::string text) { lines[static_cast<size_t>(line)] = std::move(text); }

}  // namespace

const std::vector<TSettingLine>& NumericSettingLines() {
  static const std::vector<TSettingLine> kLines = {
      {1, "BackColor", 0, 255, 0},
      {3, "BlankColor", 0, 255, 0},
      {5, "GridStep1", 1, 511, 16},
      {7, "GridStep2", 1, 511, 16},
      {9, "PointSpace", 1, 510, 10},
      {11, "PolygonSides", 3, 360, 6},
      {13, "HOffset", -256, 254, 0},
      {15, "VOffset", -256, 254, 0},
      {17, "LocateAngle", 0, 360, 0},
      {19, "ScanDelay", 0, 200, 75, true},
      {21, "HSize", 0, 40, 20},
      {23, "VSize", 0, 40, 20},
      {25, "BlankingDelay", 0, 255, 100, true},
      {27, "UsbPipe", 0, 255, 1, true},
      {29, "FrameInterval", 2, 1000, 2},
      {31, "ImportTextLargeSize", 0, 1, 0},
      {33, "QuickPlayLargeSize", 0, 1, 0},
      {37, "RedSaturation", 0, 200, 100, true},
      {39, "GreenSaturation", 0, 200, 100, true},
      {41, "BlueSaturation", 0, 200, 100, true},
      {43, "Intensity", 0, 200, 100, true},
  };
  return kLines;
}

const TSettingLine* FindSettingLine(int line) {
  for (const TSettingLine& s : NumericSettingLines())
    if (s.line == line) return &s;
  return nullptr;
}

TEditorSettings DefaultEditorSettings() {
  auto initial = [](int line) { return FindSettingLine(line)->initial; };
  return {initial(1), initial(3), initial(5), initial(7), initial(9), initial(11)};
}

std::string SettingsFilePath() { return ProgramFolder() + "Kavri.ini"; }

TSettingsLines LoadSettingsLines(const std::string& path, bool* found, std::string* refusal) {
  // Every line at its longest, with CR LF.
  constexpr uint64_t kMaxBytes = kSettingsFileRule.maxLines * (kSettingsFileRule.maxLineBytes + 2);
  std::string error;
  bool tooLarge = false;
  const std::optional<Bytes> bytes = ReadWholeFile(path, kMaxBytes, &error, &tooLarge);
  // Missing or unreadable is a first start; too large is a file found and refused.
  if (found) *found = bytes || tooLarge;
  std::optional<std::string> refused;
  if (tooLarge) refused = std::move(error);
  if (bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    refused = RowFileRefusal(text, path, kSettingsFileRule);
    if (!refused) return SplitTextLines(text);
  }
  if (refused && refusal) *refusal = std::move(*refused);
  return {};
}

int32_t ReadSettingLine(const TSettingsLines& lines, int line) {
  const TSettingLine* s = FindSettingLine(line);
  if (!s) return 0;
  int32_t v = 0;
  if (!TryStrToInt(Trim(LineText(lines, line)), v)) return s->initial;
  if (s->byteSized) v &= 0xFF;
  return std::clamp(v, s->min, s->max);
}

std::string DescribeReplacedSettings(const TSettingsLines& lines, bool fileFound, const std::string& refusal) {
  if (!fileFound) return {};
  if (!refusal.empty())
    return "The settings file \"" + SettingsFilePath() +
           "\" was not used; the initial values are, and the file is rewritten at exit.\n" + refusal;
  std::string report;
  for (const TSettingLine& s : NumericSettingLines()) {
    const int32_t used = ReadSettingLine(lines, s.line);
    const std::string usedText = std::to_string(used);
    std::string held;
    if (static_cast<size_t>(s.line) >= lines.size()) {
      held = "is missing";
    } else {
      const std::string& text = lines[static_cast<size_t>(s.line)];
      if (Trim(text) == usedText) continue;
      held = "held \"" + QuotedPiece(text) + "\"";
    }
    report += "line " + std::to_string(s.line + 1) + " (" + s.name + ") " + held + ": " + usedText + " is used instead\n";
  }
  if (report.empty()) return {};
  return "Some lines of the settings file \"" + SettingsFilePath() +
         "\" were not usable and have been replaced; the file is rewritten at exit.\n" + report;
}

TEditorSettings ReadEditorSettings(const TSettingsLines& lines) {
  return {ReadSettingLine(lines, 1), ReadSettingLine(lines, 3), ReadSettingLine(lines, 5),
          ReadSettingLine(lines, 7), ReadSettingLine(lines, 9), ReadSettingLine(lines, 11)};
}

std::string ReadMediaPlayerPath(const TSettingsLines& lines) { return LineText(lines, kMediaPlayerPathLine); }

void ReadOutputSettings(const TSettingsLines& lines) {
  auto u8 = [&](int line) { return static_cast<uint8_t>(ReadSettingLine(lines, line)); };
  HOffset = ReadSettingLine(lines, 13);
  VOffset = ReadSettingLine(lines, 15);
  LocateAngle = ReadSettingLine(lines, 17);
  ScanDelay = u8(19);
  HSize = ReadSettingLine(lines, 21);
  VSize = ReadSettingLine(lines, 23);
  BlankingDelay = u8(25);
  UsbPipe = u8(27);
  FrameInterval = ReadSettingLine(lines, 29);
  ImportTextLargeSize = ReadSettingLine(lines, 31);
  QuickPlayLargeSize = ReadSettingLine(lines, 33);
  SetMediaPlayerPath(ReadMediaPlayerPath(lines));
  RedSaturation = u8(37);
  GreenSaturation = u8(39);
  BlueSaturation = u8(41);
  Intensity = u8(43);
}

void WriteSettingsToLines(TSettingsLines& lines, const TEditorSettings& editor) {
  for (int line = static_cast<int>(lines.size()); line < kSettingsLineCount; ++line) {
    std::string text;
    if (line % 2 == 0) {
      const TSettingLine* next = FindSettingLine(line + 1);
      text = next ? next->name : "MediaPlayerPath";
    }
    lines.push_back(std::move(text));
  }
  auto put = [&](int line, int64_t value) { SetLine(lines, line, std::to_string(value)); };
  put(1, editor.BackColor);
  put(3, editor.BlankColor);
  put(5, editor.GridStep1);
  put(7, editor.GridStep2);
  put(9, editor.PointSpace);
  put(11, editor.PolygonSides);
  put(13, HOffset);
  put(15, VOffset);
  put(17, LocateAngle);
  put(19, ScanDelay);
  put(21, HSize);
  put(23, VSize);
  put(25, BlankingDelay);
  put(27, UsbPipe);
  put(29, FrameInterval);
  put(31, ImportTextLargeSize);
  put(33, QuickPlayLargeSize);
  // A line break inside the path would shift every line after it.
  std::string path = MediaPlayerPath();
  path.erase(std::remove_if(path.begin(), path.end(), [](char c) { return c == '\r' || c == '\n'; }), path.end());
  SetLine(lines, kMediaPlayerPathLine, std::move(path));
  put(37, RedSaturation);
  put(39, GreenSaturation);
  put(41, BlueSaturation);
  put(43, Intensity);
}

bool SaveSettingsFile(const std::string& path, TSettingsLines& lines, const TEditorSettings& editor,
                      std::string* error) {
  WriteSettingsToLines(lines, editor);
  return WriteRowLines(path, lines, kSettingsFileRule, error);
}

}  // namespace kavri
