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

TEST(QuitSignals, SigtermEndsTheProgramWhileAModalBoxIsOpen) {
  for (const bool boxAtClose : {true, false}) {
    SCOPED_TRACE(boxAtClose ? "the box the exit shows" : "a box shown before the exit");
    EXPECT_EQ(kavri_test::RunInChild(5, [&] { return EndsOnSigtermWhileABoxIsOpen(boxAtClose); }), "");
  }
}

}  // namespace
}  // namespace kavri
