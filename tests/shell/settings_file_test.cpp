#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "engine/shared_state.h"
#include "platform/file_io.h"
#include "shell/settings_file.h"
#include "tests/support/child_run.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::FileSizeLimit;
using kavri_test::ReadBytes;
using kavri_test::ScratchDir;
using kavri_test::WriteBytes;

namespace {

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string ReadText(const std::string& path) {
  const auto bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// A complete file: label lines, values on the odd lines, and two extra lines after 43.
TSettingsLines SampleLines() {
  TSettingsLines lines;
  const std::vector<std::string> values = {"9",   "3",  "20",  "24",  "6",  "5",   "-100", "40",
                                           "90",  "150", "30", "10",  "60", "300", "40",   "1",
                                           "0",   "C:\\Players\\play.exe", "110", "120", "130", "140"};
  for (int i = 0; i < 22; ++i) {
    lines.push_back("label " + std::to_string(i) + " : free text");
    lines.push_back(values[i]);
  }
  lines.push_back("after 43");
  lines.push_back("");
  lines.push_back("last line");
  return lines;
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }
  ScratchDir dir;
};

}  // namespace

TEST_F(SettingsFile, ReadsEveryValueOnItsLineClampedToItsRange) {
  const TSettingsLines lines = SampleLines();
  const TEditorSettings e = ReadEditorSettings(lines);
  EXPECT_EQ(e.BackColor, 9);
  EXPECT_EQ(e.BlankColor, 3);
  EXPECT_EQ(e.GridStep1, 20);
  EXPECT_EQ(e.GridStep2, 24);
  EXPECT_EQ(e.PointSpace, 6);
  EXPECT_EQ(e.PolygonSides, 5);

  ReadOutputSettings(lines);
  EXPECT_EQ(HOffset, -100);
  EXPECT_EQ(VOffset, 40);
  EXPECT_EQ(LocateAngle, 90);
  EXPECT_EQ(ScanDelay, 150);
  EXPECT_EQ(HSize, 30);
  EXPECT_EQ(VSize, 10);
  EXPECT_EQ(BlankingDelay, 60);
  EXPECT_EQ(UsbPipe, 44);  // a byte-sized setting keeps the low byte of 300
  EXPECT_EQ(FrameInterval, 40);
  EXPECT_EQ(ImportTextLargeSize, 1);
  EXPECT_EQ(QuickPlayLargeSize, 0);
  EXPECT_EQ(MediaPlayerPath(), "C:\\Players\\play.exe");
  EXPECT_EQ(RedSaturation, 110);
  EXPECT_EQ(GreenSaturation, 120);
  EXPECT_EQ(BlueSaturation, 130);
  EXPECT_EQ(Intensity, 140);
}

TEST_F(SettingsFile, ValuesThatWouldBreakTheProgramAreClamped) {
  TSettingsLines lines = SampleLines();
  lines[1] = "300";     // colour index past the palette
  lines[3] = "-1";
  lines[5] = "0";       // grid step 0 would never end the grid loop
  lines[7] = "-20";
  lines[9] = "0";       // point space 0
  lines[11] = "0";      // polygon sides 0 divides by zero
  lines[13] = "-9999";
  lines[19] = "255";
  lines[25] = "256";    // byte-sized: the low byte, 0
  lines[29] = "0";
  lines[31] = "7";
  lines[43] = "2147483647";
  const TEditorSettings e = ReadEditorSettings(lines);
  EXPECT_EQ(e.BackColor, 255);
  EXPECT_EQ(e.BlankColor, 0);
  EXPECT_EQ(e.GridStep1, 1);
  EXPECT_EQ(e.GridStep2, 1);
  EXPECT_EQ(e.PointSpace, 1);
  EXPECT_EQ(e.PolygonSides, 3);
  ReadOutputSettings(lines);
  EXPECT_EQ(HOffset, -256);
  EXPECT_EQ(ScanDelay, 200);
  EXPECT_EQ(BlankingDelay, 0);
  EXPECT_EQ(FrameInterval, 2);
  EXPECT_EQ(ImportTextLargeSize, 1);
  EXPECT_EQ(Intensity, 200);  // low byte 255, then held to 200
  lines[19] = "300";          // low byte 44 lies inside the range and is kept
  lines[43] = "-1";
  ReadOutputSettings(lines);
  EXPECT_EQ(ScanDelay, 44);
  EXPECT_EQ(Intensity, 200);
  for (const TSettingLine& s : NumericSettingLines()) {
    EXPECT_GE(s.initial, s.min) << s.name;
    EXPECT_LE(s.initial, s.max) << s.name;
    EXPECT_EQ(s.line % 2, 1) << s.name;
  }
  EXPECT_EQ(NumericSettingLines().size(), 21u);
}

