// Shows the splash on a real X display the way start-up does and reads back, at the moment it
// returns, what the display holds where the splash stands: start-up goes on right after, so the
// picture must already be there. Exit status: 0 painted, 1 not painted, 3 no display or WM.
//
//   kavri_splash_probe FOLDER [PICTURE.png]    (FOLDER gets a solid Start1.bmp and becomes current)
// Qt first: the X headers define names (Status) that Qt's headers refuse to follow.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include "shell/splash_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

const QColor kSplashColour(200, 30, 120);

// A window manager announces itself on the root window; without one the fault cannot show.
bool WaitForWindowManager(Display* display, int seconds) {
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  for (int i = 0; i < seconds * 20; ++i) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success && data) {
      XFree(data);
      if (count == 1) {
        // It announces itself before it has taken over the windows already there; on a desktop it
        // has long been running when the program starts.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return true;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

int ErrorsAsFailure(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 3;
  QApplication app(argc, argv);
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 3;
  struct Closer {
    Display* display;
    ~Closer() { XCloseDisplay(display); }
  } closer{display};
  if (!WaitForWindowManager(display, 10)) {
    std::fprintf(stderr, "no X display with a window manager\n");
    return 3;
  }
  QImage picture(640, 480, QImage::Format_RGB32);
  picture.fill(kSplashColour);
  QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
  if (!picture.save("Start1.bmp", "BMP")) return 3;

  kavri::TForm14 splash;
  splash.FormCreate();
  splash.ShowPainted(10000);  // generous: a loaded machine may expose the window late

  // Whatever Qt sent is on the server before we look; a window not yet viewable reads as nothing.
  if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) XSync(x11->display(), False);
  XSetErrorHandler(ErrorsAsFailure);
  XImage* shot = XGetImage(display, static_cast<Window>(splash.winId()), 0, 0, 640, 480, AllPlanes, ZPixmap);
  if (!shot) {
    XWindowAttributes a{};
    XGetWindowAttributes(display, static_cast<Window>(splash.winId()), &a);
    int rx = 0, ry = 0;
    Window child = 0;
    XTranslateCoordinates(display, static_cast<Window>(splash.winId()), DefaultRootWindow(display), 0, 0, &rx, &ry, &child);
    std::fprintf(stderr, "the splash is not on the screen when start-up goes on (map state %d, %dx%d at %d,%d)\n",
                 a.map_state, a.width, a.height, rx, ry);
    return 1;
  }
  int matching = 0;
  QImage seen(640, 480, QImage::Format_RGB32);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      const QColor colour((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255);
      seen.setPixelColor(x, y, colour);
      matching += colour == kSplashColour ? 1 : 0;
    }
  XDestroyImage(shot);
  if (argc > 2) seen.save(QString::fromLocal8Bit(argv[2]), "PNG");
  std::printf("%d of %d splash pixels show the picture\n", matching, 640 * 480);
  return matching == 640 * 480 ? 0 : 1;
}
