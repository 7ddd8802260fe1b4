#include <gtest/gtest.h>

#include <functional>

#include "engine/section_file.h"
#include "platform/int_convert.h"
#include "tests/engine/content_folder.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::ReadBytes;
using kavri_test::ScratchDir;
using kavri_test::TextBytes;
using kavri_test::WriteBytes;

namespace {

// A program folder whose drawing folder holds one two-point drawing.
struct ProgramFolderFixture : ContentFolder {
  ProgramFolderFixture() { WriteBytes(root + "Drawing/MyPic.ddr", {10, 20, 2, 5, 0x00, 30, 40, 0, 6, 0x80}); }
  std::string Section(const std::string& name, const std::string& text) { return Write("Section/" + name, text); }
};

}  // namespace

TEST(SectionFile, ReadsEveryFieldAndLoadsTheDrawingCaseBlind) {
  ProgramFolderFixture f;
  std::string path =
      f.Section("s.sec", "mypic.ddr|100|-2|3|4|5|6|7|8|9|10|257|12|13|14|300|30000|-255|255\r\n"
                         "missing.ddr|1|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0\n");
  TSectionList rows;
  LoadSectionFile(path, rows, f.root);
  ASSERT_EQ(rows.size(), 2u);
  const TSectionRecord& r = *rows[0];
  EXPECT_EQ(r.name, "mypic.ddr");
  EXPECT_EQ(r.A, 100);
  EXPECT_EQ(r.B, -2);
  EXPECT_EQ(r.J, 10);
  EXPECT_EQ(r.K, 257);
  EXPECT_EQ(r.N, 14);
  EXPECT_EQ(r.O, 44);  // low byte of 300
  EXPECT_EQ(r.P, 30000);
  EXPECT_EQ(r.Q, -255);
  EXPECT_EQ(r.R, 255);
  ASSERT_EQ(r.drawing->ObjectCount(), 1u);
  ASSERT_EQ(r.drawing->Object(0).size(), 2u);
  EXPECT_EQ(r.drawing->Object(0)[1].x, 30);
  // A missing drawing gives the row an empty picture, silently.
  EXPECT_EQ(rows[1]->name, "missing.ddr");
  EXPECT_TRUE(rows[1]->drawing->Empty());
}

TEST(SectionFile, EmptyBlankAndMissingFieldsReadAsZeroAndFieldsAreTrimmed) {
  TSectionRecord r;
  ParseSectionFields("a.ddr|5|1|2|3|4|5|6|7|8|9||11|12|13|14|15|16|17", r);
  EXPECT_EQ(r.K, 0);
  EXPECT_EQ(r.L, 11);
  ParseSectionFields("b.ddr| 7 |\t8", r);
  EXPECT_EQ(r.name, "b.ddr");
  EXPECT_EQ(r.A, 7);
  EXPECT_EQ(r.B, 8);
  for (int i = 2; i < TSectionRecord::kParameterCount; ++i) EXPECT_EQ(r.Parameter(i), 0) << i;
  ParseSectionFields("only-a-name", r);
  EXPECT_EQ(r.A, 0);
  EXPECT_EQ(r.R, 0);
}

TEST(SectionFile, ABadNumberStopsTheLoadKeepingEarlierRows) {
  ProgramFolderFixture f;
  std::string path = f.Section("s.sec", "a.ddr|1\r\nb.ddr|x2\r\nc.ddr|3\r\n");
  TSectionList rows;
  try {
    LoadSectionFile(path, rows, f.root);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x2' is not a valid integer value");
  }
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]->name, "a.ddr");
}

TEST(SectionFile, LoadingReplacesOldRowsAndAnEmptyOrMissingFileGivesNone) {
  ProgramFolderFixture f;
  TSectionList rows;
  LoadSectionFile(f.Section("two.sec", "a.ddr|1\r\nb.ddr|2\r\n"), rows, f.root);
  ASSERT_EQ(rows.size(), 2u);
  LoadSectionFile(f.Section("one.sec", "c.ddr|3\r\n"), rows, f.root);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]->name, "c.ddr");
  LoadSectionFile(f.Section("empty.sec", ""), rows, f.root);
  EXPECT_TRUE(rows.empty());
  rows.push_back(std::make_unique<TSectionRecord>());
  LoadSectionFile(f.root + "Section/none.sec", rows, f.root);
  EXPECT_TRUE(rows.empty());
}

TEST(SectionFile, DurationsSumFieldAOverTheFile) {
  ProgramFolderFixture f;
  EXPECT_EQ(SumSectionDurations(f.Section("d.sec", "a|100|0\r\nb|250|0\r\nc||0\r\nd\r\n")), 350);
  EXPECT_EQ(SumSectionDurations(f.root + "Section/none.sec"), 0);
  EXPECT_EQ(ParseSecondField("x| -5 |9"), -5);
  // The total is held within the int range instead of overflowing.
  EXPECT_EQ(SumSectionDurations(f.Section("big.sec", "a|2147483647\r\nb|2147483647\r\n")), 2147483647);
  EXPECT_THROW(SumSectionDurations(f.Section("bad.sec", "a|1.5\r\n")), EConvertError);
}