TEST_F(SettingsFile, RoundTripKeepsUnusedLinesAndLinesAfter43) {
  const std::string path = dir.Path("Kavri.ini");
  TSettingsLines original = SampleLines();
  original[0] = "\xEF\xBB\xBF; settings";  // even a byte-order mark stays as it was
  std::string image;
  for (const auto& l : original) image += l + "\n";  // read with LF endings
  WriteText(path, image);

  TSettingsSource source;
  TSettingsLines lines = LoadSettingsLines(path, &source);
  ASSERT_TRUE(source.found);
  ASSERT_EQ(lines, TSettingsLines(original.begin(), original.begin() + kSettingsLineCount));
  TEditorSettings editor = ReadEditorSettings(lines);
  ReadOutputSettings(lines);
  editor.BlankColor = 77;
  BlankingDelay = 33;
  SetMediaPlayerPath("/usr/bin/mpv\r\n");
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(path, lines, editor, source, &error)) << error;

  TSettingsLines expected = original;
  expected[3] = "77";
  expected[25] = "33";
  expected[27] = "44";  // the pipe as read (the low byte of 300) is what gets written back
  expected[35] = "/usr/bin/mpv";
  std::string expectedImage;
  for (const auto& l : expected) expectedImage += l + "\n";  // the file's own line break stays
  EXPECT_EQ(ReadText(path), expectedImage);
}

TEST_F(SettingsFile, MissingFileGivesDefaultsAndIsWrittenWhole) {
  const std::string path = dir.Path("Kavri.ini");
  TSettingsSource source;
  source.found = true;
  TSettingsLines lines = LoadSettingsLines(path, &source);
  EXPECT_FALSE(source.found);
  EXPECT_TRUE(lines.empty());
  HOffset = 50;  // whatever the globals held, a missing file sets the defaults
  const TEditorSettings editor = ReadEditorSettings(lines);
  ReadOutputSettings(lines);
  EXPECT_EQ(editor.GridStep1, DefaultEditorSettings().GridStep1);
  EXPECT_EQ(editor.PolygonSides, 6);
  EXPECT_EQ(editor.PointSpace, 10);
  EXPECT_EQ(HOffset, 0);
  EXPECT_EQ(ScanDelay, 75);
  EXPECT_EQ(BlankingDelay, 100);
  EXPECT_EQ(HSize, 20);
  EXPECT_EQ(FrameInterval, 2);
  EXPECT_EQ(Intensity, 100);
  EXPECT_EQ(MediaPlayerPath(), "");

  ASSERT_TRUE(SaveSettingsFile(path, lines, editor, source));
  const TSettingsLines written = LoadSettingsLines(path);
  ASSERT_EQ(written.size(), 44u);
  EXPECT_EQ(written[0], "BackColor");
  EXPECT_EQ(written[18], "ScanDelay");
  EXPECT_EQ(written[34], "MediaPlayerPath");
  EXPECT_EQ(written[19], "75");
  EXPECT_EQ(written[35], "");
  EXPECT_EQ(written[43], "100");
  // Read back, the new file gives the same values again.
  ResetSharedState();
  HSize = 3;
  ReadOutputSettings(written);
  EXPECT_EQ(HSize, 20);
  const TEditorSettings again = ReadEditorSettings(written);
  EXPECT_EQ(again.GridStep2, editor.GridStep2);
  EXPECT_EQ(again.BackColor, editor.BackColor);
}

