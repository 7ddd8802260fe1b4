#include <gtest/gtest.h>

#include "skin/pixel_ops.h"
#include "skin/skin_pictures.h"
#include "skin/theme_style.h"

using namespace kavri;

TEST(SkinPictures, EveryNameIsEmbeddedAndMissingNamesGiveNothing) {
  for (const std::string& name : AllSkinBitmapNames()) {
    QImage img = LoadSkinPicture(name);
    ASSERT_FALSE(img.isNull()) << name;
    EXPECT_EQ(img.format(), QImage::Format_RGB32) << name;
  }
  EXPECT_TRUE(LoadSkinPicture("NO_SUCH_PICTURE").isNull());
  EXPECT_TRUE(LoadSkinPicture("").isNull());
  EXPECT_FALSE(SkinPictureExists("NAVY_BUTTON_NOPE"));
  EXPECT_TRUE(SkinPictureExists("NAVY_BUTTON_NORMAL"));
}

TEST(SkinPictures, SizesAndKeyColoursFitTheDrawingCode) {
  for (TSkinUIStyle s : kThemedStyles) {
    SCOPED_TRACE(std::string(StylePrefix(s)));
    for (int i = 24; i <= 26; ++i) {  // nine-sliced: odd sizes give one middle row and column
      QImage b = LoadSkinPicture(GetThemeString(s, i));
      EXPECT_EQ(b.width() % 2, 1);
      EXPECT_EQ(b.height() % 2, 1);
    }
    QImage box = LoadSkinPicture(GetThemeString(s, 30));
    for (int i = 27; i <= 42; ++i) {  // check and radio pictures: one size, laid out from element 30
      QImage pic = LoadSkinPicture(GetThemeString(s, i));
      EXPECT_EQ(pic.size(), box.size()) << i;
      if (i >= 35) {
        EXPECT_EQ(PixelAt(pic, 0, 0), kMaskMagenta) << i;  // radio pictures are masked
      }
    }
    for (int i : {70, 71, 75}) {  // cut in thirds
      EXPECT_EQ(LoadSkinPicture(GetThemeString(s, i)).width() % 3, 0) << i;
    }
    for (int i : {70, 71}) EXPECT_EQ(PixelAt(LoadSkinPicture(GetThemeString(s, i)), 0, 0), kMaskMagenta);
    QImage track = LoadSkinPicture(GetThemeString(s, 91));
    EXPECT_EQ(track.width(), 16);
    EXPECT_EQ(track.height() % 3, 0);
    EXPECT_EQ(LoadSkinPicture(GetThemeString(s, 43)).height(), 10);  // bar 12 thick with its frame
    EXPECT_EQ(LoadSkinPicture(GetThemeString(s, 44)).width(), 10);
    // Title pieces share one height; transparent title buttons carry the key in their corners.
    int h = LoadSkinPicture(GetThemeString(s, 45)).height();
    EXPECT_EQ(LoadSkinPicture(GetThemeString(s, 46)).height(), h);
    EXPECT_EQ(LoadSkinPicture(GetThemeString(s, 47)).height(), h);
    for (int i = 48; i <= 65; ++i) {
      QImage btn = LoadSkinPicture(GetThemeString(s, i));
      EXPECT_LE(GetThemeInt(s, 69) + btn.height(), h) << i;
      if (GetThemeBool(s, 66)) {
        EXPECT_EQ(PixelAt(btn, 0, 0), kMaskMagenta) << i;
        EXPECT_EQ(PixelAt(btn, 0, btn.height() - 1), kMaskMagenta) << i;
      }
    }
    EXPECT_LE(LoadSkinPicture(GetThemeString(s, 71)).height() + LoadSkinPicture(GetThemeString(s, 72)).height(),
              GetThemeInt(s, 73));
  }
  EXPECT_GE(LoadSkinPicture("GRAPHITE_MENU_BAR").height(), 20);
  EXPECT_GE(LoadSkinPicture("GRAPHITE_MENU_SELECT").height(), 20);
  QImage check = LoadSkinPicture("MENU_CHECKED");
  EXPECT_EQ(check.size(), QSize(16, 16));
  EXPECT_EQ(PixelAt(check, 0, 0), 0xFFFFFFu);
  EXPECT_EQ(LoadSkinPicture("FONTCOMBO_TRUETYPE_FNT").size(), QSize(20, 12));
  EXPECT_EQ(LoadSkinPicture("FONTCOMBO_DEVICE_FNT").size(), QSize(20, 12));
  for (const std::string& n : SharedBitmapNames()) {
    if (n.rfind("DBNAV_", 0) != 0) continue;
    QImage g = LoadSkinPicture(n);
    EXPECT_EQ(g.size(), QSize(16, 16)) << n;
    EXPECT_EQ(PixelAt(g, 0, 0), kMaskMagenta) << n;
  }
}
