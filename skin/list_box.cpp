#include "skin/list_box.h"

#include <QFontMetrics>
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
  // The width the items need follows them.
  QAbstractItemModel* items = model();
  connect(items, &QAbstractItemModel::rowsInserted, this, &TSkinListBox::ItemsChanged);
  connect(items, &QAbstractItemModel::rowsRemoved, this, &TSkinListBox::ItemsChanged);
  connect(items, &QAbstractItemModel::modelReset, this, &TSkinListBox::ItemsChanged);
  connect(items, &QAbstractItemModel::dataChanged, this, &TSkinListBox::ItemsChanged);
}

// The view deletes its model as a child after this part of it has gone; the model's last signals
// must not reach it.
TSkinListBox::~TSkinListBox() { model()->disconnect(this); }

void TSkinListBox::ItemsChanged() {
  FWidestItem = -1;
  updateGeometry();
}

void TSkinListBox::changeEvent(QEvent* event) {
  TScrollBarHost<QListWidget>::changeEvent(event);
  if (event->type() == QEvent::FontChange) ItemsChanged();
}

void TSkinListBox::SetBaseWidth(int width) {
  FBaseWidth = width;
  setSizePolicy(width > 0 ? QSizePolicy::Fixed : QSizePolicy::Expanding, sizePolicy().verticalPolicy());
  updateGeometry();
}

int TSkinListBox::ItemsWidth() const {
  if (FWidestItem < 0) {
    const QFontMetrics metrics(font());
    FWidestItem = 0;
    for (int i = 0; i < count(); ++i) FWidestItem = std::max(FWidestItem, metrics.horizontalAdvance(item(i)->text()));
  }
  constexpr int kTextMargins = 2 * 4;
  constexpr int kBarWidth = 16;
  const int bar = VScrollBar() ? VScrollBar()->width() + 2 : kBarWidth;
  return std::min(FWidestItem + kTextMargins + 2 * frameWidth() + bar, kMaxItemsWidth);
}

QSize TSkinListBox::sizeHint() const {
  const QSize base = TScrollBarHost<QListWidget>::sizeHint();
  // The view's own hint grows with its contents too, so it is bounded like the items' width.
  const int own = std::min(base.width(), kMaxItemsWidth);
  return {std::max(FBaseWidth > 0 ? FBaseWidth : own, ItemsWidth()), base.height()};
}

QSize TSkinListBox::minimumSizeHint() const {
  const QSize base = TScrollBarHost<QListWidget>::minimumSizeHint();
  return {std::max({FBaseWidth, std::min(base.width(), kMaxItemsWidth), ItemsWidth()}), base.height()};
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
