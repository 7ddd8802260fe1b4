#pragma once
// A small pixel-exact drawing surface with the conventions the renderers were written for: a pen
// position kept between calls, lines that leave out their end pixel, and boxes whose right and
// bottom edges are exclusive. Thin lines, rectangles and ellipses are drawn by our own integer code
// so every build puts the same pixels down; only text and wide lines go through QPainter.
#include <QImage>
#include <QPoint>
#include <string>

#include "platform/tcolor.h"

namespace kavri {

// Pixel value answered outside the surface.
constexpr TColor clInvalidPixel = 0xFFFFFFFFu;

enum class TPenStyle { Solid, Dash, Dot, Clear };
enum class TBrushStyle { Solid, Clear };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;  // a width above 1 always draws solid
  TPenStyle Style = TPenStyle::Solid;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::Solid;
};

struct TFont {
  std::string Name = "DejaVu Sans";
  int Size = 8;  // points at 96 dots per inch
  TColor Color = clBlack;
  bool Bold = false;
};

class TCanvas {
 public:
  // Draws on `image`, which must outlive the canvas; it is converted to a 32-bit RGB format first
  // when it has another one.
  explicit TCanvas(QImage& image);

  TPen Pen;
  TBrush Brush;
  TFont Font;

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  QImage& Image() { return image_; }

  QPoint PenPos() const { return penPos_; }
  void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
  // Line from the pen position to (x, y) without its end pixel; the pen then stands at (x, y).
  void LineTo(int x, int y);

  // Outline in the pen, inside in the brush; (right, bottom) lie outside the box.
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  // The box in the brush colour, no outline; nothing with a clear brush.
  void FillRect(int left, int top, int right, int bottom);

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor colour);

  // Text with its top-left corner at (x, y) in the font colour, on the brush colour when the brush
  // is solid; the pen then stands at the end of the text.
  void TextOut(int x, int y, const std::string& utf8);
  int TextWidth(const std::string& utf8) const;
  int TextHeight(const std::string& utf8) const;

  // Copies a picture with its top-left corner at (x, y).
  void Draw(int x, int y, const QImage& picture);

 private:
  uint32_t* Bits();
  void Plot(uint32_t* bits, int x, int y, uint32_t rgb);
  void ThinLine(int x0, int y0, int x1, int y1, uint32_t rgb, TPenStyle style);
  void WideLine(int x0, int y0, int x1, int y1);
  void FillBox(int left, int top, int right, int bottom, uint32_t rgb);

  QImage& image_;
  QPoint penPos_{0, 0};
  int stride_ = 0;  // pixels per scan line
};

}  // namespace kavri
