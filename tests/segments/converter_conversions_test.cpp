#include "segments/converter_conversions.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/colour_tables.h"
#include "engine/drawing.h"
#include "engine/ilda_file.h"
#include "engine/section_file.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "platform/text.h"
#include "platform/text_lines.h"
#include "segments/file_list_commands.h"
#include "tests/support/child_run.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/shrinking_ilda_reads.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::ReadBytes;
using kavri_test::TextBytes;
using kavri_test::WriteBytes;

// The points of a drawing in file order, as one list.
std::vector<PointRecord> FlatPoints(const Drawing& drawing) {
  std::vector<PointRecord> points;
  for (const auto& object : drawing.Objects())
    for (const auto& p : object->Points()) points.push_back(*p);
  return points;
}

// A drawing of `count` points starting at (x0, y0), with colours and blanking that vary.
Drawing MakeDrawing(int x0, int y0, int count) {
  Drawing drawing;
  DrawingObject* object = drawing.AddObject();
  for (int i = 0; i < count; ++i) {
    PointRecord p;
    p.x = (x0 + 37 * i) % 256;
    p.y = (y0 + 91 * i) % 256;
    p.kind = i == 0 ? 2 : 0;
    p.colour = static_cast<uint8_t>(3 + 5 * i);
    p.blanked = static_cast<uint8_t>(i % 3 == 0);
    object->Add(p);
  }
  return drawing;
}

TILDAframe FrameOf(std::initializer_list<std::pair<int, int>> xy, uint8_t colour) {
  TILDAframe frame;
  for (const auto& [x, y] : xy) {
    PointRecord p;
    p.x = x;
    p.y = y;
    p.colour = colour;
    frame.points.push_back(p);
  }
  return frame;
}

class ConverterConversionsTest : public ::testing::Test {
 protected:
  ConverterConversionsTest() : scope(dir.Path()) {
    EnsureContentFolders();
    drawings.SetMask("*.ddr");
    drawings.SetDirectory(DrawingFolder());
    segments.SetMask("*.sec");
    segments.SetDirectory(SectionFolder());
    ildas.SetMask("*.ild");
    ildas.SetDirectory(IldaFolder());
  }

  void SaveDrawing(const std::string& name, const Drawing& drawing) {
    ASSERT_TRUE(SaveDrawingFile(DrawingFolder() + name, drawing, 1));
    drawings.Update();
  }
  void WriteImage(const std::string& path, std::vector<TILDAframe> frames) {
    TILDAimage image;
    for (TILDAframe& frame : frames) image.frames.push_back(std::make_unique<TILDAframe>(std::move(frame)));
    ASSERT_TRUE(WriteIldaFile(path, image));
    ildas.Update();
  }
  TILDAimage ReadImage(const std::string& path) {
    TILDAimage image;
    EXPECT_EQ(ReadIldaFile(path, image), TIldaReadResult::Ok) << path;
    return image;
  }
  void SelectIlda(const std::string& name) {
    ildas.Update();
    ildas.SetItemIndex(ildas.IndexOf(name));
    ASSERT_GE(ildas.ItemIndex(), 0) << name;
  }

  void ExpectSegmentToIldaRefused(const std::string& segment, const std::string& words) {
    segments.Update();
    segments.SetItemIndex(segments.IndexOf(segment));
    dialogs.inputAnswers.push_back(std::string("out"));
    EXPECT_FALSE(convert.SegmentToIlda());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find(SectionFolder() + segment + words), std::string::npos) << dialogs.messages[0];
    EXPECT_FALSE(FileExists(IldaFolder() + "out.ild"));
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
  TFileList drawings, segments, ildas;
  TConverterConversions convert{drawings, segments, ildas};
};

TEST_F(ConverterConversionsTest, ListToSegmentWritesOneStillRowPerDrawingThatReadsBack) {
  SaveDrawing("a.ddr", MakeDrawing(10, 20, 4));
  SaveDrawing("b.ddr", MakeDrawing(30, 40, 2));
  ASSERT_TRUE(convert.ListToSegment({"a.ddr", "b.ddr"}, "  show  ", "10"));
  EXPECT_EQ(ReadBytes(SectionFolder() + "show.sec"),
            TextBytes("a.ddr|10|0|0|0|0|0|0|0|0|0|257|20|0|30|0|85|0|0\r\n"
                      "b.ddr|10|0|0|0|0|0|0|0|0|0|257|20|0|30|0|85|0|0\r\n"));
  EXPECT_EQ(segments.SelectedName(), "show.sec");
  EXPECT_TRUE(dialogs.shown.empty());

  TSectionList rows;
  ASSERT_TRUE(LoadSectionFile(SectionFolder() + "show.sec", rows, ProgramFolder()));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]->A, 10);
  EXPECT_EQ(rows[0]->K, 257);
  EXPECT_EQ(rows[0]->L, 20);
  EXPECT_EQ(rows[0]->N, 30);
  EXPECT_EQ(rows[0]->P, 85);
  EXPECT_EQ(rows[0]->drawing->PointCount(), 4u);
  EXPECT_EQ(rows[1]->drawing->PointCount(), 2u);
}

