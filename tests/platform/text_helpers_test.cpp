#include <gtest/gtest.h>

#include "platform/int_convert.h"
#include "platform/text.h"
#include "platform/text_lines.h"
#include "tests/support/child_run.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::ReadBytes;
using kavri_test::ScratchDir;
using kavri_test::TextBytes;
using kavri_test::WriteBytes;

TEST(TextLines, SplitsAtCrLfLfAndLoneCrWithoutAnExtraLastLine) {
  EXPECT_EQ(SplitTextLines(""), TextLines{});
  EXPECT_EQ(SplitTextLines("a"), TextLines{"a"});
  EXPECT_EQ(SplitTextLines("a\r\n"), TextLines{"a"});
  EXPECT_EQ(SplitTextLines("a\r\nb\nc\rd"), (TextLines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitTextLines("a\r\n\r\nb\n\n"), (TextLines{"a", "", "b", ""}));
  EXPECT_EQ(SplitTextLines("\n"), TextLines{""});
  // CR then LF is one break; LF then CR is two.
  EXPECT_EQ(SplitTextLines("a\n\rb"), (TextLines{"a", "", "b"}));
}

TEST(TextLines, CountsTheLinesTheSplitGivesAndRowFilesPastTheirLimitAreRefused) {
  for (const char* text : {"", "a", "a\r\n", "a\r\nb\nc\rd", "a\r\n\r\nb\n\n", "\n", "\r\r\n\n", "a\n\rb", "\r"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(CountTextLines(text), SplitTextLines(text).size());
  }
  kavri_test::ScratchDir dir;
  const std::string path = dir.Path("three.txt");
  kavri_test::WriteBytes(path, kavri_test::TextBytes("a\r\nb\nc"));
  std::string error;
  EXPECT_EQ(ReadRowLines(path, {3, 1, "Here"}, &error), (TextLines{"a", "b", "c"}));
  EXPECT_EQ(ReadRowLines(path, {2, 1, "Here"}, &error), std::nullopt);
  EXPECT_EQ(error, "\"three.txt\" was not opened: it has 3 lines, more than the 2 that Here takes.");
  EXPECT_EQ(ReadRowLines(dir.Path("none.txt"), {2, 1, "Here"}, &error), std::nullopt);
  EXPECT_NE(error.find("none.txt"), std::string::npos);
}

// A line's length is its bytes between breaks, whichever break ends it; the first long line is named.
TEST(TextLines, RowFilesWithALineLongerThanTheirLimitAreRefusedNamingTheFirst) {
  const TRowFileRule rule{10, 3, "Here"};
  const struct {
    const char* text;
    const char* refusal;  // "" when kept
  } cases[] = {
      {"abc\r\nabc\nabc\rabc", ""},
      {"\r\n\n\r", ""},
      {"abc\r\nabcd\r\nabcdef", "\"f.sec\" was not opened: its line 2 is 4 bytes long, more than the 3 that Here takes."},
      {"abcd", "\"f.sec\" was not opened: its line 1 is 4 bytes long, more than the 3 that Here takes."},
      {"a\n\rabcde\r\n", "\"f.sec\" was not opened: its line 3 is 5 bytes long, more than the 3 that Here takes."},
      // Too many lines is said first, whatever their length.
      {"abcd\n\n\n\n\n\n\n\n\n\n\n", "\"f.sec\" was not opened: it has 11 lines, more than the 10 that Here takes."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<std::string> refusal = RowFileRefusal(c.text, "/some/folder/f.sec", rule);
    EXPECT_EQ(refusal.value_or(""), c.refusal);
  }
}

// 64 MiB of line breaks are counted before any line is made: made first, their 67 million empty
// lines would take about 2 GB.
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limit leaves
TEST(TextLines, ARowFileIsMeasuredBeforeItsLinesAreMade) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  ScratchDir dir;
  const std::string path = dir.Path("breaks.sec");
  WriteBytes(path, std::vector<uint8_t>(kMaxTextFileBytes, '\n'));
  EXPECT_EQ(kavri_test::RunInChild(60, [&] {
              if (!kavri_test::LimitAddressSpaceGrowth(256u << 20)) return false;
              std::string error;
              return !ReadRowLines(path, {100000, 1024, "Here"}, &error) &&
                     error == "\"breaks.sec\" was not opened: it has 67108864 lines, more than the 100000 that Here takes.";
            }),
            "");
}
#endif

// The writer of a row file refuses exactly what its reader refuses, before writing: at each limit
// (lines, a line's bytes, the file's bytes) the file is written and read back; one past it is
// refused, naming the limit, and the old file stays.
TEST(TextLines, RowFilesAreWrittenUpToTheLimitsTheirReaderTakesAndNoFurther) {
  const TRowFileRule small{3, 4, "Here"};
  const TRowFileRule large{100, 2u << 20, "Here"};
  const std::string mebi((1u << 20) - 2, 'm');  // a line that takes 1 MiB with its break
  const struct {
    const char* name;
    TRowFileRule rule;
    TextLines lines;      // ignored for the bytes cases
    size_t mebiLines;     // lines of `mebi`, the last one `extra` bytes longer
    size_t extra;
    const char* refusal;  // "" when written
  } cases[] = {
      {"lines", small, {"a", "b", "c"}, 0, 0, ""},
      {"lines+1", small, {"a", "b", "c", "d"}, 0, 0, "it would have 4 lines, more than the 3 that Here takes."},
      {"line", small, {"abcd"}, 0, 0, ""},
      {"line+1", small, {"a", "abcde"}, 0, 0, "its line 2 is 5 bytes long, more than the 4 that Here takes."},
      {"bytes", large, {}, kMaxTextFileBytes >> 20, 0, ""},
      {"bytes+1", large, {}, kMaxTextFileBytes >> 20, 1,
       "it would be 67108865 bytes long, more than the 67108864 that Here takes."},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextLines lines = c.lines;
    if (c.mebiLines) {
      lines.assign(c.mebiLines, mebi);
      lines.back().append(c.extra, 'm');
    }
    const std::string path = dir.Path("f.sec");
    WriteBytes(path, TextBytes("old"));
    std::string error;
    const bool written = WriteRowLines(path, lines, c.rule, &error);
    if (*c.refusal) {
      EXPECT_FALSE(written);
      EXPECT_EQ(error, std::string("\"f.sec\" was not saved: ") + c.refusal);
      EXPECT_EQ(ReadBytes(path), TextBytes("old"));
    } else {
      ASSERT_TRUE(written) << error;
      EXPECT_EQ(ReadRowLines(path, c.rule, &error), lines) << error;
    }
  }
}

TEST(TextLines, WritesCrLfAndReadsBackAnyEnding) {
  ScratchDir dir;
  const std::string path = dir.Path("t.txt");
  ASSERT_TRUE(WriteTextLines(path, {"[Music]", "", "x|1"}));
  EXPECT_EQ(ReadBytes(path), TextBytes("[Music]\r\n\r\nx|1\r\n"));
  EXPECT_EQ(ReadTextLines(path), (TextLines{"[Music]", "", "x|1"}));
  WriteBytes(path, TextBytes("one\ntwo\rthree"));
  EXPECT_EQ(ReadTextLines(path), (TextLines{"one", "two", "three"}));
  EXPECT_FALSE(ReadTextLines(dir.Path("missing.txt")).has_value());
  ASSERT_TRUE(WriteTextLines(path, {}));
  EXPECT_TRUE(ReadBytes(path).empty());
}

TEST(TextLines, FailedWriteIsReported) {
  ScratchDir dir;
  std::string error;
  EXPECT_FALSE(WriteTextLines(dir.Path("no/such/folder/t.txt"), {"a"}, &error));
  EXPECT_FALSE(error.empty());
}

TEST(StrToInt, AcceptsSignedDecimalsInTheInt32Range) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("-17"), -17);
  EXPECT_EQ(StrToInt("+42"), 42);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
}

