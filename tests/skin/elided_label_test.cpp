// The message line: a long text never widens it, is cut to its width and shown whole in a tooltip.
#include "skin/elided_label.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace kavri;

namespace {

TEST(ElidedLabel, ALongTextIsCutToTheLabelsWidthAndShownWholeInItsTooltip) {
  QWidget window;
  auto* row = new QHBoxLayout(&window);
  auto* label = new TElidedLabel("Ready", &window);
  label->setStyleSheet("color: red");
  row->addWidget(label, 1);
  window.show();
  QCoreApplication::processEvents();
  const QSize hint = label->sizeHint(), windowSize = window.size();
  EXPECT_EQ(label->ShownText(), "Ready");
  EXPECT_FALSE(label->IsCut());

  const QString error = "The media player ended with exit status 2: " + QString(160, 'x');
  label->setText(error + "\nsecond line");
  QCoreApplication::processEvents();
  EXPECT_EQ(label->sizeHint(), hint);
  EXPECT_EQ(window.size(), windowSize) << "the window grew for its message";
  ASSERT_TRUE(label->IsCut());
  EXPECT_TRUE(label->ShownText().startsWith("The media player"));
  EXPECT_TRUE(label->ShownText().endsWith(QChar(0x2026)));
  EXPECT_LE(label->fontMetrics().horizontalAdvance(label->ShownText()), label->contentsRect().width());

  QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(label, &help);
  EXPECT_EQ(QToolTip::text(), label->text());
  QToolTip::hideText();

  // The label drawn shows the cut line in its style's colour.
  const QImage shot = label->grab().toImage();
  bool red = false;
  for (int y = 0; y < shot.height() && !red; ++y)
    for (int x = 0; x < shot.width() && !red; ++x) {
      const QColor c = shot.pixelColor(x, y);
      red = c.red() > 150 && c.green() < 100 && c.blue() < 100;
    }
  EXPECT_TRUE(red) << "no red text drawn";
}

}  // namespace
