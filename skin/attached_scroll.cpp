#include "skin/attached_scroll.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

#include "skin/slider_geometry.h"
#include "skin/track_bar.h"

namespace kavri {

TAttachedScrollBar::TAttachedScrollBar(QAbstractScrollArea* control, Qt::Orientation orientation,
                                       TWhenUnavailable mode)
    : FControl(control), FOrientation(orientation), FMode(mode) {}

QScrollBar* TAttachedScrollBar::Native() const {
  return FOrientation == Qt::Vertical ? FControl->verticalScrollBar() : FControl->horizontalScrollBar();
}

void TAttachedScrollBar::Attach(TSkinScrollBar* bar) {
  if (TSkinScrollBar* old = FBar.data(); old && old != bar) {
    old->SetOnChange(nullptr);
    old->SetLineButton(0);
    old->SetMax(100);
    old->setEnabled(true);
  }
  FBar = bar;
  FLast.reset();
  if (!bar) return;
  bar->SetOrientation(FOrientation == Qt::Vertical ? TSkinProgressBarOrientation::skinVertical
                                                   : TSkinProgressBarOrientation::skinHorizontal);
  bar->SetOnChange([this](QObject*) { UserMoved(); });
  bar->raise();
}

void TAttachedScrollBar::Place(const QRect& area) {
  if (!FBar) return;
  // The bar may live on another parent than the control; the area is in the control's parent.
  QRect target = area;
  QWidget* controlParent = FControl->parentWidget();
  QWidget* barParent = FBar->parentWidget();
  if (controlParent && barParent && controlParent != barParent)
    target.moveTopLeft(barParent->mapFrom(controlParent->window(), controlParent->mapTo(controlParent->window(), area.topLeft())));
  FBar->setGeometry(target);
  FLast.reset();
}

void TAttachedScrollBar::Follow() {
  if (!FBar) return;
  QScrollBar* native = Native();
  const bool available = FControl->isEnabled() && native->maximum() > native->minimum();
  const int track = FOrientation == Qt::Vertical ? FBar->TrackBar()->height() : FBar->TrackBar()->width();
  const TSnapshot now{available, native->minimum(), native->maximum(), native->pageStep(), native->value(), track};
  if (FLast == now) return;
  FLast = now;
  FUserChanging = true;
  if (!available) {
    FBar->SetLineButton(0);
    FBar->setEnabled(false);
    if (FMode == TWhenUnavailable::HideThumb)
      FBar->SetSliderVisible(false);
    else
      FBar->setVisible(false);
  } else {
    FBar->SetLineButton(std::max(1, NativeThumbLength(track, native->minimum(), native->maximum(), native->pageStep())));
    FBar->setEnabled(true);
    if (FMode == TWhenUnavailable::HideThumb)
      FBar->SetSliderVisible(true);
    else
      FBar->setVisible(true);
  }
  FBar->SetMax(native->maximum());
  FBar->SetMin(native->minimum());
  FBar->SetPosition(native->value());
  FUserChanging = false;
}

void TAttachedScrollBar::UserMoved() {
  if (FUserChanging || !FBar) return;
  Native()->setValue(FBar->Position());
  FControl->viewport()->update();
}

}  // namespace kavri
