#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <string>
#include <vector>

#include "engine/section_file.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "segments/file_list_commands.h"
#include "segments/segment_file_commands.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::ReadBytes;
using kavri_test::TextBytes;
using kavri_test::WriteBytes;

class SegmentFileCommandsTest : public ::testing::Test {
 protected:
  SegmentFileCommandsTest() : scope(dir.Path()) {
    EnsureContentFolders();
    drawings.SetMask("*.ddr");
    drawings.SetDirectory(DrawingFolder());
    segments.SetMask("*.sec");
    segments.SetDirectory(SectionFolder());
  }
  std::string SegmentPath(const std::string& name) { return SectionFolder() + name; }
  void AddRows(std::initializer_list<const char*> names) {
    for (const char* name : names) {
      TSegmentControls c;
      c.drawingName = name;
      segment.Add(c);
    }
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
  TSegmentGridModel segment;
  TFileList drawings, segments;
  int previews = 0;
  std::vector<std::string> edited;
  TSegmentFileCommands files{segment, drawings, segments,
                             {[this] { ++previews; }, [this](const std::string& p) { edited.push_back(p); return true; }, {}}};
};

TEST_F(SegmentFileCommandsTest, FirstSaveAsksForANameAndAppendsTheExtensionLaterSavesDoNot) {
  AddRows({"a.ddr", "b.ddr"});
  dialogs.inputAnswers.push_back(std::string(" Show1 "));
  ASSERT_TRUE(files.Save());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "segment name");
  EXPECT_EQ(segment.SegmentName(), "Show1.sec");
  EXPECT_EQ(segment.Status(), "The segment have saved.");
  EXPECT_EQ(segments.SelectedName(), "Show1.sec");
  EXPECT_EQ(ReadBytes(SegmentPath("Show1.sec")),
            TextBytes("a.ddr|100|50|0|0|0|0|0|0|0|0|257|20|0|30|0|30000|0|0\r\n"
                      "b.ddr|100|50|0|0|0|0|0|0|0|0|257|20|0|30|0|30000|0|0\r\n"));
  segment.SetCell(1, 2, "7");
  ASSERT_TRUE(files.Save());
  EXPECT_EQ(dialogs.shown.size(), 1u);  // nothing asked the second time

  // What was saved reads back through the segment reader.
  TSectionList rows;
  ASSERT_TRUE(LoadSectionFile(SegmentPath("Show1.sec"), rows, ProgramFolder()));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1]->name, "b.ddr");
  EXPECT_EQ(rows[1]->A, 7);
  EXPECT_EQ(rows[1]->P, 30000);
}

TEST_F(SegmentFileCommandsTest, SavingANewSegmentOverAnExistingFileAsksFirst) {
  WriteBytes(SegmentPath("old.sec"), TextBytes("x.ddr|1\r\n"));
  AddRows({"a.ddr"});
  dialogs.inputAnswers.push_back(std::string("OLD"));  // the same file on a case-blind system
  dialogs.confirmAnswers.push_back(TDialogAnswer::No);
  EXPECT_FALSE(files.Save());
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown.back().text, "The segment have exists,replace it?");
  EXPECT_EQ(ReadBytes(SegmentPath("old.sec")), TextBytes("x.ddr|1\r\n"));
  EXPECT_EQ(segment.SegmentName(), "NewSection");
}

TEST_F(SegmentFileCommandsTest, SaveAsOntoAnotherExistingNameAsksAndNoKeepsTheFile) {
  WriteBytes(SegmentPath("other.sec"), TextBytes("x.ddr|1\r\n"));
  AddRows({"a.ddr"});
  segment.SetSegmentName("mine");
  dialogs.inputAnswers.push_back(std::string("other"));
  dialogs.confirmAnswers.push_back(TDialogAnswer::No);
  EXPECT_FALSE(files.SaveAs());
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown.back().text, "This segment have exists,replace it?");
  EXPECT_EQ(ReadBytes(SegmentPath("other.sec")), TextBytes("x.ddr|1\r\n"));
  EXPECT_EQ(segment.SegmentName(), "mine");

  // Onto its own name it overwrites without asking.
  WriteBytes(SegmentPath("mine.sec"), TextBytes("old\r\n"));
  dialogs.inputAnswers.push_back(std::string("mine"));
  ASSERT_TRUE(files.SaveAs());
  ASSERT_FALSE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.shown.back().what, "input");
  EXPECT_EQ(segment.Status(), "Save as segment sucess.");
  EXPECT_EQ(segment.SegmentName(), "mine.sec");
  EXPECT_NE(ReadBytes(SegmentPath("mine.sec")), TextBytes("old\r\n"));
}

