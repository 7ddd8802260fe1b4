#include "skin/progress_bar.h"

#include <QPainter>

#include "skin/pixel_ops.h"
#include "skin/system_colors.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"

namespace kavri {

int64_t ProgressPercent(int position, int min, int max) {
  if (max == min) return 0;
  return (int64_t{position} - min) * 100 / (int64_t{max} - min);
}

int ProgressFillLength(int position, int min, int max, int span) {
  int64_t length = 0;
  if (max > min && position > min && position <= max)
    length = (int64_t{position} - min) * span / (int64_t{max} - min);
  else if (position > max)
    length = span;
  return length == 0 ? 1 : static_cast<int>(length);
}

TSkinProgressBar::TSkinProgressBar(QWidget* parent) : QWidget(parent), FColor(clBtnFace) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFixedHeight(kThickness);
  resize(150, kThickness);
  FText = QStringLiteral("50%");
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
  UpdateProgress();
}

void TSkinProgressBar::SetMax(int value) {
  FMax = value;
  UpdateProgress();
}
void TSkinProgressBar::SetMin(int value) {
  FMin = value;
  UpdateProgress();
}
void TSkinProgressBar::SetPosition(int value) {
  FPosition = value;
  UpdateProgress();
}
void TSkinProgressBar::StepBy(int delta) {
  // Saturate rather than wrap at the ends of int.
  int64_t next = int64_t{FPosition} + delta;
  SetPosition(static_cast<int>(std::clamp<int64_t>(next, INT32_MIN, INT32_MAX)));
}

void TSkinProgressBar::UpdateProgress() {
  FText = QString::number(ProgressPercent(FPosition, FMin, FMax)) + QLatin1Char('%');
  update();
}

void TSkinProgressBar::SetUIStyle(TSkinUIStyle style) {
  FUIStyle = style;
  UpdatePicture();
}

void TSkinProgressBar::UpdatePicture() {
  if (IsThemedStyle(FUIStyle)) {
    const bool vertical = FOrientation == TSkinProgressBarOrientation::skinVertical;
    FPicture = LoadSkinPicture(GetThemeString(FUIStyle, vertical ? 44 : 43));
    FColor = GetThemeColor(FUIStyle, 9);
    FBorderColor = GetThemeColor(FUIStyle, 8);
  }
  update();
}

void TSkinProgressBar::SetOrientation(TSkinProgressBarOrientation orientation) {
  FOrientation = orientation;
  UpdatePicture();
  const int length = std::max(width(), height());
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (orientation == TSkinProgressBarOrientation::skinVertical) {
    setFixedWidth(kThickness);
    resize(kThickness, length);
  } else {
    setFixedHeight(kThickness);
    resize(length, kThickness);
  }
}

bool TSkinProgressBar::CanResize(int width, int height) const {
  return (FOrientation == TSkinProgressBarOrientation::skinVertical ? width : height) == kThickness;
}

void TSkinProgressBar::SetBorderColor(TColor color) {
  FBorderColor = color;
  update();
}
void TSkinProgressBar::SetColor(TColor color) {
  FColor = color;
  update();
}
void TSkinProgressBar::SetCaptionColor(TColor color) {
  FCaptionColor = color;
  update();
}
void TSkinProgressBar::SetShowCaption(bool show) {
  FShowCaption = show;
  update();
}
void TSkinProgressBar::SetSmartShowCaption(bool smart) {
  FSmartShowCaption = smart;
  update();
}
void TSkinProgressBar::SetPicture(const QImage& picture) {
  FPicture = picture;
  update();
}

void TSkinProgressBar::ApplyContainerStyle(TSkinUIStyle style) {
  if (FUIStyle != TSkinUIStyle::Custom) SetUIStyle(style);
}

QImage TSkinProgressBar::Render() {
  const int W = width(), H = height();
  QImage buffer = NewSkinBitmap(W, H, ColorToRGB(FColor));
  const bool hasPicture = !FPicture.isNull() && FPicture.width() > 0 && FPicture.height() > 0;
  const QImage picture = hasPicture ? ToSkinBitmap(FPicture) : QImage();
  const TColor fill = ColorToRGB(FColor);
  if (FOrientation == TSkinProgressBarOrientation::skinHorizontal) {
    const int x = ProgressFillLength(FPosition, FMin, FMax, W - 1);
    if (hasPicture)
      StretchPixels(picture, {0, 0, picture.width(), picture.height()}, buffer, {1, 1, x, H - 1});
    else
      FillPixels(buffer, {1, 1, x, H - 1}, ColorToRGB(clHighlight));
    FillPixels(buffer, {x, 1, W - 1, H - 1}, fill);
  } else {
    // A vertical bar has no room for a caption.
    FShowCaption = false;
    const int length = ProgressFillLength(FPosition, FMin, FMax, H - 1);
    int top = (H - 1) - length;
    if (top == 0) top = 1;
    if (hasPicture) {
      const QImage mirrored = picture.mirrored(false, true);
      StretchPixels(mirrored, {0, 0, mirrored.width(), mirrored.height()}, buffer, {1, top - 1, W - 1, H - 1});
    } else {
      FillPixels(buffer, {1, top, W - 1, H - 1}, ColorToRGB(clHighlight));
    }
    FillPixels(buffer, {1, 1, W - 1, top}, fill);
  }
  QPainter painter(&buffer);
  if (FShowCaption && !(FSmartShowCaption && FPosition == FMin)) {
    painter.setFont(font());
    painter.setPen(ToQColor(ColorToRGB(FCaptionColor)));
    painter.drawText(QRect(0, 0, W, H), Qt::AlignCenter, FText);
  }
  painter.setPen(ToQColor(ColorToRGB(FBorderColor)));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, W - 1, H - 1);
  painter.end();
  return buffer;
}

void TSkinProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, Render());
}

}  // namespace kavri
