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

struct Emitted {
  int x, y, kind, blanked;
  bool operator==(const Emitted&) const = default;
};

std::vector<Emitted> Emission(std::span<const PointRecord> points) {
  std::vector<Emitted> out;
  for (const PointRecord& p : points) out.push_back({p.x, p.y, p.kind, p.blanked});
  return out;
}

int MaxX(std::span<const PointRecord> points) {
  int m = INT32_MIN;
  for (const PointRecord& p : points) m = std::max(m, p.x);
  return m;
}

class TextRollOutlines : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    ResetQuickPlayState();
    ResetTextRollState();
    for (char32_t c : std::u32string(U"aiwmWMé")) glyphs.glyphs[c] = SyntheticGlyphSource::Square(16);
  }
  void TearDown() override { ResetTextRollState(); }
  SyntheticGlyphSource glyphs;  // reference 16 x 16: a 16-pixel square spans twice the cell
};

TEST_F(TextRollOutlines, WideLettersTakeA180Cell) {
  const TPlayDrawing d = BuildTextCharOutlines({U"awmWM"}, {4, 4, false}, glyphs);
  ASSERT_EQ(d.ObjectCount(), 5u);
  // x = 2 x cell x (16 + 0.5) / 16: cells 256 / 4 = 64 and 180 / 4 = 45.
  EXPECT_EQ(MaxX(d.Object(0)), 132);
  for (size_t i = 1; i < 5; ++i) EXPECT_EQ(MaxX(d.Object(i)), 92) << i;
}

TEST_F(TextRollOutlines, NarrowLettersMoveOnlyInTheirOwnList) {
  for (bool large : {false, true}) {
    const TPlayDrawing d = BuildTextCharOutlines({U"aia"}, {4, 4, large}, glyphs);
    ASSERT_EQ(d.ObjectCount(), 3u);
    EXPECT_EQ(MaxX(d.Object(0)), 132);
    EXPECT_EQ(MaxX(d.Object(1)), 132 + (large ? 16 : 250));
    EXPECT_EQ(MaxX(d.Object(2)), 132);
  }
}

TEST_F(TextRollOutlines, QuadraticRecordsGiveTheirStartAndMidpointsThenTheLastControlPoint) {
  TOutlineContour contour;
  contour.start = Fx(0, 0);
  contour.records.push_back({TOutlineRecord::Kind::QSpline, {Fx(4, 8), Fx(8, 8), Fx(12, 0)}});
  glyphs.glyphs[U'q'] = {{contour}};
  const TPlayDrawing d = BuildTextCharOutlines({U"q"}, {4, 4, false}, glyphs);
  ASSERT_EQ(d.ObjectCount(), 1u);
  // Cell 64 x 64, box 128 wide: x = 8 (fx + 0.5), y = 4 (16 - fy - 0.5). Control points map to
  // (36, 30), (68, 30), (100, 62); their midpoints are (52, 30) and (84, 46).
  const std::vector<Emitted> expected{{4, 62, 2, 1},  {4, 62, 0, 0},   {52, 30, 0, 0}, {52, 30, 0, 0},
                                      {84, 46, 0, 0}, {100, 62, 2, 0}, {4, 62, 2, 0}};
  EXPECT_EQ(Emission(d.Object(0)), expected);
  for (const PointRecord& p : d.Object(0)) EXPECT_EQ(p.colour, TextColourIndex);
}

TEST_F(TextRollOutlines, AFaceWithoutReferenceWidthGivesEmptyListsInsteadOfDividingByZero) {
  glyphs.reference = {0, 16, 0};
  const TPlayDrawing d = BuildTextCharOutlines({U"ai"}, {4, 4, false}, glyphs);
  ASSERT_EQ(d.ObjectCount(), 2u);  // the characters keep their places in the roll
  EXPECT_EQ(d.PointCount(), 0u);
  EXPECT_EQ(BuildTextLineOutlines({U"ai"}, {4, 4, true}, glyphs).PointCount(), 0u);
}

TEST_F(TextRollOutlines, VerticalLinesKeepTheirFirst20BytesWithoutSplittingACharacter) {
  const std::u32string ascii25(25, U'a');
  const std::u32string split = std::u32string(19, U'a') + U"éa";  // é would take bytes 20 and 21
  const TPlayDrawing d = BuildTextLineOutlines({ascii25, U"", split, U"ai"}, {4, 4, false}, glyphs);
  ASSERT_EQ(d.ObjectCount(), 3u);  // the empty line is skipped
  const size_t square = 5;         // start, three corners, closing point
  EXPECT_EQ(d.Object(0).size(), 20 * square);
  EXPECT_EQ(d.Object(1).size(), 19 * square);
  // Character k of a line starts at k x pitch (pitch 256 div 20 = 12, 256 div 19 = 13), at 1/12
  // and 1/9 of its cell size.
  for (auto [list, pitch] : {std::pair{0, 12}, {1, 13}}) {
    const auto points = d.Object(list);
    for (size_t k = 0; k * square < points.size(); ++k) {
      EXPECT_EQ(points[k * square].x, static_cast<int>(k) * pitch) << list << " " << k;
      EXPECT_EQ(points[k * square].y, 6);  // 62 / 9
    }
  }
  // A short line's pitch is 256 div WidthFactor; the narrow letter's shift comes before the 1/12.
  EXPECT_EQ(d.Object(2)[0].x, 0);
  EXPECT_EQ(d.Object(2)[square].x, 64 + (4 + 250) / 12);
}

TEST_F(TextRollOutlines, PrepareReadsTheMemoLinesAndTheLiveFactors) {
  QuickPlayEffects.WidthFactor = 2;
  QuickPlayLargeSize = 1;
  const TQuickPlayStart start = PrepareTextRoll(QString::fromUtf8("a\r\n\r\nwé"), glyphs);
  EXPECT_TRUE(start.start);
  EXPECT_EQ(start.status, "Text rolling playing start...");
  ASSERT_EQ(TextCharOutlines->ObjectCount(), 3u);
  EXPECT_EQ(MaxX(TextCharOutlines->Object(1)), 2 * 90 * 33 / 32);  // "w": 180 / 2
  EXPECT_EQ(MaxX(TextCharOutlines->Object(2)), 128 * 33 / 32);     // "é": one full cell of 128
  EXPECT_TRUE(PrepareVerticalTextRoll(QString::fromUtf8("ai\nwé"), glyphs).start);
  EXPECT_EQ(TextCharOutlines->ObjectCount(), 2u);
}

}  // namespace
}  // namespace kavri
