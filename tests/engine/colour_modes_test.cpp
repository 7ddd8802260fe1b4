#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>

#include "engine/colour_modes.h"
#include "engine/colour_tables.h"

using namespace kavri;

TEST(ColourModes, PanelsCarryTheirCaptionsAndModes) {
  std::set<int32_t> modes;
  for (size_t i = 0; i < ColourModePanels.size(); ++i) {
    EXPECT_EQ(std::string(ColourModePanels[i].name), "Panel" + std::to_string(i + 1));
    modes.insert(ColourModePanels[i].mode);
  }
  EXPECT_EQ(modes.size(), ColourModePanels.size());
  EXPECT_STREQ(ColourModePanels[1].caption, "Whilte");
  EXPECT_STREQ(ColourModePanels[7].caption, "Mage");
  EXPECT_EQ(ColourModePanels[8].mode, 257);
  EXPECT_STREQ(ColourModePanels[8].caption, "Auto");
  EXPECT_EQ(ColourModePanels[11].mode, 260);
  EXPECT_STREQ(ColourModePanels[11].caption, "Rnd3");
  EXPECT_EQ(ColourModePanels[20].mode, 243);
}

TEST(ColourModes, FixedModesGiveTheModeIndexButKeepBlack) {
  for (int32_t mode : {0, 1, 2, 3, 4, 5, 6, 7, 21, 32, 43, 54, 65, 207, 220, 228, 243}) {
    EXPECT_EQ(ModeColourIndex(mode, 9, 17, 30), mode) << mode;
    EXPECT_EQ(ModeColourIndex(mode, 0, 17, 30), 0) << mode;
  }
  EXPECT_EQ(ModeColourIndex(256, 9, 0, 0), 0);        // low byte of the mode
  EXPECT_EQ(ModeColourIndex(-1, 9, 0, 0), 255);
}

TEST(ColourModes, AutomaticPictureModes) {
  EXPECT_EQ(ModeColourIndex(ColourModeAuto, 77, 5, 9), 77);
  EXPECT_EQ(ModeColourIndex(ColourModeRnd1, 231, 5, 0), 5);    // (231 + 5) mod 232 + 1
  EXPECT_EQ(ModeColourIndex(ColourModeRnd1, 10, 5, 0), 16);
  EXPECT_EQ(ModeColourIndex(ColourModeRnd2, 10, 231, 0), 232);
  EXPECT_EQ(ModeColourIndex(ColourModeRnd2, 200, 0, 0), 1);
  EXPECT_EQ(ModeColourIndex(ColourModeRnd3, 10, 0, 231), 232);
  EXPECT_EQ(ModeColourIndex(ColourModeRnd3, 10, 0, 232), 1);
  for (int32_t mode : {257, 258, 259, 260}) EXPECT_EQ(ModeColourIndex(mode, 0, 5, 5), 0) << mode;
}

TEST(ColourModes, IldaModesHaveNoBlackException) {
  EXPECT_EQ(ModeIldaColourIndex(2, 0, 0, 0), 0);  // "Red" -> ILDA red
  EXPECT_EQ(ModeIldaColourIndex(0, 12, 0, 0), 64);
  EXPECT_EQ(ModeIldaColourIndex(1, 12, 0, 0), 56);
  EXPECT_EQ(ModeIldaColourIndex(207, 12, 0, 0), ColorIndexToIldaColor(207));
  EXPECT_EQ(ModeIldaColourIndex(ColourModeAuto, 0, 9, 9), 0);
  EXPECT_EQ(ModeIldaColourIndex(ColourModeAuto, 64, 9, 9), 64);
  EXPECT_EQ(ModeIldaColourIndex(ColourModeRnd1, 60, 10, 0), 6);
  EXPECT_EQ(ModeIldaColourIndex(ColourModeRnd2, 60, 130, 0), 2);
  EXPECT_EQ(ModeIldaColourIndex(ColourModeRnd3, 60, 0, 64), 0);
  EXPECT_EQ(ModeIldaColourIndex(ColourModeRnd3, 60, 0, 63), 63);
}

TEST(ColourModes, FrameColouringRunsTheRainbowAlongThePoints) {
  TFrameColouring colouring;
  colouring.StartFrame(ColourModeRnd3, 230);
  EXPECT_EQ(colouring.PictureColour(5), ColorIndexToTColor(231));
  EXPECT_EQ(colouring.PictureColour(0), 0u);  // black stays black but still counts
  EXPECT_EQ(colouring.PictureColour(5), ColorIndexToTColor(1));
  EXPECT_EQ(colouring.PictureColour(5), ColorIndexToTColor(2));
  colouring.StartFrame(ColourModeRnd3, 230);  // every frame starts again at the step
  EXPECT_EQ(colouring.PictureColour(5), ColorIndexToTColor(231));

  colouring.StartFrame(ColourModeRnd3, 62);
  EXPECT_EQ(colouring.IldaColour(7), IldaColorToTColor(62));
  EXPECT_EQ(colouring.IldaColour(7), IldaColorToTColor(63));
  EXPECT_EQ(colouring.IldaColour(7), IldaColorToTColor(0));
  EXPECT_EQ(colouring.IldaColour(7), IldaColorToTColor(1));

  colouring.StartFrame(2, 0);
  EXPECT_EQ(colouring.PictureColour(9), clRed);
  EXPECT_EQ(colouring.IldaColour(9), clRed);
}

TEST(ColourModes, StepAdvancesOnceEvery41MinusSpeedPasses) {
  TColourStep slow;
  for (int i = 0; i < 40; ++i) slow.CountPass(0);
  EXPECT_EQ(slow.Step(), 0);
  slow.CountPass(0);
  EXPECT_EQ(slow.Step(), 1);

  TColourStep fast;
  for (int i = 0; i < 231; ++i) fast.CountPass(40);
  EXPECT_EQ(fast.Step(), 231);
  fast.CountPass(40);
  EXPECT_EQ(fast.Step(), 0);  // wraps after 232 steps

  TColourStep mid;
  for (int i = 0; i < 30; ++i) mid.CountPass(30);  // every 11 passes
  EXPECT_EQ(mid.Step(), 2);
  mid.Restart();
  EXPECT_EQ(mid.Step(), 0);
}

TEST(ColourModes, SpeedsFromUncheckedSegmentRowsDoNotOverflow) {
  // A segment row's speed comes straight from its file: far below 0 the step never advances,
  // far above 40 it advances on every pass.
  TColourStep never;
  for (int i = 0; i < 1000; ++i) never.CountPass(std::numeric_limits<int32_t>::min());
  EXPECT_EQ(never.Step(), 0);
  TColourStep always;
  for (int i = 0; i < 5; ++i) always.CountPass(std::numeric_limits<int32_t>::max());
  EXPECT_EQ(always.Step(), 5);
}
