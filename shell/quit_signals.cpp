#include "shell/quit_signals.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "shell/quit_request.h"

namespace kavri {

namespace {

int g_pipe[2] = {-1, -1};
volatile sig_atomic_t g_signalled = 0;

// Who takes the signals once the windows are made; nobody before.
QPointer<QObject> g_owner;
TQuitRequest* g_quit = nullptr;

// Only async-signal-safe work here: one byte into the pipe the event loop watches. The write end
// never blocks: when the socket is full a quit is already pending there and this byte is not
// needed, while a handler that waited on the window thread would wait for itself.
void OnSignal(int) {
  const int saved = errno;
  g_signalled = 1;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

// A handler, unlike SIG_IGN, is not handed down to the programs this one starts.
void Ignore(int) {}

// However many signals came, they ask for one quit: everything pending is taken at once.
void DrainPipe() {
  char bytes[256];
  for (;;) {
    const ssize_t got = ::read(g_pipe[0], bytes, sizeof bytes);
    if (got > 0 || (got < 0 && errno == EINTR)) continue;
    return;
  }
}

void Dismiss(QWidget* box) {
  if (auto* dialog = qobject_cast<QDialog*>(box))
    dialog->reject();
  else
    box->close();
}

// Each open modal box runs an event loop of its own, and what showed one is still under way: the
// boxes are answered as by Escape, top one first, so their loops return and the exit goes on.
void DismissModalBoxes() {
  QWidget* last = nullptr;
  while (QWidget* box = QApplication::activeModalWidget()) {
    if (box == last) return;  // it would not go
    last = box;
    Dismiss(box);
  }
}

// Once the start-up is to end, a box shown on the way out would wait for an answer nobody is
// there to give: each goes as soon as its loop runs.
class TBoxDismisser : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->isWindow() && widget->isModal())
        QTimer::singleShot(0, widget, [widget] { Dismiss(widget); });
    }
    return false;
  }
};

void TakeSignals() {
  DrainPipe();
  if (!g_owner || !g_quit) {
    // Nothing to ask yet: the start-up ends, and nothing it shows on the way may hold it up.
    static TBoxDismisser* dismisser = nullptr;
    if (!dismisser) {
      dismisser = new TBoxDismisser(qApp);
      qApp->installEventFilter(dismisser);
    }
    DismissModalBoxes();
    return;
  }
  // The question of a quit already asked is the operator's to answer; a burst that reaches us in
  // several wake-ups must not answer it.
  if (g_quit->Stage() == TQuitRequest::TStage::Asking) return;
  DismissModalBoxes();
  g_quit->Request();
}

}  // namespace

void WatchQuitSignals() {
  if (g_pipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { TakeSignals(); });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  action.sa_handler = Ignore;
  for (const int signal : {SIGUSR1, SIGUSR2, SIGPIPE}) sigaction(signal, &action, nullptr);
}

bool QuitSignalled() { return g_signalled != 0; }

void QuitOnTerminationSignals(QObject* owner, TQuitRequest* quit) {
  WatchQuitSignals();
  g_owner = owner;
  g_quit = quit;
}

}  // namespace kavri