// The segment conversions write only what the segment reader takes: the most rows and the longest
// time text are written and read back; past either the conversion is refused before anything is
// written, with the limit named and the old segment kept.
TEST_F(ConverterConversionsTest, SegmentConversionsWriteWhatOpensAndRefuseWhatWouldNot) {
  const std::string longTime = std::string(kMaxTypedTextChars - 1, ' ') + "7";
  const struct {
    const char* name;
    size_t rows;
    std::string time;
    const char* refusal;  // "" when it is written
  } cases[] = {
      {"most", kSegmentFileRule.maxLines, "10", ""},
      {"longest", 2, longTime, ""},
      {"over", kSegmentFileRule.maxLines + 1, "10",
       "\"over.sec\" was not saved: it would have 100001 lines, more than the 100000 that Segment Edit takes."},
      {"huge", 2100, longTime,
       "\"huge.sec\" was not saved: it would be 68909400 bytes long, more than the 67108864 that Segment Edit takes."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = SectionFolder() + c.name + ".sec";
    WriteBytes(path, TextBytes("x.ddr|1\r\n"));
    dialogs.messages.clear();
    if (!*c.refusal) dialogs.confirmAnswers.push_back(TDialogAnswer::Yes);  // replace the old segment
    const bool written = convert.ListToSegment(std::vector<std::string>(c.rows, "a.ddr"), c.name, c.time);
    TSectionList rows;
    if (*c.refusal) {
      EXPECT_FALSE(written);
      EXPECT_EQ(dialogs.messages, std::vector<std::string>{c.refusal});
      EXPECT_EQ(ReadBytes(path), TextBytes("x.ddr|1\r\n"));
      continue;
    }
    ASSERT_TRUE(written);
    ASSERT_TRUE(LoadSectionFile(path, rows, ProgramFolder()));
    ASSERT_EQ(rows.size(), c.rows);
    EXPECT_EQ(rows.back()->A, std::stoi(c.time));
  }

  // An image of more frames than a segment has rows: refused before any drawing is written.
  WriteImage(IldaFolder() + "long.ild", std::vector<TILDAframe>(kSegmentFileRule.maxLines + 1, FrameOf({{1, 2}}, 3)));
  SelectIlda("long.ild");
  dialogs.messages.clear();
  dialogs.inputAnswers.push_back(std::string("frames"));
  EXPECT_FALSE(convert.IldaToSegment("10"));
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"\"frames.sec\" was not saved: it would have 100001 lines, "
                                                       "more than the 100000 that Segment Edit takes."});
  EXPECT_FALSE(FileExists(SectionFolder() + "frames.sec"));
  drawings.Update();
  EXPECT_EQ(drawings.Count(), 0);
}

TEST_F(ConverterConversionsTest, TargetNamesGetTheirExtensionUnlessTheyHaveItInAnyCase) {
  struct Case {
    const char* typed;
    const char* written;
  };
  for (const Case& c : {Case{"abc.SEC", "abc.SEC"}, Case{"abc.txt", "abc.txt.sec"}, Case{"abc", "abc.sec"}}) {
    SCOPED_TRACE(c.typed);
    ASSERT_TRUE(convert.ListToSegment({}, c.typed, "10"));
    EXPECT_TRUE(FileExists(SectionFolder() + c.written));
    EXPECT_EQ(ReadBytes(SectionFolder() + c.written), TextBytes(""));  // an empty list writes an empty file
  }
  SaveDrawing("a.ddr", MakeDrawing(0, 0, 1));
  ASSERT_TRUE(convert.ListToIlda({"a.ddr"}, "pic.ILD"));
  EXPECT_TRUE(FileExists(IldaFolder() + "pic.ILD"));
  EXPECT_EQ(ildas.SelectedName(), "pic.ILD");
  // Empty names and names with a folder part write nothing; the merge name is taken untrimmed.
  // A name with a folder part or a leading "." says why, in the words every window uses; an empty
  // one says nothing.
  for (const char* typed : {"", "   ", "../out", "sub/x", ".hidden"}) {
    SCOPED_TRACE(typed);
    dialogs.messages.clear();
    EXPECT_FALSE(convert.ListToSegment({"a.ddr"}, typed, "10"));
    EXPECT_FALSE(convert.ListToIlda({"a.ddr"}, typed));
    size_t refusals = Trim(typed).empty() ? 0 : 2;
    if (std::string(typed) != "   ") {
      EXPECT_FALSE(convert.MergeIlda({IldaFolder() + "pic.ILD"}, typed));
      if (refusals) ++refusals;
    }
    EXPECT_EQ(dialogs.messages, std::vector<std::string>(refusals, kRefusedNameText));
  }
  EXPECT_FALSE(convert.ListToIlda({}, "pic2"));
  EXPECT_FALSE(convert.MergeIlda({}, "pic2"));
  EXPECT_FALSE(FileExists(dir.Path("out.sec")));
  EXPECT_FALSE(FileExists(SectionFolder() + ".hidden.sec"));
  EXPECT_FALSE(FileExists(IldaFolder() + ".hidden.ild"));
  EXPECT_FALSE(FileExists(IldaFolder() + "pic2.ild"));
}

