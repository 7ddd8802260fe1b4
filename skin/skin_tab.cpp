#include "skin/skin_tab.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

#include "skin/pixel_ops.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"
#include "skin/system_colors.h"
#include "skin/tab_strip_layout.h"

namespace kavri {
namespace {

QImage PictureOrNull(const QString& name) {
  return name.isEmpty() ? QImage() : LoadSkinPicture(name.toStdString());
}

}  // namespace

// ---- strip ----

TSkinTabControlTopPanel::TSkinTabControlTopPanel(TSkinTab* tabControl)
    : QWidget(tabControl), tabControl_(tabControl) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSkinTabControlTopPanel::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  activeTab_ = QString::fromStdString(GetThemeString(style, 70));
  inactiveTab_ = QString::fromStdString(GetThemeString(style, 71));
  line_ = QString::fromStdString(GetThemeString(style, 72));
  resize(width(), GetThemeInt(style, 73));
  update();
}

void TSkinTabControlTopPanel::SetColor(TColor color) {
  color_ = color;
  update();
}

void TSkinTabControlTopPanel::SetTabs(const QStringList& tabs) {
  tabs_ = tabs;
  // An index past the new last tab would name a tab that is gone.
  if (tabIndex_ >= tabs_.size()) tabIndex_ = -1;
  update();
}

void TSkinTabControlTopPanel::SetTabIndex(int index) {
  if (tabs_.isEmpty()) {
    tabIndex_ = -1;
    update();
    return;
  }
  update();
  if (index < -1 || index >= tabs_.size()) return;
  tabIndex_ = index;
  tabControl_->TabActive(index);
}

void TSkinTabControlTopPanel::ClearTabIndex() {
  tabIndex_ = -1;
  update();
}

void TSkinTabControlTopPanel::SetLeftMargin(int margin) {
  leftMargin_ = margin;
  update();
}

void TSkinTabControlTopPanel::SetTabVisible(const std::vector<bool>& visible) {
  tabVisible_ = visible;
  update();
}

int TSkinTabControlTopPanel::TabAt(QPoint point) const {
  return TabStripHit(tabWidths_, leftMargin_, tabHeight_, point);
}

QImage TSkinTabControlTopPanel::Render() {
  const int W = std::max(width(), 1), H = std::max(height(), 1);
  QImage buffer = NewSkinBitmap(W, H, ColorToRGB(color_));
  DoTrans(buffer, tabControl_);
  const QImage active = PictureOrNull(activeTab_), inactive = PictureOrNull(inactiveTab_);
  const QImage line = PictureOrNull(line_);
  tabHeight_ = active.height();
  const int h = inactive.height();
  if (!line.isNull()) {
    StretchPixels(line, {0, 0, line.width(), line.height()}, buffer, {1, h, W - 1, h + line.height()});
    const TColor edge = ColorToRGB(tabControl_->BorderColor());
    FillPixels(buffer, {0, h, 1, h + line.height()}, edge);
    FillPixels(buffer, {W - 1, h, W, h + line.height()}, edge);
  }
  const QFontMetrics fm(tabControl_->Font());
  // Widths are taken afresh for the current tabs, so none outlives a tab that went.
  tabWidths_ = TabStripWidths(tabs_, tabVisible_, [&fm](const QString& t) { return fm.horizontalAdvance(t); });
  std::vector<QRect> captionRects(tabWidths_.size());
  int x = leftMargin_;
  for (size_t i = 0; i < tabWidths_.size(); ++i) {
    const int w = tabWidths_[i];
    if (w == 0) continue;
    const bool isActive = static_cast<int>(i) == tabIndex_;
    const TPixelRect r = isActive ? TPixelRect{x, 1, x + w, h + 1} : TPixelRect{x, 0, x + w, h};
    const QImage& pic = isActive ? active : inactive;
    if (!pic.isNull()) SpitDrawHorizontal(pic, buffer, r, true);
    captionRects[i] = QRect(r.Left, r.Top, r.Width(), r.Height());
    x += w;
  }
  QPainter p(&buffer);
  p.setFont(tabControl_->Font());
  p.setPen(tabControl_->palette().color(QPalette::WindowText));
  for (size_t i = 0; i < captionRects.size(); ++i)
    if (!captionRects[i].isNull())
      p.drawText(captionRects[i], Qt::AlignCenter | Qt::TextSingleLine, tabs_[static_cast<qsizetype>(i)]);
  return buffer;
}

void TSkinTabControlTopPanel::paintEvent(QPaintEvent*) { QPainter(this).drawImage(0, 0, Render()); }

void TSkinTabControlTopPanel::mousePressEvent(QMouseEvent* event) {
  update();
  QWidget::mousePressEvent(event);
  const int hit = TabAt(event->position().toPoint());
  if (hit >= 0) SetTabIndex(hit);
}

// ---- framed area ----

TSkinTab::TSkinTab(QWidget* parent) : QWidget(parent), topPanel_(new TSkinTabControlTopPanel(this)) {
  resize(185, 80);
  SetUIStyle(GetSkinFormStyle(OwnerForm(parent)));
}

void TSkinTab::SetUIStyle(TSkinUIStyle style) {
  if (!IsThemedStyle(style)) return;
  uiStyle_ = style;
  topPanel_->SetColor(GetThemeColor(style, 9));
  borderColor_ = GetThemeColor(style, 8);
  topPanel_->SetUIStyle(style);
  topPanel_->setGeometry(0, 0, width(), topPanel_->height());
  SetColor(style == TSkinUIStyle::Azure ? 0xFFFFFF : GetThemeColor(style, 9));
  UpdateUIStyle(style);
  BorderColorChanged();
  update();
}

void TSkinTab::SetBorderColor(TColor color) {
  borderColor_ = color;
  BorderColorChanged();
  update();
  topPanel_->update();
}

void TSkinTab::SetColor(TColor color) {
  color_ = color;
  ColorChanged();
  update();
}

void TSkinTab::SetFont(const QFont& font) {
  tabFont_ = font;
  topPanel_->update();
}

void TSkinTab::SetTabIndex(int index) { topPanel_->SetTabIndex(index); }

void TSkinTab::TabActive(int index) {
  if (OnTabActive) OnTabActive(this, index);
}

void TSkinTab::UpdateUIStyle(TSkinUIStyle style) { ContainerApplyUIStyle(this, style); }

QRect TSkinTab::ClientArea() const {
  const int top = topPanel_->height();
  return QRect(0, top, width(), std::max(height() - top, 0));
}

void TSkinTab::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect area = ClientArea();
  p.fillRect(area, ToQColor(ColorToRGB(color_)));
  if (area.isEmpty()) return;
  p.setPen(ToQColor(ColorToRGB(borderColor_)));
  const QPoint edges[] = {{0, area.top()}, {0, area.bottom()}, {area.right(), area.bottom()}, {area.right(), area.top()}};
  p.drawPolyline(edges, 4);
}

void TSkinTab::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  topPanel_->setGeometry(0, 0, width(), topPanel_->height());
}

bool TSkinTab::event(QEvent* event) {
  if (event->type() == QEvent::CursorChange) topPanel_->setCursor(cursor());
  return QWidget::event(event);
}

}  // namespace kavri
