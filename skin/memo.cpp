#include "skin/memo.h"

#include <QScrollBar>

namespace kavri {

TSkinMemo::TSkinMemo(QWidget* parent)
    : TScrollBarHost<QPlainTextEdit>(parent),
      FVBar(this, Qt::Vertical, TAttachedScrollBar::TWhenUnavailable::HideThumb),
      FHBar(this, Qt::Horizontal, TAttachedScrollBar::TWhenUnavailable::HideThumb) {
  UpdateNativeBars();
  for (QScrollBar* native : {verticalScrollBar(), horizontalScrollBar()}) {
    connect(native, &QScrollBar::valueChanged, this, &TSkinMemo::UpdateScrollBars);
    connect(native, &QScrollBar::rangeChanged, this, &TSkinMemo::UpdateScrollBars);
  }
  // Scrolling by the caret, keys and the wheel moves the native bars with their signals blocked;
  // every such scroll asks for a repaint.
  connect(this, &QPlainTextEdit::updateRequest, this, &TSkinMemo::UpdateScrollBars);
}

void TSkinMemo::UpdateNativeBars() {
  // Attached bars mean the memo keeps those native bars (always shown, as a memo's bars are).
  setVerticalScrollBarPolicy(VScrollBar() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(HScrollBar() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TSkinMemo::SetVScrollBar(TSkinScrollBar* bar) {
  FVBar.Attach(bar);
  UpdateNativeBars();
  UpdateScrollBarsPos();
}

void TSkinMemo::SetHScrollBar(TSkinScrollBar* bar) {
  FHBar.Attach(bar);
  UpdateNativeBars();
  UpdateScrollBarsPos();
}

void TSkinMemo::UpdateScrollBarsPos() {
  const QRect g = geometry();
  if (TSkinScrollBar* v = VScrollBar()) {
    const int h = g.height() - 1 - (HScrollBar() ? HScrollBar()->height() : 0);
    FVBar.Place(QRect(g.x() + g.width() - v->width() - 2, g.y() + 1, v->width(), std::max(0, h)));
  }
  if (TSkinScrollBar* hb = HScrollBar()) {
    const int w = g.width() - 1 - (VScrollBar() ? VScrollBar()->width() : 0);
    FHBar.Place(QRect(g.x() + 1, g.y() + g.height() - hb->height() - 2, std::max(0, w), hb->height()));
  }
  UpdateScrollBars();
}

void TSkinMemo::UpdateScrollBars() {
  FVBar.Follow();
  FHBar.Follow();
}

}  // namespace kavri
