#include "skin/tool_bar.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>

#include "skin/pixel_ops.h"
#include "skin/system_colors.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"

namespace kavri {

TToolButtonLook ToolButtonLook(bool hot, bool pressed, bool checked) {
  if (hot) return pressed ? TToolButtonLook::Down : TToolButtonLook::Hot;
  if (pressed || checked) return TToolButtonLook::Hot;
  return TToolButtonLook::Standard;
}

TSkinToolButton::TSkinToolButton(TSkinToolBar* bar) : QWidget(bar), FBar(bar) {
  resize(bar->ButtonWidth(), bar->ButtonHeight());
}

void TSkinToolButton::SetCaption(const QString& caption) {
  FCaption = caption;
  update();
}
void TSkinToolButton::SetDown(bool down) {
  FDown = down;
  update();
}
void TSkinToolButton::SetStyle(TToolButtonStyle style) {
  FStyle = style;
  FBar->Relayout();
  update();
}
void TSkinToolButton::SetImageIndex(int index) {
  FImageIndex = index;
  update();
}

void TSkinToolButton::Click() {
  if (FStyle == TToolButtonStyle::tbsSeparator) return;
  if (FStyle == TToolButtonStyle::tbsCheck) SetDown(!FDown);
  if (OnClick) OnClick(this);
}

void TSkinToolButton::enterEvent(QEnterEvent* event) {
  FHot = true;
  update();
  QWidget::enterEvent(event);
}
void TSkinToolButton::leaveEvent(QEvent* event) {
  FHot = false;
  update();
  QWidget::leaveEvent(event);
}
void TSkinToolButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || FStyle == TToolButtonStyle::tbsSeparator) return;
  FMousePressed = true;
  update();
}
void TSkinToolButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !FMousePressed) return;
  FMousePressed = false;
  update();
  if (rect().contains(event->position().toPoint())) Click();
}

void TSkinToolButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, FBar->RenderButton(this));
}

TSkinToolBar::TSkinToolBar(QWidget* parent) : QWidget(parent), FColor(clBtnFace) {
  resize(200, FButtonHeight + 4);
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
}

TSkinToolButton* TSkinToolBar::AddButton(const QString& caption, int imageIndex, TToolButtonStyle style) {
  auto* button = new TSkinToolButton(this);
  button->SetCaption(caption);
  button->SetImageIndex(imageIndex);
  button->SetStyle(style);
  button->show();
  Relayout();
  return button;
}

void TSkinToolBar::Relayout() {
  constexpr int kSeparatorWidth = 8;
  int x = 0;
  for (QObject* child : children()) {
    auto* button = qobject_cast<TSkinToolButton*>(child);
    if (!button) continue;
    const int w = button->Style() == TToolButtonStyle::tbsSeparator ? kSeparatorWidth : FButtonWidth;
    button->setGeometry(x, 2, w, FButtonHeight);
    x += w;
  }
}

void TSkinToolBar::childEvent(QChildEvent* event) {
  QWidget::childEvent(event);
  if (event->type() == QEvent::ChildRemoved) Relayout();
}

void TSkinToolBar::SetUIStyle(TSkinUIStyle style) {
  FUIStyle = style;
  if (IsThemedStyle(style)) {
    FButtonBorderColor = GetThemeColor(style, 80);
    FButtonColor = GetThemeColor(style, 81);
    FButtonDownColor = GetThemeColor(style, 82);
    FColor = GetThemeColor(style, 83);
    FTransparent = style == TSkinUIStyle::Graphite;
    setAttribute(Qt::WA_OpaquePaintEvent, !FTransparent);
  }
  update();
}

