#include "skin/image_panel.h"

#include <QPainter>

#include "skin/pixel_ops.h"
#include "skin/system_colors.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"

namespace kavri {

TSkinCustomPanel::TSkinCustomPanel(QWidget* parent) : QWidget(parent), FColor(clBtnFace) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSkinCustomPanel::SetPicture(const QImage& picture) {
  FPicture = picture.isNull() ? QImage() : ToSkinBitmap(picture);
  PictureChanged();
}

void TSkinCustomPanel::PictureChanged() {
  if (!FPicture.isNull()) ApplyAutoSize();
  ClearPanel();
  update();
}

void TSkinCustomPanel::SetTransparent(bool transparent) {
  FTransparent = transparent;
  setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
  update();
}

void TSkinCustomPanel::SetAutoSize(bool autoSize) {
  FAutoSize = autoSize;
  if (!FPicture.isNull()) ApplyAutoSize();
}

void TSkinCustomPanel::ApplyAutoSize() {
  if (FAutoSize && !FPicture.isNull()) resize(FPicture.size());
}

void TSkinCustomPanel::SetDrawStyle(TSkinDrawStyle style) {
  FDrawStyle = style;
  ClearPanel();
}
void TSkinCustomPanel::SetCaptionPosX(int x) {
  FCaptionPosX = x;
  update();
}
void TSkinCustomPanel::SetCaptionPosY(int y) {
  FCaptionPosY = y;
  update();
}
void TSkinCustomPanel::SetCaption(const QString& caption) {
  FCaption = caption;
  update();
}
void TSkinCustomPanel::SetAlignment(Qt::Alignment alignment) {
  FAlignment = alignment;
  update();
}
void TSkinCustomPanel::SetColor(TColor color) {
  FColor = color;
  update();
}

void TSkinCustomPanel::UpdateUIStyle(TSkinUIStyle style) { ContainerApplyUIStyle(this, style); }

void TSkinCustomPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  update();
}

QImage TSkinCustomPanel::Render() {
  const int W = width(), H = height();
  QImage buffer = NewSkinBitmap(W, H, ColorToRGB(FColor));
  if (FTransparent) DoTrans(buffer, this);
  if (!FPicture.isNull()) {
    const TPixelRect whole{0, 0, FPicture.width(), FPicture.height()};
    // A transparent panel leaves the picture's background colour (its bottom-left pixel) out.
    std::optional<TColor> mask;
    if (FTransparent) mask = PixelAt(FPicture, 0, FPicture.height() - 1);
    switch (FDrawStyle) {
      case TSkinDrawStyle::skinStretch: StretchPixels(FPicture, whole, buffer, {0, 0, W, H}, mask); break;
      case TSkinDrawStyle::skinTile: TileDraw(buffer, FPicture, {0, 0, W, H}); break;
      case TSkinDrawStyle::skinNormal: CopyPixels(FPicture, whole, buffer, 0, 0, mask); break;
    }
  }
  if (!FCaption.trimmed().isEmpty()) {
    QPainter painter(&buffer);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    if (FCaptionPosX == -1 || FCaptionPosY == -1) {
      Qt::Alignment horizontal = FAlignment & Qt::AlignHorizontal_Mask;
      if (!horizontal) horizontal = Qt::AlignHCenter;
      painter.drawText(QRect(0, 0, W, H), horizontal | Qt::AlignVCenter | Qt::TextSingleLine, FCaption);
    } else {
      painter.drawText(QRect(FCaptionPosX, FCaptionPosY, W, H), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                       FCaption);
    }
  }
  return buffer;
}

void TSkinCustomPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, Render());
}

}  // namespace kavri
