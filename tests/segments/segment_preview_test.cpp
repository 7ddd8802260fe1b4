#include <gtest/gtest.h>

#include <QImage>

#include "engine/colour_tables.h"
#include "segments/segment_preview.h"

namespace kavri {
namespace {

TPlayDrawing PictureOf(const std::vector<std::vector<PointRecord>>& objects) {
  Drawing d;
  for (const auto& points : objects) {
    DrawingObject* object = d.AddObject();
    for (const PointRecord& p : points) object->Add(p);
  }
  return TPlayDrawing::FromDrawing(d);
}

PointRecord Lit(int x, int y, uint8_t colour = 2) { return {x, y, 0, colour, 0, 0}; }
PointRecord Blanked(int x, int y) { return {x, y, 0, 2, 0, 1}; }

int Where(const TPreviewFrame& frame, int x, int y, bool wantX) {
  int px = 0, py = 0;
  PreviewPoint(frame, Lit(x, y), px, py);
  return wantX ? px : py;
}

TEST(SegmentPreview, PointsStayInScreenOrientationAndOffsetsAreAddedNotSubtracted) {
  TPreviewFrame frame;
  EXPECT_EQ(Where(frame, 10, 20, true), 10);  // the device output would mirror it
  EXPECT_EQ(Where(frame, 10, 20, false), 20);
  frame.effects.Q = 5;
  frame.effects.R = -7;
  frame.output.hOffset = 3;
  frame.output.vOffset = 4;
  EXPECT_EQ(Where(frame, 10, 20, true), 18);
  EXPECT_EQ(Where(frame, 10, 20, false), 17);
  frame.output.hInvert = true;
  EXPECT_EQ(Where(frame, 10, 20, true), 255 - 10 + 8);
  frame.effects.Q = 400;  // held on the bitmap
  EXPECT_EQ(Where(frame, 10, 20, true), 255);
}

TEST(SegmentPreview, ScrollRunsOppositeToTheLoopsAccumulator) {
  TPreviewFrame frame;
  frame.effects.I = 1;
  frame.values.hScroll = 10;
  double expected = 100;
  ScrollX(500, expected);
  EXPECT_EQ(Where(frame, 100, 50, true), static_cast<int>(expected));
  frame.effects.I = 0;  // a letter at 0 leaves its accumulator out
  EXPECT_EQ(Where(frame, 100, 50, true), 100);
}

TEST(SegmentPreview, RedrawStartsAtItsFirstPointNotWhereThePenWas) {
  QImage bitmap(256, 256, QImage::Format_RGB32);
  bitmap.fill(Qt::black);
  TCanvas canvas(bitmap);
  canvas.MoveTo(0, 0);  // where the row number's text leaves it
  TPreviewFrame frame;
  frame.colourMode = 2;  // red
  const TPlayDrawing picture = PictureOf({{Lit(200, 200), Lit(220, 200)}});
  EXPECT_EQ(DrawPlayPreview(canvas, picture, frame), 2);
  EXPECT_EQ(bitmap.pixelColor(100, 100), QColor(Qt::black));
  EXPECT_EQ(bitmap.pixelColor(210, 200), ToQColor(ColorIndexToTColor(2)));
}

TEST(SegmentPreview, BlankedPointsMoveWithoutALineAndSlowDrawCutsThePicture) {
  QImage bitmap(256, 256, QImage::Format_RGB32);
  bitmap.fill(Qt::black);
  TCanvas canvas(bitmap);
  TPreviewFrame frame;
  frame.colourMode = 2;
  const TPlayDrawing picture = PictureOf({{Lit(10, 100), Blanked(100, 100), Lit(120, 100), Lit(140, 100)}});
  EXPECT_EQ(DrawPlayPreview(canvas, picture, frame), 4);
  EXPECT_EQ(bitmap.pixelColor(50, 100), QColor(Qt::black));        // no line to the blanked point
  EXPECT_NE(bitmap.pixelColor(101, 100), QColor(Qt::black));       // its ellipse
  EXPECT_NE(bitmap.pixelColor(110, 100), QColor(Qt::black));       // lit line from it

  frame.effects.D = 1;
  frame.values.slowDraw = 1;  // the pass draws slowDraw + 1 points
  EXPECT_EQ(DrawPlayPreview(canvas, picture, frame), 2);
}

TEST(SegmentPreview, ColourZeroStaysBlackAndGainsApply) {
  QImage bitmap(256, 256, QImage::Format_RGB32);
  bitmap.fill(Qt::black);
  TCanvas canvas(bitmap);
  TPreviewFrame frame;
  frame.colourMode = ColourModeAuto;
  frame.output.greenGain = 0;
  frame.output.blueGain = 0;
  const TPlayDrawing picture = PictureOf({{Lit(10, 30, 0), Lit(50, 30, 0)}, {Lit(10, 60, 1), Lit(50, 60, 1)}});
  DrawPlayPreview(canvas, picture, frame);
  EXPECT_EQ(bitmap.pixelColor(30, 30), QColor(Qt::black));
  const QColor white = bitmap.pixelColor(30, 60);
  EXPECT_GT(white.red(), 0);
  EXPECT_EQ(white.green(), 0);
  EXPECT_EQ(white.blue(), 0);
}

TEST(PlayDrawingCopy, HoldsCoordinatesToTheFrameAndBlankingToZeroOrOne) {
  Drawing d;
  DrawingObject* object = d.AddObject();
  object->Add({-5, 300, 2, 7, 0, 4});
  object->Add({20, 30, 1, 3, 0, 0});
  d.AddObject()->Add({255, 0, 0, 1, 0, 1});
  const TPlayDrawing copy = TPlayDrawing::FromDrawing(d);
  ASSERT_EQ(copy.ObjectCount(), 2u);
  ASSERT_EQ(copy.Object(0).size(), 2u);
  EXPECT_EQ(copy.Object(0)[0].x, 0);
  EXPECT_EQ(copy.Object(0)[0].y, 255);
  EXPECT_EQ(copy.Object(0)[0].kind, 2);
  EXPECT_EQ(copy.Object(0)[0].colour, 7);
  EXPECT_EQ(copy.Object(0)[0].blanked, 1);
  EXPECT_EQ(copy.Object(0)[1].blanked, 0);
  EXPECT_EQ(copy.Object(1)[0].blanked, 1);
  EXPECT_EQ(copy.PointCount(), 3u);
}

}  // namespace
}  // namespace kavri
