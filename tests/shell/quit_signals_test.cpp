#include "shell/quit_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include "platform/dialog_service.h"
#include "shell/qt_dialog_service.h"
#include "shell/quit_request.h"
#include "tests/support/child_run.h"

namespace kavri {
namespace {

// Sends SIGTERM to this process once, as soon as a modal box is up; `poke` keeps looking.
void SigtermOnceABoxIsUp(QTimer& poke, bool& sent) {
  QObject::connect(&poke, &QTimer::timeout, [&sent] {
    if (!sent && QApplication::activeModalWidget()) {
      sent = true;
      ::kill(::getpid(), SIGTERM);
    }
  });
  poke.start(10);
}

// In a child process (the signal handler stays there): a modal box is open when SIGTERM comes, and
// the program must still end. With `boxAtEnd` the end itself shows the box, as the program's exit
// does when the settings cannot be saved; otherwise a box shown before the quit is open.
bool EndsOnSigtermWhileABoxIsOpen(bool boxAtEnd) {
  TQtDialogService dialogs;
  SetDialogService(&dialogs);
  bool ended = false;
  TQuitRequest quit([] { return true; },
                    [&] {
                      if (boxAtEnd) Dialogs().ShowMessage("The settings were not saved.", TMessageKind::Error);
                      ended = true;
                      QCoreApplication::quit();
                    });
  QObject owner;
  QuitOnTerminationSignals(&owner, &quit);
  QTimer::singleShot(0, &owner, [&] {
    if (boxAtEnd)
      quit.Request();
    else
      Dialogs().ShowMessage("Cannot open the file.", TMessageKind::Error);
  });
  bool sent = false;
  QTimer poke;
  SigtermOnceABoxIsUp(poke, sent);
  QCoreApplication::exec();
  return sent && ended && !QApplication::activeModalWidget();
}

// Runs the window thread's event loop a fixed number of passes: a reader that leaves bytes behind
// is woken again on each pass.
void RunEventPasses() {
  for (int i = 0; i < 50; ++i) QCoreApplication::processEvents();
}

// In a child process: far more signals than the socket holds arrive while the window thread does
// not read. Every handler must return at once, the whole burst must be taken as one quit, and a
// later signal must still be heard.
bool ABurstIsOneQuitAndNeverBlocks() {
  int asked = 0;
  TQuitRequest quit([&] { return ++asked, false; }, [] {});
  QObject owner;
  QuitOnTerminationSignals(&owner, &quit);
  for (int i = 0; i < 20000; ++i) {
    ::raise(i % 3 == 0 ? SIGTERM : i % 3 == 1 ? SIGINT : SIGHUP);
  }
  RunEventPasses();
  if (asked != 1) return false;
  ::raise(SIGTERM);
  RunEventPasses();
  return asked == 2;
}

// In a child process: a burst raises the quit's question, and more of it arrives while the question
// is open, in several wake-ups. The question must stay open, asked once, until it is answered.
bool AQuestionAskedStaysUntilItIsAnswered() {
  TQtDialogService dialogs;
  SetDialogService(&dialogs);
  int asked = 0;
  TQuitRequest quit(
      [&] {
        ++asked;
        Dialogs().Confirm("The drawing have been changed,do you want to save it?", TConfirmButtons::YesNoCancel);
        return false;
      },
      [] {});
  QObject owner;
  QuitOnTerminationSignals(&owner, &quit);
  const auto burst = [] {
    for (int i = 0; i < 30; ++i) ::raise(i % 2 ? SIGTERM : SIGINT);
  };
  burst();
  // Once the question is up, more of the burst comes twice; 200 ms later it is answered.
  bool ok = false;
  int ticks = -1;
  QWidget* question = nullptr;
  QTimer script;
  QObject::connect(&script, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (ticks < 0 && box) question = box, ticks = 0;
    if (ticks < 0) return;
    if (++ticks == 1 || ticks == 5) burst();
    if (ticks < 20) return;
    ok = box == question && asked == 1 && quit.Stage() == TQuitRequest::TStage::Asking;
    if (box) static_cast<QDialog*>(box)->reject();
    QCoreApplication::quit();
  });
  script.start(10);
  QCoreApplication::exec();
  SetDialogService(nullptr);
  return ok;
}

// In a child process: the start-up shows a box before any quit request exists. A quit signal while
// it is up must close it and tell the start-up to end, and a box shown after the signal, on the way
// out, must not wait for an answer either.
bool ASignalDuringTheStartUpEndsItsBoxes() {
  TQtDialogService dialogs;
  SetDialogService(&dialogs);
  WatchQuitSignals();
  if (QuitSignalled()) return false;
  bool sent = false;
  QTimer poke;
  SigtermOnceABoxIsUp(poke, sent);
  Dialogs().ShowMessage("Some lines of the settings file were not usable.", TMessageKind::Warning);
  if (!sent || !QuitSignalled()) return false;
  poke.stop();
  Dialogs().ShowMessage("The settings were not saved.", TMessageKind::Error);
  SetDialogService(nullptr);
  return !QApplication::activeModalWidget();
}

// In a child process: SIGUSR1, SIGUSR2 and SIGPIPE neither end the program nor ask to quit; a
// write to a closed pipe fails instead, and a program started from here still gets the signals'
// own effect.
bool OtherSignalsAreIgnoredHereOnly() {
  int asked = 0;
  TQuitRequest quit([&] { return ++asked, false; }, [] {});
  QObject owner;
  QuitOnTerminationSignals(&owner, &quit);
  for (const int signal : {SIGUSR1, SIGUSR2, SIGPIPE}) ::raise(signal);
  RunEventPasses();
  int ends[2];
  if (::pipe(ends) != 0) return false;
  ::close(ends[0]);
  const bool writeFails = ::write(ends[1], "x", 1) < 0 && errno == EPIPE;
  ::close(ends[1]);
  pid_t child = 0;
  const char* argv[] = {"sh", "-c", "kill -USR1 $$; exit 0", nullptr};
  if (::posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return false;
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  const bool childEndedBySignal = WIFSIGNALED(status) && WTERMSIG(status) == SIGUSR1;
  return asked == 0 && !QuitSignalled() && writeFails && childEndedBySignal;
}

TEST(QuitSignals, ASignalDuringTheStartUpClosesItsBoxesAndEndsIt) {
  EXPECT_EQ(kavri_test::RunInChild(10, ASignalDuringTheStartUpEndsItsBoxes), "");
}

TEST(QuitSignals, UserSignalsAndABrokenPipeAreIgnoredWithoutAQuit) {
  EXPECT_EQ(kavri_test::RunInChild(10, OtherSignalsAreIgnoredHereOnly), "");
}

TEST(QuitSignals, ABurstOfSignalsNeverBlocksTheHandlerAndIsSeenAsOneQuit) {
  EXPECT_EQ(kavri_test::RunInChild(10, ABurstIsOneQuitAndNeverBlocks), "");
}

TEST(QuitSignals, SignalsWhileTheQuitsQuestionIsOpenLeaveItToTheOperatorsAnswer) {
  EXPECT_EQ(kavri_test::RunInChild(10, AQuestionAskedStaysUntilItIsAnswered), "");
}

TEST(QuitSignals, SigtermEndsTheProgramWhileAModalBoxIsOpen) {
  for (const bool boxAtEnd : {true, false}) {
    SCOPED_TRACE(boxAtEnd ? "the box the exit shows" : "a box shown before the exit");
    EXPECT_EQ(kavri_test::RunInChild(5, [&] { return EndsOnSigtermWhileABoxIsOpen(boxAtEnd); }), "");
  }
}

}  // namespace
}  // namespace kavri
