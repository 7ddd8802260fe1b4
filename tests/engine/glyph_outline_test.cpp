#include "engine/glyph_outline.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "tests/support/synthetic_glyph_source.h"

namespace kavri {
namespace {

using kavri_test::Fx;
// (x, y, kind, blanked)
using Pt = std::tuple<int, int, int, int>;
std::vector<Pt> Sequence(const DrawingObject& o) {
  std::vector<Pt> out;
  for (const auto& p : o.Points()) out.emplace_back(p->x, p->y, p->kind, p->blanked);
  return out;
}

TGlyphOutline LineAndCurve() {
  TOutlineContour c;
  c.start = Fx(0, 0);
  c.records.push_back({TOutlineRecord::Kind::Line, {Fx(8, 0)}});
  c.records.push_back({TOutlineRecord::Kind::QSpline, {Fx(8, 8), Fx(0, 8), Fx(0, 4)}});
  return {{c}};
}

TEST(GlyphToPointLists, GivesStartLinesCurveMidpointsAndTheClosingPoint) {
  DrawingObject single;
  // Reference width 16, cell 16 x 16: a single-byte glyph spans 32 pixels, x = 2 vx + 1 and
  // y = 15.5 - vy, truncated.
  GlyphToPointLists(LineAndCurve(), {16, 16, 0}, {0, 0, 32, 16}, 5, single);
  EXPECT_EQ(Sequence(single), (std::vector<Pt>{{1, 15, 2, 1},
                                               {17, 15, 2, 0},
                                               {17, 15, 0, 0},
                                               {9, 7, 0, 0},
                                               {9, 7, 0, 0},
                                               {1, 9, 0, 0},
                                               {1, 11, 2, 0},
                                               {1, 15, 2, 0}}));
  ASSERT_GE(single.Count(), 4u);
  EXPECT_EQ(single[3].colour, 5);
  EXPECT_EQ(single[3].state, 0);

  // A double-byte glyph spans the cell once; a second contour starts blanked in the same object;
  // the cell's corner moves every point.
  TGlyphOutline two = TGlyphOutline{{LineAndCurve().contours[0], kavri_test::SyntheticGlyphSource::Square(4).contours[0]}};
  DrawingObject wide;
  GlyphToPointLists(two, {12, 16, 4}, {100, 50, 16, 16}, 5, wide);
  ASSERT_EQ(wide.Count(), 8u + 5u);
  EXPECT_EQ(Sequence(wide)[0], (Pt{100, 65, 2, 1}));
  EXPECT_EQ(Sequence(wide)[1], (Pt{108, 65, 2, 0}));
  EXPECT_EQ(Sequence(wide)[8], (Pt{100, 65, 2, 1}));
  EXPECT_EQ(Sequence(wide)[10], (Pt{104, 61, 2, 0}));
}

TEST(GlyphToPointLists, AZeroReferenceWidthGivesNothing) {
  DrawingObject out;
  GlyphToPointLists(LineAndCurve(), {0, 16, 0}, {0, 0, 32, 16}, 4, out);
  GlyphToPointLists(LineAndCurve(), {-3, 16, 3}, {0, 0, 32, 16}, 4, out);
  EXPECT_TRUE(out.Empty());
}

TEST(GlyphToPointLists, AGlyphAsWideAsTheReferenceSpansItsBoxAsEachTextWidensIt) {
  // From the reference's left edge to its right edge. The text import's box is 2 w / n wide, also
  // for an odd w; the rolling text halves the cell first.
  TOutlineContour edge;
  edge.start = Fx(-0.5, 0);
  edge.records.push_back({TOutlineRecord::Kind::Line, {Fx(15.5, 0)}});
  struct Case {
    int left, cellWidth, bytes, importRight, rollingRight;
  };
  for (const Case& c : std::vector<Case>{{0, 17, 2, 17, 16}, {100, 31, 2, 131, 130}, {0, 16, 2, 16, 16},
                                         {0, 85, 2, 85, 84}, {0, 17, 1, 34, 34}, {5, 9, 1, 23, 23}}) {
    for (auto [boxWidth, right] : {std::pair{TextImportGlyphBoxWidth(c.cellWidth, c.bytes), c.importRight},
                                   std::pair{RollingTextGlyphBoxWidth(c.cellWidth, c.bytes), c.rollingRight}}) {
      DrawingObject out;
      GlyphToPointLists(TGlyphOutline{{edge}}, {16, 16, 0}, {c.left, 0, boxWidth, 16}, 4, out);
      ASSERT_EQ(out.Count(), 3u);
      EXPECT_EQ(out[0].x, c.left) << c.cellWidth << " / " << c.bytes;
      EXPECT_EQ(out[1].x, right) << c.cellWidth << " / " << c.bytes;
    }
  }
}

TEST(GlyphCells, WidthsAndNarrowShifts) {
  EXPECT_EQ(CharacterCellWidth(U'a', 8), 32);
  EXPECT_EQ(CharacterCellWidth(U'W', 8), 22);
  EXPECT_EQ(CharacterCellWidth(U'm', 1), 180);
  EXPECT_EQ(CharacterCellWidth(U'\u554A', 8), 32);
  EXPECT_EQ(NarrowLetterShift(U'i', 8, true), 8);
  EXPECT_EQ(NarrowLetterShift(U'J', 8, false), 125);
  EXPECT_EQ(NarrowLetterShift(U'a', 8, false), 0);
  EXPECT_EQ(ByteLength(U'~'), 1);
  EXPECT_EQ(ByteLength(U'\u00E9'), 2);
}

TEST(GlyphThinning, DropsEveryClosePointEvenOnTheSameRow) {
  DrawingObject o;
  for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {0, 0}, {3, 0}, {6, 0}, {6, 4}, {6, 4}}) o.Add({x, y});
  DrawingObject keepAll = o;
  ThinGlyphPoints(keepAll, 0);
  EXPECT_EQ(keepAll.Count(), 6u);
  ThinGlyphPoints(o, 5);
  ASSERT_EQ(o.Count(), 2u);
  EXPECT_EQ(o[1].x, 6);
  EXPECT_EQ(o[1].y, 0);
}

