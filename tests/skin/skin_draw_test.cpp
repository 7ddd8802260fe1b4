#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>

#include "skin/pixel_ops.h"
#include "skin/skin_draw.h"

using namespace kavri;

namespace {

// Every pixel names its own coordinates, so a drawn pixel tells where it came from.
TColor Code(int x, int y) { return RGBToTColor(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7); }

QImage CodedBitmap(int w, int h) {
  QImage img = NewSkinBitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPixelAt(img, x, y, Code(x, y));
  return img;
}

constexpr TColor kBackground = 0x0A0B0C;

}  // namespace

TEST(SpitDraw, EqualSizePicturePlacesEveryPieceAsSliced) {
  QImage src = CodedBitmap(21, 21);
  QImage dst = NewSkinBitmap(21, 21, kBackground);
  SpitDraw(src, dst, {0, 0, 21, 21}, false);
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 21; ++x) {
      TColor want;
      if (y >= 11 && x >= 9 && x <= 11)
        want = Code(x == 9 ? 10 : x, y);  // bottom edge starts one column left of the corner's end
      else if (y == 10 || y == 11)
        want = x >= 12 ? Code(x, 11) : Code(x, 10);  // left edge and centre: row 10; right edge: row 11
      else
        want = Code(x, y);  // corners and top edge 1:1
      ASSERT_EQ(PixelAt(dst, x, y), want) << x << "," << y;
    }
}

TEST(SpitDraw, CornerSizesFollowHalvesAndSmallTargetsKeepOuterColumns) {
  QImage src = CodedBitmap(21, 21);
  QImage dst = NewSkinBitmap(8, 21, kBackground);
  SpitDraw(src, dst, {0, 0, 8, 21}, false);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(dst, x, y), Code(x, y)) << x << "," << y;       // left 4 columns
    for (int x = 5; x < 8; ++x) EXPECT_EQ(PixelAt(dst, x, y), Code(x + 13, y)) << x << "," << y;  // right 3
  }
  for (int y = 12; y < 21; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelAt(dst, x, y), Code(x, y));
    for (int x = 5; x < 8; ++x) EXPECT_EQ(PixelAt(dst, x, y), Code(x + 13, y));
  }
  // A target shorter than the corners: the bottom corner keeps the picture's bottom rows.
  QImage flat = NewSkinBitmap(21, 6, kBackground);
  SpitDraw(src, flat, {0, 0, 21, 6}, false);
  EXPECT_EQ(PixelAt(flat, 0, 0), Code(0, 0));
  EXPECT_EQ(PixelAt(flat, 0, 2), Code(0, 2));   // top-left corner: 3 rows
  EXPECT_EQ(PixelAt(flat, 0, 5), Code(0, 20));  // bottom-left corner: 2 rows from the bottom
  EXPECT_EQ(PixelAt(flat, 0, 4), Code(0, 19));
}

TEST(SpitDraw, LargerTargetStretchesMiddleRowAndColumnOnly) {
  QImage src = CodedBitmap(21, 21);
  QImage dst = NewSkinBitmap(41, 31, kBackground);
  SpitDraw(src, dst, {0, 0, 41, 31}, false);
  EXPECT_EQ(PixelAt(dst, 3, 4), Code(3, 4));
  EXPECT_EQ(PixelAt(dst, 40, 0), Code(20, 0));
  EXPECT_EQ(PixelAt(dst, 32, 9), Code(12, 9));
  EXPECT_EQ(PixelAt(dst, 40, 30), Code(20, 20));
  EXPECT_EQ(PixelAt(dst, 0, 30), Code(0, 20));
  for (int x = 10; x < 32; ++x) EXPECT_EQ(PixelAt(dst, x, 15), Code(x < 21 ? 10 : 11, 10)) << x;  // centre
  for (int y = 10; y < 22; ++y) {
    EXPECT_EQ(PixelAt(dst, 2, y), Code(2, 10)) << y;    // left edge
    EXPECT_EQ(PixelAt(dst, 35, y), Code(15, 11)) << y;  // right edge
  }
  EXPECT_EQ(PixelAt(dst, 20, 3), Code(10, 3));  // top edge
  EXPECT_EQ(PixelAt(dst, 25, 3), Code(11, 3));
}

TEST(SpitDraw, MagentaIsAlwaysTransparentInEdgesButInCornersOnlyWhenAsked) {
  QImage src = CodedBitmap(21, 21);
  SetPixelAt(src, 2, 2, kMaskMagenta);    // top-left corner
  SetPixelAt(src, 10, 10, kMaskMagenta);  // left edge, centre and top edge share column/row 10
  SetPixelAt(src, 3, 10, kMaskMagenta);   // left edge only
  for (bool transparent : {false, true}) {
    QImage dst = NewSkinBitmap(21, 21, kBackground);
    SpitDraw(src, dst, {0, 0, 21, 21}, transparent);
    EXPECT_EQ(PixelAt(dst, 2, 2), transparent ? kBackground : kMaskMagenta);
    EXPECT_EQ(PixelAt(dst, 3, 10), kBackground);
    EXPECT_EQ(PixelAt(dst, 3, 11), kBackground);
    EXPECT_EQ(PixelAt(dst, 10, 10), kBackground);
    EXPECT_EQ(PixelAt(dst, 4, 10), Code(4, 10));
  }
}

TEST(SpitDraw, EmptyPictureDrawsNothing) {
  QImage dst = NewSkinBitmap(10, 10, kBackground);
  SpitDraw(QImage(), dst, {0, 0, 10, 10}, true);
  SpitDrawHorizontal(QImage(), dst, {0, 0, 10, 10}, true);
  TileDraw(dst, QImage(), {0, 0, 10, 10});
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelAt(dst, x, y), kBackground);
}

