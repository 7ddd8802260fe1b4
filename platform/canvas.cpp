#include "platform/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace kavri {

namespace {

// On/off run lengths of the styled thin pens, in pixels along the major axis.
constexpr int kDashOn = 18, kDashPeriod = 24;
constexpr int kDotOn = 3, kDotPeriod = 6;

bool StyleLit(TPenStyle style, int64_t i) {
  switch (style) {
    case TPenStyle::Dash: return i % kDashPeriod < kDashOn;
    case TPenStyle::Dot: return i % kDotPeriod < kDotOn;
    default: return true;
  }
}

// Which pixels of a w x h box belong to the ellipse inscribed in it: 0 outside, 1 outline (pen),
// 2 inside (brush). A pixel belongs when its centre lies inside the ellipse; it is outline when
// one of its neighbours within the pen width along x or y does not.
struct TEllipseMask {
  int w = 0, h = 0, pen = 0;
  std::vector<uint8_t> cells;
};

TEllipseMask BuildEllipseMask(int w, int h, int pen) {
  TEllipseMask m{w, h, pen, std::vector<uint8_t>(static_cast<size_t>(w) * static_cast<size_t>(h), 0)};
  std::vector<int> lo(h, 1), hi(h, 0);  // lo > hi: empty row
  const double rx = w / 2.0, ry = h / 2.0;
  for (int j = 0; j < h; ++j) {
    const double dy = (j + 0.5 - ry) / ry;
    if (dy * dy > 1.0) continue;
    const double half = rx * std::sqrt(1.0 - dy * dy);
    lo[j] = std::max(0, static_cast<int>(std::ceil(rx - half - 0.5)));
    hi[j] = std::min(w - 1, static_cast<int>(std::floor(rx + half - 0.5)));
  }
  auto inside = [&](int i, int j) { return j >= 0 && j < h && i >= lo[j] && i <= hi[j]; };
  for (int j = 0; j < h; ++j) {
    for (int i = lo[j]; i <= hi[j]; ++i) {
      bool edge = false;
      for (int k = 1; k <= pen && !edge; ++k)
        edge = !inside(i - k, j) || !inside(i + k, j) || !inside(i, j - k) || !inside(i, j + k);
      m.cells[static_cast<size_t>(j) * w + i] = edge ? 1 : 2;
    }
  }
  return m;
}

// Markers of a handful of sizes are drawn thousands of times per redraw; keep their masks.
const TEllipseMask& EllipseMask(int w, int h, int pen) {
  constexpr size_t kSlots = 8;
  thread_local std::array<TEllipseMask, kSlots> cache;
  thread_local size_t next = 0;
  for (const auto& m : cache)
    if (m.w == w && m.h == h && m.pen == pen && !m.cells.empty()) return m;
  TEllipseMask& slot = cache[next];
  next = (next + 1) % kSlots;
  slot = BuildEllipseMask(w, h, pen);
  return slot;
}

void Normalise(int& left, int& top, int& right, int& bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
}

QFont ToQFont(const TFont& f) {
  QFont font(QString::fromStdString(f.Name));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(f.Size * 96.0 / 72.0))));
  font.setBold(f.Bold);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace

TCanvas::TCanvas(QImage& image) : image_(image) {
  if (image_.format() != QImage::Format_RGB32 && image_.format() != QImage::Format_ARGB32)
    image_ = image_.convertToFormat(QImage::Format_RGB32);
}

uint32_t* TCanvas::Bits() {
  // bits() detaches an image shared with a copy, so drawing never shows through another holder.
  stride_ = image_.bytesPerLine() / 4;
  return reinterpret_cast<uint32_t*>(image_.bits());
}

inline void TCanvas::Plot(uint32_t* bits, int x, int y, uint32_t rgb) {
  if (x >= 0 && y >= 0 && x < image_.width() && y < image_.height())
    bits[static_cast<size_t>(y) * stride_ + x] = rgb;
}

