#include "shell/quit_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

#include "platform/dialog_service.h"
#include "shell/qt_dialog_service.h"
#include "tests/support/child_run.h"

namespace kavri {
namespace {

// Stands in for the main window: with `boxAtClose` its close shows a box first, as the program's
// exit does when the settings cannot be saved.
class ClosingWindow : public QWidget {
 public:
  explicit ClosingWindow(bool boxAtClose) : boxAtClose_(boxAtClose) {}
  bool closed = false;

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (boxAtClose_) Dialogs().ShowMessage("The settings were not saved.", TMessageKind::Error);
    event->accept();
    closed = true;
    QCoreApplication::quit();
  }

 private:
  bool boxAtClose_;
};

// In a child process (the signal handler stays there): a modal box is open when SIGTERM comes, and
// the program must still end through its main window's close.
bool EndsOnSigtermWhileABoxIsOpen(bool boxAtClose) {
  TQtDialogService dialogs;
  SetDialogService(&dialogs);
  ClosingWindow window(boxAtClose);
  CloseOnTerminationSignals(&window);
  window.show();
  QTimer::singleShot(0, &window, [&] {
    if (boxAtClose)
      window.close();
    else
      Dialogs().ShowMessage("Cannot open the file.", TMessageKind::Error);
  });
  bool sent = false;
  QTimer poke;
  QObject::connect(&poke, &QTimer::timeout, [&] {
    if (!sent && QApplication::activeModalWidget()) {
      sent = true;
      ::kill(::getpid(), SIGTERM);
    }
  });
  poke.start(10);
  QCoreApplication::exec();
  return sent && window.closed && !QApplication::activeModalWidget();
}

// Stands in for a main window whose close is refused, as with an unsaved drawing kept by Cancel.
class RefusingWindow : public QWidget {
 public:
  int closeRequests = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++closeRequests;
    event->ignore();
  }
};

// Runs the window thread's event loop a fixed number of passes: a reader that leaves bytes behind
// is woken again on each pass.
void RunEventPasses() {
  for (int i = 0; i < 50; ++i) QCoreApplication::processEvents();
}

// In a child process: far more signals than the socket holds arrive while the window thread does
// not read. Every handler must return at once, the whole burst must be taken as one quit, and a
// later signal must still be heard.
bool ABurstIsOneQuitAndNeverBlocks() {
  RefusingWindow window;
  CloseOnTerminationSignals(&window);
  window.show();
  for (int i = 0; i < 20000; ++i) {
    ::raise(i % 3 == 0 ? SIGTERM : i % 3 == 1 ? SIGINT : SIGHUP);
  }
  RunEventPasses();
  if (window.closeRequests != 1) return false;
  ::raise(SIGTERM);
  RunEventPasses();
  return window.closeRequests == 2;
}

TEST(QuitSignals, ABurstOfSignalsNeverBlocksTheHandlerAndIsSeenAsOneQuit) {
  EXPECT_EQ(kavri_test::RunInChild(10, ABurstIsOneQuitAndNeverBlocks), "");
}

TEST(QuitSignals, SigtermEndsTheProgramWhileAModalBoxIsOpen) {
  for (const bool boxAtClose : {true, false}) {
    SCOPED_TRACE(boxAtClose ? "the box the exit shows" : "a box shown before the exit");
    EXPECT_EQ(kavri_test::RunInChild(5, [&] { return EndsOnSigtermWhileABoxIsOpen(boxAtClose); }), "");
  }
}

}  // namespace
}  // namespace kavri
