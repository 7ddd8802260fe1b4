#include "skin/scroll_bar.h"

#include <QMouseEvent>
#include <QPainter>

#include "skin/pixel_ops.h"
#include "skin/skin_button.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"
#include "skin/slider_geometry.h"
#include "skin/system_colors.h"
#include "skin/track_bar.h"

namespace kavri {

TSkinScrollBar::TSkinScrollBar(QWidget* parent) : QWidget(parent), FColor(clBtnFace) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  FTrackBar = new TSkinScrollTrackBar(this);
  FTrackBar->SetUIStyle(TSkinUIStyle::Custom);
  FBtnInc = new TSkinImageButton(this);
  FBtnInc->SetMouseContinuouslyDownInterval(100);
  FBtnInc->OnMouseContinuouslyDown = [this](TSkinCustomButton*) { Step(FSmallChange); };
  FBtnDec = new TSkinImageButton(this);
  FBtnDec->SetMouseContinuouslyDownInterval(100);
  FBtnDec->OnMouseContinuouslyDown = [this](TSkinCustomButton*) { Step(-FSmallChange); };
  // A short click steps once at the press; holding the button then repeats.
  FBtnInc->installEventFilter(this);
  FBtnDec->installEventFilter(this);
  resize(16, 185);
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
  PlaceTrackBarAndButton();
}

int TSkinScrollBar::Max() const { return FTrackBar->Max(); }
int TSkinScrollBar::Min() const { return FTrackBar->Min(); }
int TSkinScrollBar::Position() const { return FTrackBar->Position(); }
void TSkinScrollBar::SetMax(int value) { FTrackBar->SetMax(value); }
void TSkinScrollBar::SetMin(int value) { FTrackBar->SetMin(value); }
void TSkinScrollBar::SetPosition(int value) { FTrackBar->SetPosition(value); }
int TSkinScrollBar::PageSize() const { return FTrackBar->PageSize(); }

void TSkinScrollBar::SetPageSize(int value) {
  FTrackBar->SetPageSize(value);
  UpdateSliderPic();
}

void TSkinScrollBar::SetLargeChange(uint16_t value) { FTrackBar->SetPageSize(value); }

void TSkinScrollBar::SetLineButton(int value) {
  if (value == FLineButton) return;
  FLineButton = value;
  UpdateSliderPic();
}

void TSkinScrollBar::SetOrientation(TSkinProgressBarOrientation orientation) {
  if (orientation == FOrientation) return;
  FOrientation = orientation;
  UpdatePictures();
  PlaceTrackBarAndButton();
}

void TSkinScrollBar::SetUIStyle(TSkinUIStyle style) {
  if (style == FUIStyle) return;
  FUIStyle = style;
  if (style == TSkinUIStyle::Custom) return;
  SetColor(GetThemeColor(style, 84));
  UpdatePictures();
  PlaceTrackBarAndButton();
}

void TSkinScrollBar::SetColor(TColor color) {
  FColor = color;
  FTrackBar->SetColor(color);
  update();
}

bool TSkinScrollBar::GetSliderVisible() const { return FTrackBar->GetSliderVisible(); }
void TSkinScrollBar::SetSliderVisible(bool visible) { FTrackBar->SetSliderVisible(visible); }

void TSkinScrollBar::SetOnChange(std::function<void(QObject*)> handler) { FTrackBar->OnChange = std::move(handler); }
bool TSkinScrollBar::HasOnChange() const { return static_cast<bool>(FTrackBar->OnChange); }

int TSkinScrollBar::ThumbLength() const {
  return Horizontal() ? FTrackBar->Slider()->width() : FTrackBar->Slider()->height();
}

void TSkinScrollBar::Step(int delta) { SetPosition(ClampPosition(int64_t{Position()} + delta, Min(), Max())); }

bool TSkinScrollBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == FBtnInc && FBtnInc->isEnabled()) Step(FSmallChange);
    if (watched == FBtnDec && FBtnDec->isEnabled()) Step(-FSmallChange);
  }
  return false;
}

void TSkinScrollBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceTrackBarAndButton();
}

