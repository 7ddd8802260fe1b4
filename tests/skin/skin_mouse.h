#pragma once
#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace kavri_test {

// Mouse events sent straight to one widget, as if it held the mouse capture.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button = Qt::LeftButton) {
  Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), type == QEvent::MouseMove ? Qt::NoButton : button,
                    held, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &event);
}
inline void Press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
  SendMouse(w, QEvent::MouseButtonPress, p, b);
}
inline void Move(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseMove, p); }
inline void Release(QWidget* w, QPoint p) { SendMouse(w, QEvent::MouseButtonRelease, p); }

}  // namespace kavri_test