TEST_F(ConverterConversionsTest, TimeTextsThatWouldNotReadBackAreRefusedWithTheConversionMessage) {
  struct Case {
    const char* time;
    const char* message;  // "" when accepted
    int value;            // as read back
  };
  const Case cases[] = {
      {"", "", 0},
      {" 12 ", "", 12},
      {"-3", "", -3},
      {"1.5", "'1.5' is not a valid integer value", 0},
      {"ten", "'ten' is not a valid integer value", 0},
      {"1|2", "'1|2' is not a valid integer value", 0},
      {"4294967296", "'4294967296' is not a valid integer value", 0},
  };
  SaveDrawing("a.ddr", MakeDrawing(0, 0, 1));
  WriteImage(IldaFolder() + "one.ild", {FrameOf({{1, 2}}, 3)});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    dialogs.messages.clear();
    const bool accepted = std::string(c.message).empty();
    EXPECT_EQ(convert.ListToSegment({"a.ddr"}, "list", c.time), accepted);
    SelectIlda("one.ild");
    dialogs.inputAnswers.push_back(std::string("frames"));
    EXPECT_EQ(convert.IldaToSegment(c.time), accepted);
    if (accepted) {
      // Written as typed, read back as the number.
      TSectionList rows;
      ASSERT_TRUE(LoadSectionFile(SectionFolder() + "frames.sec", rows, ProgramFolder()));
      ASSERT_EQ(rows.size(), 1u);
      EXPECT_EQ(rows[0]->A, c.value);
      EXPECT_TRUE(dialogs.messages.empty());
      ASSERT_EQ(::unlink((SectionFolder() + "list.sec").c_str()), 0);
      ASSERT_EQ(::unlink((SectionFolder() + "frames.sec").c_str()), 0);
      ASSERT_EQ(::unlink((DrawingFolder() + "frames_sec_00001.ddr").c_str()), 0);
    } else {
      EXPECT_EQ(dialogs.messages, (std::vector<std::string>{c.message, c.message}));
      dialogs.inputAnswers.clear();
      EXPECT_FALSE(FileExists(SectionFolder() + "list.sec"));
      EXPECT_FALSE(FileExists(SectionFolder() + "frames.sec"));
      EXPECT_FALSE(FileExists(DrawingFolder() + "frames_sec_00001.ddr"));
    }
  }
}

TEST_F(ConverterConversionsTest, NamesHoldingABarAreRefusedBeforeAnythingIsWritten) {
  WriteImage(IldaFolder() + "one.ild", {FrameOf({{1, 2}}, 3)});
  SelectIlda("one.ild");
  dialogs.inputAnswers.push_back(std::string("a|b"));
  EXPECT_FALSE(convert.IldaToSegment("10"));
  EXPECT_FALSE(convert.ListToSegment({"ok.ddr", "x|y.ddr"}, "list", "10"));
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_NE(dialogs.messages[0].find("'|'"), std::string::npos) << dialogs.messages[0];
  drawings.Update();
  segments.Update();
  EXPECT_EQ(drawings.Count(), 0);
  EXPECT_EQ(segments.Count(), 0);
}

TEST_F(ConverterConversionsTest, AnExistingTargetIsReplacedOnlyOnYes) {
  SaveDrawing("a.ddr", MakeDrawing(0, 0, 3));
  WriteBytes(SectionFolder() + "old.sec", TextBytes("x.ddr|1\r\n"));
  WriteBytes(IldaFolder() + "old.ild", TextBytes("keep"));
  WriteImage(IldaFolder() + "src.ild", {FrameOf({{1, 2}}, 3)});

  dialogs.confirmAnswers = {TDialogAnswer::No, TDialogAnswer::No, TDialogAnswer::No};
  EXPECT_FALSE(convert.ListToSegment({"a.ddr"}, "old", "10"));
  EXPECT_FALSE(convert.ListToIlda({"a.ddr"}, "old"));
  EXPECT_FALSE(convert.MergeIlda({IldaFolder() + "src.ild"}, "old"));
  EXPECT_EQ(ReadBytes(SectionFolder() + "old.sec"), TextBytes("x.ddr|1\r\n"));
  EXPECT_EQ(ReadBytes(IldaFolder() + "old.ild"), TextBytes("keep"));
  std::vector<std::string> questions;
  for (const auto& shown : dialogs.shown) questions.push_back(shown.text);
  EXPECT_EQ(questions, (std::vector<std::string>{"This segment have exists,replace it?",
                                                 "Image have exists,replace it?",
                                                 "This ILD have exists,replace it?"}));

  dialogs.confirmAnswers = {TDialogAnswer::Yes, TDialogAnswer::Yes};
  EXPECT_TRUE(convert.ListToSegment({"a.ddr"}, "old", "10"));
  EXPECT_TRUE(convert.MergeIlda({IldaFolder() + "src.ild"}, "old"));
  EXPECT_EQ(ReadImage(IldaFolder() + "old.ild").frames.size(), 1u);
  EXPECT_NE(ReadBytes(SectionFolder() + "old.sec"), TextBytes("x.ddr|1\r\n"));
}

