#include <gtest/gtest.h>

#include <QTextLayout>
#include <QToolTip>

#include "skin/theme_style.h"
#include "skin/tool_bar.h"
#include "tests/skin/skin_mouse.h"

using namespace kavri;

namespace {

uint32_t Rgb(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

QImage Marker(QColor c) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(Qt::white);
  img.setPixelColor(0, 0, c);
  return img;
}

}  // namespace

TEST(ToolBar, DrawingDecisionTable) {
  struct Row {
    bool hot, pressed, checked;
    TToolButtonLook look;
  };
  const Row rows[] = {
      {false, false, false, TToolButtonLook::Standard}, {false, false, true, TToolButtonLook::Hot},
      {false, true, false, TToolButtonLook::Hot},       {false, true, true, TToolButtonLook::Hot},
      {true, false, false, TToolButtonLook::Hot},       {true, false, true, TToolButtonLook::Hot},
      {true, true, false, TToolButtonLook::Down},       {true, true, true, TToolButtonLook::Down},
  };
  for (const Row& r : rows)
    EXPECT_EQ(ToolButtonLook(r.hot, r.pressed, r.checked), r.look) << r.hot << r.pressed << r.checked;
}

TEST(ToolBar, FacesUseThemeColoursAndShiftThePressedImage) {
  TImageList images(16, 16);
  images.Add(Marker(Qt::red));
  TSkinToolBar bar;
  bar.SetUIStyle(TSkinUIStyle::Azure);
  bar.SetImages(&images);
  EXPECT_EQ(bar.ButtonColor(), GetThemeColor(TSkinUIStyle::Azure, 81));
  EXPECT_EQ(bar.Color(), GetThemeColor(TSkinUIStyle::Azure, 83));
  EXPECT_FALSE(bar.Transparent());
  TSkinToolButton* loop = bar.AddButton("Loop", 0, TToolButtonStyle::tbsCheck);
  TSkinToolButton* play = bar.AddButton("Play", 0);
  EXPECT_GT(play->x(), loop->x());

  // Ordinary button away from the mouse: standard look, no face of its own.
  QImage face = bar.RenderButton(play);
  EXPECT_EQ(qAlpha(face.pixel(1, 1)), 0);

  // Checked, mouse elsewhere: hot face.
  loop->Click();
  EXPECT_TRUE(loop->Down());
  face = bar.RenderButton(loop);
  EXPECT_EQ(Rgb(face, 1, 12), (ToQRgb(bar.ButtonColor()) & 0xFFFFFFu));
  EXPECT_EQ(Rgb(face, 0, 0), (ToQRgb(bar.ButtonBorderColor()) & 0xFFFFFFu));
  const int x = (loop->width() - 16) / 2;
  EXPECT_EQ(Rgb(face, x - 1, 2), 0xFF0000u) << "hot picture at (x - 1, 2)";

  // Under the mouse and pressed: down face, picture one pixel right and down.
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(play, &enter);
  EXPECT_EQ(play->Look(), TToolButtonLook::Hot);
  kavri_test::Press(play, {3, 3});
  EXPECT_EQ(play->Look(), TToolButtonLook::Down);
  face = bar.RenderButton(play);
  EXPECT_EQ(Rgb(face, 1, 12), (ToQRgb(bar.ButtonDownColor()) & 0xFFFFFFu));
  EXPECT_EQ(Rgb(face, x, 3), 0xFF0000u);
  int clicks = 0;
  play->OnClick = [&](QObject*) { ++clicks; };
  kavri_test::Release(play, {3, 3});
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(play->Look(), TToolButtonLook::Hot);

  // A check button is already toggled when its handler runs.
  bool seenDown = false;
  loop->OnClick = [&](QObject*) { seenDown = loop->Down(); };
  loop->Click();
  EXPECT_FALSE(seenDown);
  EXPECT_FALSE(loop->Down());
  // Down set from code on a check button shows it checked without a click.
  loop->SetDown(true);
  EXPECT_EQ(loop->Look(), TToolButtonLook::Hot);
}

TEST(ToolBar, GraphiteIsTransparentOthersFillWithTheirColour) {
  TSkinToolBar bar;
  for (TSkinUIStyle s : kThemedStyles) {
    bar.SetUIStyle(s);
    EXPECT_EQ(bar.Transparent(), s == TSkinUIStyle::Graphite);
    EXPECT_EQ(bar.Color(), GetThemeColor(s, 83));
  }
  // Custom keeps what the bar had.
  bar.SetButtonColor(0x123456);
  bar.SetUIStyle(TSkinUIStyle::Custom);
  EXPECT_EQ(bar.ButtonColor(), 0x123456u);
  EXPECT_FALSE(bar.Transparent());
}

TEST(ToolBar, HintsInChineseHaveGlyphs) {
  TSkinToolBar bar;
  TSkinToolButton* b = bar.AddButton();
  const QString hint = QString::fromUtf8("播放 / 停止 移除一行");
  b->SetHint(hint);
  EXPECT_EQ(b->toolTip(), hint);
  // Every character must come out of some installed font, not as a missing-glyph box.
  QTextLayout layout(hint, QToolTip::font());
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  int glyphs = 0;
  for (const QGlyphRun& run : layout.glyphRuns()) {
    for (quint32 index : run.glyphIndexes()) {
      EXPECT_NE(index, 0u) << run.rawFont().familyName().toStdString();
      ++glyphs;
    }
  }
  EXPECT_GE(glyphs, 8);
}

namespace kavri {
namespace {

TEST(ImageList, MaskedPicturesShowTheBarThroughAndMissingOnesKeepTheIndexesAfterThem) {
  QImage strip(8, 4, QImage::Format_RGB32);
  strip.fill(QColor(255, 0, 255));
  strip.setPixel(1, 1, qRgb(10, 20, 30));
  strip.setPixel(6, 2, qRgb(255, 0, 254));  // next to the mask colour, so it stays
  TImageList images(4, 4);
  EXPECT_EQ(images.AddMasked(strip, 0xFF00FF), 0);
  EXPECT_EQ(images.AddMasked(QImage(), 0xFF00FF), 2);
  EXPECT_EQ(images.AddMasked(strip, 0xFF00FF), 3);
  ASSERT_EQ(images.Count(), 5);
  EXPECT_TRUE(images.Image(2).isNull());
  const QImage first = images.Image(0), second = images.Image(4);
  EXPECT_EQ(qAlpha(first.pixel(0, 0)), 0);
  EXPECT_EQ(first.pixel(1, 1), qRgb(10, 20, 30));
  EXPECT_EQ(qAlpha(second.pixel(1, 1)), 0);
  EXPECT_EQ(second.pixel(2, 2), qRgb(255, 0, 254));
}

}  // namespace
}  // namespace kavri
