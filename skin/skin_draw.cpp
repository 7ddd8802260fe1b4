#include "skin/skin_draw.h"

#include <QGuiApplication>
#include <QMetaProperty>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "skin/system_colors.h"

namespace kavri {
namespace {

// A corner piece: cut to the drawn size on the side away from the picture's middle, copied 1:1.
void DrawCorner(const QImage& bmp, QImage& canvas, TPixelRect src, int w, int h, bool keepRight,
                bool keepBottom, int x, int y, bool transparent) {
  if (w <= 0 || h <= 0) return;
  TPixelRect cut{keepRight ? src.Right - w : src.Left, keepBottom ? src.Bottom - h : src.Top,
                 keepRight ? src.Right : src.Left + w, keepBottom ? src.Bottom : src.Top + h};
  CopyPixels(bmp, cut, canvas, x, y, transparent ? std::optional<TColor>(kMaskMagenta) : std::nullopt);
}

enum class TKeep { None, Left, Right, Top, Bottom };

// An edge piece: cut across its stretch direction when the target is thinner, then stretched; magenta
// is always transparent.
void DrawEdge(const QImage& bmp, QImage& canvas, TPixelRect src, TPixelRect dst, TKeep keep) {
  if (dst.IsEmpty() || src.IsEmpty()) return;
  switch (keep) {
    case TKeep::Left: src.Right = src.Left + std::min(src.Width(), dst.Width()); break;
    case TKeep::Right: src.Left = src.Right - std::min(src.Width(), dst.Width()); break;
    case TKeep::Top: src.Bottom = src.Top + std::min(src.Height(), dst.Height()); break;
    case TKeep::Bottom: src.Top = src.Bottom - std::min(src.Height(), dst.Height()); break;
    case TKeep::None: break;
  }
  StretchPixels(bmp, src, canvas, dst, kMaskMagenta);
}

}  // namespace

void SpitDraw(const QImage& bitmap, QImage& canvas, TPixelRect rect, bool transparent) {
  const QImage bmp = ToSkinBitmap(bitmap);
  const int bw = bmp.width(), bh = bmp.height();
  if (bw <= 0 || bh <= 0) return;
  const int W = rect.Right - rect.Left, H = rect.Bottom - rect.Top;
  const int w2 = bw / 2, h2 = bh / 2, W2 = W / 2, H2 = H / 2;
  const int R = rect.Right, B = rect.Bottom;
  auto nonneg = [](int v) { return std::max(v, 0); };

  const int cw1 = nonneg(std::min(w2, W2)), ch1 = nonneg(std::min(h2, H2));
  DrawCorner(bmp, canvas, {0, 0, w2, h2}, cw1, ch1, false, false, 0, 0, transparent);

  const int cw2 = nonneg(std::min(w2, W2)), ch2 = nonneg(std::min(h2 - 1, H2 - 1));
  DrawCorner(bmp, canvas, {0, bh - h2 + 1, w2, bh}, cw2, ch2, false, true, 0, B - ch2, transparent);

  DrawEdge(bmp, canvas, {0, h2, w2, bh - h2}, {0, ch1, cw1, B - ch2}, TKeep::Left);

  const int cw4 = nonneg(std::min(w2 - 1, W2 - 1)), ch4 = nonneg(std::min(h2, H2));
  DrawCorner(bmp, canvas, {bw - w2 + 1, 0, bw, h2}, cw4, ch4, true, false, R - cw4, 0, transparent);

  const int cw5 = nonneg(std::min(w2 - 1, W2 - 1)), ch5 = nonneg(std::min(h2 - 1, H2 - 1));
  DrawCorner(bmp, canvas, {bw - w2 + 1, bh - h2 + 1, bw, bh}, cw5, ch5, true, true, R - cw5, B - ch5,
             transparent);

  DrawEdge(bmp, canvas, {bw - w2 + 1, bh - h2, bw, h2 + 2}, {R - cw4, ch4, R, B - ch5}, TKeep::Right);
  DrawEdge(bmp, canvas, {w2, 0, bw - w2 + 1, h2}, {cw1, 0, R - cw4, ch1}, TKeep::Top);
  DrawEdge(bmp, canvas, {w2, h2, bw - w2 + 1, bh - h2}, {cw1, ch1, R - cw4, B - ch5 - 1}, TKeep::None);
  DrawEdge(bmp, canvas, {w2, bh - h2, bw - w2 + 1, bh}, {cw1 - 1, B - ch2 - 1, R - cw5, B}, TKeep::Bottom);
}

void SpitDrawHorizontal(const QImage& bitmap, QImage& canvas, TPixelRect rect, bool transparent) {
  const QImage bmp = ToSkinBitmap(bitmap);
  const int pw = bmp.width() / 3, bh = bmp.height();
  if (pw <= 0 || bh <= 0) return;
  std::optional<TColor> mask;
  if (transparent) mask = PixelAt(bmp, 0, 0);
  CopyPixels(bmp, {0, 0, pw, bh}, canvas, rect.Left, rect.Top, mask);
  CopyPixels(bmp, {2 * pw, 0, 3 * pw, bh}, canvas, rect.Right - pw, rect.Top, mask);
  StretchPixels(bmp, {pw, 0, 2 * pw, bh}, canvas, {rect.Left + pw, rect.Top, rect.Right - pw, rect.Bottom}, mask);
}

void TileDraw(QImage& canvas, const QImage& picture, TPixelRect rect) {
  const QImage pic = ToSkinBitmap(picture);
  const int w = pic.width(), h = pic.height();
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < rect.Height() + h; y += h)
    for (int x = 0; x < rect.Width() + w; x += w) CopyPixels(pic, {0, 0, w, h}, canvas, x, y);
}

