#include "skin/up_down.h"

#include <QMouseEvent>
#include <algorithm>

#include "skin/skin_button.h"
#include "skin/skin_pictures.h"

namespace kavri {

namespace {
constexpr int kRepeatMs = 100;
}

TUpDown::TUpDown(QWidget* parent) : QWidget(parent) {
  up_ = new TSkinImageButton(this);
  down_ = new TSkinImageButton(this);
  for (TSkinImageButton* button : {up_, down_}) {
    button->SetStretch(true);
    button->SetMouseContinuouslyDownInterval(kRepeatMs);
    // The press itself steps (see eventFilter); the repeat timer only adds steps while held.
    button->installEventFilter(this);
  }
  up_->OnMouseContinuouslyDown = [this](TSkinCustomButton*) { Click(TUDBtnType::btNext); };
  down_->OnMouseContinuouslyDown = [this](TSkinCustomButton*) { Click(TUDBtnType::btPrev); };
  resize(16, 24);
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
}

void TUpDown::SetMin(int value) {
  min_ = value;
  max_ = std::max(max_, min_);
  SetPosition(position_);
}

void TUpDown::SetMax(int value) {
  max_ = value;
  min_ = std::min(min_, max_);
  SetPosition(position_);
}

void TUpDown::SetPosition(int value) { position_ = std::clamp(value, min_, max_); }

void TUpDown::Click(TUDBtnType button) {
  const int64_t step = button == TUDBtnType::btNext ? increment_ : -int64_t{increment_};
  position_ = static_cast<int>(std::clamp<int64_t>(position_ + step, min_, max_));
  if (OnClick) OnClick(this, button);
}

void TUpDown::SetUIStyle(TSkinUIStyle style) {
  style_ = style;
  if (!IsThemedStyle(style)) return;
  auto load = [style](int index) { return LoadSkinPicture(GetThemeString(style, index)); };
  // The scroll bar's arrow buttons, squeezed to half the control's height each.
  up_->SetPicNormal(load(85));
  up_->SetPicMouseOn(load(86));
  up_->SetPicMouseDown(load(87));
  down_->SetPicNormal(load(88));
  down_->SetPicMouseOn(load(89));
  down_->SetPicMouseDown(load(90));
  up_->update();
  down_->update();
}

bool TUpDown::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
      isEnabled()) {
    if (watched == up_) Click(TUDBtnType::btNext);
    if (watched == down_) Click(TUDBtnType::btPrev);
  }
  return false;
}

void TUpDown::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceButtons();
}

void TUpDown::PlaceButtons() {
  const int upper = height() / 2;
  up_->setGeometry(0, 0, width(), upper);
  down_->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace kavri