TEST_F(SettingsFile, ShortOrGarbledFileKeepsWhatIsThereAndDefaultsTheRest) {
  const std::string path = dir.Path("Kavri.ini");
  // CR-only endings, a non-numeric value, blanks around a number, and the file stops at line 20.
  std::vector<std::string> content(21);
  content[0] = "top";
  content[1] = "5";
  content[3] = "abc";
  content[5] = " 12 ";
  content[13] = "-40";
  content[19] = "160";
  content[20] = "x";
  std::string image;
  for (const auto& l : content) image += (image.empty() ? "" : "\r") + l;
  WriteText(path, image);
  TSettingsSource source;
  TSettingsLines lines = LoadSettingsLines(path, &source);
  ASSERT_EQ(lines.size(), 21u);
  const TEditorSettings editor = ReadEditorSettings(lines);
  EXPECT_EQ(editor.BackColor, 5);
  EXPECT_EQ(editor.BlankColor, 0);   // "abc": default
  EXPECT_EQ(editor.GridStep1, 12);
  EXPECT_EQ(editor.GridStep2, 16);   // empty line: default
  ReadOutputSettings(lines);
  EXPECT_EQ(HOffset, -40);
  EXPECT_EQ(ScanDelay, 160);
  EXPECT_EQ(HSize, 20);              // past the end of the file
  EXPECT_EQ(BlankingDelay, 100);

  ASSERT_TRUE(SaveSettingsFile(path, lines, editor, source));
  const TSettingsLines written = LoadSettingsLines(path);
  ASSERT_EQ(written.size(), 44u);
  EXPECT_EQ(written[0], "top");
  EXPECT_EQ(written[3], "0");        // repaired
  EXPECT_EQ(written[20], "x");       // an unused line that was there stays
  EXPECT_EQ(written[21], "20");
  EXPECT_EQ(written[22], "VSize");   // the missing ones are labelled
  EXPECT_EQ(ReadText(path).find("\n"), std::string::npos);  // the file's CR endings stay
}

TEST_F(SettingsFile, FailedSaveReportsAndKeepsTheOldFile) {
  const std::string path = dir.Path("Kavri.ini");
  WriteText(path, "old\r\n");
  TSettingsSource source;
  TSettingsLines lines = LoadSettingsLines(path, &source);
  std::string error;
  EXPECT_FALSE(SaveSettingsFile(dir.Path("no/such/folder/Kavri.ini"), lines, DefaultEditorSettings(), {}, &error));
  EXPECT_FALSE(error.empty());

  // Writing over the file itself fails halfway: the old file stays as it was.
  error.clear();
  bool saved = true;
  {
    FileSizeLimit limit(16);
    ASSERT_TRUE(limit.Active());
    saved = SaveSettingsFile(path, lines, DefaultEditorSettings(), source, &error);
  }
  EXPECT_FALSE(saved);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadText(path), "old\r\n");
}

