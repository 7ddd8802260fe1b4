#include <gtest/gtest.h>

#include <algorithm>

#include "engine/colour_tables.h"

using namespace kavri;

namespace {

TColor FromRrggbb(uint32_t v) { return RGBToTColor(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)); }

// The ILDA default palette, built from its regular runs rather than copied.
TColor IldaStandard(int i) {
  auto step = [](int n) { return uint8_t(std::min(255, 256 - 32 * n)); };  // 255, 224, ..., 32
  if (i < 16) return RGBToTColor(255, uint8_t(16 * i), 0);
  if (i < 24) return RGBToTColor(step(i - 16), 255, 0);
  if (i < 32) return RGBToTColor(0, 255, uint8_t(32 * (i - 24)));
  if (i < 40) {
    static const uint32_t irregular[] = {0x0082FF, 0x0072FF, 0x0068FF, 0x0A60FF, 0x0052FF, 0x004AFF, 0x0040FF, 0x0020FF};
    return FromRrggbb(irregular[i - 32]);
  }
  if (i < 48) return RGBToTColor(uint8_t(32 * (i - 40)), 0, 255);
  if (i < 56) return RGBToTColor(255, uint8_t(32 * (i - 48)), 255);
  return RGBToTColor(255, step(i - 56), step(i - 56));
}

struct TChannels {
  int lo, hi;
};
TChannels Channels(TColor c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  return {std::min({r, g, b}), std::max({r, g, b})};
}

}  // namespace

TEST(ColourTables, ProgramPaletteSpotValuesAreTColors) {
  EXPECT_EQ(ColorIndexToTColor(0), 0x000000u);
  EXPECT_EQ(ColorIndexToTColor(1), 0xFFFFFFu);
  EXPECT_EQ(ColorIndexToTColor(2), 0x0000FFu);  // red lives in the low byte
  EXPECT_EQ(ColorIndexToTColor(6), 0xFF0000u);  // blue in the third
  EXPECT_EQ(ColorIndexToTColor(3), clYellow);
  EXPECT_EQ(ColorIndexToTColor(5), clAqua);
  EXPECT_EQ(ColorIndexToTColor(9), FromRrggbb(0xFF8C80));
  EXPECT_EQ(ColorIndexToTColor(75), FromRrggbb(0xFF1700));
  EXPECT_EQ(ColorIndexToTColor(119), FromRrggbb(0x1700FF));
  EXPECT_EQ(ColorIndexToTColor(141), FromRrggbb(0x800C00));
  EXPECT_EQ(ColorIndexToTColor(205), FromRrggbb(0x80000C));
  EXPECT_EQ(ColorIndexToTColor(207), FromRrggbb(0xFF4040));
  EXPECT_EQ(ColorIndexToTColor(220), FromRrggbb(0x00C0C0));
  EXPECT_EQ(ColorIndexToTColor(230), FromRrggbb(0xFF6060));
  EXPECT_EQ(ColorIndexToTColor(243), FromRrggbb(0x808080));
  EXPECT_EQ(ColorIndexToTColor(255), 0u);
}

TEST(ColourTables, ProgramPaletteRunsHaveTheirStrength) {
  for (int i = 8; i <= 73; ++i) {  // pale circle
    EXPECT_EQ(Channels(ColorIndexToTColor(uint8_t(i))).lo, 0x80) << i;
    EXPECT_EQ(Channels(ColorIndexToTColor(uint8_t(i))).hi, 0xFF) << i;
  }
  for (int i = 74; i <= 139; ++i) {  // full-strength circle
    EXPECT_EQ(Channels(ColorIndexToTColor(uint8_t(i))).lo, 0x00) << i;
    EXPECT_EQ(Channels(ColorIndexToTColor(uint8_t(i))).hi, 0xFF) << i;
  }
  for (int i = 140; i <= 205; ++i) {  // half-strength circle
    EXPECT_EQ(Channels(ColorIndexToTColor(uint8_t(i))).lo, 0x00) << i;
    EXPECT_EQ(Channels(ColorIndexToTColor(uint8_t(i))).hi, 0x80) << i;
  }
  int previous = 256;
  for (int i = 231; i <= 255; ++i) {  // grey ramp, white to black
    const TColor c = ColorIndexToTColor(uint8_t(i));
    EXPECT_EQ(GetRValue(c), GetGValue(c)) << i;
    EXPECT_EQ(GetGValue(c), GetBValue(c)) << i;
    EXPECT_LT(GetRValue(c), previous) << i;
    previous = GetRValue(c);
  }
  EXPECT_EQ(previous, 0);
}

TEST(ColourTables, IldaPaletteIsTheIldaDefaultPlusBlack) {
  for (int i = 0; i < 64; ++i) EXPECT_EQ(IldaColorToTColor(uint8_t(i)), IldaStandard(i)) << i;
  EXPECT_EQ(IldaColorToTColor(64), 0u);
  for (int i = 65; i <= 255; ++i) EXPECT_EQ(IldaColorToTColor(uint8_t(i)), 0xFFFFFFu) << i;
}

TEST(ColourTables, ProgramToIldaIndexes) {
  EXPECT_EQ(ColorIndexToIldaColor(0), 64);
  EXPECT_EQ(ColorIndexToIldaColor(1), 56);
  // The primaries land on the ILDA entries of the same colour.
  EXPECT_EQ(ColorIndexToIldaColor(2), 0);
  EXPECT_EQ(ColorIndexToIldaColor(3), 16);
  EXPECT_EQ(ColorIndexToIldaColor(4), 24);
  EXPECT_EQ(ColorIndexToIldaColor(6), 40);
  EXPECT_EQ(ColorIndexToIldaColor(7), 48);
  EXPECT_EQ(ColorIndexToIldaColor(74), 0);
  EXPECT_EQ(ColorIndexToIldaColor(127), 44);
  EXPECT_EQ(ColorIndexToIldaColor(199), 49);
  EXPECT_EQ(ColorIndexToIldaColor(230), 61);
  EXPECT_EQ(ColorIndexToIldaColor(231), 56);
  EXPECT_EQ(ColorIndexToIldaColor(254), 64);
  EXPECT_EQ(ColorIndexToIldaColor(255), 64);
  for (int i = 0; i <= 255; ++i) EXPECT_LE(ColorIndexToIldaColor(uint8_t(i)), 64) << i;
}

TEST(ColourTables, IldaToProgramIndexes) {
  EXPECT_EQ(IldaColorToColorIndex(0), 2);
  EXPECT_EQ(IldaColorToColorIndex(1), 75);
  EXPECT_EQ(IldaColorToColorIndex(15), 3);
  EXPECT_EQ(IldaColorToColorIndex(31), 5);
  EXPECT_EQ(IldaColorToColorIndex(40), 6);
  EXPECT_EQ(IldaColorToColorIndex(48), 7);
  EXPECT_EQ(IldaColorToColorIndex(55), 1);
  EXPECT_EQ(IldaColorToColorIndex(57), 65);
  EXPECT_EQ(IldaColorToColorIndex(63), 2);
  EXPECT_EQ(IldaColorToColorIndex(64), 0);
  for (int i = 65; i <= 255; ++i) EXPECT_EQ(IldaColorToColorIndex(uint8_t(i)), 1) << i;
}
