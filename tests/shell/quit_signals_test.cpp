#include "shell/quit_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include "platform/dialog_service.h"
#include "shell/qt_dialog_service.h"
#include "shell/quit_request.h"
#include "tests/support/child_run.h"

namespace kavri {
namespace {

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
  QObject::connect(&poke, &QTimer::timeout, [&] {
    if (!sent && QApplication::activeModalWidget()) {
      sent = true;
      ::kill(::getpid(), SIGTERM);
    }
  });
  poke.start(10);
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
// is open, in several wake-ups. The question must stay open and be asked once; Cancel keeps the
// program, and a later signal asks again, whose No ends it.
bool AQuestionAskedStaysUntilItIsAnswered() {
  TQtDialogService dialogs;
  SetDialogService(&dialogs);
  int asked = 0;
  bool ended = false;
  TQuitRequest quit(
      [&] {
        ++asked;
        return Dialogs().Confirm("The drawing have been changed,do you want to save it?",
                                 TConfirmButtons::YesNoCancel, "Picure Edit") == TDialogAnswer::No;
      },
      [&] {
        ended = true;
        QCoreApplication::quit();
      });
  QObject owner;
  QuitOnTerminationSignals(&owner, &quit);
  // The question is the only window here: its closing must not end the loop.
  QApplication::setQuitOnLastWindowClosed(false);
  const auto burst = [] {
    for (int i = 0; i < 30; ++i) ::raise(i % 2 ? SIGTERM : SIGINT);
  };
  // One step a tick, each waiting for what the one before it brought about.
  bool ok = true;
  int step = 0, ticks = 0;
  QWidget* question = nullptr;
  QTimer script;
  QObject::connect(&script, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    ++ticks;
    switch (step) {
      case 0:
        burst();
        step = 1;
        break;
      case 1:  // the question is up: more of the burst comes, twice
        if (!box) break;
        question = box;
        burst();
        step = 2, ticks = 0;
        break;
      case 2:
        if (ticks == 5) burst();
        if (ticks < 20) break;
        ok = ok && box == question && box->isVisible() && asked == 1;
        if (auto* dialog = qobject_cast<QMessageBox*>(box)) dialog->reject();  // Cancel
        step = 3;
        break;
      case 3:
        if (box) break;
        ok = ok && !ended && quit.Stage() == TQuitRequest::TStage::Running;
        ::raise(SIGHUP);
        step = 4;
        break;
      case 4:
        if (!box) break;
        ok = ok && asked == 2;
        if (auto* dialog = qobject_cast<QMessageBox*>(box)) dialog->button(QMessageBox::No)->click();
        step = 5;
        break;
    }
  });
  script.start(10);
  QCoreApplication::exec();
  SetDialogService(nullptr);
  return ok && ended && asked == 2;
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
