#include "shows/show_preview_points.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/colour_tables.h"

namespace kavri {
namespace {

PointRecord Lit(int x, int y, uint8_t colour = 2) { return {x, y, 0, colour, 0, 0}; }
PointRecord Blanked(int x, int y) { return {x, y, 0, 2, 0, 1}; }

TPlayDrawingPtr PictureOf(const std::vector<PointRecord>& points) {
  Drawing d;
  DrawingObject* object = d.AddObject();
  for (const PointRecord& p : points) object->Add(p);
  return std::make_shared<TPlayDrawing>(TPlayDrawing::FromDrawing(d));
}

std::pair<int, int> At(const std::vector<TPreviewPoint>& points, size_t i) { return {points[i].x, points[i].y}; }

// Where one point of each kind lands: the same output settings, three different chains.
TEST(ShowPreviewPoints, EachKindPlacesItsPointsAsItsOwnChainSays) {
  struct Case {
    const char* what;
    TOutputSettings output;
    std::pair<int, int> drawing, ilda, segment;
  };
  TOutputSettings inverted;
  inverted.hInvert = inverted.vInvert = true;
  TOutputSettings shifted;
  shifted.hOffset = -20;
  shifted.vOffset = 6;
  TOutputSettings invertedShifted = inverted;
  invertedShifted.hOffset = -20;
  TOutputSettings smaller;
  smaller.hSize = 10;  // half size about the centre
  const Case cases[] = {
      // stored (10, 20); ILDA stored (-118, 107) is the same place on screen
      {"plain", {}, {10, 20}, {10, 20}, {10, 20}},
      {"inverts", inverted, {245, 235}, {245, 235}, {245, 235}},
      // offsets are added, where the laser subtracts them; held on the bitmap
      {"offsets", shifted, {0, 26}, {0, 26}, {0, 26}},
      // a segment item inverts after the finish: its clamped 0 becomes 255
      {"inverted offsets", invertedShifted, {225, 235}, {225, 235}, {255, 235}},
      {"output size", smaller, {69, 20}, {69, 20}, {69, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TShowPreviewLook look{c.output, 257, 0};
    std::vector<TPreviewPoint> drawing, ilda, segment;
    AddDrawingPreview(*PictureOf({Lit(10, 20)}), look, drawing);
    TILDAframe frame;
    frame.points = {Lit(-118, 107)};
    AddIldaPreview(frame, look, ilda);
    TSectionRecord item;
    item.L = 20;
    item.drawing = PictureOf({Lit(10, 20)});
    TEffectValues values;
    values.slowDraw = 100;
    AddSegmentPreview(item, values, look, segment);
    EXPECT_EQ(At(drawing, 0), c.drawing);
    EXPECT_EQ(At(ilda, 0), c.ilda);
    EXPECT_EQ(At(segment, 0), c.segment);
  }
}

TEST(ShowPreviewPoints, MarksMoveAtTheStartAndAtBlankedPointsAndDotsForBlankedItems) {
  using M = TPreviewMark;
  const TShowPreviewLook look;
  const auto picture = PictureOf({Lit(1, 1), Lit(2, 2), Blanked(3, 3), Lit(4, 4)});
  std::vector<TPreviewPoint> points;
  AddDrawingPreview(*picture, look, points);
  TILDAframe frame;
  frame.points = {Lit(1, 1), Lit(2, 2), Blanked(3, 3), Lit(4, 4)};
  AddIldaPreview(frame, look, points);  // appended: its first point moves again
  TSectionRecord item;
  item.L = 20;
  item.O = 1;
  item.drawing = picture;
  TEffectValues values;
  values.slowDraw = 1;  // stops once more than one point is drawn
  AddSegmentPreview(item, values, look, points);
  std::vector<M> marks;
  for (const auto& p : points) marks.push_back(p.mark);
  EXPECT_EQ(marks, (std::vector<M>{M::Move, M::Line, M::Ring, M::Line, M::Move, M::Line, M::Move, M::Line, M::Dot,
                                   M::Dot}));
}

TEST(ShowPreviewPoints, ColoursFollowTheShowsChoiceAndTheGains) {
  TShowPreviewLook look;
  look.output.redGain = 50 * 100;  // red at half
  look.colourCycle = 5;
  const auto gained = [&](TColor c) { return RGBToTColor(GetRValue(c) / 2, GetGValue(c), GetBValue(c)); };
  const auto picture = PictureOf({Lit(1, 1, 0), Lit(2, 2, 9), Lit(3, 3, 9)});
  struct Case {
    int32_t mode;
    std::vector<TColor> drawing;
  };
  const Case cases[] = {
      {3, {0, ColorIndexToTColor(3), ColorIndexToTColor(3)}},    // black stays black
      {259, {0, ColorIndexToTColor(6), ColorIndexToTColor(6)}},  // the track's cycle + 1
      {260, {0, ColorIndexToTColor(7), ColorIndexToTColor(8)}},  // counter from the cycle
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    look.colourMode = c.mode;
    std::vector<TPreviewPoint> points;
    AddDrawingPreview(*picture, look, points);
    ASSERT_EQ(points.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(points[i].colour, gained(c.drawing[i])) << i;
  }
  // ILDA: every track previews the show's choice on the ILDA palette, index 0 included.
  look.colourMode = 259;
  look.colourCycle = 70;
  TILDAframe frame;
  frame.points = {Lit(0, 0, 0)};
  std::vector<TPreviewPoint> points;
  AddIldaPreview(frame, look, points);
  EXPECT_EQ(points[0].colour, gained(IldaColorToTColor(6)));
  // A segment item's own K stands in for Auto.
  look.colourMode = 257;
  TSectionRecord item;
  item.L = 20;
  item.K = 4;
  item.drawing = picture;
  TEffectValues values;
  values.slowDraw = 10;
  points.clear();
  AddSegmentPreview(item, values, look, points);
  EXPECT_EQ(points[1].colour, gained(ColorIndexToTColor(4)));
}

}  // namespace
}  // namespace kavri
