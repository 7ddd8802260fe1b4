#include "skin/skin_edit.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QHeaderView>
#include <QPainter>

#include "skin/system_colors.h"
#include "skin/theme_style.h"
#include "skin/skin_draw.h"

namespace kavri {

namespace {
constexpr int kRings = 2;
TColor BackgroundOf(const QWidget* w) { return FromQColor(w->palette().color(QPalette::Base)); }
}  // namespace

void PrepareBorderedScrollArea(QAbstractScrollArea* area) {
  // A plain box frame reserves the two rings; the skin paints them over.
  area->setFrameStyle(QFrame::Box | QFrame::Plain);
  area->setLineWidth(kRings);
  area->setMidLineWidth(0);
}

void PaintScrollAreaBorder(QAbstractScrollArea* area, TColor borderColor) {
  QPainter p(area);
  DrawControlBorder(p, area->width(), area->height(), borderColor, BackgroundOf(area));
}

// ---- edit ----

TSkinEdit::TSkinEdit(QWidget* owner) : QLineEdit(owner), borderColor_(GetBorderColor(OwnerForm(owner))) {
  setFrame(false);
  setTextMargins(kRings, 0, kRings, 0);
  connect(this, &QLineEdit::textChanged, this, [this](const QString&) {
    if (OnChange) OnChange();
  });
}

void TSkinEdit::SetBorderColor(TColor c) { borderColor_ = c; update(); }
void TSkinEdit::ApplyContainerStyle(TSkinUIStyle style) { SetBorderColor(GetThemeColor(style, 8)); }

void TSkinEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  QPainter p(this);
  DrawControlBorder(p, width(), height(), borderColor_, BackgroundOf(this));
}

// ---- check list box ----

TSkinCheckListBox::TSkinCheckListBox(QWidget* owner)
    : QListWidget(owner), borderColor_(GetBorderColor(OwnerForm(owner))) {
  PrepareBorderedScrollArea(this);
  connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
    if (!settingCheck_ && OnClickCheck) OnClickCheck(row(item));
  });
}

void TSkinCheckListBox::SetBorderColor(TColor c) { borderColor_ = c; update(); }
void TSkinCheckListBox::ApplyContainerStyle(TSkinUIStyle style) { SetBorderColor(GetThemeColor(style, 8)); }

int TSkinCheckListBox::AddItem(const QString& text, bool checked) {
  auto* item = new QListWidgetItem(text);
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  settingCheck_ = true;
  addItem(item);
  settingCheck_ = false;
  return count() - 1;
}

bool TSkinCheckListBox::Checked(int index) const {
  const QListWidgetItem* it = item(index);
  return it && it->checkState() == Qt::Checked;
}

void TSkinCheckListBox::SetChecked(int index, bool checked) {
  QListWidgetItem* it = item(index);
  if (!it) return;
  settingCheck_ = true;
  it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  settingCheck_ = false;
}

bool TSkinCheckListBox::event(QEvent* event) {
  const bool handled = QListWidget::event(event);
  if (event->type() == QEvent::Paint) PaintScrollAreaBorder(this, borderColor_);
  return handled;
}

// ---- list and tree views ----

TSkinBorderedTreeWidget::TSkinBorderedTreeWidget(QWidget* owner)
    : QTreeWidget(owner), borderColor_(GetBorderColor(OwnerForm(owner))) {
  PrepareBorderedScrollArea(this);
}

void TSkinBorderedTreeWidget::SetBorderColor(TColor c) { borderColor_ = c; update(); }
void TSkinBorderedTreeWidget::ApplyContainerStyle(TSkinUIStyle style) { SetBorderColor(GetThemeColor(style, 8)); }

bool TSkinBorderedTreeWidget::event(QEvent* event) {
  const bool handled = QTreeWidget::event(event);
  if (event->type() == QEvent::Paint) PaintScrollAreaBorder(this, borderColor_);
  return handled;
}

TSkinListView::TSkinListView(QWidget* owner) : TSkinBorderedTreeWidget(owner) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
}

TSkinTreeView::TSkinTreeView(QWidget* owner) : TSkinBorderedTreeWidget(owner) { header()->hide(); }

}  // namespace kavri
