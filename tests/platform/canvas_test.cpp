#include <gtest/gtest.h>

#include "platform/canvas.h"

using namespace kavri;

namespace {

constexpr TColor kBack = 0x102030;

QImage Blank(int w = 64, int h = 64) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(ToQColor(kBack));
  return image;
}

// The set pixels (those not in the background colour) as "x,y" strings, scanned row by row.
std::vector<std::string> Lit(const TCanvas& c) {
  std::vector<std::string> out;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.Pixel(x, y) != kBack) out.push_back(std::to_string(x) + "," + std::to_string(y));
  return out;
}

using Pixels = std::vector<std::string>;

}  // namespace

TEST(Canvas, LinesLeaveOutTheirEndPixelAndKeepThePenPosition) {
  QImage image = Blank();
  TCanvas c(image);
  c.Pen.Color = clRed;
  c.MoveTo(2, 3);
  c.LineTo(6, 3);
  EXPECT_EQ(Lit(c), (Pixels{"2,3", "3,3", "4,3", "5,3"}));
  EXPECT_EQ(c.PenPos(), QPoint(6, 3));
  c.LineTo(6, 6);  // continues from where the last line ended, so the corner is drawn once
  EXPECT_EQ(Lit(c), (Pixels{"2,3", "3,3", "4,3", "5,3", "6,3", "6,4", "6,5"}));
  EXPECT_EQ(c.Pixel(6, 6), kBack);
  EXPECT_EQ(c.Pixel(2, 3), clRed);
}

TEST(Canvas, ZeroLengthLineDrawsNothing) {
  QImage image = Blank();
  TCanvas c(image);
  c.MoveTo(10, 10);
  c.LineTo(10, 10);
  EXPECT_TRUE(Lit(c).empty());
  EXPECT_EQ(c.PenPos(), QPoint(10, 10));
}

TEST(Canvas, SlopedLinesStepOnePixelPerMajorStepInEitherDirection) {
  QImage image = Blank();
  TCanvas c(image);
  c.Pen.Color = clWhite;
  c.MoveTo(0, 0);
  c.LineTo(4, 2);
  EXPECT_EQ(Lit(c), (Pixels{"0,0", "1,0", "2,1", "3,1"}));

  QImage image2 = Blank();
  TCanvas d(image2);
  d.Pen.Color = clWhite;
  d.MoveTo(10, 20);
  d.LineTo(7, 11);  // steep, up and to the left: 9 pixels, x moving by one every third
  const Pixels lit = Lit(d);
  ASSERT_EQ(lit.size(), 9u);
  EXPECT_EQ(d.Pixel(10, 20), clWhite);
  EXPECT_EQ(d.Pixel(7, 11), kBack);
  for (int y = 12; y <= 20; ++y) {
    int count = 0;
    for (int x = 0; x < 64; ++x) count += d.Pixel(x, y) == clWhite;
    EXPECT_EQ(count, 1) << "row " << y;
  }
}

TEST(Canvas, FarOffLinesAreClippedAndEndAtOnce) {
  QImage image = Blank(32, 32);
  TCanvas c(image);
  c.Pen.Color = clLime;
  c.MoveTo(-2000000000, 5);
  c.LineTo(2000000000, 5);
  for (int x = 0; x < 32; ++x) EXPECT_EQ(c.Pixel(x, 5), clLime) << x;
  EXPECT_EQ(Lit(c).size(), 32u);
  // A steep line from far above through the middle of the surface.
  c.MoveTo(16, -2000000000);
  c.LineTo(16, 2000000000);
  EXPECT_EQ(c.Pixel(16, 0), clLime);
  EXPECT_EQ(c.Pixel(16, 31), clLime);
  EXPECT_EQ(Lit(c).size(), 63u);
}

TEST(Canvas, DashedAndDottedPensLeaveGapsAndClearPenDrawsNothing) {
  QImage image = Blank();
  TCanvas c(image);
  c.Pen.Color = clWhite;
  c.Pen.Style = TPenStyle::Dash;
  c.MoveTo(0, 0);
  c.LineTo(60, 0);
  for (int x = 0; x < 60; ++x) EXPECT_EQ(c.Pixel(x, 0) == clWhite, x % 24 < 18) << x;
  c.Pen.Style = TPenStyle::Dot;
  c.MoveTo(0, 1);
  c.LineTo(12, 1);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(c.Pixel(x, 1) == clWhite, x % 6 < 3) << x;
  c.Pen.Style = TPenStyle::Clear;
  c.MoveTo(0, 2);
  c.LineTo(30, 2);
  EXPECT_EQ(c.Pixel(0, 2), kBack);
  EXPECT_EQ(c.PenPos(), QPoint(30, 2));
}

TEST(Canvas, WidePenDrawsABand) {
  QImage image = Blank();
  TCanvas c(image);
  c.Pen.Color = clWhite;
  c.Pen.Width = 5;
  c.MoveTo(10, 30);
  c.LineTo(50, 30);
  EXPECT_EQ(c.Pixel(30, 28), clWhite);
  EXPECT_EQ(c.Pixel(30, 32), clWhite);
  EXPECT_EQ(c.Pixel(30, 36), kBack);
}

