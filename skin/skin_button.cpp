#include "skin/skin_button.h"

#include <QFontMetrics>

#include "skin/pixel_ops.h"
#include "skin/skin_draw.h"

namespace kavri {

namespace {
constexpr int kGraphiteButtonHeight = 23;
}

TSkinButton::TSkinButton(QWidget* parent) : TSkinCustomButton(parent) {
  resize(80, 27);
  SetTabStop(true);
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
}

QString TSkinButton::GetPicNormal() const { return UIStyle() == TSkinUIStyle::Custom ? StoredPicNormal() : QString(); }
QString TSkinButton::GetPicMouseOn() const {
  return UIStyle() == TSkinUIStyle::Custom ? StoredPicMouseOn() : QString();
}
QString TSkinButton::GetPicMouseDown() const {
  return UIStyle() == TSkinUIStyle::Custom ? StoredPicMouseDown() : QString();
}

void TSkinButton::SwitchToCustom() {
  if (UIStyle() != TSkinUIStyle::Custom) SetUIStyle(TSkinUIStyle::Custom);
}

void TSkinButton::SetPicNormal(const QString& name) {
  SwitchToCustom();
  TSkinCustomButton::SetPicNormal(name);
}
void TSkinButton::SetPicMouseOn(const QString& name) {
  SwitchToCustom();
  TSkinCustomButton::SetPicMouseOn(name);
}
void TSkinButton::SetPicMouseDown(const QString& name) {
  SwitchToCustom();
  TSkinCustomButton::SetPicMouseDown(name);
}

void TSkinButton::SetGlyph(const QImage& glyph) {
  glyph_ = ToSkinBitmap(glyph);
  update();
}

void TSkinButton::SetLayout(TButtonLayout layout) {
  layout_ = layout;
  update();
}

void TSkinButton::SetSpacing(int spacing) {
  spacing_ = spacing;
  update();
}

void TSkinButton::ApplyContainerStyle(TSkinUIStyle style) {
  if (UIStyle() != TSkinUIStyle::Custom) SetUIStyle(style);
}

void TSkinButton::SetButtonPic(TSkinUIStyle style) {
  if (style == TSkinUIStyle::Custom) return;
  SetResHandle(0);
  StorePicNormal(QString::fromStdString(GetThemeString(style, 24)));
  StorePicMouseOn(QString::fromStdString(GetThemeString(style, 25)));
  StorePicMouseDown(QString::fromStdString(GetThemeString(style, 26)));
}

void TSkinButton::UIStyleChanged() {
  TSkinCustomButton::UIStyleChanged();
  if (UIStyle() == TSkinUIStyle::Graphite) {
    setFixedHeight(kGraphiteButtonHeight);  // Graphite buttons refuse any other height
  } else {
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
  }
  SetTransparent(UIStyle() == TSkinUIStyle::Frost);
}

void TSkinButton::PaintPic(QImage& canvas, const QImage& picture) {
  if (UIStyle() != TSkinUIStyle::Custom)
    SpitDraw(picture, canvas, {0, 0, width(), height()}, PicTransparent());
  else
    TSkinCustomButton::PaintPic(canvas, picture);
  if (glyph_.isNull()) return;

  QFontMetrics fm(font());
  const int tw = fm.horizontalAdvance(PlainCaption()), th = fm.height();
  const bool twoImages = glyph_.width() == 2 * glyph_.height();
  const int gh = glyph_.height(), gw = twoImages ? gh : glyph_.width();
  const int W = width(), H = height(), sp = spacing_;
  int gx = 0, gy = 0;
  switch (layout_) {
    case TButtonLayout::blGlyphLeft:
      gx = (W - (tw + gw + sp)) / 2;
      gy = (H - gh) / 2;
      captionPos_ = {gx + gw + sp, (H - th) / 2};
      break;
    case TButtonLayout::blGlyphRight:
      gx = (W + tw + sp - gw) / 2;
      gy = (H - gh) / 2;
      captionPos_ = {gx - tw - sp, (H - th) / 2};
      break;
    case TButtonLayout::blGlyphTop:
      gx = (W - gw) / 2;
      gy = (H - (th + gh + sp)) / 2;
      captionPos_ = {(W - tw) / 2, gy + gh + sp};
      break;
    case TButtonLayout::blGlyphBottom:
      gx = (W - gw) / 2;
      gy = (H + th + sp - gh) / 2;
      captionPos_ = {(W - tw) / 2, gy - th - sp};
      break;
  }
  if (Pressed()) {
    gx += 1;
    gy += 1;
  }
  const TColor mask = PixelAt(glyph_, 0, 0);
  if (twoImages) {
    const int left = isEnabled() ? 0 : gw;
    CopyPixels(glyph_, {left, 0, left + gw, gh}, canvas, gx, gy, mask);
  } else {
    const QImage& g = isEnabled() ? glyph_ : GreyedPicture(glyph_, mask);
    CopyPixels(g, {0, 0, gw, gh}, canvas, gx, gy, mask);
  }
}

void TSkinButton::PaintText(QImage& canvas, const QString& caption) {
  if (glyph_.isNull()) {
    TSkinCustomButton::PaintText(canvas, caption);
    return;
  }
  QPoint p = captionPos_;
  if (Pressed()) p += QPoint(1, 1);
  const int flags = Qt::AlignLeft | Qt::AlignTop;
  auto rectAt = [&](QPoint at) { return QRect(at.x(), at.y(), width() - at.x(), height() - at.y()); };
  if (!isEnabled()) {
    DrawCaption(canvas, rectAt(p + QPoint(1, 1)), flags, caption, clWhite);
    DrawCaption(canvas, rectAt(p), flags, caption, clGray);
  } else {
    DrawCaption(canvas, rectAt(p), flags, caption, FontColor());
  }
}

void TSkinButton::PaintFocus(QImage& canvas) {
  if (UIStyle() == TSkinUIStyle::Graphite || UIStyle() == TSkinUIStyle::Frost) {
    FillPixels(canvas, {10, height() - 5, width() - 10, height() - 4}, clBlue);
    return;
  }
  TSkinCustomButton::PaintFocus(canvas);
}

// ---- image button

TSkinImageButton::TSkinImageButton(QWidget* parent) : TSkinCustomButton(parent) {}

void TSkinImageButton::Assign(QImage& slot, const QImage& picture) {
  slot = ToSkinBitmap(picture);
  AutoSizeChanged();
  update();
}

void TSkinImageButton::SetPicNormal(const QImage& p) { Assign(normal_, p); }
void TSkinImageButton::SetPicMouseOn(const QImage& p) { Assign(mouseOn_, p); }
void TSkinImageButton::SetPicMouseDown(const QImage& p) { Assign(mouseDown_, p); }
void TSkinImageButton::SetPicDisabled(const QImage& p) { Assign(disabled_, p); }

void TSkinImageButton::SetStretch(bool value) {
  stretch_ = value;
  update();
}

void TSkinImageButton::AutoSizeChanged() {
  if (parentWidget() && AutoSize() && !normal_.isNull()) resize(normal_.width(), normal_.height());
}

void TSkinImageButton::PaintButtonNormal(QImage& picture) { picture = normal_; }
void TSkinImageButton::PaintButtonMouseOn(QImage& picture) { picture = mouseOn_.isNull() ? normal_ : mouseOn_; }
void TSkinImageButton::PaintButtonMouseDown(QImage& picture) {
  picture = mouseDown_.isNull() ? normal_ : mouseDown_;
}
void TSkinImageButton::PaintButtonDisabled(QImage& picture) { picture = disabled_.isNull() ? normal_ : disabled_; }

void TSkinImageButton::PaintPic(QImage& canvas, const QImage& picture) {
  if (picture.isNull() || picture.width() == 0 || picture.height() == 0) return;
  const TColor mask = PixelAt(picture, 0, 0);
  if (stretch_)
    StretchPixels(picture, {0, 0, picture.width(), picture.height()}, canvas, {0, 0, width(), height()}, mask);
  else
    CopyPixels(picture, {0, 0, picture.width(), picture.height()}, canvas, 0, 0, mask);
}

}  // namespace kavri