TEST_F(ConverterConversionsTest, ListToIldaGivesOneFrameperExistingDrawingInOrder) {
  const Drawing a = MakeDrawing(5, 250, 6);
  const Drawing b = MakeDrawing(200, 7, 3);
  SaveDrawing("a.ddr", a);
  SaveDrawing("b.ddr", b);
  ASSERT_TRUE(convert.ListToIlda({"b.ddr", "gone.ddr", "a.ddr", "b.ddr"}, "list"));
  const TILDAimage image = ReadImage(IldaFolder() + "list.ild");
  ASSERT_EQ(image.frames.size(), 3u);
  const Drawing* expected[] = {&b, &a, &b};
  for (size_t f = 0; f < 3; ++f) {
    const std::vector<PointRecord> points = FlatPoints(*expected[f]);
    ASSERT_EQ(image.frames[f]->points.size(), points.size()) << f;
    for (size_t i = 0; i < points.size(); ++i) {
      const PointRecord& p = image.frames[f]->points[i];
      EXPECT_EQ(p.x, points[i].x - 128);
      EXPECT_EQ(p.y, 127 - points[i].y);
      EXPECT_EQ(p.colour, ColorIndexToIldaColor(points[i].colour));
      EXPECT_EQ(p.blanked, points[i].blanked);
    }
  }
}

TEST_F(ConverterConversionsTest, IldaToSegmentWritesNumberedDrawingsAndStillRows) {
  WriteImage(IldaFolder() + "three.ild",
             {FrameOf({{-128, 127}, {0, 0}}, 1), FrameOf({{127, -128}}, 20), FrameOf({{5, -6}, {7, 8}, {9, 10}}, 64)});
  SaveDrawing("keep.ddr", MakeDrawing(0, 0, 1));
  drawings.SetItemIndex(drawings.IndexOf("keep.ddr"));
  SelectIlda("three.ild");
  dialogs.inputAnswers.push_back(std::string("abc"));
  ASSERT_TRUE(convert.IldaToSegment("7"));
  EXPECT_EQ(ReadBytes(SectionFolder() + "abc.sec"),
            TextBytes("abc_sec_00001.ddr|7|0|0|0|0|0|0|0|0|0|0|20|0|30|0|0|0|0\r\n"
                      "abc_sec_00002.ddr|7|0|0|0|0|0|0|0|0|0|0|20|0|30|0|0|0|0\r\n"
                      "abc_sec_00003.ddr|7|0|0|0|0|0|0|0|0|0|0|20|0|30|0|0|0|0\r\n"));
  EXPECT_EQ(segments.SelectedName(), "abc.sec");
  EXPECT_EQ(drawings.Count(), 4);
  EXPECT_EQ(drawings.SelectedName(), "keep.ddr");

  Drawing drawing;
  ASSERT_TRUE(LoadDrawingFile(DrawingFolder() + "abc_sec_00003.ddr", drawing, 1));
  const std::vector<PointRecord> points = FlatPoints(drawing);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].x, 5 + 128);
  EXPECT_EQ(points[0].y, 127 + 6);
  EXPECT_EQ(points[2].y, 127 - 10);
  EXPECT_EQ(points[1].colour, IldaColorToColorIndex(64));
  ASSERT_TRUE(LoadDrawingFile(DrawingFolder() + "abc_sec_00001.ddr", drawing, 1));
  EXPECT_EQ(FlatPoints(drawing)[0].x, 0);
  EXPECT_EQ(FlatPoints(drawing)[0].y, 0);
}

TEST_F(ConverterConversionsTest, FrameDrawingNamesArePaddedToFiveDigits) {
  EXPECT_EQ(TConverterConversions::FrameDrawingName("show.sec", 1), "show_sec_00001.ddr");
  EXPECT_EQ(TConverterConversions::FrameDrawingName("show.SEC", 99999), "show_sec_99999.ddr");
  EXPECT_EQ(TConverterConversions::FrameDrawingName("a.txt.sec", 123456), "a.txt_sec_123456.ddr");
}

