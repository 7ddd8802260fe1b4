#include "shell/splash_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>
#include <QWindow>
#include <QFileInfo>
#include <QImage>
#include <QVBoxLayout>

#include "platform/case_blind_path.h"
#include "platform/picture_loader.h"
#include "skin/window_placement.h"

namespace kavri {

TForm14::TForm14(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("Form14");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Image1 = new QLabel(this);
  Image1->setObjectName("Image1");
  Image1->setFixedSize(640, 480);
  Image1->setAlignment(Qt::AlignCenter);
  layout->addWidget(Image1);
  setFixedSize(640, 480);
  PlaceWindow(this, TWindowPlacement::CentreOnScreen, nullptr);
}

void TForm14::ShowPainted(int timeoutMs) {
  // A reparenting window manager may expose the window, then take it down and map it again in
  // its frame: wait until it has stayed exposed a moment.
  constexpr qint64 kSettleMs = 100;
  show();
  raise();
  QElapsedTimer waited, exposed;
  waited.start();
  QWindow* window = windowHandle();
  while (window && waited.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (!window->isExposed()) {
      exposed.invalidate();
    } else if (!exposed.isValid()) {
      exposed.start();
    } else if (exposed.elapsed() >= kSettleMs) {
      break;
    }
    QThread::msleep(2);
  }
  repaint();
  QCoreApplication::processEvents();
}

void TForm14::FormCreate() {
  // Copied over from a case-blind file system, the picture may be "START1.BMP".
  const QString path = QDir::current().filePath(QString::fromStdString(ResolveFileName(kSplashFile)));
  if (!QFileInfo::exists(path)) return;
  QImage picture;
  if (LoadPicture(path.toStdString(), &picture)) Image1->setPixmap(QPixmap::fromImage(picture));
}

}  // namespace kavri
