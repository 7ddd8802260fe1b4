#include <gtest/gtest.h>

#include "skin/pixel_ops.h"
#include "tests/skin/screenshot_panel.h"
#include "tests/support/test_support.h"

// Renders every registered control family in all five styles for a person to look at.
TEST(SkinPanel, RendersAllFamiliesInAllStylesToAnArtifact) {
  std::unique_ptr<QWidget> panel = kavri_test::BuildSkinPanel();
  QImage shot = panel->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  ASSERT_GT(shot.width(), 5 * 300);
  // Each style column shows its own form colour behind the controls.
  for (int s = 0; s < 5; ++s) {
    kavri::TSkinUIStyle style = kavri::kThemedStyles[s];
    EXPECT_EQ(kavri::FromQRgb(shot.pixel(s * 330 + 320, 2)), kavri::GetThemeColor(style, 3)) << s;
  }
  ASSERT_TRUE(shot.save(QString::fromStdString(kavri_test::ArtifactPath("skin_panel.png"))));
}
