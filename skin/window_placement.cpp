#include "skin/window_placement.h"

#include "skin/content_scroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QFontMetrics>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace kavri {

namespace {

constexpr const char* kPlacedProperty = "kavriPlaced";
constexpr int kFrameWaitMs = 500;

// A window manager frames a window of fixed size differently (without resize handles): the frame
// last seen on each kind.
QMargins& LastFrameMargins(bool fixedSize) {
  static QMargins margins[2];
  return margins[fixedSize ? 1 : 0];
}

bool IsFixedSize(const QWidget* window) { return window->minimumSize() == window->maximumSize(); }

bool IsFrameless(const QWidget* window) {
  const Qt::WindowFlags flags = window->windowFlags();
  const Qt::WindowType type = window->windowType();
  return flags.testFlag(Qt::FramelessWindowHint) || type == Qt::SplashScreen || type == Qt::Popup ||
         type == Qt::ToolTip;
}

// The window manager's frame of a shown window; null while it has none (yet).
QMargins ShownFrame(const QWidget* window) {
  if (!window || !window->isVisible() || IsFrameless(window) || !window->windowHandle()) return {};
  return window->windowHandle()->frameMargins();
}

// Every normal window of a kind gets the same frame from one window manager: the window's own, else
// the opener's, else any shown window's of its kind, else the last one seen on that kind, else the
// other kind's. `sure` says whether the frame came from the window's own kind.
QMargins FrameFor(const QWidget* window, const QWidget* opener, bool* sure = nullptr) {
  if (sure) *sure = true;
  if (IsFrameless(window)) return {};
  const bool fixed = IsFixedSize(window);
  QMargins found = ShownFrame(window);
  if (found.isNull() && opener && IsFixedSize(opener) == fixed) found = ShownFrame(opener);
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (!found.isNull()) break;
    if (IsFixedSize(other) == fixed) found = ShownFrame(other);
  }
  if (!found.isNull()) LastFrameMargins(fixed) = found;
  if (!LastFrameMargins(fixed).isNull()) return LastFrameMargins(fixed);
  if (sure) *sure = false;
  QMargins other = LastFrameMargins(!fixed);
  for (const QWidget* shown : QApplication::topLevelWidgets()) {
    if (!other.isNull()) break;
    other = ShownFrame(shown);
  }
  return other;
}

// Waits a moment, without taking input, until the window manager has framed a window just shown.
QMargins AwaitFrame(const QWidget* window) {
  QElapsedTimer waited;
  waited.start();
  QMargins frame = ShownFrame(window);
  while (frame.isNull() && waited.elapsed() < kFrameWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(5);
    frame = ShownFrame(window);
  }
  return frame;
}

}  // namespace

QPoint FitInside(const QRect& frame, const QRect& available) {
  if (frame.width() > available.width() || frame.height() > available.height()) return available.topLeft();
  return {std::clamp(frame.x(), available.left(), available.right() + 1 - frame.width()),
          std::clamp(frame.y(), available.top(), available.bottom() + 1 - frame.height())};
}

QPoint PlacedFrameTopLeft(const QRect& frame, const QRect& available, TWindowPlacement placement,
                          bool placedBefore, const QRect& opener) {
  QRect placed = frame;
  const bool onOpener = placement == TWindowPlacement::CentreOnOpener && !opener.isNull();
  if (onOpener)
    placed.moveCenter(opener.center());
  else if (placement != TWindowPlacement::KeepOnScreen || !placedBefore)
    placed.moveCenter(available.center());
  return FitInside(placed, available);
}

namespace {

// The screen with the largest part of the rectangle; null when it is on none.
QScreen* ScreenHolding(const QRect& frame) {
  QScreen* best = nullptr;
  qint64 bestArea = 0;
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect part = screen->geometry() & frame;
    const qint64 area = qint64(part.width()) * part.height();
    if (area > bestArea) {
      best = screen;
      bestArea = area;
    }
  }
  return best;
}

