#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <functional>

#include "engine/shared_state.h"
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

  bool found = false;
  TSettingsLines lines = LoadSettingsLines(path, &found);
  ASSERT_TRUE(found);
  ASSERT_EQ(lines, original);
  TEditorSettings editor = ReadEditorSettings(lines);
  ReadOutputSettings(lines);
  editor.BlankColor = 77;
  BlankingDelay = 33;
  SetMediaPlayerPath("/usr/bin/mpv\r\n");
  std::string error;
  ASSERT_TRUE(SaveSettingsFile(path, lines, editor, &error)) << error;

  TSettingsLines expected = original;
  expected[3] = "77";
  expected[25] = "33";
  expected[27] = "44";  // the pipe as read (the low byte of 300) is what gets written back
  expected[35] = "/usr/bin/mpv";
  std::string expectedImage;
  for (const auto& l : expected) expectedImage += l + "\r\n";
  EXPECT_EQ(ReadText(path), expectedImage);
}

TEST_F(SettingsFile, MissingFileGivesDefaultsAndIsWrittenWhole) {
  const std::string path = dir.Path("Kavri.ini");
  bool found = true;
  TSettingsLines lines = LoadSettingsLines(path, &found);
  EXPECT_FALSE(found);
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

  ASSERT_TRUE(SaveSettingsFile(path, lines, editor));
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
  TSettingsLines lines = LoadSettingsLines(path);
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

  ASSERT_TRUE(SaveSettingsFile(path, lines, editor));
  const TSettingsLines written = LoadSettingsLines(path);
  ASSERT_EQ(written.size(), 44u);
  EXPECT_EQ(written[0], "top");
  EXPECT_EQ(written[3], "0");        // repaired
  EXPECT_EQ(written[20], "x");       // an unused line that was there stays
  EXPECT_EQ(written[21], "20");
  EXPECT_EQ(written[22], "VSize");   // the missing ones are labelled
  EXPECT_EQ(ReadText(path).find('\n'), ReadText(path).find("\r\n") + 1);
}

TEST_F(SettingsFile, FailedSaveReportsAndKeepsTheOldFile) {
  const std::string path = dir.Path("Kavri.ini");
  WriteText(path, "old\r\n");
  TSettingsLines lines = LoadSettingsLines(path);
  std::string error;
  EXPECT_FALSE(SaveSettingsFile(dir.Path("no/such/folder/Kavri.ini"), lines, DefaultEditorSettings(), &error));
  EXPECT_FALSE(error.empty());

  // Writing over the file itself fails halfway: the old file stays as it was.
  error.clear();
  bool saved = true;
  {
    FileSizeLimit limit(16);
    ASSERT_TRUE(limit.Active());
    saved = SaveSettingsFile(path, lines, DefaultEditorSettings(), &error);
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
  const std::string report = DescribeReplacedSettings(lines, true);
  for (const std::string& expected : std::vector<std::string>{"line 20 (ScanDelay) held \"fast\": 75 is used instead",
                                      "line 22 (HSize) held \"99\": 40 is used instead",
                                      "line 24 (VSize) held \"\xc3\xa9" + std::string(38, '1') + "…\": 20 is used instead",
                                      "line 28 (UsbPipe) held \"300\": 44 is used instead"})
    EXPECT_NE(report.find(expected), std::string::npos) << expected << "\n" << report;
  EXPECT_EQ(report.find("line 30"), std::string::npos) << report;
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 5) << report;  // the heading and four lines

  TSettingsLines usable = SampleLines();
  usable[27] = "2";
  EXPECT_EQ(DescribeReplacedSettings(usable, true), "");
  EXPECT_EQ(DescribeReplacedSettings({}, false), "");  // a first start: nothing to tell
  lines.resize(40);
  EXPECT_NE(DescribeReplacedSettings(lines, true).find("line 42 (BlueSaturation) is missing: 100 is used instead"),
            std::string::npos);

  // A refused file names its lines as the report does, counting from 1 as a text editor does.
  const std::string path = dir.Path("Kavri.ini");
  lines = SampleLines();
  lines[19] = std::string(5000, '7');
  WriteText(path, JoinTextLines(lines));
  bool found = false;
  std::string refusal;
  EXPECT_TRUE(LoadSettingsLines(path, &found, &refusal).empty());
  EXPECT_TRUE(found);
  EXPECT_NE(refusal.find("its line 20 is 5000 bytes long"), std::string::npos) << refusal;
}

