#include "skin/track_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "skin/pixel_ops.h"
#include "skin/slider_geometry.h"
#include "skin/system_colors.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"

namespace kavri {

TSkinTrackBar::TSkinTrackBar(QWidget* parent) : QWidget(parent), FColor(clBtnFace) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(150, 25);
  FSlider = new TSkinImagePanel(this);
  // The bar itself tells a press on the thumb from a press on the track.
  FSlider->setAttribute(Qt::WA_TransparentForMouseEvents);
  FSlider->resize(0, 0);
  FSlider->SetAutoSize(true);
  SetPosition(0);
  FLastPos = 0;
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
  UpdateSlider();
}

TSkinTrackBar::~TSkinTrackBar() { StopPageRepeat(); }

void TSkinTrackBar::SetPosition(int value) {
  FPosition = ClampPosition(value, FMin, FMax);
  UpdateSlider();
}

void TSkinTrackBar::SetMin(int value) {
  FMin = value;
  if (FMin <= FMax) FPosition = ClampPosition(FPosition, FMin, FMax);
  UpdateSlider();
}

void TSkinTrackBar::SetMax(int value) {
  FMax = value;
  if (FMin <= FMax) FPosition = ClampPosition(FPosition, FMin, FMax);
  UpdateSlider();
}

void TSkinTrackBar::SetPageSize(int value) {
  if (value >= 0 && value <= 100) FPageSize = value;
}

void TSkinTrackBar::SetOrientation(TSkinProgressBarOrientation orientation) {
  if (orientation == FOrientation) return;
  FOrientation = orientation;
  UpdateControl();
}

void TSkinTrackBar::SetUIStyle(TSkinUIStyle style) {
  if (style == FUIStyle) return;
  FUIStyle = style;
  if (style == TSkinUIStyle::Custom) return;
  FColor = GetThemeColor(style, 79);
  UpdateControl();
}

void TSkinTrackBar::SetColor(TColor color) {
  FColor = color;
  update();
}

void TSkinTrackBar::SetBarImage(const QImage& picture) {
  FBarImage = picture.isNull() ? QImage() : ToSkinBitmap(picture);
  UpdateControl();
}

const QImage& TSkinTrackBar::SliderImage() const { return FSlider->Picture(); }

void TSkinTrackBar::SetSliderImage(const QImage& picture) {
  FSlider->SetPicture(picture);
  UpdateSlider();
}

void TSkinTrackBar::UpdateControl() {
  // The thumb is placed last: the pictures decide its size and the bar's thickness.
  UpdatePicture();
  SetSize();
  UpdateSlider();
  update();
}

void TSkinTrackBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateControl();
}

void TSkinTrackBar::SetSize() {
  if (Horizontal()) {
    const int h = std::max(FBarImage.height(), FSlider->height());
    if (h != height()) resize(width(), h);
  } else {
    const int w = std::max(FBarImage.height(), FSlider->width());
    if (w != width()) resize(w, height());
  }
  update();
}

void TSkinTrackBar::UpdatePicture() {
  if (IsThemedStyle(FUIStyle)) {
    FBarImage = ToSkinBitmap(LoadSkinPicture(GetThemeString(FUIStyle, Horizontal() ? 75 : 77)));
    const int length = std::max(0, Horizontal() ? width() : height());
    FBarBmp = NewSkinBitmap(length, FBarImage.height());
    SpitDrawHorizontal(FBarImage, FBarBmp, {0, 0, length, FBarImage.height()}, false);
    if (!Horizontal()) RoundPicture(FBarBmp);
    FSlider->SetPicture(LoadSkinPicture(GetThemeString(FUIStyle, Horizontal() ? 76 : 78)));
    FSlider->SetAutoSize(true);
  } else {
    FBarBmp = FBarImage;
    if (!Horizontal() && !FBarBmp.isNull()) RoundPicture(FBarBmp);
  }
}

int TSkinTrackBar::SliderLength() const { return Horizontal() ? FSlider->width() : FSlider->height(); }

