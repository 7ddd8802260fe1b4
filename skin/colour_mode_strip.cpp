#include "skin/colour_mode_strip.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <qdrawutil.h>

#include "engine/colour_modes.h"
#include "engine/colour_tables.h"
#include "skin/system_colors.h"

namespace kavri {

class TColourModePanelBox : public QWidget {
 public:
  TColourModePanelBox(TColourModeStrip* strip, int index) : QWidget(strip), strip_(strip), index_(index) {
    setObjectName(ColourModePanels[index].name);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const TColourModePanel& panel = ColourModePanels[index_];
    QPainter p(this);
    // Fixed palette modes show their colour; the automatic ones the face colour.
    const TColor c = panel.mode < ColourModeAuto ? ColorIndexToTColor(static_cast<uint8_t>(panel.mode))
                                                 : ColorToRGB(clBtnFace);
    const QColor face(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    p.fillRect(rect(), face);
    qDrawShadePanel(&p, rect(), palette(), false, 1);  // raised outer bevel
    if (strip_->ChosenPanel() == index_) qDrawShadePanel(&p, rect().adjusted(2, 2, -2, -2), palette(), true, 1);
    p.setPen(face.lightness() < 128 ? Qt::white : Qt::black);
    p.drawText(rect(), Qt::AlignCenter, QString::fromUtf8(panel.caption));
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) strip_->Choose(ColourModePanels[index_].mode);
  }

 private:
  TColourModeStrip* strip_;
  int index_;
};

namespace {
constexpr int kVisiblePanels = 12;
}  // namespace

TColourModeStrip::TColourModeStrip(QWidget* parent) : QWidget(parent) {
  for (int i = 0; i < kPanelCount; ++i) {
    panels_[i] = new TColourModePanelBox(this, i);
    panels_[i]->setVisible(i < kVisiblePanels);
  }
  resize(kVisiblePanels * 40, 22);
  PlacePanels();
}

QSize TColourModeStrip::minimumSizeHint() const {
  constexpr int kBevelsAndMargins = 2 * 5;
  const QFontMetrics metrics(font());
  int widest = 0, shown = 0;
  for (int i = 0; i < kPanelCount; ++i) {
    if (!panels_[i]->isVisibleTo(this)) continue;
    ++shown;
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(ColourModePanels[i].caption)));
  }
  return {shown * (widest + kBevelsAndMargins), 22};
}

QWidget* TColourModeStrip::Panel(int i) const { return i >= 0 && i < kPanelCount ? panels_[i] : nullptr; }

void TColourModeStrip::Choose(int32_t mode) {
  mode_ = mode;
  chosen_ = -1;
  for (int i = 0; i < kPanelCount; ++i)
    if (ColourModePanels[i].mode == mode) chosen_ = i;
  for (TColourModePanelBox* panel : panels_) panel->update();
  if (OnChoose) OnChoose(mode);
}

void TColourModeStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlacePanels();
}

void TColourModeStrip::PlacePanels() {
  // Visible panels share the width in one row; hidden ones keep the same size for when a window shows them.
  int shown = 0;
  for (TColourModePanelBox* panel : panels_) shown += panel->isVisibleTo(this) ? 1 : 0;
  const int width = std::max(1, this->width() / std::max(1, shown));
  int x = 0;
  for (TColourModePanelBox* panel : panels_) {
    panel->setGeometry(x, 0, width, height());
    if (panel->isVisibleTo(this)) x += width;
  }
}

}  // namespace kavri
