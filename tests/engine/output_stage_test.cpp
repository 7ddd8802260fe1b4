#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "engine/colour_tables.h"
#include "engine/output_stage.h"
#include "engine/shared_state.h"

namespace kavri {
namespace {

PointRecord Point(int x, int y, uint8_t colour = 1, int kind = 1, uint8_t blanked = 0) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.colour = colour;
  p.kind = kind;
  p.blanked = blanked;
  return p;
}

class OutputStage : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }
  TDevicePoint Out(const PointRecord& p) { return PlainDevicePoint(TOutputSettings::Live(), p, ColorIndexToTColor(p.colour)); }
};

TEST_F(OutputStage, StartsMirroredAndInvertsFlipBack) {
  TDevicePoint d = Out(Point(0, 0));
  EXPECT_EQ(d.x, 255);
  EXPECT_EQ(d.y, 255);
  EXPECT_EQ(d.zeroX, 0);
  EXPECT_EQ(d.zeroY, 0);
  HInvertFlag = true;
  d = Out(Point(0, 0));
  EXPECT_EQ(d.x, 0);
  EXPECT_EQ(d.y, 255);
  VInvertFlag = true;
  d = Out(Point(10, 20));
  EXPECT_EQ(d.x, 10);
  EXPECT_EQ(d.y, 20);
}

TEST_F(OutputStage, OffsetsComeBeforeTheOutputSizes) {
  HOffset = 30;
  VOffset = -20;
  HSize = 40;
  VSize = 10;
  // (100, 50) -> mirrored (155, 205) -> offsets (125, 225) -> sizes: 128 - 3 * 2, 128 + 97 / 2.
  const TDevicePoint d = Out(Point(100, 50));
  EXPECT_EQ(d.x, 122);
  EXPECT_EQ(d.y, 176);

  HSize = VSize = 20;
  HOffset = -300;  // far outside the frame: clamped
  VOffset = 300;
  const TDevicePoint e = Out(Point(100, 50));
  EXPECT_EQ(e.x, 255);
  EXPECT_EQ(e.y, 0);
}

TEST_F(OutputStage, RotatesAboutTheCentreBeforeTheOffsets) {
  LocateAngle = 90;
  HOffset = 9;
  // (128, 28) -> mirrored (127, 227), a quarter turn -> (28.99999997, 127.0000027), minus the
  // offset -> 19.99999997, truncated (not rounded) to 19.
  const TDevicePoint d = Out(Point(128, 28));
  EXPECT_EQ(d.x, 19);
  EXPECT_EQ(d.y, 127);
}

// Settings straight from an unchecked file: the extremes saturate instead of overflowing.
TEST_F(OutputStage, ExtremeSettingsStayInsideTheFrame) {
  HOffset = INT32_MIN;
  VOffset = INT32_MAX;
  HSize = INT32_MAX;
  VSize = INT32_MIN;
  const TDevicePoint d = Out(Point(INT32_MIN, INT32_MAX));
  EXPECT_EQ(d.x, 255);
  EXPECT_EQ(d.y, 255);  // far below 0, and a negative size turns it over
  HSize = VSize = 20;
  const TDevicePoint e = Out(Point(INT32_MIN, INT32_MAX));
  EXPECT_EQ(e.x, 255);
  EXPECT_EQ(e.y, 0);
}

TEST_F(OutputStage, GainsScaleEachChannelAndClampAt255) {
  RedSaturation = 200;
  Intensity = 100;
  TDevicePoint d = Out(Point(0, 0, 2));  // red
  EXPECT_EQ(d.red, 255);                 // 510 clamped
  EXPECT_EQ(d.green, 0);
  EXPECT_EQ(d.blue, 0);

  RedSaturation = 100;
  GreenSaturation = 30;
  BlueSaturation = 200;
  Intensity = 200;
  d = Out(Point(0, 0, 5));  // cyan: green and blue full
  EXPECT_EQ(d.blue, 255);   // 1020 clamped
  EXPECT_EQ(d.green, 153);  // 255 * 30 * 200 / 10000
  EXPECT_EQ(d.red, 0);

  Intensity = 0;
  d = Out(Point(0, 0, 1));
  EXPECT_EQ(d.red + d.green + d.blue, 0);
  Intensity = 99;
  GreenSaturation = 33;
  d = Out(Point(0, 0, 1));
  EXPECT_EQ(d.green, 83);  // 255 * 33 * 99 / 10000 = 83.3, truncated
}