TEST(StrToInt, RejectsEverythingElseWithThePlatformMessage) {
  for (const char* bad : {"", " 1", "1 ", "1.5", "abc", "0x10", "$10", "-", "+", "2147483648", "-2147483649",
                          "99999999999999999999", "1-"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
  int32_t v = 5;
  EXPECT_FALSE(TryStrToInt("x", v));
  EXPECT_EQ(v, 5);
}

// A message that quotes a text the operator gave (a cell, a settings line) quotes the start of it,
// whole characters only, however long the text is.
TEST(TextHelpers, MessagesQuoteOnlyTheStartOfALongText) {
  const std::string e = "\xc3\xa9";  // two bytes
  std::string twentyE;
  for (int i = 0; i < 20; ++i) twentyE += e;
  const struct {
    std::string text, quoted;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {std::string(40, 'a'), std::string(40, 'a')},
      {std::string(41, 'a'), std::string(40, 'a') + "…"},
      {twentyE + "x", twentyE + "…"},
      {"a" + twentyE, "a" + twentyE.substr(0, 38) + "…"},  // the character across the limit goes whole
  };
  for (const auto& c : cases) EXPECT_EQ(QuotedPiece(c.text), c.quoted) << c.text;
  const std::string cell(98 * 1024, '7');
  try {
    StrToInt(cell + "x");
    ADD_FAILURE() << "accepted";
  } catch (const EConvertError& error) {
    EXPECT_EQ(std::string(error.what()), "'" + std::string(40, '7') + "…' is not a valid integer value");
  }
}

TEST(TextHelpers, TrimAndLowerCase) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(LowerCase("MyPic.DDR \xC3\x84"), "mypic.ddr \xC3\x84");
}