TEST(SpitDrawHorizontal, EndsOneToOneMiddleStretchedMaskFromTopLeft) {
  QImage src = CodedBitmap(9, 3);
  SetPixelAt(src, 0, 0, kMaskMagenta);
  SetPixelAt(src, 4, 1, kMaskMagenta);
  QImage dst = NewSkinBitmap(20, 3, kBackground);
  SpitDrawHorizontal(src, dst, {0, 0, 20, 3}, false);
  EXPECT_EQ(PixelAt(dst, 0, 0), kMaskMagenta);
  EXPECT_EQ(PixelAt(dst, 2, 2), Code(2, 2));
  EXPECT_EQ(PixelAt(dst, 17, 1), Code(6, 1));
  EXPECT_EQ(PixelAt(dst, 19, 2), Code(8, 2));
  for (int x = 3; x < 17; ++x) EXPECT_EQ(PixelAt(dst, x, 0), Code(3 + (x - 3) * 3 / 14, 0)) << x;

  QImage masked = NewSkinBitmap(20, 3, kBackground);
  SpitDrawHorizontal(src, masked, {0, 0, 20, 3}, true);
  EXPECT_EQ(PixelAt(masked, 0, 0), kBackground);
  EXPECT_EQ(PixelAt(masked, 3 + 14 / 3 + 1, 1), kBackground);  // the middle's magenta pixel
  EXPECT_EQ(PixelAt(masked, 1, 0), Code(1, 0));
}

TEST(TileDraw, CoversRectPlusOneTileFromCanvasOrigin) {
  QImage pic = CodedBitmap(30, 10);
  QImage dst = NewSkinBitmap(160, 40, kBackground);
  TileDraw(dst, pic, {0, 0, 100, 15});
  EXPECT_EQ(PixelAt(dst, 0, 0), Code(0, 0));
  EXPECT_EQ(PixelAt(dst, 95, 12), Code(5, 2));
  EXPECT_EQ(PixelAt(dst, 120, 0), Code(0, 0));   // column at 120 is drawn
  EXPECT_EQ(PixelAt(dst, 149, 29), Code(29, 9));  // rows at 0, 10 and 20 (20 < 15 + 10)
  EXPECT_EQ(PixelAt(dst, 150, 0), kBackground);   // no column at 150
  EXPECT_EQ(PixelAt(dst, 0, 30), kBackground);    // no row at 30
}

TEST(Rotations, QuarterTurnsAndMirror) {
  QImage row = CodedBitmap(3, 1);
  QImage ccw = row;
  RoundPicture(ccw);
  ASSERT_EQ(ccw.width(), 1);
  ASSERT_EQ(ccw.height(), 3);
  EXPECT_EQ(PixelAt(ccw, 0, 0), Code(2, 0));  // top pixel is the rightmost source pixel
  EXPECT_EQ(PixelAt(ccw, 0, 2), Code(0, 0));

  QImage src = CodedBitmap(4, 3);
  QImage cw = src;
  RoundPicture3(cw);
  ASSERT_EQ(cw.width(), 3);
  ASSERT_EQ(cw.height(), 4);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(cw, 3 - 1 - y, x), Code(x, y));
  RoundPicture(cw);  // and back
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(cw, x, y), Code(x, y));

  QImage sq = CodedBitmap(3, 3);
  RoundPicture2(sq);
  EXPECT_EQ(PixelAt(sq, 1, 0), Code(1, 2));
  EXPECT_EQ(PixelAt(sq, 2, 2), Code(2, 0));
}

TEST(SmallHelpers, InRectIsInclusiveAndBorderDrawsTwoRings) {
  TPixelRect r{2, 3, 10, 8};
  EXPECT_TRUE(InRect(10, 8, r));
  EXPECT_TRUE(InRect(QPoint(2, 3), r));
  EXPECT_FALSE(InRect(11, 8, r));
  EXPECT_FALSE(InRect(2, 2, r));
  EXPECT_EQ(PCharToStr(nullptr), "");
  EXPECT_EQ(PCharToStr("abc"), "abc");

  QImage img = NewSkinBitmap(6, 5, kBackground);
  DrawControlBorder(img, 0x0000FF, 0x00FF00);
  EXPECT_EQ(PixelAt(img, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(img, 5, 4), 0x0000FFu);
  EXPECT_EQ(PixelAt(img, 1, 1), 0x00FF00u);
  EXPECT_EQ(PixelAt(img, 4, 3), 0x00FF00u);
  EXPECT_EQ(PixelAt(img, 2, 2), kBackground);
}

namespace {
// Paints a colour that encodes each pixel's position, so what shows under a child is checkable.
class CodedParent : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    for (int y = 0; y < height(); ++y)
      for (int x = 0; x < width(); ++x) p.fillRect(x, y, 1, 1, ToQColor(Code(x, y)));
  }
};
}  // namespace

TEST(DoTrans, PaintsTheParentUnderTheControl) {
  CodedParent parent;
  parent.resize(60, 40);
  QWidget child(&parent);
  child.setGeometry(10, 5, 20, 12);
  QImage canvas = NewSkinBitmap(20, 12, kBackground);
  DoTrans(canvas, &child);
  EXPECT_EQ(PixelAt(canvas, 0, 0), Code(10, 5));
  EXPECT_EQ(PixelAt(canvas, 19, 11), Code(29, 16));

  QWidget orphan;
  orphan.resize(5, 5);
  QImage untouched = NewSkinBitmap(5, 5, kBackground);
  DoTrans(untouched, &orphan);
  EXPECT_EQ(PixelAt(untouched, 2, 2), kBackground);
}
