#pragma once
#include <QImage>
#include <optional>

#include "platform/tcolor.h"

namespace kavri {

// A rectangle with exclusive Right and Bottom edges, as the drawing code counts pixels.
struct TPixelRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
};

constexpr TColor kMaskMagenta = 0xFF00FF;

// Skin pictures and off-screen bitmaps are 32-bit RGB images; anything else is converted once.
QImage ToSkinBitmap(const QImage& image);
QImage NewSkinBitmap(int width, int height, TColor fill = 0);

// Raw pixel access as TColor; reads outside the image give 0, writes outside are dropped.
TColor PixelAt(const QImage& image, int x, int y);
void SetPixelAt(QImage& image, int x, int y, TColor color);

void FillPixels(QImage& dst, TPixelRect rect, TColor color);

// Copies src's rectangle 1:1 to (x, y). With a mask colour, source pixels of that colour are skipped.
// Both images must be 32-bit; the copy is clipped to both images.
void CopyPixels(const QImage& src, TPixelRect srcRect, QImage& dst, int x, int y,
                std::optional<TColor> mask = std::nullopt);

// Nearest-pixel stretch of src's rectangle onto dst's rectangle: destination column dx takes source
// column srcLeft + (dx - dstLeft) * srcWidth / dstWidth, rows likewise.
void StretchPixels(const QImage& src, TPixelRect srcRect, QImage& dst, TPixelRect dstRect,
                   std::optional<TColor> mask = std::nullopt);

// The disabled look of a picture without a disabled image: each unmasked pixel becomes a light grey
// that keeps a little of its brightness.
QImage GreyedPicture(const QImage& picture, std::optional<TColor> mask);

}  // namespace kavri