TEST_F(ConverterConversionsTest, DrawingToIldaToSegmentToIldaKeepsEveryCoordinate) {
  // Corners and edges of the frame space, in every colour index the palette maps.
  Drawing drawing;
  DrawingObject* object = drawing.AddObject();
  for (int i = 0; i < 256; ++i) {
    PointRecord p;
    p.x = i;
    p.y = 255 - ((i * 7) % 256);
    p.colour = static_cast<uint8_t>(i);
    p.blanked = static_cast<uint8_t>(i & 1);
    object->Add(p);
  }
  SaveDrawing("all.ddr", drawing);
  ASSERT_TRUE(convert.ListToIlda({"all.ddr"}, "first"));
  SelectIlda("first.ild");
  dialogs.inputAnswers.push_back(std::string("round"));
  ASSERT_TRUE(convert.IldaToSegment("10"));
  segments.SetItemIndex(segments.IndexOf("round.sec"));
  dialogs.inputAnswers.push_back(std::string("second"));
  ASSERT_TRUE(convert.SegmentToIlda());
  EXPECT_EQ(ildas.SelectedName(), "second.ild");

  const TILDAimage first = ReadImage(IldaFolder() + "first.ild");
  const TILDAimage second = ReadImage(IldaFolder() + "second.ild");
  ASSERT_EQ(first.frames.size(), 1u);
  ASSERT_EQ(second.frames.size(), 1u);
  const auto& a = first.frames[0]->points;
  const auto& b = second.frames[0]->points;
  ASSERT_EQ(a.size(), 256u);
  ASSERT_EQ(b.size(), a.size());
  for (size_t i = 0; i < a.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(b[i].x, a[i].x);
    EXPECT_EQ(b[i].y, a[i].y);
    EXPECT_EQ(b[i].blanked, a[i].blanked);
    EXPECT_EQ(b[i].colour, ColorIndexToIldaColor(IldaColorToColorIndex(a[i].colour)));
  }
}

TEST_F(ConverterConversionsTest, SegmentToIldaGivesOneFramePerRowAndAnEmptyFrameForAMissingDrawing) {
  SaveDrawing("a.ddr", MakeDrawing(10, 10, 2));
  WriteBytes(SectionFolder() + "rows.sec", TextBytes("a.ddr|5\r\nmissing.ddr|5\r\nA.DDR|1|2|3\r\n"));
  segments.Update();
  segments.SetItemIndex(segments.IndexOf("rows.sec"));
  dialogs.inputAnswers.push_back(std::string("rows"));
  ASSERT_TRUE(convert.SegmentToIlda());
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown.front().text, "ILD name");
  const TILDAimage image = ReadImage(IldaFolder() + "rows.ild");
  ASSERT_EQ(image.frames.size(), 3u);
  EXPECT_EQ(image.frames[0]->points.size(), 2u);
  // A frame without points is stored as one blanked point so that it does not end the file.
  ASSERT_EQ(image.frames[1]->points.size(), 1u);
  EXPECT_EQ(image.frames[1]->points[0].blanked, 1);
  EXPECT_EQ(image.frames[2]->points.size(), 2u);
  EXPECT_EQ(image.frames[2]->points[1].x, image.frames[0]->points[1].x);
}

// A segment that cannot be read is refused with the file and why, and no image is written.
TEST_F(ConverterConversionsTest, SegmentToIldaRefusesAnOversizedSegment) {
  const std::string huge = SectionFolder() + "huge.sec";
  WriteBytes(huge, {});
  std::filesystem::resize_file(huge, kMaxTextFileBytes + 1);
  ExpectSegmentToIldaRefused("huge.sec", ": the file is larger than 67108864 bytes");
}

TEST_F(ConverterConversionsTest, SegmentToIldaRefusesASegmentWithoutReadPermission) {
  const std::string locked = SectionFolder() + "locked.sec";
  WriteBytes(locked, TextBytes("a.ddr|1\r\n"));
  // Root reads a file whatever its permissions: the check runs as an ordinary user.
  EXPECT_EQ(kavri_test::RunInChild(20, [&] {
              if (!kavri_test::BecomeOrdinaryUser({dir.Path()}) || ::chmod(locked.c_str(), 0) != 0) return false;
              ExpectSegmentToIldaRefused("locked.sec", ": Permission denied");
              return !::testing::Test::HasFailure();
            }),
            "");
}

