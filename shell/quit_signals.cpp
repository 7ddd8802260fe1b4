#include "shell/quit_signals.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

#include "shell/quit_request.h"

namespace kavri {

namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the pipe the event loop watches. The write end
// never blocks: when the socket is full a quit is already pending there and this byte is not
// needed, while a handler that waited on the window thread would wait for itself.
void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

// However many signals came, they ask for one quit: everything pending is taken at once.
void DrainPipe() {
  char bytes[256];
  for (;;) {
    const ssize_t got = ::read(g_pipe[0], bytes, sizeof bytes);
    if (got > 0 || (got < 0 && errno == EINTR)) continue;
    return;
  }
}

// Each open modal box runs an event loop of its own, and what showed one is still under way: the
// boxes are answered as by Escape, top one first, so their loops return and the exit goes on.
void DismissModalBoxes() {
  QWidget* last = nullptr;
  while (QWidget* box = QApplication::activeModalWidget()) {
    if (box == last) return;  // it would not go
    last = box;
    if (auto* dialog = qobject_cast<QDialog*>(box))
      dialog->reject();
    else
      box->close();
  }
}

}  // namespace

void QuitOnTerminationSignals(QObject* owner, TQuitRequest* quit) {
  if (g_pipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [quit] {
    DrainPipe();
    // The question of a quit already asked is the operator's to answer; a burst that reaches us in
    // several wake-ups must not answer it.
    if (quit->Stage() == TQuitRequest::TStage::Asking) return;
    DismissModalBoxes();
    quit->Request();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

}  // namespace kavri