void TSkinScrollBar::PlaceTrackBarAndButton() {
  // Setting the bar's own thickness below resizes it again; one pass is enough.
  if (FPlacing) return;
  FPlacing = true;
  FTrackBar->SetOrientation(FOrientation);
  const int W = width(), H = height();
  if (Horizontal()) {
    FBtnDec->move(0, 0);
    FTrackBar->setGeometry(FBtnDec->width(), 0, std::max(0, W - FBtnInc->width() - FBtnDec->width()),
                           FTrackBar->height());
    FBtnInc->move(W - FBtnInc->width(), 0);
    if (FBtnDec->height() > 0) resize(W, FBtnDec->height());
  } else {
    FBtnDec->move(0, 0);
    FTrackBar->setGeometry(0, FBtnDec->height(), FTrackBar->width(),
                           std::max(0, H - FBtnInc->height() - FBtnDec->height() - 1));
    FBtnInc->move(0, H - FBtnInc->height());
    if (FBtnDec->width() > 0) resize(FBtnDec->width(), H);
  }
  FPlacing = false;
  UpdateSliderPic();
}

void TSkinScrollBar::UpdatePictures() {
  if (!IsThemedStyle(FUIStyle)) return;
  FTrackBar->SetBarImage(QImage());
  // The track picture is an upright thumb: start cap, middle, end cap. Laid down, it is cut in three.
  QImage thumb = LoadSkinPicture(GetThemeString(FUIStyle, 91));
  RoundPicture(thumb);
  const int piece = thumb.width() / 3;
  QImage* parts[3] = {&FSliderLeft, &FSliderCenter, &FSliderRight};
  for (int i = 0; i < 3; ++i) {
    *parts[i] = thumb.isNull() ? QImage() : thumb.copy(i * piece, 0, piece, thumb.height());
    if (!Horizontal() && !parts[i]->isNull()) RoundPicture3(*parts[i]);
  }
  auto load = [this](int index) {
    QImage picture = LoadSkinPicture(GetThemeString(FUIStyle, index));
    if (Horizontal() && !picture.isNull()) RoundPicture(picture);
    return picture;
  };
  FBtnDec->SetPicNormal(load(85));
  FBtnDec->SetPicMouseOn(load(86));
  FBtnDec->SetPicMouseDown(load(87));
  FBtnInc->SetPicNormal(load(88));
  FBtnInc->SetPicMouseOn(load(89));
  FBtnInc->SetPicMouseDown(load(90));
  FBtnDec->SetAutoSize(true);
  FBtnInc->SetAutoSize(true);
}

void TSkinScrollBar::UpdateSliderPic() {
  const int thickness = Horizontal() ? FSliderLeft.height() : FSliderLeft.width();
  const int trackLength = Horizontal() ? FTrackBar->width() : FTrackBar->height();
  if (FLineButton > 0 && FLineButton < kMinLineButton) FLineButton = kMinLineButton;
  const int length = ScrollThumbLength(trackLength, FLineButton, FTrackBar->PageSize());
  QImage picture;
  if (thickness > 0 && length > 0) {
    const QImage &start = FSliderLeft, &middle = FSliderCenter, &end = FSliderRight;
    if (Horizontal()) {
      picture = NewSkinBitmap(length, thickness);
      CopyPixels(start, {0, 0, start.width(), start.height()}, picture, 0, 0);
      CopyPixels(end, {0, 0, end.width(), end.height()}, picture, length - end.width(), 0);
      StretchPixels(middle, {0, 0, middle.width(), middle.height()}, picture,
                    {start.width(), 0, length - end.width(), thickness});
    } else {
      picture = NewSkinBitmap(thickness, length);
      CopyPixels(start, {0, 0, start.width(), start.height()}, picture, 0, 0);
      CopyPixels(end, {0, 0, end.width(), end.height()}, picture, 0, length - end.height());
      StretchPixels(middle, {0, 0, middle.width(), middle.height()}, picture,
                    {0, start.height(), thickness, length - end.height()});
    }
  }
  FTrackBar->SetSliderImage(picture);
  FTrackBar->UpdateSliderSize();
}

void TSkinScrollBar::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), ToQColor(ColorToRGB(FColor)));
}

}  // namespace kavri
