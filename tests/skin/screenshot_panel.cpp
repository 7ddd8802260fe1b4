#include "tests/skin/screenshot_panel.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <map>

#include "platform/tcolor.h"

namespace kavri_test {
namespace {

struct TSection {
  std::string Title;
  TPanelFill Fill;
};

std::multimap<int, TSection>& Sections() {
  static std::multimap<int, TSection> sections;
  return sections;
}

constexpr int kColumnWidth = 330;

}  // namespace

bool AddPanelSection(int order, const std::string& title, TPanelFill fill) {
  Sections().emplace(order, TSection{title, std::move(fill)});
  return true;
}

std::unique_ptr<QWidget> BuildSkinPanel() {
  auto panel = std::make_unique<QWidget>();
  int x = 0, tallest = 0;
  for (kavri::TSkinUIStyle style : kavri::kThemedStyles) {
    auto* column = new QWidget(panel.get());
    column->setAutoFillBackground(true);
    QPalette pal = column->palette();
    pal.setColor(QPalette::Window, kavri::ToQColor(kavri::GetThemeColor(style, 3)));
    column->setPalette(pal);
    auto* header = new QLabel(QString::fromUtf8(kavri::StylePrefix(style).data()), column);
    QFont bold = header->font();
    bold.setBold(true);
    header->setFont(bold);
    header->setGeometry(8, 4, kColumnWidth - 16, 18);
    int y = 28;
    for (auto& [order, section] : Sections()) {
      auto* title = new QLabel(QString::fromStdString(section.Title), column);
      title->setGeometry(8, y, kColumnWidth - 16, 16);
      y += 18;
      auto* area = new QWidget(column);
      area->move(8, y);
      int h = section.Fill(area, style);
      area->resize(kColumnWidth - 16, h);
      y += h + 10;
    }
    column->setGeometry(x, 0, kColumnWidth, y);
    x += kColumnWidth;
    tallest = std::max(tallest, y);
  }
  panel->resize(x, tallest);
  return panel;
}

void SimulateMouseOn(QWidget* control) {
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(control, &enter);
}

void SimulatePressed(QWidget* control) {
  SimulateMouseOn(control);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(control, &press);
}

}  // namespace kavri_test