TEST_F(SettingsFile, ReplacedLinesAreNamedWithWhatTheyHeldAndWhatIsUsed) {
  TSettingsLines lines = SampleLines();
  lines[19] = "fast";  // ScanDelay: not a number
  lines[21] = "99";    // HSize: out of range
  ASSERT_EQ(lines[27], "300");  // UsbPipe: its low byte
  lines[29] = " 40 ";  // blanks around a usable number are no replacement
  lines[23] = "\xc3\xa9" + std::string(38, '1') + "\xc3\xa9" + std::string(3000, '2');  // quoted cut, "é" kept whole
  TSettingsSource found;
  found.found = true;
  const std::string report = DescribeReplacedSettings(lines, found);
  for (const std::string& expected : std::vector<std::string>{"line 20 (ScanDelay) held \"fast\": 75 is used instead",
                                      "line 22 (HSize) held \"99\": 40 is used instead",
                                      "line 24 (VSize) held \"\xc3\xa9" + std::string(38, '1') + "…\": 20 is used instead",
                                      "line 28 (UsbPipe) held \"300\": 44 is used instead"})
    EXPECT_NE(report.find(expected), std::string::npos) << expected << "\n" << report;
  EXPECT_EQ(report.find("line 30"), std::string::npos) << report;
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 5) << report;  // the heading and four lines

  TSettingsLines usable = SampleLines();
  usable[27] = "2";
  EXPECT_EQ(DescribeReplacedSettings(usable, found), "");
  EXPECT_EQ(DescribeReplacedSettings({}, TSettingsSource{}), "");  // a first start: nothing to tell
  lines.resize(40);
  EXPECT_NE(DescribeReplacedSettings(lines, found).find("line 42 (BlueSaturation) is missing: 100 is used instead"),
            std::string::npos);

}

// A file of the values on their lines (21 usable numbers and a path), labels between them, and
// `after` after line 43; each line ends with `lineBreak`.
std::string OperatorsFile(const std::string& label, const std::string& after, const std::string& lineBreak = "\r\n") {
  TSettingsLines lines = SampleLines();
  lines[27] = "3";  // usable as it stands, so nothing is reported
  lines.resize(kSettingsLineCount);
  for (int i = 0; i < kSettingsLineCount; i += 2) lines[static_cast<size_t>(i)] = label + std::to_string(i);
  std::string image;
  for (const std::string& line : lines) image += line + lineBreak;
  return image + after;
}

std::string Lines(size_t count, size_t bytes) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += std::string(bytes - std::to_string(i).size(), 'n') + std::to_string(i) + "\r\n";
  return text;
}

// What an exit writes when the blanking delay was changed: the file as it was, but line 25.
std::string WithBlankingDelay(std::string image, const std::string& lineBreak) {
  size_t at = 0;
  for (int line = 0; line < 25; ++line) at = image.find(lineBreak, at) + lineBreak.size();
  return image.replace(at, image.find(lineBreak, at) - at, "33");
}

// Any number of lines of any length, within the byte bound: the values are used and at exit only
// the value lines change.
TEST_F(SettingsFile, EveryLineOfAFileWithinTheBoundIsKeptAndItsValuesUsed) {
  const std::string path = dir.Path("Kavri.ini");
  struct Case {
    const char* what;
    std::string image;
    std::string lineBreak;
  };
  const Case cases[] = {
      {"250 label lines after line 43", OperatorsFile("label ", Lines(250, 30)), "\r\n"},
      {"a label of 5,000 bytes", OperatorsFile(std::string(5000, 'L'), "after\r\n"), "\r\n"},
      {"2,000 lines of 100 bytes", OperatorsFile("; ", Lines(2000, 100)), "\r\n"},
      {"LF endings and no final break", OperatorsFile("# ", "x\ny"   , "\n"), "\n"},
      {"reworded labels, CR endings", OperatorsFile("Scan rate etc. ", "", "\r"), "\r"},
      {"right at the bound", [] {
         std::string image = OperatorsFile("l", "");
         return image + std::string(kSettingsFileMaxBytes - image.size(), '\n');
       }(), "\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetSharedState();
    WriteText(path, c.image);
    TSettingsSource source;
    TSettingsLines lines = LoadSettingsLines(path, &source);
    EXPECT_TRUE(source.found && source.whole);
    EXPECT_EQ(DescribeReplacedSettings(lines, source), "");
    ReadOutputSettings(lines);
    EXPECT_EQ(ScanDelay, 150);
    EXPECT_EQ(Intensity, 140);
    EXPECT_EQ(MediaPlayerPath(), "C:\\Players\\play.exe");
    EXPECT_EQ(ReadEditorSettings(lines).GridStep2, 24);
    BlankingDelay = 33;
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(path, lines, ReadEditorSettings(lines), source, &error)) << error;
    EXPECT_EQ(ReadText(path), WithBlankingDelay(c.image, c.lineBreak));
    EXPECT_FALSE(FileExists(path + ".bad"));
  }
}

