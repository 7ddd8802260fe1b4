#include "skin/list_box.h"

#include <QScrollBar>
#include <algorithm>

namespace kavri {

TSkinListBox::TSkinListBox(QWidget* parent)
    : TScrollBarHost<QListWidget>(parent),
      FVBar(this, Qt::Vertical, TAttachedScrollBar::TWhenUnavailable::HideBar) {
  // Item steps, as a list box scrolls, so the range counts items.
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  QScrollBar* native = verticalScrollBar();
  connect(native, &QScrollBar::valueChanged, this, &TSkinListBox::UpdateScrollBars);
  connect(native, &QScrollBar::rangeChanged, this, &TSkinListBox::UpdateScrollBars);
}

void TSkinListBox::SetBaseWidth(int width) {
  FBaseWidth = width;
  setSizePolicy(width > 0 ? QSizePolicy::Fixed : QSizePolicy::Expanding, sizePolicy().verticalPolicy());
  updateGeometry();
}

// The view's own hints follow its contents; only their heights are kept.
QSize TSkinListBox::sizeHint() const {
  return {FBaseWidth > 0 ? FBaseWidth : kDefaultWidth, TScrollBarHost<QListWidget>::sizeHint().height()};
}

QSize TSkinListBox::minimumSizeHint() const {
  const QSize base = TScrollBarHost<QListWidget>::minimumSizeHint();
  return {FBaseWidth > 0 ? FBaseWidth : std::min(base.width(), kDefaultWidth), base.height()};
}

void TSkinListBox::SetVScrollBar(TSkinScrollBar* bar) {
  FVBar.Attach(bar);
  UpdateScrollBarsPos();
}

void TSkinListBox::UpdateScrollBarsPos() {
  const QRect g = geometry();
  if (TSkinScrollBar* v = VScrollBar())
    FVBar.Place(QRect(g.x() + g.width() - v->width() - 2, g.y() + 1, v->width(), std::max(0, g.height() - 2)));
  UpdateScrollBars();
}

void TSkinListBox::UpdateScrollBars() { FVBar.Follow(); }

}  // namespace kavri
