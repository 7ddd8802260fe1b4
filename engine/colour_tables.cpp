#include "engine/colour_tables.h"

#include <array>

namespace kavri {

namespace {

// The palettes are written RRGGBB, as people read colours; Rgb turns them into TColor values.
constexpr TColor Rgb(uint32_t rrggbb) {
  return RGBToTColor(static_cast<uint8_t>(rrggbb >> 16), static_cast<uint8_t>(rrggbb >> 8),
                     static_cast<uint8_t>(rrggbb));
}

template <size_t N>
constexpr std::array<TColor, N> FromRgb(const std::array<uint32_t, N>& rgb) {
  std::array<TColor, N> out{};
  for (size_t i = 0; i < N; ++i) out[i] = Rgb(rgb[i]);
  return out;
}

// 0 black, 1 white, 2-7 red, yellow, green, cyan, blue, magenta; 8-73 a pale hue circle,
// 74-139 a full-strength one, 140-205 a half-strength one; 206-229 four shades of each primary
// and secondary; 230 light red; 231-255 a grey ramp from white to black.
constexpr std::array<TColor, 256> kProgramPalette = FromRgb<256>({
    0x000000, 0xFFFFFF, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF,
    0xFF8080, 0xFF8C80, 0xFF9780, 0xFFA380, 0xFFAE80, 0xFFBA80, 0xFFC580, 0xFFD180,
    0xFFDC80, 0xFFE880, 0xFFF380, 0xFFFF80, 0xF3FF80, 0xE8FF80, 0xDCFF80, 0xD1FF80,
    0xC5FF80, 0xBAFF80, 0xAEFF80, 0xA3FF80, 0x97FF80, 0x8CFF80, 0x80FF80, 0x80FF8C,
    0x80FF97, 0x80FFA3, 0x80FFAE, 0x80FFBA, 0x80FFC5, 0x80FFD1, 0x80FFDC, 0x80FFE8,
    0x80FFF3, 0x80FFFF, 0x80F3FF, 0x80E8FF, 0x80DCFF, 0x80D1FF, 0x80C5FF, 0x80BAFF,
    0x80AEFF, 0x80A3FF, 0x8097FF, 0x808CFF, 0x8080FF, 0x8C80FF, 0x9780FF, 0xA380FF,
    0xAE80FF, 0xBA80FF, 0xC580FF, 0xD180FF, 0xDC80FF, 0xE880FF, 0xF380FF, 0xFF80FF,
    0xFF80F3, 0xFF80E8, 0xFF80DC, 0xFF80D1, 0xFF80C5, 0xFF80BA, 0xFF80AE, 0xFF80A3,
    0xFF8097, 0xFF808C, 0xFF0000, 0xFF1700, 0xFF2E00, 0xFF4600, 0xFF5D00, 0xFF7400,
    0xFF8B00, 0xFFA200, 0xFFB900, 0xFFD100, 0xFFE800, 0xFFFF00, 0xE8FF00, 0xD1FF00,
    0xB9FF00, 0xA2FF00, 0x8BFF00, 0x74FF00, 0x5DFF00, 0x46FF00, 0x2EFF00, 0x17FF00,
    0x00FF00, 0x00FF17, 0x00FF2E, 0x00FF46, 0x00FF5D, 0x00FF74, 0x00FF8B, 0x00FFA2,
    0x00FFB9, 0x00FFD1, 0x00FFE8, 0x00FFFF, 0x00E8FF, 0x00D1FF, 0x00B9FF, 0x00A2FF,
    0x008BFF, 0x0074FF, 0x005DFF, 0x0046FF, 0x002EFF, 0x0017FF, 0x0000FF, 0x1700FF,
    0x2E00FF, 0x4600FF, 0x5D00FF, 0x7400FF, 0x8B00FF, 0xA200FF, 0xB900FF, 0xD100FF,
    0xE800FF, 0xFF00FF, 0xFF00E8, 0xFF00D1, 0xFF00B9, 0xFF00A2, 0xFF008B, 0xFF0074,
    0xFF005D, 0xFF0046, 0xFF002E, 0xFF0017, 0x800000, 0x800C00, 0x801700, 0x802300,
    0x802F00, 0x803A00, 0x804600, 0x805100, 0x805D00, 0x806900, 0x807400, 0x808000,
    0x748000, 0x698000, 0x5D8000, 0x518000, 0x468000, 0x3A8000, 0x2F8000, 0x238000,
    0x178000, 0x0C8000, 0x008000, 0x00800C, 0x008017, 0x008023, 0x00802F, 0x00803A,
    0x008046, 0x008051, 0x00805D, 0x008069, 0x008074, 0x008080, 0x007480, 0x006980,
    0x005D80, 0x005180, 0x004680, 0x003A80, 0x002F80, 0x002380, 0x001780, 0x000C80,
    0x000080, 0x0C0080, 0x170080, 0x230080, 0x2F0080, 0x3A0080, 0x460080, 0x510080,
    0x5D0080, 0x690080, 0x740080, 0x800080, 0x800074, 0x800069, 0x80005D, 0x800051,
    0x800046, 0x80003A, 0x80002F, 0x800023, 0x800017, 0x80000C, 0xFFC0C0, 0xFF4040,
    0xC00000, 0x400000, 0xFFFFC0, 0xFFFF40, 0xC0C000, 0x404000, 0xC0FFC0, 0x40FF40,
    0x00C000, 0x004000, 0xC0FFFF, 0x40FFFF, 0x00C0C0, 0x004040, 0xC0C0FF, 0x4040FF,
    0x0000C0, 0x000040, 0xFFC0FF, 0xFF40FF, 0xC000C0, 0x400040, 0xFF6060, 0xFFFFFF,
    0xF5F5F5, 0xEBEBEB, 0xE0E0E0, 0xD5D5D5, 0xCBCBCB, 0xC0C0C0, 0xB5B5B5, 0xABABAB,
    0xA0A0A0, 0x959595, 0x8B8B8B, 0x808080, 0x757575, 0x6B6B6B, 0x606060, 0x555555,
    0x4B4B4B, 0x404040, 0x353535, 0x2B2B2B, 0x202020, 0x151515, 0x0B0B0B, 0x000000,
});

// The ILDA default palette, with 64 added as black.
constexpr std::array<TColor, 65> kIldaPalette = FromRgb<65>({
    0xFF0000, 0xFF1000, 0xFF2000, 0xFF3000, 0xFF4000, 0xFF5000, 0xFF6000, 0xFF7000,
    0xFF8000, 0xFF9000, 0xFFA000, 0xFFB000, 0xFFC000, 0xFFD000, 0xFFE000, 0xFFF000,
    0xFFFF00, 0xE0FF00, 0xC0FF00, 0xA0FF00, 0x80FF00, 0x60FF00, 0x40FF00, 0x20FF00,
    0x00FF00, 0x00FF20, 0x00FF40, 0x00FF60, 0x00FF80, 0x00FFA0, 0x00FFC0, 0x00FFE0,
    0x0082FF, 0x0072FF, 0x0068FF, 0x0A60FF, 0x0052FF, 0x004AFF, 0x0040FF, 0x0020FF,
    0x0000FF, 0x2000FF, 0x4000FF, 0x6000FF, 0x8000FF, 0xA000FF, 0xC000FF, 0xE000FF,
    0xFF00FF, 0xFF20FF, 0xFF40FF, 0xFF60FF, 0xFF80FF, 0xFFA0FF, 0xFFC0FF, 0xFFE0FF,
    0xFFFFFF, 0xFFE0E0, 0xFFC0C0, 0xFFA0A0, 0xFF8080, 0xFF6060, 0xFF4040, 0xFF2020,
    0x000000,
});

constexpr std::array<uint8_t, 256> kProgramToIlda = {
     64,  56,   0,  16,  24,  31,  40,  48,  60,  60,  60,  60,  60,  60,  59,  59,
     59,  59,  57,  57,  17,  17,  18,  18,  18,  19,  19,  19,  20,  21,  24,  24,
     24,  24,  25,  26,  27,  28,  29,  30,  30,  31,  31,  31,  32,  32,  32,  32,
     32,  32,  32,  33,  33,  41,  42,  43,  44,  45,  46,  46,  46,  47,  47,  48,
     47,  46,  61,  61,  61,  61,  61,  61,  62,  62,   0,   1,   2,   4,   6,   8,
     10,  12,  13,  14,  15,  16,  17,  17,  18,  19,  20,  21,  22,  22,  23,  23,
     24,  24,  25,  26,  27,  28,  28,  29,  29,  30,  30,  31,  32,  32,  33,  34,
     35,  35,  36,  37,  38,  39,  40,  41,  42,  43,  43,  44,  44,  45,  45,  44,
     47,  48,  47,  47,  46,  46,  45,  45,  44,  43,  42,  41,   0,   0,   0,   1,
      2,   4,   6,   8,  10,  12,  14,  16,  16,  17,  17,  18,  19,  20,  21,  22,
     22,  23,  24,  24,  25,  26,  26,  27,  28,  28,  29,  30,  30,  31,  31,  32,
     32,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  42,  43,  44,  45,  46,
     46,  46,  47,  48,  48,  48,  48,  49,  49,  49,  49,   0,   0,   0,   0,   0,
      0,   0,  16,  16,  16,  16,  24,  24,  24,  24,  31,  31,  31,  31,  40,  40,
     40,  40,  48,  48,  48,  48,  61,  56,  56,  56,  56,  56,  56,  56,  56,  56,
     56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  56,  64,  64,
};

constexpr std::array<uint8_t, 65> kIldaToProgram = {
      2,  75,  76,  76,  77,  77,  78,  79,  80,  80,  81,  82,  82,  83,  84,   3,
      3,  86,  87,  89,  90,  92,  93,  94,  96,  97,  98, 100, 101, 103, 104,   5,
    112, 113, 113, 114, 114, 115, 115, 117,   6, 119, 121, 122, 123, 125, 126, 128,
      7,   7, 227, 227,  80, 226, 226,   1,   1,  65,  65,   8,   8,   8,   2,   2,
      0,
};

}  // namespace

TColor ColorIndexToTColor(uint8_t index) { return kProgramPalette[index]; }

TColor IldaColorToTColor(uint8_t index) { return index < kIldaPalette.size() ? kIldaPalette[index] : clWhite; }

uint8_t ColorIndexToIldaColor(uint8_t index) { return kProgramToIlda[index]; }

uint8_t IldaColorToColorIndex(uint8_t index) { return index < kIldaToProgram.size() ? kIldaToProgram[index] : 1; }

}  // namespace kavri
