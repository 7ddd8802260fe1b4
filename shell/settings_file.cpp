#include "shell/settings_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/shared_state.h"
#include "platform/file_io.h"
#include "platform/int_convert.h"
#include "platform/program_folder.h"
#include "platform/regular_file.h"
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

namespace {

// Names tried for a file kept aside: "<name>.bad", "<name>.bad2", ...
constexpr int kKeptNames = 99;

std::string KeptName(const std::string& path, int n) { return path + ".bad" + (n > 1 ? std::to_string(n) : ""); }

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

std::string FirstFreeKeptName(const std::string& path) {
  for (int n = 1; n <= kKeptNames; ++n)
    if (!Exists(KeptName(path, n))) return KeptName(path, n);
  return KeptName(path, 1);
}

// Renames the entry `path` itself (a link stays a link) to the first free kept name; never over an
// existing file.
bool KeepAside(const std::string& path, std::string* error) {
  for (int n = 1; n <= kKeptNames; ++n) {
    const std::string name = KeptName(path, n);
    int done = ::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE);
    if (done != 0 && (errno == EINVAL || errno == ENOSYS)) {
      // A file system without an exclusive rename: a new name that fails when taken, then the old goes.
      done = ::link(path.c_str(), name.c_str());
      if (done == 0) ::unlink(path.c_str());
    }
    if (done == 0) return true;
    if (errno != EEXIST) break;
  }
  if (error) *error = "Cannot keep " + path + " aside: " + (errno == EEXIST ? "every name for it is taken" : std::strerror(errno));
  return false;
}

// The most the exit may write on a value line: a number, or the longest path the operator may type.
size_t ValueBytesAtMost(int line) { return line == kMediaPlayerPathLine ? kMaxPlayerPathBytes : 11; }

// More than the value lines may hold when written back, and than mixed line breaks may change:
// what is read beyond the bound to measure a file near it.
constexpr uint64_t kSettingsReadSlack = kMaxPlayerPathBytes + 32 * 21 + 2 * kSettingsLineCount;

// A file that stands there and cannot be read is the operator's all the same: it is reported, the
// initial values are used, and at exit it is kept aside rather than written over.
bool Unreadable(const std::string& path, const std::string& error, TSettingsSource& source) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return false;
  source.found = true;
  source.whole = false;
  source.problem = error;
  source.keptAs = FirstFreeKeptName(path);
  return false;
}

// Reads up to the bound and its slack, and one byte more, which tells a file that is larger still.
bool ReadStart(const std::string& path, std::string& text, TSettingsSource& source) {
  TRegularFile file;
  std::string error;
  if (!file.Open(path, &error)) return Unreadable(path, error, source);
  text.resize(kSettingsFileMaxBytes + kSettingsReadSlack + 1);
  const long long got = file.ReadAt(0, reinterpret_cast<uint8_t*>(text.data()), text.size(), &error);
  if (got < 0) return Unreadable(path, error, source);
  text.resize(static_cast<size_t>(got));
  source.found = true;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    source.device = st.st_dev;
    source.inode = st.st_ino;
  }
  return true;
}

// Lines 0..43 of `text` as SplitTextLines cuts them, noting the file's line break; the offset of
// what follows line 43 (its line break on) in *restAt. With `cut`, a line running past the end of
// `text` is not taken, nor any after it.
TSettingsLines SplitSettingsLines(const std::string& text, bool cut, TSettingsSource& source, size_t* restAt) {
  TSettingsLines lines;
  size_t start = 0;
  const size_t n = text.size();
  bool breakSeen = false;
  while (lines.size() < static_cast<size_t>(kSettingsLineCount) && start < n) {
    size_t end = start;
    while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
    if (cut && (end == n || (text[end] == '\r' && end + 1 == n))) break;
    lines.push_back(text.substr(start, end - start));
    if (end == n) {
      start = n;
      break;
    }
    const size_t breakBytes = text[end] == '\r' && end + 1 < n && text[end + 1] == '\n' ? 2 : 1;
    if (!breakSeen) source.lineBreak = text.substr(end, breakBytes), breakSeen = true;
    start = lines.size() == static_cast<size_t>(kSettingsLineCount) ? end : end + breakBytes;
  }
  *restAt = start;
  return lines;
}

