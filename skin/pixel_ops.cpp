#include "skin/pixel_ops.h"

#include <algorithm>

namespace kavri {
namespace {

bool Is32Bit(const QImage& image) {
  return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32 ||
         image.format() == QImage::Format_ARGB32_Premultiplied;
}

inline TColor Rgb(QRgb p) { return FromQRgb(p); }

}  // namespace

QImage ToSkinBitmap(const QImage& image) {
  if (image.isNull() || image.format() == QImage::Format_RGB32) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

QImage NewSkinBitmap(int width, int height, TColor fill) {
  QImage image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  if (!image.isNull()) image.fill(ToQRgb(fill));
  return image;
}

TColor PixelAt(const QImage& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return 0;
  if (!Is32Bit(image)) return Rgb(image.pixel(x, y));
  return Rgb(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
}

void SetPixelAt(QImage& image, int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return;
  if (!Is32Bit(image)) {
    image.setPixel(x, y, ToQRgb(color));
    return;
  }
  reinterpret_cast<QRgb*>(image.scanLine(y))[x] = ToQRgb(color);
}

void FillPixels(QImage& dst, TPixelRect r, TColor color) {
  int l = std::max(r.Left, 0), t = std::max(r.Top, 0);
  int rr = std::min(r.Right, dst.width()), b = std::min(r.Bottom, dst.height());
  for (int y = t; y < b; ++y)
    for (int x = l; x < rr; ++x) SetPixelAt(dst, x, y, color);
}

void CopyPixels(const QImage& src, TPixelRect s, QImage& dst, int x, int y, std::optional<TColor> mask) {
  for (int sy = s.Top; sy < s.Bottom; ++sy) {
    int dy = y + (sy - s.Top);
    if (sy < 0 || sy >= src.height() || dy < 0 || dy >= dst.height()) continue;
    for (int sx = s.Left; sx < s.Right; ++sx) {
      int dx = x + (sx - s.Left);
      if (sx < 0 || sx >= src.width() || dx < 0 || dx >= dst.width()) continue;
      TColor c = PixelAt(src, sx, sy);
      if (mask && c == (*mask & 0xFFFFFF)) continue;
      SetPixelAt(dst, dx, dy, c);
    }
  }
}

void StretchPixels(const QImage& src, TPixelRect s, QImage& dst, TPixelRect d, std::optional<TColor> mask) {
  if (s.IsEmpty() || d.IsEmpty()) return;
  const int64_t sw = s.Width(), sh = s.Height(), dw = d.Width(), dh = d.Height();
  int y0 = std::max(d.Top, 0), y1 = std::min(d.Bottom, dst.height());
  int x0 = std::max(d.Left, 0), x1 = std::min(d.Right, dst.width());
  for (int dy = y0; dy < y1; ++dy) {
    int sy = s.Top + static_cast<int>((dy - d.Top) * sh / dh);
    if (sy < 0 || sy >= src.height()) continue;
    for (int dx = x0; dx < x1; ++dx) {
      int sx = s.Left + static_cast<int>((dx - d.Left) * sw / dw);
      if (sx < 0 || sx >= src.width()) continue;
      TColor c = PixelAt(src, sx, sy);
      if (mask && c == (*mask & 0xFFFFFF)) continue;
      SetPixelAt(dst, dx, dy, c);
    }
  }
}

QImage GreyedPicture(const QImage& picture, std::optional<TColor> mask) {
  QImage out = ToSkinBitmap(picture).copy();
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      TColor c = PixelAt(out, x, y);
      if (mask && c == (*mask & 0xFFFFFF)) continue;
      int lum = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
      int g = 150 + lum * 90 / 255;  // 150..240: clearly lighter than any enabled glyph
      SetPixelAt(out, x, y, RGBToTColor(g, g, g));
    }
  return out;
}

}  // namespace kavri