TEST(SectionFile, WritersProduceCrLfLinesThatReadBackTheSameRows) {
  ProgramFolderFixture f;
  // The segment grid's cells, written as they stand (converter rows keep the typed time text).
  std::vector<std::vector<std::string>> cells = {
      {"a.ddr", "10", "0", "0", "0", "0", "0", "0", "0", "0", "0", "257", "20", "0", "30", "0", "85", "0", "0"},
      {"mypic.ddr", "500", "0", "0", "0", "0", "0", "0", "0", "0", "0", "257", "20", "0", "30", "0", "30000", "-3", "4"}};
  const std::string path = f.root + "Section/w.sec";
  ASSERT_TRUE(SaveSectionFile(path, cells));
  EXPECT_EQ(ReadBytes(path), TextBytes("a.ddr|10|0|0|0|0|0|0|0|0|0|257|20|0|30|0|85|0|0\r\n"
                                   "mypic.ddr|500|0|0|0|0|0|0|0|0|0|257|20|0|30|0|30000|-3|4\r\n"));
  TSectionList rows;
  LoadSectionFile(path, rows, f.root);
  ASSERT_EQ(rows.size(), 2u);
  const std::string rewritten = f.root + "Section/w2.sec";
  ASSERT_TRUE(SaveSectionFile(rewritten, rows));
  EXPECT_EQ(ReadBytes(rewritten), ReadBytes(path));
  EXPECT_FALSE(SaveSectionFile(f.root + "nofolder/x.sec", rows));

  // A cell with "|" or a line break would shift the fields after it: refused, the file kept.
  cells[1][1] = "5|6";
  std::string error;
  EXPECT_FALSE(SaveSectionFile(path, cells, &error));
  EXPECT_NE(error.find("5|6"), std::string::npos);
  cells[1][1] = "5";
  cells[0][0] = "a\r\nb.ddr";
  EXPECT_FALSE(SaveSectionFile(path, cells));
  EXPECT_EQ(ReadBytes(path), ReadBytes(rewritten));
}

// The writer measures a line as the reader will, the "|" between the cells included: a line of
// exactly the reader's limit is written and opens; one byte more is refused before anything is
// written, with the limit named, and the old file stays.
TEST(SectionFile, TheWriterTakesALineOfExactlyTheReadersLimitAndRefusesOneByteMore) {
  ProgramFolderFixture f;
  const size_t limit = kSegmentFileRule.maxLineBytes;
  const size_t separators = TSectionRecord::kFieldCount - 1;
  // Cells whose line, with its separators, is `limit + over` bytes long.
  const struct {
    const char* what;
    std::function<std::vector<std::string>(size_t over)> cells;
  } shapes[] = {
      {"long name, 18 empty cells",
       [&](size_t over) {
         std::vector<std::string> cells(TSectionRecord::kFieldCount);
         cells[0] = std::string(limit - separators + over, 'n');
         return cells;
       }},
      {"18 empty cells, long last number",
       [&](size_t over) {
         std::vector<std::string> cells(TSectionRecord::kFieldCount);
         cells.back() = std::string(limit - separators - 1 + over, ' ') + "7";
         return cells;
       }},
      {"every cell full",
       [&](size_t over) {
         std::vector<std::string> cells(TSectionRecord::kFieldCount, std::string(kMaxTypedTextBytes - 1, ' ') + "7");
         cells[0] = std::string(kMaxTypedTextBytes + over, 'n');
         return cells;
       }},
  };
  ASSERT_EQ(limit, TSectionRecord::kFieldCount * kMaxTypedTextBytes + separators);
  const std::string path = f.root + "Section/long.sec";
  const auto kept = TextBytes("a.ddr|1\r\n");
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.what);
    WriteBytes(path, kept);
    const std::vector<std::string> over = shape.cells(1);
    ASSERT_EQ(JoinSectionCells(over).size(), limit + 1);
    std::string error;
    EXPECT_FALSE(SaveSectionFile(path, {{"a.ddr"}, over}, &error));
    EXPECT_EQ(error, "\"long.sec\" was not saved: its line 2 is 1867738 bytes long, more than the 1867737 that "
                     "Segment Edit takes.");
    EXPECT_EQ(ReadBytes(path), kept);

    const std::vector<std::string> exact = shape.cells(0);
    ASSERT_EQ(JoinSectionCells(exact).size(), limit);
    ASSERT_TRUE(SaveSectionFile(path, {{"a.ddr"}, exact}, &error)) << error;
    TSectionList rows;
    ASSERT_TRUE(LoadSectionFile(path, rows, f.root, &error)) << error;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1]->name, exact[0]);
    EXPECT_EQ(rows[1]->R, exact.back().empty() ? 0 : 7);
  }
}

// A cell that cannot be stored is quoted by its start: a whole 98 KB cell would make a box no one can
// read. Nothing is written.
TEST(SectionFileSave, ACellThatCannotBeStoredIsQuotedByItsStart) {
  ScratchDir dir;
  const std::string path = dir.Path("s.sec");
  WriteBytes(path, TextBytes("old\r\n"));
  const std::string cell = "a|" + std::string(98 * 1024, 'b');
  std::string error;
  EXPECT_FALSE(SaveSectionFile(path, {{"x.ddr", cell}}, &error));
  EXPECT_EQ(error, "The segment cell 'a|" + std::string(38, 'b') + "…' cannot be stored: it holds '|' or a line break");
  EXPECT_EQ(ReadBytes(path), TextBytes("old\r\n"));
}
