#include <gtest/gtest.h>

#include "skin/pixel_ops.h"
#include "skin/skin_pictures.h"
#include "skin/theme_style.h"
#include "tests/support/test_support.h"
#include "tools/theme_art.h"

using namespace kavri;

// The embedded pictures are the generator's output: redrawing gives the same pixels, so the art can be
// regenerated at any time and nobody edits a picture by hand.
TEST(ThemeArt, EmbeddedPicturesAreExactlyWhatTheGeneratorDraws) {
  for (const std::string& name : EmbeddedArtNames()) {
    QImage drawn = DrawThemeArt(name);
    QImage embedded = LoadSkinPicture(name);
    ASSERT_FALSE(drawn.isNull()) << name;
    ASSERT_EQ(drawn.size(), embedded.size()) << name;
    int differing = 0;
    for (int y = 0; y < drawn.height(); ++y)
      for (int x = 0; x < drawn.width(); ++x) differing += PixelAt(drawn, x, y) != PixelAt(embedded, x, y);
    EXPECT_EQ(differing, 0) << name << " differs; run kavri_theme_art skin/art";
  }
  EXPECT_TRUE(DrawThemeArt("NAVY_NO_SUCH").isNull());
  EXPECT_TRUE(DrawThemeArt("GRAPHITE_BUTTON_normal").isNull());
}

TEST(ThemeArt, WritesEveryPictureAndTheResourceList) {
  kavri_test::ScratchDir dir;
  QString error;
  ASSERT_TRUE(WriteThemeArt(QString::fromStdString(dir.Path("art")), &error)) << error.toStdString();
  std::vector<uint8_t> qrc = kavri_test::ReadBytes(dir.Path("art/skin_art.qrc"));
  std::string text(qrc.begin(), qrc.end());
  for (const std::string& name : EmbeddedArtNames()) {
    EXPECT_NE(text.find("<file>" + name + ".png</file>"), std::string::npos) << name;
    EXPECT_FALSE(QImage(QString::fromStdString(dir.Path("art/" + name + ".png"))).isNull()) << name;
  }
  ASSERT_TRUE(ThemeArtContactSheet().save(QString::fromStdString(kavri_test::ArtifactPath("theme_art_sheet.png"))));
}