// The file as the bound measures it: the image the exit writes, its value lines counted only by
// what stands there past the most the exit writes. The exit adds to no other line and writes no
// value past that, so a file within the bound is within it again when the next start reads it.
uint64_t BoundMeasure(TSettingsLines lines, const TSettingsSource& source) {
  uint64_t beyond = 0;
  CompleteSettingsLines(lines);
  for (int line = 1; line < kSettingsLineCount; line += 2) {
    std::string& value = lines[static_cast<size_t>(line)];
    beyond += value.size() - std::min(value.size(), ValueBytesAtMost(line));
    value.clear();
  }
  return SettingsFileImage(lines, source).size() + beyond;
}

// Whether `path` is a symbolic link that does not lead to the file the start-up read.
bool IsLinkElsewhere(const std::string& path, const TSettingsSource& source) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
  if (!source.found || ::stat(path.c_str(), &st) != 0) return true;
  return st.st_dev != source.device || st.st_ino != source.inode;
}

}  // namespace

TSettingsLines LoadSettingsLines(const std::string& path, TSettingsSource* source) {
  TSettingsSource scratch;
  if (!source) source = &scratch;
  *source = TSettingsSource{};
  std::string text;
  if (!ReadStart(path, text, *source)) return {};
  size_t restAt = 0;
  TSettingsLines lines = SplitSettingsLines(text, false, *source, &restAt);
  source->hasRest = lines.size() == static_cast<size_t>(kSettingsLineCount);
  if (source->hasRest) source->rest = text.substr(restAt);
  source->whole = text.size() <= kSettingsFileMaxBytes + kSettingsReadSlack &&
                  BoundMeasure(lines, *source) <= kSettingsFileMaxBytes;
  if (source->whole) return lines;
  // Only the lines wholly within the bound are taken: their values are used, the rest not kept.
  source->hasRest = false;
  source->rest.clear();
  source->problem = "The settings file \"" + path + "\" is larger than the " +
                    std::to_string(kSettingsFileMaxBytes) + " bytes that the start-up reads";
  source->keptAs = FirstFreeKeptName(path);
  text.resize(std::min<size_t>(text.size(), kSettingsFileMaxBytes));
  return SplitSettingsLines(text, true, *source, &restAt);
}

int32_t ReadSettingLine(const TSettingsLines& lines, int line) {
  const TSettingLine* s = FindSettingLine(line);
  if (!s) return 0;
  int32_t v = 0;
  if (!TryStrToInt(Trim(LineText(lines, line)), v)) return s->initial;
  if (s->byteSized) v &= 0xFF;
  return std::clamp(v, s->min, s->max);
}

std::string DescribeReplacedSettings(const TSettingsLines& lines, const TSettingsSource& source) {
  if (!source.found) return {};
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
  if (!source.whole && lines.empty())
    return source.problem + ".\nThe initial settings are used; at exit they are written to a new \"" + SettingsFilePath() +
           "\" while the file is kept as \"" + source.keptAs + "\".";
  if (!source.whole)
    return source.problem + ".\nOnly its first " + std::to_string(lines.size()) +
           " lines were read; their values are used where they can be, and at exit they are written to a new \"" +
           SettingsFilePath() + "\" while the whole file is kept as \"" + source.keptAs + "\".\n" + report;
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

void CompleteSettingsLines(TSettingsLines& lines) {
  for (int line = static_cast<int>(lines.size()); line < kSettingsLineCount; ++line) {
    std::string text;
    if (line % 2 == 0) {
      const TSettingLine* next = FindSettingLine(line + 1);
      text = next ? next->name : "MediaPlayerPath";
    }
    lines.push_back(std::move(text));
  }
}

void WriteSettingsToLines(TSettingsLines& lines, const TEditorSettings& editor) {
  CompleteSettingsLines(lines);
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

std::string SettingsFileImage(const TSettingsLines& lines, const TSettingsSource& source) {
  // The break after line 43 is the rest's own.
  const bool withRest = source.hasRest && lines.size() == static_cast<size_t>(kSettingsLineCount);
  std::string image;
  for (size_t i = 0; i < lines.size(); ++i) {
    image += lines[i];
    if (!withRest || i + 1 < lines.size()) image += source.lineBreak;
  }
  if (withRest) image += source.rest;
  return image;
}

bool SaveSettingsFile(const std::string& path, TSettingsLines& lines, const TEditorSettings& editor,
                      const TSettingsSource& source, std::string* error) {
  WriteSettingsToLines(lines, editor);
  // What was not read as a settings file is never replaced: the operator's file, or wherever a
  // link leads, stays as it was under another name.
  const bool keepAside = (source.found && !source.whole && Exists(path)) || IsLinkElsewhere(path, source);
  if (keepAside && !KeepAside(path, error)) return false;
  return ReplaceFileAtomically(path, SettingsFileImage(lines, source), error);
}

}  // namespace kavri
