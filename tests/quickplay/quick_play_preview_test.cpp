#include "quickplay/quick_play_preview.h"

#include <gtest/gtest.h>

#include "engine/colour_tables.h"
#include "engine/shared_state.h"
#include "tests/quickplay/quick_play_fixture.h"

namespace kavri {
namespace {

using kavri_test::Picture;
using kavri_test::PreparedFrames;
using Stroke = TPreviewStroke;

class QuickPlayPreviewTest : public kavri_test::QuickPlayFixture {};

TEST_F(QuickPlayPreviewTest, PointsAreInScreenOrientationWithOffsetsAddedAndScrollsReversed) {
  struct Case {
    int32_t mode;
    int32_t x, y;  // in the play list
    int32_t hOffset, hMove, hScroll;
    int previewX, previewY;
  };
  // The loop's scroll phase 10 moves the device point by -10; the preview scrolls by 510 - 10.
  for (const Case& c : std::vector<Case>{{QuickPlayDrawing, 0, 0, 0, 0, 0, 0, 0},
                                         {QuickPlayDrawing, 10, 20, 5, 0, 0, 15, 20},
                                         {QuickPlayIld, 0, 0, 0, 0, 0, 0, 255},
                                         {QuickPlayIld, 100, 200, 0, 0, 10, 100, 55},
                                         {QuickPlayIld, 100, 200, 0, 1, 10, 110, 55}}) {
    QuickPlayDrawingList = Picture({{c.x, c.y, 0, 1, 0, 0}});
    QuickPlayIldaFrames = PreparedFrames({{{c.x, c.y, 0, 1, 0, 0}}});
    QuickPlaySlowDrawCount = 1;
    HOffset = c.hOffset;
    QuickPlayEffects.HMove = c.hMove;
    TEffectValues v;
    v.hScroll = c.hScroll;
    QuickPlayEffectState.Publish(v);
    const TQuickPreview preview = QuickPlayPreview(c.mode);
    ASSERT_EQ(preview.points.size(), 1u);
    EXPECT_EQ(preview.points[0].x, c.previewX) << c.mode << " " << c.x << "," << c.y;
    EXPECT_EQ(preview.points[0].y, c.previewY) << c.mode << " " << c.x << "," << c.y;
  }
}

TEST_F(QuickPlayPreviewTest, StrokesColoursAndTheSlowDrawPosition) {
  const std::vector<PointRecord> points{{0, 0, 0, 2, 0, 0}, {1, 1, 0, 2, 0, 1}, {2, 2, 0, 2, 0, 0}, {3, 3, 0, 2, 0, 0}};
  QuickPlayDrawingList = Picture(points);
  QuickPlayIldaFrames = PreparedFrames({points});
  RedSaturation = 50;
  QuickPlaySlowDrawCount = 2;  // points 0..2 are drawn
  const auto strokes = [](const TQuickPreview& p) {
    std::vector<Stroke> out;
    for (const auto& q : p.points) out.push_back(q.stroke);
    return out;
  };
  const TQuickPreview drawing = QuickPlayPreview(QuickPlayDrawing);
  EXPECT_EQ(strokes(drawing), (std::vector<Stroke>{Stroke::MoveTo, Stroke::Dot, Stroke::LineTo}));
  const TColor red = ColorIndexToTColor(2);
  EXPECT_EQ(drawing.points[0].colour, RGBToTColor(GetRValue(red) / 2, GetGValue(red), GetBValue(red)));
  const TQuickPreview ilda = QuickPlayPreview(QuickPlayIld);
  EXPECT_EQ(strokes(ilda), (std::vector<Stroke>{Stroke::MoveTo, Stroke::MoveTo, Stroke::LineTo}));
  EXPECT_EQ(ilda.framePoints, 4);
  EXPECT_EQ(ilda.frameNumber, 1);
  QuickPlayEffects.PointDraw = 1;  // drawings only
  EXPECT_EQ(strokes(QuickPlayPreview(QuickPlayDrawing)), std::vector<Stroke>(3, Stroke::LargeDot));
  EXPECT_EQ(strokes(QuickPlayPreview(QuickPlayIld)), strokes(ilda));
}

// The loop moves the frame index while the preview reads it.
TEST_F(QuickPlayPreviewTest, AFrameIndexOutsideTheFramesShowsNothing) {
  QuickPlayIldaFrames = PreparedFrames({{PointRecord{}}, {PointRecord{}}});
  QuickPlaySlowDrawCount = 10;
  for (int32_t index : {-1, 2, 1000}) {
    QuickPlayFrameIndex = index;
    const TQuickPreview preview = QuickPlayPreview(QuickPlayIld);
    EXPECT_TRUE(preview.points.empty()) << index;
    EXPECT_EQ(preview.frameNumber, 0);
  }
  QuickPlayFrameIndex = 1;
  EXPECT_EQ(QuickPlayPreview(QuickPlayIld).frameNumber, 2);
}

}  // namespace
}  // namespace kavri