// The exit may write longer values than it read (the longest player path, the widest numbers): a
// file within the bound is read whole again after it, and one whose other lines alone pass the
// bound is not read whole in the first place.
TEST_F(SettingsFile, AFileAtTheBoundIsReadWholeAgainAfterTheExitWroteItsLongestValues) {
  const std::string path = dir.Path("Kavri.ini");
  const TSettingsLines sample = SampleLines();
  size_t valueBytes = 0;
  for (int line = 1; line < kSettingsLineCount; line += 2) valueBytes += sample[static_cast<size_t>(line)].size();
  const std::string image = JoinTextLines(sample);
  const std::string longestPath(kMaxPlayerPathBytes, 'p');
  for (const auto& [otherBytes, whole] : {std::pair{kSettingsFileMaxBytes, true}, std::pair{kSettingsFileMaxBytes + 1, false}}) {
    SCOPED_TRACE(otherBytes);
    ResetSharedState();
    const std::string file = image + std::string(otherBytes - (image.size() - valueBytes), '\n');
    WriteText(path, file);
    TSettingsSource source;
    TSettingsLines lines = LoadSettingsLines(path, &source);
    EXPECT_EQ(source.whole, whole);
    if (!whole) continue;
    ReadOutputSettings(lines);
    SetMediaPlayerPath(longestPath);
    HOffset = -256;
    VOffset = -256;
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(path, lines, {-2147483647 - 1, 0, 1, 1, 1, 3}, source, &error)) << error;
    ASSERT_GT(ReadText(path).size(), file.size() + kMaxPlayerPathBytes / 2);
    TSettingsSource again;
    const TSettingsLines reread = LoadSettingsLines(path, &again);
    EXPECT_TRUE(again.whole) << again.problem;
    EXPECT_EQ(again.rest, source.rest);
    EXPECT_EQ(ReadMediaPlayerPath(reread), longestPath);
    EXPECT_EQ(reread[1], "-2147483648");
  }
}

// A file past the bound starts small; its values, in its first lines, are used where they were read
// whole, and the file itself is kept beside the new one, never rewritten.
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limit leaves
TEST_F(SettingsFile, AFilePastTheBoundIsReadByItsFirstLinesAndKeptAside) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  const std::string path = dir.Path("Kavri.ini");
  struct Case {
    const char* what;
    std::function<std::string()> image;
    int32_t scanDelay;  // line 19
    int32_t intensity;  // line 43
    size_t linesRead;
    const char* missing;  // a line the box names as not read
  };
  const Case cases[] = {
      {"64 MiB of line breaks after the values", [] { return OperatorsFile("label ", std::string(64u << 20, '\n')); },
       150, 140, 44, nullptr},
      {"a label of 64 MiB on line 40",
       [] {
         std::string image = OperatorsFile("label ", "");
         return image.insert(image.find("label 40") , std::string(64u << 20, 'L'));
       },
       150, 100, 40, "line 42 (BlueSaturation) is missing: 100 is used instead"},
      {"a value line of 2 MiB, cut by the bound",
       [] {
         TSettingsLines lines = SampleLines();
         lines[19] = std::string(2u << 20, '7');
         return JoinTextLines(lines);
       },
       75, 100, 19, "line 20 (ScanDelay) is missing: 75 is used instead"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string image = c.image();
    WriteText(path, image);
    EXPECT_EQ(kavri_test::RunInChild(30, [&] {
                if (!kavri_test::LimitAddressSpaceGrowth(16u << 20)) return false;
                TSettingsSource source;
                TSettingsLines lines = LoadSettingsLines(path, &source);
                const std::string report = DescribeReplacedSettings(lines, source);
                ReadOutputSettings(lines);
                const bool told = report.find("is larger than the 1048576 bytes that the start-up reads") != std::string::npos &&
                                  report.find("kept as \"" + path + ".bad\"") != std::string::npos &&
                                  (!c.missing || report.find(c.missing) != std::string::npos) && report.size() < 2000;
                return !source.whole && lines.size() == c.linesRead && told && ScanDelay == c.scanDelay &&
                       Intensity == c.intensity && SaveSettingsFile(path, lines, ReadEditorSettings(lines), source);
              }),
              "");
    EXPECT_TRUE(ReadText(path + ".bad") == image) << "the operator's file is not kept as it was";
    TSettingsSource again;
    const TSettingsLines written = LoadSettingsLines(path, &again);
    EXPECT_TRUE(again.whole);
    ASSERT_EQ(written.size(), 44u);
    EXPECT_EQ(ReadSettingLine(written, 19), c.scanDelay);
    EXPECT_EQ(written[0], image.substr(0, image.find_first_of("\r\n")));  // a label read is kept
    ::unlink((path + ".bad").c_str());
  }
}
#endif