TEST(Canvas, RectangleHasExclusiveRightAndBottomEdges) {
  QImage image = Blank();
  TCanvas c(image);
  c.Pen.Color = clRed;
  c.Brush.Color = clBlue;
  c.Rectangle(2, 2, 6, 5);
  for (int x = 2; x <= 5; ++x) {
    EXPECT_EQ(c.Pixel(x, 2), clRed);
    EXPECT_EQ(c.Pixel(x, 4), clRed);
  }
  EXPECT_EQ(c.Pixel(2, 3), clRed);
  EXPECT_EQ(c.Pixel(5, 3), clRed);
  EXPECT_EQ(c.Pixel(3, 3), clBlue);
  EXPECT_EQ(c.Pixel(4, 3), clBlue);
  EXPECT_EQ(c.Pixel(6, 3), kBack);
  EXPECT_EQ(c.Pixel(3, 5), kBack);
  EXPECT_EQ(Lit(c).size(), 12u);
  EXPECT_EQ(c.PenPos(), QPoint(0, 0));  // boxes leave the pen where it was

  c.Brush.Style = TBrushStyle::Clear;
  c.Rectangle(10, 10, 15, 15);
  EXPECT_EQ(c.Pixel(12, 12), kBack);
  EXPECT_EQ(c.Pixel(14, 14), clRed);
  c.Rectangle(20, 20, 21, 21);  // a 1x1 box is its single pixel
  EXPECT_EQ(c.Pixel(20, 20), clRed);
  EXPECT_EQ(c.Pixel(21, 20), kBack);
}

TEST(Canvas, SmallEllipsesFitTheirBox) {
  QImage image = Blank();
  TCanvas c(image);
  c.Pen.Color = clWhite;
  c.Ellipse(9, 9, 11, 11);  // the grid dot: a 2x2 block
  EXPECT_EQ(Lit(c), (Pixels{"9,9", "10,9", "9,10", "10,10"}));

  QImage image2 = Blank();
  TCanvas d(image2);
  d.Pen.Color = clWhite;
  d.Brush.Style = TBrushStyle::Clear;
  d.Ellipse(20, 20, 26, 26);  // 6x6 outline
  EXPECT_EQ(d.Pixel(22, 22), kBack);   // hollow middle
  EXPECT_EQ(d.Pixel(20, 20), kBack);   // round corners
  EXPECT_EQ(d.Pixel(20, 22), clWhite); // left, right, top and bottom extremes
  EXPECT_EQ(d.Pixel(25, 23), clWhite);
  EXPECT_EQ(d.Pixel(23, 20), clWhite);
  EXPECT_EQ(d.Pixel(22, 25), clWhite);
  EXPECT_EQ(d.Pixel(26, 22), kBack);   // nothing beyond the box
  EXPECT_EQ(d.Pixel(22, 26), kBack);
  // The outline is symmetric about the box centre.
  for (int y = 20; y < 26; ++y)
    for (int x = 20; x < 26; ++x) EXPECT_EQ(d.Pixel(x, y), d.Pixel(45 - x, 45 - y)) << x << "," << y;

  d.Brush.Style = TBrushStyle::Solid;
  d.Brush.Color = clRed;
  d.Ellipse(40, 40, 50, 50);
  EXPECT_EQ(d.Pixel(45, 45), clRed);
  EXPECT_EQ(d.Pixel(40, 45), clWhite);
}

TEST(Canvas, FillRectPixelsAndClipping) {
  QImage image = Blank(16, 16);
  TCanvas c(image);
  c.Brush.Color = clYellow;
  c.FillRect(-5, -5, 3, 2);
  EXPECT_EQ(c.Pixel(0, 0), clYellow);
  EXPECT_EQ(c.Pixel(2, 1), clYellow);
  EXPECT_EQ(c.Pixel(3, 1), kBack);
  EXPECT_EQ(c.Pixel(2, 2), kBack);
  c.Brush.Style = TBrushStyle::Clear;
  c.FillRect(0, 0, 16, 16);
  EXPECT_EQ(c.Pixel(10, 10), kBack);

  c.SetPixel(15, 15, clFuchsia);
  c.SetPixel(16, 3, clFuchsia);
  c.SetPixel(-1, 3, clFuchsia);
  EXPECT_EQ(c.Pixel(15, 15), clFuchsia);
  EXPECT_EQ(c.Pixel(16, 3), clInvalidPixel);
  EXPECT_EQ(c.Pixel(0, -1), clInvalidPixel);
  c.Ellipse(-100000, -100000, 100000, 100000);  // refused, not a huge mask
  EXPECT_EQ(c.Pixel(8, 8), kBack);
}

TEST(Canvas, DrawingDoesNotShowThroughACopyOfTheImage) {
  QImage image = Blank(8, 8);
  const QImage copy = image;
  TCanvas c(image);
  c.SetPixel(1, 1, clRed);
  EXPECT_EQ(FromQRgb(image.pixel(1, 1)), clRed);
  EXPECT_EQ(FromQRgb(copy.pixel(1, 1)), kBack);
}

TEST(Canvas, TextOutPaintsAndMovesThePen) {
  QImage image = Blank(120, 40);
  TCanvas c(image);
  c.Font.Color = clWhite;
  c.Brush.Style = TBrushStyle::Clear;
  const int width = c.TextWidth("Kavri");
  ASSERT_GT(width, 0);
  c.TextOut(4, 4, "Kavri");
  EXPECT_EQ(c.PenPos(), QPoint(4 + width, 4));
  EXPECT_GT(Lit(c).size(), 10u);
  EXPECT_EQ(c.Pixel(4 + width + 5, 10), kBack);

  c.Brush.Style = TBrushStyle::Solid;
  c.Brush.Color = clNavy;
  c.TextOut(4, 20, "i");
  EXPECT_EQ(c.Pixel(4, 20), clNavy);  // the text cell takes the brush colour
}