void TCanvas::LineTo(int x, int y) {
  const QPoint from = penPos_;
  penPos_ = QPoint(x, y);
  if (Pen.Style == TPenStyle::Clear || from == penPos_) return;
  if (Pen.Width > 1)
    WideLine(from.x(), from.y(), x, y);
  else
    ThinLine(from.x(), from.y(), x, y, ToQRgb(Pen.Color), Pen.Style);
}

// Pixel i of the line lies i steps along the major axis from the start, its minor coordinate the
// nearest to the exact line (halves rounded toward the start). Only the steps that can land on
// the surface are walked, so far-off coordinates cost nothing.
void TCanvas::ThinLine(int x0, int y0, int x1, int y1, uint32_t rgb, TPenStyle style) {
  if (image_.isNull()) return;
  uint32_t* bits = Bits();
  const int64_t dx = static_cast<int64_t>(x1) - x0, dy = static_cast<int64_t>(y1) - y0;
  const int64_t adx = std::llabs(dx), ady = std::llabs(dy);
  const bool xMajor = adx >= ady;
  const int64_t n = xMajor ? adx : ady;          // pixels drawn: the end one is left out
  const int64_t major0 = xMajor ? x0 : y0;
  const int64_t sMajor = (xMajor ? dx : dy) >= 0 ? 1 : -1;
  const int64_t sMinor = (xMajor ? dy : dx) >= 0 ? 1 : -1;
  const int64_t minor0 = xMajor ? y0 : x0;
  const int64_t aMinor = xMajor ? ady : adx;
  const int64_t limit = (xMajor ? image_.width() : image_.height()) - 1;

  int64_t iLo = 0, iHi = n - 1;
  if (sMajor > 0) {
    iLo = std::max(iLo, -major0);
    iHi = std::min(iHi, limit - major0);
  } else {
    iLo = std::max(iLo, major0 - limit);
    iHi = std::min(iHi, major0);
  }
  if (iLo > iHi) return;

  const int64_t den = 2 * n;
  // minor offset = (2 i aMinor + n - 1) / den; the start may be far along, so compute it wide
  const __int128 num = static_cast<__int128>(2) * iLo * aMinor + n - 1;
  int64_t q = static_cast<int64_t>(num / den), r = static_cast<int64_t>(num % den);
  const int64_t w = image_.width(), h = image_.height();
  for (int64_t i = iLo; i <= iHi; ++i) {
    if (StyleLit(style, i)) {
      const int64_t major = major0 + sMajor * i, minor = minor0 + sMinor * q;
      const int64_t px = xMajor ? major : minor, py = xMajor ? minor : major;
      if (px >= 0 && py >= 0 && px < w && py < h) bits[py * stride_ + px] = rgb;
    }
    r += 2 * aMinor;
    while (r >= den) {
      r -= den;
      ++q;
    }
  }
}

void TCanvas::WideLine(int x0, int y0, int x1, int y1) {
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(ToQColor(Pen.Color), Pen.Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawLine(x0, y0, x1, y1);
}

void TCanvas::FillBox(int left, int top, int right, int bottom, uint32_t rgb) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, image_.width());
  bottom = std::min(bottom, image_.height());
  if (left >= right || top >= bottom) return;
  uint32_t* bits = Bits();
  for (int y = top; y < bottom; ++y) std::fill_n(bits + static_cast<size_t>(y) * stride_ + left, right - left, rgb);
}