// The size of a window whose content (`whole`, with the window's other parts) is cut to `room`: each
// dimension that is cut shows a scroll bar, which the other dimension makes room for while it can.
QSize WithScrollBarRoom(QSize whole, const QSize& room, const QScrollArea* scroller) {
  const int barHeight = scroller->horizontalScrollBar()->sizeHint().height();
  const int barWidth = scroller->verticalScrollBar()->sizeHint().width();
  bool wide = whole.width() > room.width();
  if (wide) whole.rheight() += barHeight;
  if (whole.height() > room.height()) {
    whole.rwidth() += barWidth;
    if (!wide && whole.width() > room.width()) whole.rheight() += barHeight;
  }
  return whole.boundedTo(room);
}

// Returns whether the frame counted was the window's own kind's (see FrameFor).
bool Place(QWidget* window, TWindowPlacement placement, QWidget* opener, bool placedBefore) {
  // The size the window will show at: its size hint unless it was resized, and never below what its
  // layout asks for now. A window whose content scrolls asks for all of it (adjusting would stop at
  // two thirds of the screen).
  window->ensurePolished();
  if (QLayout* layout = window->layout()) layout->activate();
  QScrollArea* const scroller = ContentScroller(window);
  if (!window->testAttribute(Qt::WA_Resized)) {
    if (scroller)
      window->resize(window->sizeHint());
    else
      window->adjustSize();
  }
  bool sure = true;
  const QMargins margins = FrameFor(window, opener, &sure);
  QRect frame(window->geometry().topLeft() - QPoint(margins.left(), margins.top()), window->size().grownBy(margins));
  // A window that keeps its place stays on the screen it stood on; the others open on the opener's.
  QScreen* screen = placement == TWindowPlacement::KeepOnScreen && placedBefore ? ScreenHolding(frame) : nullptr;
  if (!screen) screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
  if (!screen) return sure;
  const QRect available = screen->availableGeometry();
  // Larger than the work area, a window whose content scrolls opens at the area's size, with room
  // for the scroll bars it then shows, so that none of them covers a control.
  if (scroller) {
    const QSize room = available.size().shrunkBy(margins);
    if (window->width() > room.width() || window->height() > room.height()) {
      window->resize(WithScrollBarRoom(window->size(), room, scroller));
      frame.setSize(window->size().grownBy(margins));
    }
  }
  const QRect openerFrame = opener ? opener->frameGeometry() : QRect();
  window->move(PlacedFrameTopLeft(frame, available, placement, placedBefore, openerFrame));
  window->setProperty(kPlacedProperty, true);
  return sure;
}

QWidget* OpeningWindow(QWidget* window, QWidget* opener) {
  if (opener) opener = opener->window();
  return opener == window || (opener && !opener->isVisible()) ? nullptr : opener;
}

}  // namespace

int TitleFitWidth(const QString& title) {
  // An icon on the left, three buttons on the right, and the bar's margins.
  constexpr int kTitleBarFurniture = 120;
  QFont font = QApplication::font();
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(title) + kTitleBarFurniture;
}

void PlaceWindow(QWidget* window, TWindowPlacement placement, QWidget* opener) {
  if (!window || !window->isWindow()) return;
  Place(window, placement, OpeningWindow(window, opener), window->property(kPlacedProperty).toBool());
}

void ShowPlaced(QWidget* window, TWindowPlacement placement, QWidget* opener) {
  if (!window || !window->isWindow() || window->isVisible()) return;
  opener = OpeningWindow(window, opener);
  if (placement == TWindowPlacement::KeepOnScreen) ScrollWindowContent(window);
  const bool placedBefore = window->property(kPlacedProperty).toBool();
  const bool frameKnown = Place(window, placement, opener, placedBefore);
  const QSize planned = window->size();
  window->show();
  // Showing may change what the window holds (texts filled in as it opens): once its layout has
  // settled, a window that changed size is placed again. So is one placed by a frame of the other
  // kind, once its own frame is known.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  if (window->size() != planned || (!frameKnown && !AwaitFrame(window).isNull()))
    Place(window, placement, opener, placedBefore);
}

}  // namespace kavri