TEST(ContourFromCurvePoints, StartsOnTheCurveAndClosesCurvesExplicitly) {
  using K = TOutlineRecord::Kind;
  struct Case {
    const char* name;
    std::vector<TCurvePoint> points;  // 26.6 units: 64 is one pixel
    TFixedPoint start;
    std::vector<std::pair<K, std::vector<TFixedPoint>>> records;
  };
  const Case cases[] = {
      {"straight", {{0, 0, true}, {64, 0, true}, {64, 64, true}}, Fx(0, 0), {{K::Line, {Fx(1, 0), Fx(1, 1)}}}},
      {"curve into the start", {{0, 0, true}, {64, 0, true}, {64, 64, false}}, Fx(0, 0),
       {{K::Line, {Fx(1, 0)}}, {K::QSpline, {Fx(1, 1), Fx(0, 0)}}}},
      {"first point off the curve", {{64, 64, false}, {64, 0, true}, {0, 0, true}}, Fx(0, 0),
       {{K::QSpline, {Fx(1, 1), Fx(1, 0)}}}},
      {"no point on the curve", {{0, 0, false}, {128, 0, false}, {128, 128, false}}, Fx(1, 1),
       {{K::QSpline, {Fx(0, 0), Fx(2, 0), Fx(2, 2), Fx(1, 1)}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TOutlineContour contour = ContourFromCurvePoints(c.points);
    EXPECT_EQ(contour.start, c.start);
    ASSERT_EQ(contour.records.size(), c.records.size());
    for (size_t i = 0; i < c.records.size(); ++i) {
      EXPECT_EQ(contour.records[i].kind, c.records[i].first);
      EXPECT_EQ(contour.records[i].points, c.records[i].second);
    }
  }
}

// The installed fonts the program offers (the project's set-up installs them).
TEST(FontGlyphSource, ReadsRealOutlinesAndReferenceMetrics) {
  std::string error;
  auto dejavu = OpenFontGlyphSource({"DejaVu Sans", 10, false, false}, &error);
  ASSERT_TRUE(dejavu) << error;
  const TReferenceMetrics reference = dejavu->ReferenceMetrics();
  EXPECT_GT(reference.Width(), 0);  // DejaVu has no U+554A: its own em box stands in
  const TGlyphOutline* o = dejavu->Outline(U'O');
  ASSERT_TRUE(o);
  EXPECT_EQ(o->contours.size(), 2u);
  DrawingObject points;
  GlyphToPointLists(*o, reference, {0, 0, 64, 32}, 4, points);
  ASSERT_GT(points.Count(), 10u);
  for (const auto& p : points.Points()) {
    EXPECT_GE(p->x, 0);
    EXPECT_LE(p->x, 64);
    EXPECT_GE(p->y, 0);
    EXPECT_LE(p->y, 32);
  }
  const TGlyphOutline* dot = dejavu->Outline(U'.');
  ASSERT_TRUE(dot);
  EXPECT_FALSE(dot->contours.empty());
  const TGlyphOutline* blank = dejavu->Outline(U' ');
  ASSERT_TRUE(blank);
  EXPECT_TRUE(blank->contours.empty());
  EXPECT_EQ(dejavu->Outline(U'\u554A'), nullptr);
  EXPECT_EQ(dejavu->Outline(U'O'), o);  // kept once read

  auto cjk = OpenFontGlyphSource({"WenQuanYi Micro Hei", 10, false, false}, &error);
  ASSERT_TRUE(cjk) << error;
  EXPECT_GT(cjk->ReferenceMetrics().Width(), 8);
  ASSERT_TRUE(cjk->Outline(U'\u554A'));
  EXPECT_FALSE(cjk->Outline(U'\u554A')->contours.empty());

  // The classic Western family resolves to its installed metric twin.
  EXPECT_NE(MatchFontFile({"Arial", 10, true, false}).find("Liberation"), std::string::npos);
  auto arial = OpenFontGlyphSource({"Arial", 10, false, false}, &error);
  ASSERT_TRUE(arial) << error;
  EXPECT_GT(arial->ReferenceMetrics().Width(), 0);
}

}  // namespace
}  // namespace kavri