TEST_F(SegmentFileCommandsTest, CellsThatWouldNotReadBackAreRefusedWithTheOldFileIntact) {
  struct Case {
    int col;
    const char* text;
    const char* reason;
  };
  const Case cases[] = {
      {0, "a|b.ddr", "'|'"},
      {0, "a\nb.ddr", "line break"},
      {3, "1.5", "'1.5' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    WriteBytes(SegmentPath("keep.sec"), TextBytes("x.ddr|1\r\n"));
    segment.ReplaceRows({CreationRow()});
    segment.SetSegmentName("keep");
    segment.SetStatus("before");
    segment.SetCell(c.col, 1, c.text);
    dialogs.messages.clear();
    EXPECT_FALSE(files.Save());
    EXPECT_EQ(ReadBytes(SegmentPath("keep.sec")), TextBytes("x.ddr|1\r\n"));
    EXPECT_EQ(segment.SegmentName(), "keep");
    EXPECT_EQ(segment.Status(), "before");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find(c.reason), std::string::npos) << dialogs.messages[0];
  }
  segment.SetCell(3, 1, " ");  // a blank number cell reads back as 0
  EXPECT_TRUE(files.Save());
}

// Save writes only what Open and Play take: the longest and most rows the grid can hold are saved
// and read back; one row more is refused with the limit named, the old file kept.
TEST_F(SegmentFileCommandsTest, SaveWritesWhatOpensAndRefusesWhatWouldNot) {
  TSegmentRow longest;
  longest[0].reserve(kMaxTypedTextBytes);
  for (size_t i = 0; i < kMaxTypedTextChars - 4; ++i) longest[0] += "\u20ac";  // three bytes each
  longest[0] += ".ddr";
  for (int col = 1; col < kSegmentColumns; ++col) longest[col] = std::string(kMaxTypedTextChars - 1, ' ') + "7";
  TSegmentRow plain = CreationRow();
  plain[0] = "a.ddr";
  const struct {
    const char* name;
    std::vector<TSegmentRow> rows;
    const char* refusal;  // "" when it saves
  } cases[] = {
      {"longest", {longest, longest}, ""},
      {"most", std::vector<TSegmentRow>(kMaxSegmentRows, plain), ""},
      {"over", std::vector<TSegmentRow>(kMaxSegmentRows + 1, plain),
       "\"over.sec\" was not saved: it would have 100001 lines, more than the 100000 that Segment Edit takes."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = SegmentPath(std::string(c.name) + ".sec");
    WriteBytes(path, TextBytes("x.ddr|1\r\n"));
    segments.Update();
    segment.ReplaceRows(c.rows);
    segment.SetSegmentName(c.name);
    dialogs.messages.clear();
    if (*c.refusal) {
      EXPECT_FALSE(files.Save());
      dialogs.inputAnswers.push_back(std::string(c.name));
      EXPECT_FALSE(files.SaveAs());
      EXPECT_EQ(dialogs.messages, (std::vector<std::string>{c.refusal, c.refusal}));
      EXPECT_EQ(ReadBytes(path), TextBytes("x.ddr|1\r\n"));
      continue;
    }
    ASSERT_TRUE(files.Save());
    TSectionList played;
    std::string error;
    ASSERT_TRUE(LoadSectionFile(path, played, ProgramFolder(), &error)) << error;
    ASSERT_EQ(played.size(), c.rows.size());
    EXPECT_EQ(played.back()->name, c.rows.back()[0]);
    EXPECT_EQ(played.back()->R, std::stoi(c.rows.back()[18]));
    segment.ReplaceRows({});
    segments.SetItemIndex(segments.IndexOf(std::string(c.name) + ".sec"));
    ASSERT_TRUE(files.Open());
    ASSERT_EQ(segment.LastRow(), static_cast<int>(c.rows.size()));
    EXPECT_EQ(segment.Cell(0, segment.LastRow()), c.rows.back()[0]);
  }
}

TEST_F(SegmentFileCommandsTest, AFailedWriteIsReportedAndChangesNothing) {
  ASSERT_EQ(::mkdir(SegmentPath("blocked.sec").c_str(), 0755), 0);  // a folder cannot be replaced by the file
  WriteBytes(SegmentPath("listed.sec"), {});
  segments.Refresh();
  AddRows({"a.ddr"});
  segment.SetSegmentName("mine");
  segment.SetStatus("before");
  dialogs.inputAnswers.push_back(std::string("blocked"));
  EXPECT_FALSE(files.SaveAs());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind("The segment was not saved. ", 0), 0u) << dialogs.messages[0];
  EXPECT_EQ(segment.SegmentName(), "mine");
  EXPECT_EQ(segment.Status(), "before");
  EXPECT_EQ(segments.Items(), std::vector<std::string>{"listed.sec"});
  EXPECT_EQ(segments.SelectedName(), "listed.sec");
}