// The player path written at exit is one the next start reads: up to the bytes a line holds.
TEST_F(SettingsFile, APlayerPathIsSavedWhileALineHoldsItAndNeverLonger) {
  const std::string path = dir.Path("Kavri.ini");
  const std::string longest = std::string(kSettingsFileRule.maxLineBytes - 2, 'p') + "\xc3\xa9";  // bytes, not characters
  for (const auto& [player, saved] : {std::pair{longest, true}, std::pair{longest + "p", false}}) {
    SCOPED_TRACE(player.size());
    WriteText(path, "old\r\n");
    TSettingsLines lines = LoadSettingsLines(path);
    SetMediaPlayerPath(player);
    std::string error;
    EXPECT_EQ(SaveSettingsFile(path, lines, DefaultEditorSettings(), &error), saved) << error;
    std::string refusal;
    EXPECT_EQ(ReadMediaPlayerPath(LoadSettingsLines(path, nullptr, &refusal)), saved ? player : "") << refusal;
  }
}

// The address space this process holds now.
rlim_t AddressSpaceInUse() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmSize:", 0) == 0) return std::stoull(line.substr(7)) * 1024;
  return 0;
}

// A broken file is found out from its size and its lines' lengths before any line is made: it costs
// no more than a good one, is told in a few lines and is written back at its normal size at exit.
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limit leaves
TEST_F(SettingsFile, ABrokenFileCostsNoMoreThanAGoodOneAndIsWrittenBackAtItsNormalSize) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  const std::string path = dir.Path("Kavri.ini");
  const auto withLine = [](int line, std::string text) {
    TSettingsLines lines = SampleLines();
    lines[static_cast<size_t>(line)] = std::move(text);
    return JoinTextLines(lines);
  };
  struct Case {
    const char* what;
    std::function<std::string()> image;
    std::string refusal;  // what the report says
  };
  const Case cases[] = {
      {"one 64 MiB value line", [&] { return withLine(19, std::string(64u << 20, '7')); },
       "Cannot read " + path + ": the file is larger than 1049088 bytes"},
      {"64 MiB of line breaks", [] { return std::string(64u << 20, '\n'); },
       "Cannot read " + path + ": the file is larger than 1049088 bytes"},
      {"a player path longer than a line may be", [&] { return withLine(35, std::string(100000, 'p')); },
       "\"Kavri.ini\" was not opened: its line 36 is 100000 bytes long, more than the 4096 that the start-up takes."},
      {"a short file of many lines", [] { return JoinTextLines(SampleLines()) + std::string(100000, '\n'); },
       "\"Kavri.ini\" was not opened: it has 100047 lines, more than the 256 that the start-up takes."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteText(path, c.image());
    EXPECT_EQ(kavri_test::RunInChild(30, [&] {
                const rlim_t bound = AddressSpaceInUse() + (128u << 20);
                const rlimit limit{bound, bound};
                if (setrlimit(RLIMIT_AS, &limit) != 0) return false;
                bool found = false;
                std::string refusal;
                TSettingsLines lines = LoadSettingsLines(path, &found, &refusal);
                const std::string report = DescribeReplacedSettings(lines, found, refusal);
                ReadOutputSettings(lines);
                const bool saved = SaveSettingsFile(path, lines, ReadEditorSettings(lines));
                return saved && report.find(c.refusal) != std::string::npos && report.size() < 500 && ScanDelay == 75;
              }),
              "");
    const std::string written = ReadText(path);
    EXPECT_LT(written.size(), 1000u);
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), kSettingsLineCount);
  }
}
#endif

TEST_F(SettingsFile, AProtectedFileIsLeftAsItIsAndAFifoIsNeitherWaitedOnNorReplaced) {
  const std::string path = dir.Path("Kavri.ini");
  WriteText(path, "protected\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  TSettingsLines lines = LoadSettingsLines(path);
  std::string error;
  EXPECT_FALSE(SaveSettingsFile(path, lines, DefaultEditorSettings(), &error));
  EXPECT_EQ(error, "Cannot write " + path + ": the file is read-only");
  EXPECT_EQ(ReadText(path), "protected\r\n");
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0444u);

  const std::string fifo = dir.Path("pipe.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(kavri_test::RunInChild(10, [&] {
              bool found = true;
              return LoadSettingsLines(fifo, &found).empty() && !found;
            }),
            "");
  EXPECT_FALSE(SaveSettingsFile(fifo, lines, DefaultEditorSettings(), &error));
  EXPECT_EQ(error, "Cannot replace " + fifo + ": not a regular file");
  ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}