// A name already taken by a file kept earlier is not written over: the next free one is used, and
// when none can be had the file is left as it is.
TEST_F(SettingsFile, AKeptFileNeverReplacesAnEarlierOne) {
  const std::string path = dir.Path("Kavri.ini");
  const std::string big = OperatorsFile("label ", std::string(kSettingsFileMaxBytes, '\n'));
  WriteText(path + ".bad", "kept earlier\r\n");
  WriteText(path, big);
  TSettingsSource source;
  TSettingsLines lines = LoadSettingsLines(path, &source);
  EXPECT_EQ(source.keptAs, path + ".bad2");
  ReadOutputSettings(lines);
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(path, lines, ReadEditorSettings(lines), source, &error)) << error;
  EXPECT_EQ(ReadText(path + ".bad"), "kept earlier\r\n");
  EXPECT_TRUE(ReadText(path + ".bad2") == big);
  EXPECT_EQ(ReadSettingLine(LoadSettingsLines(path), 19), 150);

  // Every name taken: nothing is written and the file stays.
  WriteText(path, big);
  for (int n = 3; n <= 99; ++n) WriteText(path + ".bad" + std::to_string(n), "x");
  lines = LoadSettingsLines(path, &source);
  EXPECT_FALSE(SaveSettingsFile(path, lines, ReadEditorSettings(lines), source, &error));
  EXPECT_NE(error.find("every name for it is taken"), std::string::npos) << error;
  EXPECT_TRUE(ReadText(path) == big);
}