#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limits leave
// A conversion whose frames would hold more points than the ILDA reader takes is measured and
// refused before its frames are built or read, in far less memory than they would take, with a box
// naming the limit; the file of that name stays as it was.
TEST_F(ConverterConversionsTest, ConversionsPastTheIldaLimitsAreRefusedBeforeAFrameIsBuilt) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  SaveDrawing("full.ddr", MakeDrawing(0, 0, static_cast<int>(kIldaMaxFramePoints)));
  const size_t copies = kIldaMaxRecords / kIldaMaxFramePoints + 1;
  std::string lines;
  for (size_t i = 0; i < copies; ++i) lines += "full.ddr|1\r\n";
  WriteBytes(SectionFolder() + "big.sec", TextBytes(lines));
  segments.Update();
  segments.SetItemIndex(segments.IndexOf("big.sec"));
  // A file of 64 full frames, merged 9 times over.
  TILDAimage one;
  one.frames.push_back(std::make_unique<TILDAframe>(FrameOf({}, 0)));
  one.frames[0]->points.resize(kIldaMaxFramePoints);
  const std::vector<uint8_t> oneFile = EncodeIldaImage(one);
  const std::vector<uint8_t> section(oneFile.begin(), oneFile.end() - 32), end(oneFile.end() - 32, oneFile.end());
  std::vector<uint8_t> partFile;
  for (int i = 0; i < 64; ++i) partFile.insert(partFile.end(), section.begin(), section.end());
  partFile.insert(partFile.end(), end.begin(), end.end());
  WriteBytes(dir.Path("part.ild"), partFile);
  partFile = {};
  WriteImage(IldaFolder() + "big.ild", {FrameOf({{1, 2}}, 3)});
  const std::vector<std::string> names(copies, "full.ddr"), parts(9, dir.Path("part.ild"));
  const struct {
    const char* conversion;
    std::function<bool()> run;
    size_t points;
  } cases[] = {
      {"Segment->ILD", [&] { return convert.SegmentToIlda(); }, copies * kIldaMaxFramePoints},
      {"List->ILD", [&] { return convert.ListToIlda(names, "big"); }, copies * kIldaMaxFramePoints},
      {"Merge", [&] { return convert.MergeIlda(parts, "big"); }, 9 * 64 * kIldaMaxFramePoints},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conversion);
    EXPECT_EQ(kavri_test::RunInChild(60, [&] {
                // Built, the frames would take over 500 MB.
                if (!kavri_test::LimitAddressSpaceGrowth(256u << 20)) return false;
                dialogs.inputAnswers.push_back(std::string("big"));
                dialogs.confirmAnswers.push_back(TDialogAnswer::Yes);  // replace it
                if (c.run()) return false;
                const std::vector<std::string> refusal{"Cannot write " + IldaFolder() + "big.ild: its frames would hold " +
                                                       std::to_string(c.points) +
                                                       " points, more than the 33554432 an ILDA file may hold"};
                TILDAimage kept;
                ReadIldaFile(IldaFolder() + "big.ild", kept);
                return dialogs.messages == refusal && kept.frames.size() == 1 && kept.frames[0]->points.size() == 1;
              }),
              "");
  }
}

// A drawing of more points than a frame holds is cut while its frame is built, so a segment or a
// list naming a large drawing many times costs a frame's worth for each; the message says how many
// points were left out.
TEST_F(ConverterConversionsTest, FramesAreCutWhileTheyAreBuiltAndTheCutIsSaid) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  const Drawing large = MakeDrawing(3, 9, static_cast<int>(kMaxDrawingPoints));
  SaveDrawing("large.ddr", large);
  const std::vector<PointRecord> points = FlatPoints(large);
  constexpr size_t kRows = 30;  // uncut, their frames would take about 500 MB
  std::string lines;
  for (size_t i = 0; i < kRows; ++i) lines += "large.ddr|1\r\n";
  WriteBytes(SectionFolder() + "large.sec", TextBytes(lines));
  segments.Update();
  segments.SetItemIndex(segments.IndexOf("large.sec"));
  const std::vector<std::string> names(kRows, "large.ddr");
  const struct {
    const char* conversion;
    std::function<bool()> run;
  } cases[] = {{"Segment->ILD", [&] { return convert.SegmentToIlda(); }},
               {"List->ILD", [&] { return convert.ListToIlda(names, "large"); }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.conversion);
    ::unlink((IldaFolder() + "large.ild").c_str());
    EXPECT_EQ(kavri_test::RunInChild(60, [&] {
                if (!kavri_test::LimitAddressSpaceGrowth(256u << 20)) return false;
                dialogs.inputAnswers.push_back(std::string("large"));
                return c.run() && convert.Notice() == std::to_string(kRows * (kMaxDrawingPoints - kIldaMaxFramePoints)) +
                                                          " points past the 65535 a frame holds were left out.";
              }),
              "");
    const TILDAimage image = ReadImage(IldaFolder() + "large.ild");
    ASSERT_EQ(image.frames.size(), kRows);
    for (const auto& frame : image.frames) {
      ASSERT_EQ(frame->points.size(), kIldaMaxFramePoints);
      EXPECT_EQ(frame->points.back().x, points[kIldaMaxFramePoints - 1].x - 128);
      EXPECT_EQ(frame->points.back().y, 127 - points[kIldaMaxFramePoints - 1].y);
    }
  }
  // A drawing within a frame is said nothing of.
  SaveDrawing("small.ddr", MakeDrawing(1, 1, 5));
  ASSERT_TRUE(convert.ListToIlda({"small.ddr"}, "small"));
  EXPECT_EQ(convert.Notice(), "");
}
#endif

