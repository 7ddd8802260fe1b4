#pragma once
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace kavri_test {

// Runs `act` on the next modal dialog once it shows; `act` must end it.
inline void WhenModal(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start(0);
}

}  // namespace kavri_test
