#include <gtest/gtest.h>

#include <QFile>

#include "engine/shared_state.h"
#include "shell/settings_window_model.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {
class SettingsWindowModelTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }
};
}  // namespace

TEST_F(SettingsWindowModelTest, PadMapsPixelsToOffsetsAndHoldsDragsToThePad) {
  TSettingsWindowModel model;
  model.PadPress(0, 255);
  EXPECT_EQ(HOffset, -256);
  EXPECT_EQ(VOffset, 254);
  EXPECT_TRUE(model.Dragging());

  // Dragging past the pad's edges stays at the edge.
  model.PadMove(-40, 900);
  EXPECT_EQ(HOffset, -256);
  EXPECT_EQ(VOffset, 254);
  EXPECT_EQ(model.Marker().x, 0);
  EXPECT_EQ(model.Marker().y, 255);
  model.PadMove(300, -5);
  EXPECT_EQ(HOffset, 254);
  EXPECT_EQ(VOffset, -256);

  model.PadRelease();
  model.PadMove(128, 128);  // not dragging any more
  EXPECT_EQ(HOffset, 254);

  model.ResetOffsets();
  EXPECT_EQ(HOffset, 0);
  EXPECT_EQ(VOffset, 0);
  EXPECT_EQ(model.Marker().x, 128);
}

TEST_F(SettingsWindowModelTest, MarkerComesBackFromTheOffsets) {
  EXPECT_EQ(TSettingsWindowModel::OffsetToPadPixel(0), 128);
  EXPECT_EQ(TSettingsWindowModel::OffsetToPadPixel(-256), 0);
  EXPECT_EQ(TSettingsWindowModel::OffsetToPadPixel(254), 255);
  EXPECT_EQ(TSettingsWindowModel::OffsetToPadPixel(-257), 0);  // (-1) / 2 truncates to 0
  EXPECT_EQ(TSettingsWindowModel::OffsetToPadPixel(-300), 0);
  EXPECT_EQ(TSettingsWindowModel::OffsetToPadPixel(2147483647), 255);
  HOffset = 10;
  VOffset = -11;
  TSettingsWindowModel model;
  model.LoadFromSettings();
  EXPECT_EQ(model.Marker().x, 133);
  EXPECT_EQ(model.Marker().y, 122);
}

TEST_F(SettingsWindowModelTest, ScanRateSliderAndLabel) {
  TSettingsWindowModel model;
  model.ScanPositionChanged(225);
  EXPECT_EQ(ScanDelay, 0);
  EXPECT_EQ(TSettingsWindowModel::ScanRateText(225), "45000");
  model.ScanPositionChanged(25);
  EXPECT_EQ(ScanDelay, 200);
  EXPECT_EQ(TSettingsWindowModel::ScanPositionOf(150), 75);
  EXPECT_EQ(TSettingsWindowModel::ScanPositionOf(75), 150);
  EXPECT_EQ(TSettingsWindowModel::ScanPositionOf(250), 25);  // a delay past the slider's range
}

TEST_F(SettingsWindowModelTest, LockTiesTheSizes) {
  TSettingsWindowModel model;
  EXPECT_EQ(model.HorizontalSizeChanged(30), -1);
  EXPECT_EQ(HSize, 30);
  EXPECT_EQ(VSize, 20);
  EXPECT_EQ(model.LockClicked(true), 30);
  EXPECT_EQ(VSize, 30);
  EXPECT_EQ(model.VerticalSizeChanged(12), 12);
  EXPECT_EQ(HSize, 12);
  EXPECT_EQ(model.HorizontalSizeChanged(35), 35);
  EXPECT_EQ(VSize, 35);
  EXPECT_EQ(model.LockClicked(false), -1);
  model.VerticalSizeChanged(5);
  EXPECT_EQ(HSize, 35);
}

TEST_F(SettingsWindowModelTest, MediaPlayerMustExistAndRun) {
  kavri_test::ScratchDir dir;
  const std::string player = dir.Path("player");
  const std::string text = dir.Path("notes.txt");
  kavri_test::WriteBytes(player, {'#', '!'});
  kavri_test::WriteBytes(text, {'x'});
  QFile(QString::fromStdString(player)).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  EXPECT_TRUE(TSettingsWindowModel::IsUsableMediaPlayer(player));
  EXPECT_FALSE(TSettingsWindowModel::IsUsableMediaPlayer(text));
  EXPECT_FALSE(TSettingsWindowModel::IsUsableMediaPlayer(dir.Path("missing")));
  EXPECT_FALSE(TSettingsWindowModel::IsUsableMediaPlayer(dir.Path()));
  EXPECT_FALSE(TSettingsWindowModel::IsUsableMediaPlayer(""));
}