TEST_F(ConverterConversionsTest, CancelOrAnEmptyAnswerWritesNothing) {
  SaveDrawing("a.ddr", MakeDrawing(10, 10, 2));
  WriteBytes(SectionFolder() + "rows.sec", TextBytes("a.ddr|5\r\n"));
  WriteImage(IldaFolder() + "one.ild", {FrameOf({{1, 2}}, 3)});
  for (const std::optional<std::string>& answer : {std::optional<std::string>(), std::optional<std::string>("  ")}) {
    segments.Update();
    segments.SetItemIndex(segments.IndexOf("rows.sec"));
    SelectIlda("one.ild");
    dialogs.inputAnswers = {answer, answer};
    EXPECT_FALSE(convert.SegmentToIlda());
    EXPECT_FALSE(convert.IldaToSegment("10"));
  }
  ildas.Update();
  segments.Update();
  drawings.Update();
  EXPECT_EQ(ildas.Items(), std::vector<std::string>{"one.ild"});
  EXPECT_EQ(segments.Items(), std::vector<std::string>{"rows.sec"});
  EXPECT_EQ(drawings.Items(), std::vector<std::string>{"a.ddr"});
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ConverterConversionsTest, AVanishedSourceReReadsItsListAndWritesNothing) {
  WriteBytes(SectionFolder() + "gone.sec", TextBytes("a.ddr|5\r\n"));
  WriteImage(IldaFolder() + "gone.ild", {FrameOf({{1, 2}}, 3)});
  segments.Update();
  segments.SetItemIndex(0);
  SelectIlda("gone.ild");
  ASSERT_EQ(::unlink((SectionFolder() + "gone.sec").c_str()), 0);
  ASSERT_EQ(::unlink((IldaFolder() + "gone.ild").c_str()), 0);
  dialogs.inputAnswers = {std::string("x"), std::string("y")};
  EXPECT_FALSE(convert.SegmentToIlda());
  EXPECT_FALSE(convert.IldaToSegment("10"));
  EXPECT_EQ(segments.Count(), 0);
  EXPECT_EQ(ildas.Count(), 0);
  EXPECT_FALSE(FileExists(IldaFolder() + "x.ild"));
  EXPECT_FALSE(FileExists(SectionFolder() + "y.sec"));
}

TEST_F(ConverterConversionsTest, MergeJoinsTheFilesAtTheirFullPathsInListOrder) {
  // The sources stand in another folder than the one the ILDA list shows at merge time.
  const std::string elsewhere = dir.Path("elsewhere") + "/";
  ASSERT_EQ(::mkdir(elsewhere.c_str(), 0755), 0);
  WriteImage(elsewhere + "one.ild", {FrameOf({{1, 1}}, 1), FrameOf({{2, 2}}, 2)});
  WriteImage(elsewhere + "two.ild", {FrameOf({{3, 3}, {4, 4}}, 3)});
  WriteImage(elsewhere + "three.ild", {FrameOf({{5, 5}}, 5), FrameOf({{6, 6}}, 6), FrameOf({{7, 7}}, 7)});
  WriteImage(IldaFolder() + "two.ild", {FrameOf({{-9, -9}}, 9)});  // same name, other folder
  ASSERT_TRUE(convert.MergeIlda({elsewhere + "three.ild", elsewhere + "one.ild", elsewhere + "two.ild"}, "all"));
  EXPECT_EQ(ildas.SelectedName(), "all.ild");
  const TILDAimage merged = ReadImage(IldaFolder() + "all.ild");
  std::vector<int> xs;
  ASSERT_EQ(merged.frames.size(), 6u);
  for (const auto& frame : merged.frames) {
    ASSERT_FALSE(frame->points.empty());
    xs.push_back(frame->points.front().x);
    EXPECT_EQ(frame->totalFrames, 6);
  }
  EXPECT_EQ(xs, (std::vector<int>{5, 6, 7, 1, 2, 3}));
  ASSERT_EQ(merged.frames[5]->points.size(), 2u);
  EXPECT_EQ(merged.frames[5]->points[1].y, 4);

  // A file merged with itself twice gives twice its frames; a missing file adds none.
  ASSERT_TRUE(convert.MergeIlda({elsewhere + "three.ild", elsewhere + "nothing.ild", elsewhere + "three.ild"},
                                "twice"));
  EXPECT_EQ(ReadImage(IldaFolder() + "twice.ild").frames.size(), 6u);
}

