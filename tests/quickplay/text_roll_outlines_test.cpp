#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/shared_state.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/text_roll_outlines.h"
#include "quickplay/text_roll_state.h"
#include "tests/support/synthetic_glyph_source.h"

namespace kavri {
namespace {

using kavri_test::Fx;
using kavri_test::SyntheticGlyphSource;

int MaxX(std::span<const PointRecord> points) {
  int m = INT32_MIN;
  for (const PointRecord& p : points) m = std::max(m, p.x);
  return m;
}

class TextRollOutlines : public ::testing::Test {
 protected:
  void SetUp() override {
    for (char32_t c : std::u32string(U"aiwmWMé")) glyphs.glyphs[c] = SyntheticGlyphSource::Square(16);
  }
  void TearDown() override {
    ResetTextRollState();
    ResetQuickPlayState();
    ResetSharedState();
  }
  SyntheticGlyphSource glyphs;  // reference 16 x 16: a 16-pixel square spans twice its cell
};

TEST_F(TextRollOutlines, WideLettersTakeA180CellAndNarrowOnesMoveInTheirOwnList) {
  QuickPlayEffects.WidthFactor = 4;
  for (int large : {0, 1}) {
    QuickPlayLargeSize = large;
    ASSERT_TRUE(PrepareTextRoll(QString::fromUtf8("awm\r\n\r\nWMiaé"), glyphs).start);
    std::vector<int> widths;
    for (size_t i = 0; i < TextCharOutlines->ObjectCount(); ++i) widths.push_back(MaxX(TextCharOutlines->Object(i)));
    // x = 2 x cell x (16 + 0.5) / 16: cells of 256 / 4 = 64 and 180 / 4 = 45; the two bytes of
    // "é" share its cell, so it spans one cell, not two; "i" moves by 64 / 4 with Large Size,
    // else by 1000 / 4.
    const int i = 132 + (large ? 16 : 250);
    EXPECT_EQ(widths, (std::vector<int>{132, 92, 92, 92, 92, i, 132, 66}));
  }
}

TEST_F(TextRollOutlines, ADoubleByteGlyphInAnOddCellIsMappedIntoTheCellHalvedFirst) {
  glyphs.glyphs[U'\u4E00'] = SyntheticGlyphSource::Square(15.5);  // as wide as the reference
  const TPlayDrawing d = BuildTextCharOutlines({U"\u4E00"}, {15, 4, true}, glyphs);
  ASSERT_EQ(d.ObjectCount(), 1u);
  EXPECT_EQ(MaxX(d.Object(0)), 16);  // cells of 17: 2 x (17 div 2)
}

TEST_F(TextRollOutlines, QuadraticRecordsGiveTheirStartAndMidpointsThenTheLastControlPoint) {
  TOutlineContour contour;
  contour.start = Fx(0, 0);
  contour.records.push_back({TOutlineRecord::Kind::QSpline, {Fx(4, 8), Fx(8, 8), Fx(12, 0)}});
  glyphs.glyphs[U'q'] = {{contour}};
  const TPlayDrawing d = BuildTextCharOutlines({U"q"}, {4, 4, false}, glyphs);
  // Cell 64 x 64, box 128 wide: x = 8 (fx + 0.5), y = 4 (16 - fy - 0.5). Control points map to
  // (36, 30), (68, 30), (100, 62); their midpoints are (52, 30) and (84, 46).
  const std::vector<PointRecord> expected{{4, 62, 2, 4, 0, 1},  {4, 62, 0, 4, 0, 0},   {52, 30, 0, 4, 0, 0},
                                          {52, 30, 0, 4, 0, 0}, {84, 46, 0, 4, 0, 0},  {100, 62, 2, 4, 0, 0},
                                          {4, 62, 2, 4, 0, 0}};
  ASSERT_EQ(d.ObjectCount(), 1u);
  EXPECT_EQ(std::vector<PointRecord>(d.Object(0).begin(), d.Object(0).end()), expected);
}

TEST_F(TextRollOutlines, AFaceWithoutReferenceWidthGivesEmptyListsInsteadOfDividingByZero) {
  glyphs.reference = {0, 16, 0};
  const TPlayDrawing d = BuildTextCharOutlines({U"ai"}, {4, 4, false}, glyphs);
  EXPECT_EQ(d.ObjectCount(), 2u);  // the characters keep their places in the roll
  EXPECT_EQ(d.PointCount(), 0u);
  EXPECT_EQ(BuildTextLineOutlines({U"ai"}, {4, 4, true}, glyphs).PointCount(), 0u);
}

TEST_F(TextRollOutlines, VerticalLinesKeepTheirFirst20BytesWithoutSplittingACharacter) {
  const std::u32string split = std::u32string(19, U'a') + U"éa";  // é would take bytes 20 and 21
  const TPlayDrawing d = BuildTextLineOutlines({std::u32string(25, U'a'), U"", split, U"ai"}, {4, 4, false}, glyphs);
  ASSERT_EQ(d.ObjectCount(), 3u);  // the empty line is skipped
  // Character k starts at k x pitch, 256 div max(bytes, 4), at 1/12 and 1/9 of its cell
  // coordinates (4, 62); a narrow letter's shift comes before the 1/12.
  const size_t square = 5;  // start, three corners, closing point
  for (auto [list, characters, pitch] : {std::tuple{0, 20, 12}, {1, 19, 13}, {2, 2, 64}}) {
    const auto points = d.Object(list);
    ASSERT_EQ(points.size(), characters * square);
    for (int k = 0; k < characters; ++k) {
      EXPECT_EQ(points[k * square].x, k * pitch + (list == 2 && k == 1 ? (4 + 250) / 12 : 0)) << list << " " << k;
      EXPECT_EQ(points[k * square].y, 6);
    }
  }
}

}  // namespace
}  // namespace kavri