void TCanvas::FillRect(int left, int top, int right, int bottom) {
  Normalise(left, top, right, bottom);
  if (Brush.Style == TBrushStyle::Clear) return;
  FillBox(left, top, right, bottom, ToQRgb(Brush.Color));
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  Normalise(left, top, right, bottom);
  if (left == right || top == bottom) return;
  const bool pen = Pen.Style != TPenStyle::Clear;
  const int pw = pen ? std::max(1, Pen.Width) : 0;
  if (Brush.Style == TBrushStyle::Solid)
    FillBox(left + pw, top + pw, right - pw, bottom - pw, ToQRgb(Brush.Color));
  if (!pen) return;
  if (pw == 1) {
    // The four sides as lines without their end pixels close the outline exactly once.
    const uint32_t rgb = ToQRgb(Pen.Color);
    ThinLine(left, top, right - 1, top, rgb, Pen.Style);
    ThinLine(right - 1, top, right - 1, bottom - 1, rgb, Pen.Style);
    ThinLine(right - 1, bottom - 1, left, bottom - 1, rgb, Pen.Style);
    ThinLine(left, bottom - 1, left, top, rgb, Pen.Style);
    if (right - left == 1 || bottom - top == 1) FillBox(left, top, right, bottom, rgb);
    return;
  }
  const uint32_t rgb = ToQRgb(Pen.Color);
  FillBox(left, top, right, std::min(bottom, top + pw), rgb);
  FillBox(left, std::max(top, bottom - pw), right, bottom, rgb);
  FillBox(left, top, std::min(right, left + pw), bottom, rgb);
  FillBox(std::max(left, right - pw), top, right, bottom, rgb);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  Normalise(left, top, right, bottom);
  const bool pen = Pen.Style != TPenStyle::Clear;
  const bool brush = Brush.Style == TBrushStyle::Solid;
  if (left == right || top == bottom || (!pen && !brush) || image_.isNull()) return;
  // Boxes far larger than the surface are drawn by nobody; refuse them rather than build the mask.
  const int64_t w = static_cast<int64_t>(right) - left, h = static_cast<int64_t>(bottom) - top;
  if (w > 16384 || h > 16384) return;
  const TEllipseMask& m = EllipseMask(static_cast<int>(w), static_cast<int>(h), pen ? std::max(1, Pen.Width) : 0);
  const uint32_t penRgb = ToQRgb(Pen.Color), brushRgb = ToQRgb(Brush.Color);
  uint32_t* bits = Bits();
  const int j0 = std::max(0, -top), j1 = std::min(m.h, image_.height() - top);
  const int i0 = std::max(0, -left), i1 = std::min(m.w, image_.width() - left);
  for (int j = j0; j < j1; ++j) {
    const uint8_t* row = m.cells.data() + static_cast<size_t>(j) * m.w;
    uint32_t* out = bits + static_cast<size_t>(top + j) * stride_ + left;
    for (int i = i0; i < i1; ++i) {
      const uint8_t c = row[i];
      if (c == 1 && pen)
        out[i] = penRgb;
      else if (c != 0 && brush)
        out[i] = brushRgb;
    }
  }
}

TColor TCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return clInvalidPixel;
  return FromQRgb(image_.pixel(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor colour) {
  if (image_.isNull()) return;
  Plot(Bits(), x, y, ToQRgb(colour));
}

void TCanvas::TextOut(int x, int y, const std::string& utf8) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const QFont font = ToQFont(Font);
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(text);
  if (!image_.isNull()) {
    if (Brush.Style == TBrushStyle::Solid)
      FillBox(x, y, x + width, y + metrics.height(), ToQRgb(Brush.Color));
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(ToQColor(Font.Color));
    painter.drawText(x, y + metrics.ascent(), text);
  }
  penPos_ = QPoint(x + width, y);
}

int TCanvas::TextWidth(const std::string& utf8) const {
  return QFontMetrics(ToQFont(Font)).horizontalAdvance(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

int TCanvas::TextHeight(const std::string&) const { return QFontMetrics(ToQFont(Font)).height(); }

void TCanvas::Draw(int x, int y, const QImage& picture) {
  if (image_.isNull() || picture.isNull()) return;
  QPainter painter(&image_);
  painter.drawImage(x, y, picture);
}

}  // namespace kavri
