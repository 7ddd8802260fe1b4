#include "editor/text_outlines.h"

#include <gtest/gtest.h>

#include "tests/support/synthetic_glyph_source.h"

namespace kavri {
namespace {

class TextOutlinesTest : public ::testing::Test {
 protected:
  TextOutlinesTest() {
    // Every letter a 4-pixel square; "x" has no glyph, " " has no contours.
    for (char32_t c : std::u32string(U"abcdijW\u554A")) glyphs.glyphs[c] = kavri_test::SyntheticGlyphSource::Square(4);
    glyphs.glyphs[U' '] = {};
  }
  static TTextImportSettings Large() {
    TTextImportSettings s;
    s.fine = 0;
    s.largeSize = true;
    return s;
  }
  int FirstX(const Drawing& d, size_t o) const { return d[o][0].x; }

  kavri_test::SyntheticGlyphSource glyphs;
};

TEST_F(TextOutlinesTest, LaysCharactersOutInColumnsAndLines) {
  // Cell 32 x 32, reference 16: a square's start (0,0) maps to (2, 31); columns 32 apart.
  const Drawing d = BuildTextOutlines({U"ab", U"", U"c"}, Large(), glyphs, 7);
  ASSERT_EQ(d.Count(), 3u);
  EXPECT_EQ(FirstX(d, 0), 2);
  EXPECT_EQ(FirstX(d, 1), 34);
  EXPECT_EQ(d[0][0].y, 31);
  // Line 2 with height interval 8 starts 64 below line 0.
  EXPECT_EQ(d[2][0].y, 31 + 64);
  EXPECT_EQ(d[2][0].colour, 7);
  EXPECT_EQ(d[0].Count(), 5u);
}

TEST_F(TextOutlinesTest, BlanksAndMissingGlyphsKeepTheirColumnWithoutAnObject) {
  const Drawing d = BuildTextOutlines({U"a x b"}, Large(), glyphs, 4);
  ASSERT_EQ(d.Count(), 2u);
  EXPECT_EQ(FirstX(d, 1), 4 * 32 + 2);
}

TEST_F(TextOutlinesTest, CutsLinesAtTwentyBytesCountingDoubleByteCharactersTwice) {
  EXPECT_EQ(BuildTextOutlines({std::u32string(25, U'a')}, Large(), glyphs, 4).Count(), 20u);
  // 19 single bytes leave one byte: the double-byte character after them is dropped whole.
  EXPECT_EQ(BuildTextOutlines({std::u32string(19, U'a') + U"\u554A"}, Large(), glyphs, 4).Count(), 19u);
  // A double-byte character takes one column, spanning its cell once rather than twice.
  const Drawing d = BuildTextOutlines({U"a\u554Ab"}, Large(), glyphs, 4);
  ASSERT_EQ(d.Count(), 3u);
  EXPECT_EQ(FirstX(d, 1), 33);  // x = 32 + 32 * 0.5 / 16
  EXPECT_EQ(FirstX(d, 2), 66);
}

TEST_F(TextOutlinesTest, ADoubleByteGlyphSpansAnOddWidthCellToItsLastPixel) {
  glyphs.glyphs[U'\u4E00'] = kavri_test::SyntheticGlyphSource::Square(15.5);  // as wide as the reference
  TTextImportSettings s = Large();
  s.widthFactor = 15;  // cells of 17
  const Drawing d = BuildTextOutlines({U"\u4E00"}, s, glyphs, 4);
  ASSERT_EQ(d.Count(), 1u);
  EXPECT_EQ(d[0][1].x, 17);
}

TEST_F(TextOutlinesTest, SmallSizeScalesDownAndNarrowLettersMoveRight) {
  TTextImportSettings s = Large();
  s.largeSize = false;
  const Drawing d = BuildTextOutlines({U"ai"}, s, glyphs, 4);
  ASSERT_EQ(d.Count(), 2u);
  EXPECT_EQ(FirstX(d, 0), 0);           // 2 / 12
  EXPECT_EQ(d[0][0].y, 3);              // 31 / 9
  EXPECT_EQ(FirstX(d, 1), 32 + 10);     // (2 + 1000 / 8) / 12 + 32
  EXPECT_EQ(FirstX(BuildTextOutlines({U"i"}, Large(), glyphs, 4), 0), 2 + 8);
  // Wide letters get a narrower cell.
  EXPECT_EQ(BuildTextOutlines({U"W"}, Large(), glyphs, 4)[0][1].x, 12);  // 44 * 4.5 / 16
}

TEST_F(TextOutlinesTest, ThinningAndAZeroReferenceWidth) {
  TTextImportSettings s = Large();
  s.fine = 40;
  EXPECT_EQ(BuildTextOutlines({U"a"}, s, glyphs, 4)[0].Count(), 1u);
  glyphs.reference = {0, 0, 0};
  EXPECT_TRUE(BuildTextOutlines({U"abc"}, Large(), glyphs, 4).Empty());
}

TEST_F(TextOutlinesTest, CanvasScaleDoublesAndDropsOutlinesReaching531) {
  TTextImportSettings s = Large();
  s.heightInterval = 1;  // line 1 starts at 256: doubled it leaves the canvas
  Drawing d = OutlinesForCanvas(BuildTextOutlines({U"ab", U"c"}, s, glyphs, 4));
  ASSERT_EQ(d.Count(), 2u);
  EXPECT_EQ(d[1][0].x, 68);
  EXPECT_EQ(d[1][0].y, 62);
}

}  // namespace
}  // namespace kavri