// A refused name says why, in the words every window uses; an empty answer asks for nothing.
TEST_F(SegmentFileCommandsTest, TypedNamesWithAFolderPartAreRefusedWithTheSharedText) {
  AddRows({"a.ddr"});
  const std::vector<std::string> refused = {"../../evil", "sub/name", "sub\\name", "..", ".", "x..y",
                                            std::string("a\0b", 3), "a\tb"};
  for (const std::string& typed : refused) {
    SCOPED_TRACE(typed);
    dialogs.messages.clear();
    dialogs.inputAnswers.push_back(typed);
    EXPECT_FALSE(files.Save());
    dialogs.inputAnswers.push_back(typed);
    EXPECT_FALSE(files.SaveAs());
    dialogs.inputAnswers.push_back(typed);
    files.New();
    dialogs.inputAnswers.push_back(typed);
    files.FindSegment();
    EXPECT_EQ(dialogs.messages, std::vector<std::string>(4, kRefusedNameText));
    EXPECT_EQ(segment.SegmentName(), "NewSection");
  }
  dialogs.messages.clear();
  dialogs.inputAnswers.push_back(std::string("   "));
  EXPECT_FALSE(files.Save());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(FileExists(dir.Path("evil.sec")));
  segments.Update();
  EXPECT_EQ(segments.Count(), 0);
}

// A file with more lines than the grid takes, or a line longer than any row the program writes, is
// refused, found before any row is made, with a message naming the file and the limit; name and
// grid stay as they were.
TEST_F(SegmentFileCommandsTest, OpenRefusesMoreRowsOrLongerLinesThanItTakesAndTakesTheLimitsThemselves) {
  const std::string row = "a.ddr|5|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17\r\n";
  std::string atLimit;
  for (size_t i = 0; i < kMaxSegmentRows; ++i) atLimit += row;
  // The longest row the grid writes: every cell as long as a cell takes, the numbers after blanks.
  std::string longest = std::string(kMaxTypedTextBytes - 4, 'n') + ".ddr";
  for (int i = 0; i < 18; ++i) longest += "|" + std::string(kMaxTypedTextBytes - 1, ' ') + "5";
  const size_t most = kSegmentFileRule.maxLineBytes;
  struct Case {
    const char* name;
    std::string text;
    const char* message;  // "" when it opens
    int rows;             // when it opens
  };
  const Case cases[] = {
      {"empty_lines.sec", std::string(3u << 20, '\n'),
       "\"empty_lines.sec\" was not opened: it has 3145728 lines, more than the 100000 that Segment Edit takes.", 0},
      {"one_over.sec", atLimit + "b.ddr",
       "\"one_over.sec\" was not opened: it has 100001 lines, more than the 100000 that Segment Edit takes.", 0},
      {"long_line.sec", row + std::string(4u << 20, 'a') + "\r\n" + std::string(2000, 'b'),
       "\"long_line.sec\" was not opened: its line 2 is 4194304 bytes long, more than the 1867737 that Segment Edit "
       "takes.",
       0},
      {"just_over.sec", std::string(most + 1, 'c'),
       "\"just_over.sec\" was not opened: its line 1 is 1867738 bytes long, more than the 1867737 that Segment Edit "
       "takes.",
       0},
      {"at_limit.sec", atLimit, "", static_cast<int>(kMaxSegmentRows)},
      {"longest.sec", longest + "\r\n" + std::string(most, 'd'), "", 2}};
  for (const Case& c : cases) WriteBytes(SegmentPath(c.name), TextBytes(c.text));
  segments.Update();
  AddRows({"kept.ddr"});
  segment.SetSegmentName("mine");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.messages.clear();
    segments.SetItemIndex(segments.IndexOf(c.name));
    const bool opened = files.Open();
    if (*c.message) {
      EXPECT_FALSE(opened);
      EXPECT_EQ(dialogs.messages, std::vector<std::string>{c.message});
      EXPECT_EQ(segment.SegmentName(), "mine");
      EXPECT_EQ(segment.LastRow(), 1);
      EXPECT_EQ(segment.Cell(0, 1), "kept.ddr");
    } else {
      EXPECT_TRUE(opened);
      EXPECT_TRUE(dialogs.messages.empty());
      ASSERT_EQ(segment.LastRow(), c.rows);
      EXPECT_EQ(segment.Cell(0, 1), std::string(c.text.substr(0, c.text.find('|'))));
    }
  }
}