QPoint TSkinTrackBar::GetSliderPosFromPosition() const {
  if (Horizontal())
    return {SliderOffsetForPosition(width(), FSlider->width(), FPosition, FMin, FMax),
            std::max(0, height() - FSlider->height()) / 2};
  return {std::max(0, width() - FSlider->width()) / 2,
          SliderOffsetForPosition(height(), FSlider->height(), FPosition, FMin, FMax)};
}

int64_t TSkinTrackBar::GetPositionFromSliderPos(int x, int y) const {
  return PositionAtPoint(Horizontal() ? x : y, TrackLength(), SliderLength(), FMin, FMax);
}

void TSkinTrackBar::UpdateSlider() {
  // The thumb is placed on every call, so a new range, size or orientation shows the right place
  // even when the value stays; only a changed value is reported.
  FSlider->move(GetSliderPosFromPosition());
  update();
  if (FPosition == FLastPos) return;
  // Marked before the handler runs: a handler that sets this bar back to the same value (two bars
  // that follow each other) ends there instead of recursing.
  FLastPos = FPosition;
  if (OnChange) OnChange(this);
}

QImage TSkinTrackBar::Render() {
  QImage buffer = NewSkinBitmap(width(), height(), ColorToRGB(FColor));
  if (!FBarBmp.isNull()) {
    const int barThickness = FBarImage.height();
    if (Horizontal())
      CopyPixels(FBarBmp, {0, 0, FBarBmp.width(), FBarBmp.height()}, buffer, 0, (height() - barThickness) / 2);
    else
      CopyPixels(FBarBmp, {0, 0, FBarBmp.width(), FBarBmp.height()}, buffer, (width() - barThickness) / 2, 0);
  }
  return buffer;
}

void TSkinTrackBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, Render());
}

void TSkinTrackBar::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (!FSlider->isHidden() && FSlider->geometry().contains(p)) {
    FMouseDownPos = Along(p - FSlider->pos());
    FMouseDown = true;
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  FPressPoint = p;
  PageStep();
  if (!FTimer) {
    FTimer = new QTimer(this);
    FTimer->setInterval(kPageRepeatMs);
    connect(FTimer, &QTimer::timeout, this, &TSkinTrackBar::PageStep);
    FTimer->start();
  }
}

void TSkinTrackBar::PageStep() {
  SetPosition(PageStepTowards(FPosition, FPageSize, Along(FPressPoint), Along(FSlider->pos()), TrackLength(),
                              SliderLength(), FMin, FMax));
}

void TSkinTrackBar::StopPageRepeat() {
  delete FTimer;
  FTimer = nullptr;
}

void TSkinTrackBar::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (FMouseDown) {
    const int room = std::max(0, TrackLength() - SliderLength());
    const int offset = std::clamp(Along(p) - FMouseDownPos, 0, room);
    FSlider->move(Horizontal() ? QPoint(offset, FSlider->y()) : QPoint(FSlider->x(), offset));
    // The value is the one the thumb shows where it now stands, reported at once.
    FPosition = ClampPosition(PositionAtPoint(offset + SliderLength() / 2, TrackLength(), SliderLength(), FMin, FMax),
                              FMin, FMax);
    if (FPosition != FLastPos) {
      FLastPos = FPosition;
      if (OnChange) OnChange(this);
    }
    return;
  }
  FPressPoint = p;
  if (p.x() < 0 || p.y() < 0 || p.x() > width() || p.y() > height()) StopPageRepeat();
}

void TSkinTrackBar::mouseReleaseEvent(QMouseEvent*) {
  StopPageRepeat();
  if (!FMouseDown) return;
  FMouseDown = false;
  // Settle the thumb on its value's place and report anything not yet reported.
  UpdateSlider();
}

bool TSkinScrollTrackBar::GetSliderVisible() const { return !Slider()->isHidden(); }

void TSkinScrollTrackBar::SetSliderVisible(bool visible) {
  if (visible != GetSliderVisible()) Slider()->setVisible(visible);
}

void TSkinScrollTrackBar::UpdateSliderSize() {
  Slider()->SetAutoSize(true);
  if (Slider()->Picture().isNull()) Slider()->resize(0, 0);
  SetSize();
  UpdateSlider();
}

}  // namespace kavri
