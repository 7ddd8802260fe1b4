// A working window's content in its scroll area: the window keeps its size when what it holds asks
// for more, and every control can be scrolled to when the window is smaller than its content.
#include "skin/content_scroller.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "skin/window_placement.h"

using namespace kavri;

namespace {

struct TWindow {
  QWidget window;
  QWidget* menu = new QLabel("menu", &window);
  QPushButton* top = new QPushButton("top", &window);
  QPushButton* right = new QPushButton("far right", &window);
  QPushButton* hidden = new QPushButton("hidden", &window);
  QLabel* growing = new QLabel("short", &window);
  QWidget* laidOver = new QLabel("laid over", &window);  // placed by hand, in no layout

  TWindow() {
    auto* layout = new QVBoxLayout(&window);
    layout->setMenuBar(menu);
    layout->addWidget(top);
    auto* row = new QHBoxLayout;
    row->addWidget(growing);
    row->addStretch();
    row->addWidget(right);
    layout->addLayout(row);
    layout->addWidget(hidden);
    hidden->hide();
    laidOver->move(5, 5);
  }
};

TEST(ContentScroller, TheContentMovesInOnceAndTheMenuBarStaysOnTheWindow) {
  TWindow w;
  QScrollArea* scroller = ScrollWindowContent(&w.window);
  ASSERT_NE(scroller, nullptr);
  EXPECT_EQ(ScrollWindowContent(&w.window), scroller);
  EXPECT_EQ(ContentScroller(&w.window), scroller);
  EXPECT_EQ(w.menu->parentWidget(), &w.window);
  EXPECT_EQ(w.window.layout()->menuBar(), w.menu);
  for (QWidget* moved : {static_cast<QWidget*>(w.top), static_cast<QWidget*>(w.right), w.laidOver,
                         static_cast<QWidget*>(w.hidden)})
    EXPECT_TRUE(scroller->widget()->isAncestorOf(moved));
  ShowPlaced(&w.window, TWindowPlacement::KeepOnScreen, nullptr);
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.top->isVisible());
  EXPECT_TRUE(w.laidOver->isVisible());
  EXPECT_FALSE(w.hidden->isVisible()) << "a hidden control showed up";
  // Opened at its content's size: nothing to scroll.
  EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(scroller->verticalScrollBar()->maximum(), 0);
}

TEST(ContentScroller, TheWindowNeverGrowsByItselfAndEveryControlCanBeScrolledTo) {
  TWindow w;
  ShowPlaced(&w.window, TWindowPlacement::KeepOnScreen, nullptr);
  QCoreApplication::processEvents();
  const QSize opened = w.window.size();
  w.growing->setText(QString(300, 'w'));
  QCoreApplication::processEvents();
  EXPECT_EQ(w.window.size(), opened);
  QScrollArea* scroller = ContentScroller(&w.window);
  ASSERT_NE(scroller, nullptr);
  ASSERT_GT(scroller->horizontalScrollBar()->maximum(), 0);
  scroller->ensureWidgetVisible(w.right);
  const QRect right(w.right->mapTo(&w.window, QPoint(0, 0)), w.right->size());
  EXPECT_TRUE(w.window.rect().contains(right));
}

// Content wider than the screen but not taller: the window opens at the screen's width and tall
// enough for the horizontal bar too, so the bar covers no control and nothing scrolls up and down.
TEST(ContentScroller, AWindowCutToTheScreenLeavesRoomForItsScrollBar) {
  TWindow w;
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  w.top->setMinimumWidth(available.width() + 200);
  ShowPlaced(&w.window, TWindowPlacement::KeepOnScreen, nullptr);
  QCoreApplication::processEvents();
  QScrollArea* scroller = ContentScroller(&w.window);
  ASSERT_NE(scroller, nullptr);
  EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
  EXPECT_EQ(scroller->verticalScrollBar()->maximum(), 0);
  EXPECT_GE(scroller->viewport()->height(), scroller->widget()->minimumSizeHint().height());
}

TEST(ContentScroller, AWindowWithoutALayoutOrOfFixedSizeIsLeftAsItIs) {
  QWidget bare;
  EXPECT_EQ(ScrollWindowContent(&bare), nullptr);
  QWidget fixed;
  auto* layout = new QVBoxLayout(&fixed);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(new QPushButton("button"));
  EXPECT_EQ(ScrollWindowContent(&fixed), nullptr);
  EXPECT_EQ(fixed.layout(), layout);
}

}  // namespace