// A segment of the most rows the grid takes opens and is saved back under its name, the rows as
// the grid holds them, and opens again.
TEST_F(SegmentFileCommandsTest, ASegmentOpenedAtTheRowLimitIsSavedBackAndOpensAgain) {
  const std::string full = "a.ddr|5|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17\r\n";
  const struct {
    const char* name;
    std::string row, saved;  // one line of the file opened, and as it is saved
  } cases[] = {
      {"full.sec", full, full},
      // Fields left out or empty are held, and written, as 0.
      {"short.sec", "b.ddr|7||-3\r\n", "b.ddr|7|0|-3|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string opened, saved;
    for (size_t i = 0; i < kMaxSegmentRows; ++i) {
      opened += c.row;
      saved += c.saved;
    }
    WriteBytes(SegmentPath(c.name), TextBytes(opened));
    segments.Update();
    segments.SetItemIndex(segments.IndexOf(c.name));
    dialogs.messages.clear();
    ASSERT_TRUE(files.Open());
    ASSERT_EQ(segment.LastRow(), static_cast<int>(kMaxSegmentRows));
    ASSERT_TRUE(files.Save()) << (dialogs.messages.empty() ? "" : dialogs.messages[0]);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(segment.SegmentName(), c.name);
    EXPECT_TRUE(ReadBytes(SegmentPath(c.name)) == TextBytes(saved));
    segment.ReplaceRows({NewSegmentRow()});
    ASSERT_TRUE(files.Open());
    EXPECT_EQ(segment.LastRow(), static_cast<int>(kMaxSegmentRows));
  }
}

TEST_F(SegmentFileCommandsTest, OpenFillsTheGridAndAFailedOpenKeepsNameAndGrid) {
  WriteBytes(SegmentPath("good.sec"), TextBytes("a.ddr|5|1|2|3|4|5|6|7|8|9|10|11|12|13|300|15|16|17\r\nb.ddr\r\n"));
  WriteBytes(SegmentPath("bad.sec"), TextBytes("a.ddr|5\r\nb.ddr|x\r\n"));
  WriteBytes(SegmentPath("empty.sec"), {});
  segments.Update();

  segments.SetItemIndex(segments.IndexOf("good.sec"));
  ASSERT_TRUE(files.Open());
  EXPECT_EQ(segment.SegmentName(), "good");
  ASSERT_EQ(segment.LastRow(), 2);
  EXPECT_EQ(segment.Cell(0, 1), "a.ddr");
  EXPECT_EQ(segment.Cell(15, 1), "44");  // O keeps its low byte
  EXPECT_EQ(segment.Cell(18, 2), "0");

  const std::vector<TSegmentRow> before = segment.Rows();
  segments.SetItemIndex(segments.IndexOf("bad.sec"));
  EXPECT_FALSE(files.Open());
  EXPECT_EQ(segment.SegmentName(), "good");
  EXPECT_EQ(segment.Rows(), before);
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"'x' is not a valid integer value"}));

  segments.SetItemIndex(segments.IndexOf("empty.sec"));
  ASSERT_TRUE(files.Open());
  EXPECT_EQ(segment.RowCount(), 2);
  EXPECT_EQ(segment.Row(1), TSegmentRow());
}

TEST_F(SegmentFileCommandsTest, NewRefusesAListedNameAndOtherwiseStartsAFreshSegment) {
  WriteBytes(SegmentPath("Taken.sec"), TextBytes("a.ddr\r\n"));
  segments.Update();
  AddRows({"a.ddr", "b.ddr"});
  dialogs.inputAnswers.push_back(std::string("taken"));
  files.New();
  EXPECT_EQ(segment.Status(), "This segment name have exists,creat failure.");
  EXPECT_EQ(segment.LastRow(), 2);
  dialogs.inputAnswers.push_back(std::string(" fresh "));
  files.New();
  EXPECT_EQ(segment.SegmentName(), "fresh");
  EXPECT_EQ(segment.Status(), "Create a new segment.");
  EXPECT_EQ(segment.Rows(), std::vector<TSegmentRow>{NewSegmentRow()});
  EXPECT_FALSE(FileExists(SegmentPath("fresh.sec")));
}