TEST_F(ConverterConversionsTest, AFailedWriteIsShownStopsTheConversionAndDamagesNothing) {
  WriteImage(IldaFolder() + "three.ild", {FrameOf({{1, 1}}, 1), FrameOf({{2, 2}}, 2), FrameOf({{3, 3}}, 3)});
  WriteBytes(SectionFolder() + "abc.sec", TextBytes("old.ddr|1\r\n"));
  WriteBytes(DrawingFolder() + "abc_sec_00003.ddr", TextBytes("old"));
  // A folder where the second drawing should go makes its write fail.
  ASSERT_EQ(::mkdir((DrawingFolder() + "abc_sec_00002.ddr").c_str(), 0755), 0);
  SelectIlda("three.ild");
  dialogs.inputAnswers.push_back(std::string("abc"));
  dialogs.confirmAnswers.push_back(TDialogAnswer::Yes);
  EXPECT_FALSE(convert.IldaToSegment("10"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("abc_sec_00002.ddr"), std::string::npos) << dialogs.messages[0];
  EXPECT_TRUE(FileExists(DrawingFolder() + "abc_sec_00001.ddr"));  // earlier files stay
  EXPECT_EQ(ReadBytes(DrawingFolder() + "abc_sec_00003.ddr"), TextBytes("old"));
  EXPECT_EQ(ReadBytes(SectionFolder() + "abc.sec"), TextBytes("old.ddr|1\r\n"));

  // A blocked target of each single-file conversion is reported and nothing is left behind.
  SaveDrawing("a.ddr", MakeDrawing(1, 1, 1));
  for (const char* blocked : {"list.sec", "list.ild", "merged.ild"}) {
    const std::string folder = std::string(blocked).ends_with(".sec") ? SectionFolder() : IldaFolder();
    ASSERT_EQ(::mkdir((folder + blocked).c_str(), 0755), 0);
  }
  dialogs.messages.clear();
  EXPECT_FALSE(convert.ListToSegment({"a.ddr"}, "list", "10"));
  EXPECT_FALSE(convert.ListToIlda({"a.ddr"}, "list"));
  EXPECT_FALSE(convert.MergeIlda({IldaFolder() + "three.ild"}, "merged"));
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_NE(dialogs.messages[1].find("list.ild"), std::string::npos) << dialogs.messages[1];
  segments.Update();
  EXPECT_EQ(segments.Items(), std::vector<std::string>{"abc.sec"});
}

// A source that is cut, or fails to read, after it was measured stops the conversion or merge
// with a message naming it, and the old output stays as it was.
TEST_F(ConverterConversionsTest, ASourceFrameThatFailsToReadStopsTheConversionAndKeepsTheOldOutput) {
  using kavri_test::ShrinkingIldaReads;
  const std::string source = IldaFolder() + "three.ild";
  const std::vector<uint8_t> oldSegment = TextBytes("old.ddr|1\r\n"), oldMerge = TextBytes("old merge");
  const struct {
    const char* what;
    bool merge;
    ShrinkingIldaReads::Mode mode;
    const char* reason;
  } cases[] = {
      {"segment, cut in frame 2", false, ShrinkingIldaReads::Mode::Cut, "(frame 2)"},
      {"segment, failing reads", false, ShrinkingIldaReads::Mode::Fail, ": "},
      {"merge, cut in frame 2", true, ShrinkingIldaReads::Mode::Cut, "(frame 2)"},
      {"merge, failing reads", true, ShrinkingIldaReads::Mode::Fail, ": "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // Three one-point frames of 40 bytes each: frame 2 loses its last byte.
    WriteImage(source, {FrameOf({{1, 1}}, 1), FrameOf({{2, 2}}, 2), FrameOf({{3, 3}}, 3)});
    WriteBytes(SectionFolder() + "abc.sec", oldSegment);
    WriteBytes(IldaFolder() + "merged.ild", oldMerge);
    SelectIlda("three.ild");
    dialogs.messages.clear();
    dialogs.inputAnswers.push_back(std::string("abc"));
    dialogs.confirmAnswers.push_back(TDialogAnswer::Yes);
    {
      ShrinkingIldaReads shrinking(40 + 39, c.mode);
      EXPECT_FALSE(c.merge ? convert.MergeIlda({source}, "merged") : convert.IldaToSegment("10"));
      EXPECT_GT(ShrinkingIldaReads::Reads(), 0);
    }
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].rfind("Cannot read " + source, 0), 0u) << dialogs.messages[0];
    EXPECT_NE(dialogs.messages[0].find(c.reason), std::string::npos) << dialogs.messages[0];
    EXPECT_EQ(ReadBytes(SectionFolder() + "abc.sec"), oldSegment);
    EXPECT_EQ(ReadBytes(IldaFolder() + "merged.ild"), oldMerge);
    dialogs.inputAnswers.clear();
    dialogs.confirmAnswers.clear();
  }
}

}  // namespace
}  // namespace kavri