// A link is written through only to the file that was read as the settings file; anything else it
// leads to (a file past the bound, nothing, another file by the exit) is left alone, and the link
// is kept aside for a new file in the program folder.
TEST_F(SettingsFile, ALinkIsWrittenThroughOnlyToTheFileThatWasRead) {
  ScratchDir outside;
  const std::string path = dir.Path("Kavri.ini");
  const std::string target = outside.Path("notes.txt");
  const std::string settings = OperatorsFile("label ", "after\r\n");
  const std::string big = Lines(300, 40) + std::string(kSettingsFileMaxBytes, 'x');
  struct Case {
    const char* what;
    const char* content;  // of the target; nullptr: none
    bool writtenThrough;
    std::function<void()> beforeExit;
  };
  const Case cases[] = {
      {"a settings file outside", "settings", true, {}},
      {"a text file past the bound", "big", false, {}},
      {"nothing (a dangling link)", nullptr, false, {}},
      {"another file by the exit", "settings", false, [&] {
         ::unlink(path.c_str());
         WriteText(outside.Path("other.txt"), "other\r\n");
         ASSERT_EQ(::symlink(outside.Path("other.txt").c_str(), path.c_str()), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetSharedState();
    ::unlink(target.c_str());
    ::unlink(path.c_str());
    ::unlink((path + ".bad").c_str());
    const std::string content = !c.content ? "" : std::string(c.content) == "big" ? big : settings;
    if (c.content) WriteText(target, content);
    ASSERT_EQ(::symlink(target.c_str(), path.c_str()), 0);
    TSettingsSource source;
    TSettingsLines lines = LoadSettingsLines(path, &source);
    if (c.beforeExit) c.beforeExit();
    ReadOutputSettings(lines);
    BlankingDelay = 33;
    std::string error;
    ASSERT_TRUE(SaveSettingsFile(path, lines, ReadEditorSettings(lines), source, &error)) << error;
    struct stat st {};
    if (c.writtenThrough) {
      EXPECT_EQ(ReadText(target), WithBlankingDelay(settings, "\r\n"));
      ASSERT_EQ(::lstat(path.c_str(), &st), 0);
      EXPECT_TRUE(S_ISLNK(st.st_mode));
      EXPECT_FALSE(FileExists(path + ".bad"));
      continue;
    }
    if (c.content) {
      EXPECT_TRUE(ReadText(target) == content);
    }
    EXPECT_NE(::lstat(target.c_str(), &st) != 0, c.content != nullptr) << "a file was made where the link led";
    EXPECT_EQ(ReadText(outside.Path("other.txt")), c.beforeExit ? "other\r\n" : "");
    ASSERT_EQ(::lstat((path + ".bad").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(ReadSettingLine(LoadSettingsLines(path), 25), 33);
    ::unlink(outside.Path("other.txt").c_str());
  }
}

TEST_F(SettingsFile, AProtectedFileIsLeftAsItIsAndAFifoIsNeitherWaitedOnNorReplaced) {
  const std::string path = dir.Path("Kavri.ini");
  WriteText(path, "protected\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  TSettingsSource source;
  TSettingsLines lines = LoadSettingsLines(path, &source);
  std::string error;
  EXPECT_FALSE(SaveSettingsFile(path, lines, DefaultEditorSettings(), source, &error));
  EXPECT_EQ(error, "Cannot write " + path + ": the file is read-only");
  EXPECT_EQ(ReadText(path), "protected\r\n");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);

  const std::string fifo = dir.Path("pipe.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(kavri_test::RunInChild(10, [&] {
              TSettingsSource fifoSource;
              return LoadSettingsLines(fifo, &fifoSource).empty() && fifoSource.found && !fifoSource.whole;
            }),
            "");
  EXPECT_FALSE(SaveSettingsFile(fifo, lines, DefaultEditorSettings(), {}, &error));
  EXPECT_EQ(error, "Cannot replace " + fifo + ": not a regular file");
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// A file that stands there and cannot be read is the operator's all the same: the start says so and
// uses the initial values, and the exit keeps it aside, byte for byte, beside a new file, where it
// used to write over one it could write.
TEST_F(SettingsFile, AFileThatCannotBeReadIsReportedAndKeptAside) {
  const std::string path = dir.Path("Kavri.ini");
  const std::string image = OperatorsFile("label ", "");
  WriteText(path, image);
  EXPECT_EQ(kavri_test::RunInChild(30, [&] {
              if (!kavri_test::BecomeOrdinaryUser({dir.Path()}) || ::chmod(path.c_str(), 0200) != 0) return false;
              TSettingsSource source;
              TSettingsLines lines = LoadSettingsLines(path, &source);
              const std::string report = DescribeReplacedSettings(lines, source);
              const bool told = report.find("Cannot read " + path + ": Permission denied") == 0 &&
                                report.find("The initial settings are used") != std::string::npos &&
                                report.find("kept as \"" + path + ".bad\"") != std::string::npos;
              ReadOutputSettings(lines);
              return lines.empty() && told && SaveSettingsFile(path, lines, DefaultEditorSettings(), source) &&
                     ::chmod((path + ".bad").c_str(), 0600) == 0;
            }),
            "");
  EXPECT_TRUE(ReadText(path + ".bad") == image) << "the operator's file is not kept as it was";
  const TSettingsLines written = LoadSettingsLines(path);
  ASSERT_EQ(written.size(), 44u);
  EXPECT_EQ(ReadSettingLine(written, 19), FindSettingLine(19)->initial);
}