void TSkinToolBar::SetButtonColor(TColor color) {
  FButtonColor = color;
  update();
}
void TSkinToolBar::SetButtonBorderColor(TColor color) {
  FButtonBorderColor = color;
  update();
}
void TSkinToolBar::SetButtonDownColor(TColor color) {
  FButtonDownColor = color;
  update();
}
void TSkinToolBar::SetColor(TColor color) {
  FColor = color;
  update();
}
void TSkinToolBar::SetTransparent(bool transparent) {
  FTransparent = transparent;
  setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
  update();
}
void TSkinToolBar::SetShowCaptions(bool show) {
  FShowCaptions = show;
  update();
}
void TSkinToolBar::SetImages(const TImageList* images) {
  FImages = images;
  update();
}
void TSkinToolBar::SetHotImages(const TImageList* images) {
  FHotImages = images;
  update();
}
void TSkinToolBar::SetButtonSize(int width, int height) {
  FButtonWidth = width;
  FButtonHeight = height;
  Relayout();
}

void TSkinToolBar::DrawCaption(QImage& canvas, const TSkinToolButton* button, int y) const {
  if (!FShowCaptions || button->Caption().isEmpty()) return;
  QPainter painter(&canvas);
  painter.setFont(button->font());
  painter.setPen(button->isEnabled() ? button->palette().color(QPalette::ButtonText) : QColor(0x80, 0x80, 0x80));
  painter.drawText(QRect(0, y, canvas.width(), canvas.height() - y), Qt::AlignHCenter | Qt::AlignTop, button->Caption());
}

void TSkinToolBar::DrawFlatButton(QImage& canvas, const TSkinToolButton* button, bool down) const {
  const int W = canvas.width(), H = canvas.height();
  FillPixels(canvas, {0, 0, W, H}, ColorToRGB(FButtonBorderColor));
  FillPixels(canvas, {1, 1, W - 1, H - 1}, ColorToRGB(down ? FButtonDownColor : FButtonColor));
  const TImageList* images = FHotImages ? FHotImages : FImages;
  if (images) {
    const int x = (W - images->Width()) / 2;
    const QImage image = images->Image(button->ImageIndex());
    if (!image.isNull()) {
      QPainter painter(&canvas);
      // A pressed picture sits one pixel right of and below the hot one.
      painter.drawImage(down ? QPoint(x, 3) : QPoint(x - 1, 2), image);
    }
  }
  DrawCaption(canvas, button, images ? images->Height() + 4 : (down ? 5 : 4));
}

void TSkinToolBar::DrawStandardButton(QImage& canvas, const TSkinToolButton* button) const {
  const int W = canvas.width();
  if (FImages) {
    const QImage image = FImages->Image(button->ImageIndex());
    if (!image.isNull()) {
      QPainter painter(&canvas);
      QImage shown = image;
      if (!button->isEnabled()) {
        shown = GreyedPicture(image, std::nullopt).convertToFormat(QImage::Format_ARGB32);
        shown.setAlphaChannel(image.convertToFormat(QImage::Format_Alpha8));
      }
      painter.drawImage(QPoint((W - FImages->Width()) / 2 - 1, 2), shown);
    }
  }
  DrawCaption(canvas, button, FImages ? FImages->Height() + 4 : 4);
}

QImage TSkinToolBar::RenderButton(const TSkinToolButton* button) const {
  QImage canvas(button->width(), button->height(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  if (button->Style() == TToolButtonStyle::tbsSeparator) return canvas;
  switch (button->isEnabled() ? button->Look() : TToolButtonLook::Standard) {
    case TToolButtonLook::Down: DrawFlatButton(canvas, button, true); break;
    case TToolButtonLook::Hot: DrawFlatButton(canvas, button, false); break;
    case TToolButtonLook::Standard: DrawStandardButton(canvas, button); break;
  }
  return canvas;
}

void TSkinToolBar::paintEvent(QPaintEvent*) {
  QImage canvas = NewSkinBitmap(width(), height(), ColorToRGB(FColor));
  if (FTransparent) DoTrans(canvas, this);
  QPainter(this).drawImage(0, 0, canvas);
}

}  // namespace kavri