TEST_F(SegmentFileCommandsTest, FindAppendsTheExtensionUnlessItIsExactlyThereAndMatchesWithoutCase) {
  for (const char* name : {"abc.ddr", "abc.DDR.ddr", "Section1.sec"}) WriteBytes(DrawingFolder() + name, {});
  WriteBytes(SegmentPath("Section1.sec"), {});
  drawings.Update();
  segments.Update();
  struct Case {
    const char* typed;
    const char* selected;
  };
  for (const Case& c : {Case{"abc", "abc.ddr"}, Case{"abc.DDR", "abc.DDR.ddr"}, Case{"ABC.ddr", "abc.ddr"}}) {
    drawings.SetItemIndex(-1);
    dialogs.inputAnswers.push_back(std::string(c.typed));
    files.FindDrawing();
    EXPECT_EQ(drawings.SelectedName(), c.selected) << c.typed;
  }
  EXPECT_EQ(previews, 3);
  dialogs.inputAnswers.push_back(std::string("nothing"));
  files.FindDrawing();
  EXPECT_EQ(segment.Status(), "Drawing not found!");
  dialogs.inputAnswers.push_back(std::string("section1"));
  files.FindSegment();
  EXPECT_EQ(segments.SelectedName(), "Section1.sec");
  dialogs.inputAnswers.push_back(std::string("nothing"));
  files.FindSegment();
  EXPECT_EQ(segment.Status(), "segment not found!");
  EXPECT_EQ(previews, 3);
}

TEST_F(SegmentFileCommandsTest, DeleteRemovesTheFileAndSelectsTheNeighbour) {
  for (const char* name : {"a.ddr", "b.ddr", "c.ddr"}) WriteBytes(DrawingFolder() + name, {});
  drawings.Update();
  drawings.SetItemIndex(1);
  files.DeleteDrawing();
  EXPECT_FALSE(FileExists(DrawingFolder() + "b.ddr"));
  EXPECT_EQ(drawings.SelectedName(), "c.ddr");
  files.DeleteDrawing();  // the last item: its previous neighbour
  EXPECT_EQ(drawings.SelectedName(), "a.ddr");
  EXPECT_EQ(previews, 2);
  files.DeleteDrawing();
  EXPECT_EQ(drawings.Count(), 0);
  EXPECT_EQ(previews, 2);
}

// A delete the system refuses says why and keeps the file selected; one that vanished meanwhile is silent.
TEST_F(SegmentFileCommandsTest, ADeleteThatFailsSaysWhyAndKeepsTheSelection) {
  for (const char* name : {"a.ddr", "b.ddr", "c.ddr"}) WriteBytes(DrawingFolder() + name, {});
  drawings.Update();
  drawings.SetItemIndex(1);
  // Between listing and deleting, the file became a folder with something in it: unlink refuses it.
  ASSERT_EQ(::unlink((DrawingFolder() + "b.ddr").c_str()), 0);
  ASSERT_EQ(::mkdir((DrawingFolder() + "b.ddr").c_str(), 0700), 0);
  WriteBytes(DrawingFolder() + "b.ddr/inside", {});
  files.DeleteDrawing();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "\"b.ddr\" was not deleted: " + std::string(std::strerror(EISDIR)) + ".");
  EXPECT_EQ(drawings.SelectedName(), "b.ddr");
  EXPECT_EQ(drawings.Count(), 3);  // not re-read: the list stays as the operator saw it

  std::filesystem::remove_all(DrawingFolder() + "b.ddr");
  WriteBytes(DrawingFolder() + "b.ddr", {});
  drawings.SetItemIndex(0);
  ASSERT_EQ(::unlink((DrawingFolder() + "a.ddr").c_str()), 0);
  files.DeleteDrawing();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(drawings.SelectedName(), "b.ddr");
}

TEST_F(SegmentFileCommandsTest, RowDrawingsAndTheEditorFindFilesWithoutRegardToCase) {
  WriteBytes(DrawingFolder() + "Star.DDR", {});
  drawings.Update();
  AddRows({"star.ddr", "../Star.DDR", "none.ddr"});
  EXPECT_EQ(files.RowDrawingPath(1), DrawingFolder() + "Star.DDR");
  EXPECT_EQ(files.RowDrawingPath(2), std::nullopt);
  EXPECT_EQ(files.RowDrawingPath(3), std::nullopt);
  files.EditDrawing();
  EXPECT_TRUE(edited.empty());
  drawings.SetItemIndex(0);
  files.EditDrawing();
  EXPECT_EQ(edited, (std::vector<std::string>{DrawingFolder() + "Star.DDR"}));
}

}  // namespace
}  // namespace kavri
