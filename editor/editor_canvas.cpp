#include "editor/editor_canvas.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "engine/marked_points.h"
#include "engine/render.h"

namespace kavri {

TEditorCanvas::TEditorCanvas(QWidget* parent)
    : QWidget(parent),
      layer_(kEditorCanvasSize, kEditorCanvasSize, QImage::Format_RGB32),
      image_(layer_) {
  setObjectName("Image90");
  setFixedSize(kEditorCanvasSize, kEditorCanvasSize);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // the window shows the position under the moving mouse
  RebuildLayerIfStale();
  image_ = layer_;
  // The held area follows the canvas on the screen (see eventFilter).
  follow_.setSingleShot(true);
  follow_.setInterval(0);
  connect(&follow_, &QTimer::timeout, this, &TEditorCanvas::HoldPointerAgain);
}

void TEditorCanvas::SetBackColor(int paletteIndex) {
  if (paletteIndex == backColor_) return;
  backColor_ = paletteIndex;
  layerStale_ = true;
}

void TEditorCanvas::SetGridSteps(int step1, int step2) {
  if (step1 == gridStep1_ && step2 == gridStep2_) return;
  gridStep1_ = step1;
  gridStep2_ = step2;
  layerStale_ = true;
}

void TEditorCanvas::SetBackPicture(const QImage& picture) {
  if (picture.cacheKey() == backPicture_.cacheKey() || (picture.isNull() && backPicture_.isNull())) return;
  backPicture_ = picture;
  layerStale_ = true;
}

void TEditorCanvas::RebuildLayerIfStale() {
  if (!layerStale_) return;
  TCanvas canvas(layer_);
  DrawEditorGrid(canvas, backPicture_.isNull() ? nullptr : &backPicture_, gridStep1_, gridStep2_, backColor_);
  layerStale_ = false;
}

size_t TEditorCanvas::Redraw(Drawing& drawing, bool showPoints, int blankColor) {
  RemoveMarkedPoints(drawing);
  RebuildLayerIfStale();
  image_ = layer_;
  if (OnDrawUnderObjects) {
    TCanvas under(image_);  // writing detaches the copy from the layer
    OnDrawUnderObjects(under);
  }
  TCanvas canvas(image_);
  for (const auto& object : drawing.Objects()) DrawEditorPoints(canvas, *object, true, showPoints, blankColor);
  update();
  return drawing.PointCount();
}

void TEditorCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!OnDrawOverlay) {
    painter.drawImage(0, 0, image_);
    return;
  }
  if (overlaid_.size() != image_.size()) overlaid_ = QImage(image_.size(), QImage::Format_RGB32);
  std::copy_n(image_.constBits(), image_.sizeInBytes(), overlaid_.bits());
  TCanvas canvas(overlaid_);
  OnDrawOverlay(canvas);
  painter.drawImage(0, 0, overlaid_);
}

void TEditorCanvas::Report(const std::function<void(const TCanvasMouse&)>& handler, QMouseEvent* event) {
  if (!handler) return;
  const QPoint at = event->position().toPoint();
  TCanvasMouse mouse;
  mouse.X = at.x();
  mouse.Y = at.y();
  if (confined_) {
    mouse.X = std::clamp(mouse.X, 0, kEditorCanvasSize - 1);
    mouse.Y = std::clamp(mouse.Y, 0, kEditorCanvasSize - 1);
  }
  mouse.Button = event->button();
  mouse.Buttons = event->buttons();
  mouse.Ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  handler(mouse);
}

// A click that the canvas holds only because it keeps the mouse (the pointer itself was free to
// leave) is no click on the canvas: it adds no point and ends nothing. A part of the canvas that
// its window has scrolled out of view counts as outside.
bool TEditorCanvas::OutsideWhileConfined(const QMouseEvent* event) const {
  return confined_ && !visibleRegion().contains(event->position().toPoint());
}

void TEditorCanvas::mousePressEvent(QMouseEvent* event) {
  if (!OutsideWhileConfined(event)) Report(OnMouseDown, event);
}
void TEditorCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (confined_ && event->buttons() == Qt::NoButton) HoldPointer();  // taken back after a popup menu
  Report(OnMouseMove, event);
}
void TEditorCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (confined_ && event->buttons() == Qt::NoButton) HoldPointer();
  if (!OutsideWhileConfined(event)) Report(OnMouseUp, event);
}

void TEditorCanvas::SetConfined(bool confined) {
  if (!confined) {
    ReleaseConfinement();
    return;
  }
  // A hidden canvas cannot hold the mouse, and a grab left behind would lock the whole desktop;
  // nor may a window without the focus take the pointer from the one that has it.
  if (!isVisible() || !isActiveWindow()) return;
  if (!confined_) {
    confined_ = true;
    watchedWindow_ = window();
    qApp->installEventFilter(this);  // the window's events, and popup menus opening
  }
  HoldPointer();
}

bool TEditorCanvas::ConfineToShownPart() {
  QWidget* top = window();
  const QRect shown = visibleRegion().boundingRect();
  return pointer_.Confine(top->windowHandle(), QRect(mapTo(top, shown.topLeft()), shown.size()));
}

// The held area is fixed on the screen: a move of the window, a resize, a scroll or scroll bars
// coming or going change where the canvas shows.
void TEditorCanvas::HoldPointerAgain() {
  if (!pointer_.Active() || ConfineToShownPart()) return;
  if (QWidget::mouseGrabber() != this) grabMouse();  // nothing of the canvas shows
}

// The window system does not hold the pointer for us while a button is down (the press itself
// holds it), so it is held from the release on; until then, and where it cannot be held at all,
// the canvas keeps the mouse itself.
void TEditorCanvas::HoldPointer() {
  // An open popup menu holds the pointer itself; the next move after it closes takes it back.
  if (pointer_.Active() || QApplication::activePopupWidget()) return;
  if (TPointerConfinement::Possible() && QGuiApplication::mouseButtons() == Qt::NoButton) {
    if (QWidget::mouseGrabber() == this) releaseMouse();
    if (ConfineToShownPart()) return;
  }
  if (QWidget::mouseGrabber() != this) grabMouse();
}

void TEditorCanvas::ReleaseConfinement() {
  if (!confined_) return;
  confined_ = false;
  follow_.stop();
  pointer_.Release();
  if (QWidget::mouseGrabber() == this) releaseMouse();
  watchedWindow_ = nullptr;
  qApp->removeEventFilter(this);
}

void TEditorCanvas::hideEvent(QHideEvent* event) {
  ReleaseConfinement();
  QWidget::hideEvent(event);
}

void TEditorCanvas::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) ReleaseConfinement();
  QWidget::changeEvent(event);
}

bool TEditorCanvas::eventFilter(QObject* watched, QEvent* event) {
  // A popup menu needs the pointer: the area goes, which ends a grab still ours and leaves one the
  // menu has taken in its place; the first move after the menu closes holds the pointer again.
  if (event->type() == QEvent::Show && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->windowType() == Qt::Popup)
    pointer_.Forget();
  // The window and every widget between it and the canvas place the canvas: a move, a resize, a
  // scroll, scroll bars coming or going. The area is taken again once all of them are handled.
  if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && watched->isWidgetType() &&
      (watched == this || static_cast<QWidget*>(watched)->isAncestorOf(this)))
    follow_.start();
  if (watched == watchedWindow_) {
    switch (event->type()) {
      case QEvent::Close:
      case QEvent::Hide:
      case QEvent::WindowDeactivate:
      case QEvent::WindowBlocked:  // a modal box opened
        ReleaseConfinement();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace kavri