void DoTrans(QImage& canvas, QWidget* control) {
  if (!control || canvas.isNull()) return;
  QWidget* parent = control->parentWidget();
  if (!parent) return;
  QPainter painter(&canvas);
  QRect area = control->geometry() & parent->rect();
  if (area.isEmpty()) return;
  painter.translate(area.topLeft() - control->geometry().topLeft());
  parent->render(&painter, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
}

void DrawControlBorder(QImage& canvas, TColor outer, TColor inner) {
  const int w = canvas.width(), h = canvas.height();
  auto ring = [&](int i, TColor c) {
    FillPixels(canvas, {i, i, w - i, i + 1}, c);
    FillPixels(canvas, {i, h - i - 1, w - i, h - i}, c);
    FillPixels(canvas, {i, i, i + 1, h - i}, c);
    FillPixels(canvas, {w - i - 1, i, w - i, h - i}, c);
  };
  ring(0, ColorToRGB(outer));
  ring(1, ColorToRGB(inner));
}

void DrawControlBorder(QPainter& painter, int w, int h, TColor outer, TColor inner) {
  auto ring = [&](int i, TColor c) {
    QColor q = ToQColor(ColorToRGB(c));
    if (w - 2 * i <= 0 || h - 2 * i <= 0) return;
    painter.fillRect(i, i, w - 2 * i, 1, q);
    painter.fillRect(i, h - i - 1, w - 2 * i, 1, q);
    painter.fillRect(i, i, 1, h - 2 * i, q);
    painter.fillRect(w - i - 1, i, 1, h - 2 * i, q);
  };
  ring(0, outer);
  ring(1, inner);
}

void DrawControlBorder(QWidget* control, TColor outer, TColor inner) {
  if (!control) return;
  QPainter painter(control);
  DrawControlBorder(painter, control->width(), control->height(), outer, inner);
}

namespace {
// Moves every pixel to where `to` sends it, into a bitmap of the new size.
template <typename Fn>
void RemapPixels(QImage& bitmap, int newWidth, int newHeight, Fn to) {
  const QImage src = ToSkinBitmap(bitmap);
  QImage out = NewSkinBitmap(newWidth, newHeight);
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) {
      QPoint p = to(x, y, src.width(), src.height());
      SetPixelAt(out, p.x(), p.y(), PixelAt(src, x, y));
    }
  bitmap = out;
}
}  // namespace

void RoundPicture(QImage& bitmap) {
  RemapPixels(bitmap, bitmap.height(), bitmap.width(), [](int x, int y, int W, int) { return QPoint(y, W - 1 - x); });
}

void RoundPicture3(QImage& bitmap) {
  RemapPixels(bitmap, bitmap.height(), bitmap.width(), [](int x, int y, int, int H) { return QPoint(H - 1 - y, x); });
}

void RoundPicture2(QImage& bitmap) {
  RemapPixels(bitmap, bitmap.width(), bitmap.height(), [](int x, int y, int, int H) { return QPoint(x, H - 1 - y); });
}

bool InRect(int x, int y, TPixelRect r) { return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom; }
bool InRect(QPoint p, TPixelRect r) { return InRect(p.x(), p.y(), r); }

TPixelRect GetWorkAreaRect() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  QRect a = screen->availableGeometry();
  return {a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
}

void PlaceControl(QWidget* control, QPoint point) {
  if (control) control->move(point);
}

void PlaceControl(QWidget* control, TPixelRect rect) {
  if (control) control->setGeometry(rect.Left, rect.Top, std::max(rect.Width(), 0), std::max(rect.Height(), 0));
}

std::string PCharToStr(const char* text) { return text ? std::string(text) : std::string(); }

bool IsHasProperty(const QObject* object, const std::string& name) {
  if (!object) return false;
  const QMetaObject* meta = object->metaObject();
  QString wanted = QString::fromStdString(name);
  for (int i = 0; i < meta->propertyCount(); ++i)
    if (QString::fromLatin1(meta->property(i).name()).compare(wanted, Qt::CaseInsensitive) == 0) return true;
  return false;
}

void SetWinControlTransparent(QWidget* control) {
  if (!control) return;
  control->setAttribute(Qt::WA_OpaquePaintEvent, false);
  control->setAttribute(Qt::WA_NoSystemBackground, true);
  control->setAttribute(Qt::WA_TranslucentBackground, true);
}

void SetBitmapWindow(QWidget* window, const QImage& bitmap, TColor transparentColor) {
  if (!window) return;
  QRegion region;
  const TColor key = transparentColor & 0xFFFFFF;
  for (int y = 0; y < bitmap.height(); ++y) {
    int x = 0;
    while (x < bitmap.width()) {
      while (x < bitmap.width() && PixelAt(bitmap, x, y) == key) ++x;
      int start = x;
      while (x < bitmap.width() && PixelAt(bitmap, x, y) != key) ++x;
      if (x > start) region += QRect(start, y, x - start, 1);
    }
  }
  window->setMask(region);
  window->update();
}

}  // namespace kavri
