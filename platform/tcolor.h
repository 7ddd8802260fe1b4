#pragma once
#include <QColor>
#include <cstdint>

namespace kavri {

// Colours inside the engine are 0x00BBGGRR values; they become QColor only where pixels are painted.
using TColor = uint32_t;

constexpr TColor RGBToTColor(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr uint8_t GetRValue(TColor c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GetGValue(TColor c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(TColor c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

inline QColor ToQColor(TColor c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline TColor FromQColor(const QColor& c) {
  return RGBToTColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}
// Qt's 0xAARRGGBB pixel as a TColor (alpha dropped).
constexpr TColor FromQRgb(uint32_t rgb) {
  return RGBToTColor(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}
constexpr uint32_t ToQRgb(TColor c) {
  return 0xFF000000u | (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clLime = 0x00FF00, clBlue = 0xFF0000,
                 clYellow = 0x00FFFF, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clMaroon = 0x000080, clGreen = 0x008000, clNavy = 0x800000,
                 clOlive = 0x008080, clPurple = 0x800080, clTeal = 0x808000;

}  // namespace kavri
