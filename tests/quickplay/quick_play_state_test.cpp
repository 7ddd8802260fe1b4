#include "quickplay/quick_play_state.h"

#include <gtest/gtest.h>

namespace kavri {
namespace {

// A second Play after moved sliders must start from the positions the window opens with.
TEST(QuickPlayState, ResetRestoresTheOpeningPositions) {
  QuickPlayEffects.Size = 3;
  QuickPlayEffects.AllSpeed = 0;
  QuickPlayEffects.HeightFactor = 19;
  QuickPlayEffects.Rotation = 90;
  QuickPlayFrameIndex = 7;
  ResetQuickPlayState();
  EXPECT_EQ(QuickPlayEffects.Size, 20);
  EXPECT_EQ(QuickPlayEffects.AllSpeed, 50);
  EXPECT_EQ(QuickPlayEffects.HeightFactor, 4);
  EXPECT_EQ(QuickPlayEffects.Rotation, 0);
  EXPECT_EQ(QuickPlayFrameIndex, 0);
  EXPECT_EQ(QuickPlayColourMode, ColourModeAuto);
  ASSERT_NE(QuickPlayIldaFrames, nullptr);
}

}  // namespace
}  // namespace kavri