TEST_F(OutputStage, FlagsCarryBlankingAndKind) {
  EXPECT_EQ(Out(Point(0, 0, 1, 2, 1)).flags, 3);
  EXPECT_EQ(Out(Point(0, 0, 1, 1, 0)).flags, 0);
  EXPECT_EQ(Out(Point(0, 0, 1, 3, 0)).flags, 2);
}

TEST_F(OutputStage, SettingsAreTakenOncePerFrame) {
  const TOutputSettings s = TOutputSettings::Live();
  HInvertFlag = true;
  EXPECT_EQ(PlainDevicePoint(s, Point(0, 0), 0).x, 255);
  EXPECT_EQ(PlainDevicePoint(TOutputSettings::Live(), Point(0, 0), 0).x, 0);
}

TEST_F(OutputStage, DrawingFrameKeepsOrderColoursAndCutsAt8192Points) {
  Drawing drawing;
  auto* a = drawing.AddObject();
  a->Add(Point(0, 0, 2, 2, 1));
  a->Add(Point(10, 0, 4));
  auto* b = drawing.AddObject();
  b->Add(Point(20, 0, 0));
  auto frame = std::make_unique<TFrameBuffer>();
  ASSERT_TRUE(BuildDrawingFrame(drawing, TOutputSettings::Live(), *frame));
  ASSERT_EQ(frame->Count(), 3u);
  EXPECT_EQ((*frame)[0].x, 255);
  EXPECT_EQ((*frame)[0].red, 255);
  EXPECT_EQ((*frame)[0].flags, 3);
  EXPECT_EQ((*frame)[1].x, 245);
  EXPECT_EQ((*frame)[1].green, 255);
  EXPECT_EQ((*frame)[2].x, 235);
  EXPECT_EQ((*frame)[2].red + (*frame)[2].green + (*frame)[2].blue, 0);

  // A colour mode recolours every point but black ones.
  frame->Clear();
  TFrameColouring colouring;
  colouring.StartFrame(6, 0);  // blue
  ASSERT_TRUE(BuildDrawingFrame(drawing, TOutputSettings::Live(), *frame, &colouring));
  EXPECT_EQ((*frame)[0].blue, 255);
  EXPECT_EQ((*frame)[0].red, 0);
  EXPECT_EQ((*frame)[2].blue, 0);

  // The 8193rd point of a frame is cut, nothing is written past the buffer.
  for (int i = 0; i < 8190; ++i) b->Add(Point(i % 256, 7, 1));
  frame->Clear();
  ASSERT_EQ(drawing.PointCount(), 8193u);
  ASSERT_TRUE(BuildDrawingFrame(drawing, TOutputSettings::Live(), *frame));
  EXPECT_EQ(frame->Count(), 8192u);
  EXPECT_EQ((*frame)[8191].x, 255 - 8188 % 256);  // the 8189th added point
}

TEST_F(OutputStage, DrawingFrameStopsBeforeTheNextObjectOnStop) {
  Drawing drawing;
  drawing.AddObject()->Add(Point(0, 0));
  drawing.AddObject()->Add(Point(1, 0));
  std::atomic<bool> stop{true};
  TFrameBuffer frame;
  EXPECT_FALSE(BuildDrawingFrame(drawing, TOutputSettings::Live(), frame, nullptr, &stop));
  EXPECT_EQ(frame.Count(), 0u);
}

}  // namespace
}  // namespace kavri
