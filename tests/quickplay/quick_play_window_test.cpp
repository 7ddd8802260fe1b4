#include "quickplay/quick_play_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>

#include "engine/drawing.h"
#include "engine/ilda_file.h"
#include "engine/play_threads.h"
#include "quickplay/quick_play_loops.h"
#include "quickplay/text_roll_loop.h"
#include "engine/shared_state.h"
#include "platform/program_folder.h"
#include "quickplay/quick_play_state.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

void WriteSquare(const std::string& path, int side) {
  Drawing d;
  DrawingObject* o = d.AddObject();
  const int a = 128 - side / 2, b = 128 + side / 2;
  for (auto [x, y] : {std::pair{a, a}, {b, a}, {b, b}, {a, b}, {a, a}}) o->Add({x, y, 0, 2, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(path, d, 1));
}

void WriteIlda(const std::string& path, int frames) {
  TILDAimage image;
  for (int k = 0; k < frames; ++k) {
    auto frame = std::make_unique<TILDAframe>();
    for (int i = 0; i < k + 2; ++i) frame->points.push_back({-100 + 40 * i, -100 + 40 * i, 0, 3, 0, 0});
    image.frames.push_back(std::move(frame));
  }
  ASSERT_TRUE(WriteIldaFile(path, image));
}

class QuickPlayWindow : public ::testing::Test {
 protected:
  QuickPlayWindow() : scope(dir.Path()) {
    ResetSharedState();
    ResetQuickPlayState();
    EnsureContentFolders();
    WriteSquare(DrawingFolder() + "abc.ddr", 100);
    WriteSquare(DrawingFolder() + "drawing1.ddr", 60);
    WriteSquare(DrawingFolder() + "Star.DDR", 200);
    WriteIlda(IldaFolder() + "a.ild", 1);
    WriteIlda(IldaFolder() + "b.ild", 2);
    WriteIlda(IldaFolder() + "c.ild", 3);
    form = std::make_unique<TForm4>();
    form->FormCreate();
  }
  ~QuickPlayWindow() override {
    form.reset();
    ResetQuickPlayState();
    ResetSharedState();
  }
  TFileList& Ildas() { return form->FileListBox2->Files(); }
  void FileListBox1Unselect() { form->FileListBox1->Files().SetItemIndex(-1); }
  void SelectIlda(const std::string& name) {
    Ildas().SetItemIndex(Ildas().IndexOf(name));
    form->FileListBox2->OnChange();
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
  std::unique_ptr<TForm4> form;
};

TEST_F(QuickPlayWindow, OpensOnTheFirstDrawingWithTheSlidersAtTheirStartValues) {
  EXPECT_EQ(form->windowTitle(), "Quick play");
  EXPECT_EQ(form->Label94->text(), "abc.ddr");
  EXPECT_EQ(form->Label29->text(), "5");
  EXPECT_EQ(form->Label86->text(), "1");
  EXPECT_EQ(form->Label87->text(), "1");
  EXPECT_EQ(form->Label18->text(), "ready");
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 0);
  struct Case {
    const char *slider, *label, *text;
  };
  for (const Case& c : {Case{"skinTrackBar1", "Label16", "50"}, Case{"TrackBar6", "Label52", "20"},
                       Case{"skinTrackBar3", "Label61", "30"}, Case{"skinTrackBar7", "Label72", "4"},
                       Case{"skinTrackBar6", "Label68", "4"}, Case{"TrackBar2", "Label10", "0"}}) {
    SCOPED_TRACE(c.slider);
    ASSERT_NE(form->Slider(c.slider), nullptr);
    EXPECT_EQ(form->findChild<QLabel*>(c.label)->text(), c.text);
  }
  // Moving a slider writes its live value and its label.
  form->Slider("TrackBar2")->SetPosition(90);
  EXPECT_EQ(QuickPlayEffects.Rotation.load(), 90);
  EXPECT_EQ(form->findChild<QLabel*>("Label10")->text(), "90");
  form->Slider("skinTrackBar2")->SetPosition(270);
  EXPECT_EQ(QuickPlayEffects.LocAngle.load(), 270);
  EXPECT_EQ(form->findChild<QLabel*>("Label57")->text(), "270");
}

TEST_F(QuickPlayWindow, TheMemoScrollsALongLineAndManyLinesWithItsBars) {
  form->skinMemo1->setPlainText(QString("Kavri ").repeated(40) + QString("\nline").repeated(20));
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QCoreApplication::processEvents();
  struct Case {
    TSkinScrollBar* bar;
    QScrollBar* native;
  };
  for (const Case& c : {Case{form->skinScrollBar1, form->skinMemo1->verticalScrollBar()},
                        Case{form->skinScrollBar2, form->skinMemo1->horizontalScrollBar()}}) {
    SCOPED_TRACE(c.bar->objectName().toStdString());
    ASSERT_TRUE(c.bar->isEnabled());
    ASSERT_GT(c.native->maximum(), 0);
    EXPECT_TRUE(form->skinMemo1->geometry().contains(c.bar->geometry()));
    c.bar->SetPosition(c.bar->Max());
    EXPECT_EQ(c.native->value(), c.native->maximum());
  }
}

TEST_F(QuickPlayWindow, ScanRateSliderSetsTheScanDelayAndThePointsPerSecond) {
  struct Case {
    int position, delay;
    const char* label;
  };
  for (const Case& c : {Case{225, 0, "45000"}, Case{25, 200, "5000"}, Case{150, 75, "30000"}}) {
    form->skinTrackBar9->SetPosition(c.position);
    EXPECT_EQ(ScanDelay.load(), c.delay) << c.position;
    EXPECT_EQ(form->Label92->text(), c.label) << c.position;
  }
  // Activation shows the delay the settings hold.
  ScanDelay = 100;
  form->FormActivate();
  EXPECT_EQ(form->skinTrackBar9->Position(), 125);
  EXPECT_EQ(form->Label92->text(), "25000");
}

TEST_F(QuickPlayWindow, ToolbarTogglesAndTheirMenuItemsStayInStep) {
  struct Case {
    TSkinToolButton* button;
    QAction* item;
    std::atomic<bool>* flag;
  };
  for (const Case& c : {Case{form->ToolButton10, form->PauseItem, &PauseFlag}, Case{form->ToolButton5, form->LoopItem, &LoopFlag},
                       Case{form->ToolButton9, form->HInvertItem, &HInvertFlag},
                       Case{form->ToolButton3, form->VInvertItem, &VInvertFlag}}) {
    SCOPED_TRACE(c.item->text().toStdString());
    c.button->SetDown(true);
    c.button->OnClick(c.button);
    EXPECT_TRUE(c.item->isChecked());
    EXPECT_TRUE(c.flag->load());
    c.item->trigger();  // unchecks
    EXPECT_FALSE(c.button->Down());
    EXPECT_FALSE(c.flag->load());
  }
}

TEST_F(QuickPlayWindow, ModeMenuItemsAndTheRadioGroupShowOneMode) {
  form->ModeItems[1]->trigger();
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 1);
  EXPECT_FALSE(form->ModeItems[0]->isChecked());
  EXPECT_TRUE(form->ModeItems[1]->isChecked());
  EXPECT_FALSE(form->ModeItems[2]->isChecked());
  form->skinRadioGroup1->SetItemIndex(2);
  form->skinRadioGroup1->OnClick();
  EXPECT_TRUE(form->ModeItems[2]->isChecked());
  EXPECT_FALSE(form->ModeItems[1]->isChecked());
  // Entering the ILDA list or the memo chooses their mode.
  QFocusEvent focus(QEvent::FocusIn);
  QCoreApplication::sendEvent(form->FileListBox2, &focus);
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 1);
  QCoreApplication::sendEvent(form->skinMemo1, &focus);
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 2);
  // A tile click goes back to drawings.
  form->TileClick(1);
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 0);
  EXPECT_TRUE(form->ModeItems[0]->isChecked());
  EXPECT_EQ(form->Label94->text(), "drawing1.ddr");
  EXPECT_EQ(form->Label29->text(), "5");
  // Focus coming back when the window is activated again is no entering.
  QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
  QCoreApplication::sendEvent(form->skinMemo1, &back);
  QCoreApplication::sendEvent(form->FileListBox2, &back);
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 0);
  QFocusEvent tab(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(form->skinMemo1, &tab);
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 2);
}

// Typing in the memo and then picking a tile: the focus the tile popup hands back to the memo as
// it closes must not turn its Play into a text roll.
TEST_F(QuickPlayWindow, TheTilePopupKeepsDrawingModeThoughTheMemoHadTheFocus) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->activateWindow();
  form->skinMemo1->setFocus(Qt::MouseFocusReason);
  QCoreApplication::processEvents();
  ASSERT_EQ(form->skinRadioGroup1->ItemIndex(), 2);
  form->TileClick(0);
  auto* popup = form->findChild<QMenu*>("skinPopupMenu1");
  ASSERT_NE(popup, nullptr);
  popup->popup(QPoint(10, 10));
  QCoreApplication::processEvents();
  popup->close();
  QCoreApplication::processEvents();
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 0);
}

TEST_F(QuickPlayWindow, FindDrawingAppendsTheExtensionUnlessItIsExactlyThere) {
  struct Case {
    std::optional<std::string> answer;
    const char* selected;
    const char* status;
  };
  for (const Case& c : {Case{"Star", "Star.DDR", "ready"}, Case{"  abc.ddr ", "abc.ddr", "ready"},
                       Case{"abc.DDR", "abc.ddr", "Drawing not found!"},  // looks for abc.DDR.ddr
                       Case{std::nullopt, "drawing1.ddr", "ready"},       // Cancel: the default name
                       Case{"", "drawing1.ddr", "ready"}}) {              // empty: nothing
    SCOPED_TRACE(c.answer.value_or("(Cancel)"));
    form->Label18->setText("ready");
    dialogs.inputAnswers.push_back(c.answer);
    form->skinButton2->Click();
    EXPECT_EQ(form->Label94->text(), c.selected);
    EXPECT_EQ(form->Label18->text(), c.status);
  }
  EXPECT_EQ(form->Grid().TileIndex(), 1);
}

TEST_F(QuickPlayWindow, DeleteKeySelectsTheNeighbourAndTheLastFileTurnsThePreviewOff) {
  form->SetIldPreview(true);
  EXPECT_TRUE(form->skinCheckBox1->Checked());
  EXPECT_TRUE(form->IldPreviewItem->isChecked());
  SelectIlda("b.ild");
  EXPECT_EQ(form->IldaPreview().FrameCount(), 2);
  QTest::keyClick(form->FileListBox2, Qt::Key_Delete);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(IldaFolder() + "b.ild")));
  EXPECT_EQ(Ildas().SelectedName(), "c.ild");  // the next one
  EXPECT_EQ(form->IldaPreview().FrameCount(), 3);
  QTest::keyClick(form->FileListBox2, Qt::Key_Delete);
  EXPECT_EQ(Ildas().SelectedName(), "a.ild");  // the last went: the one before
  EXPECT_TRUE(form->IldaPreview().On());
  // The size shown is the selected file's, not the deleted one's.
  const qint64 bytes = QFileInfo(QString::fromStdString(IldaFolder() + "a.ild")).size();
  EXPECT_EQ(form->Label24->text(), QString("%1 Byte").arg(bytes));
  QTest::keyClick(form->FileListBox2, Qt::Key_Delete);
  EXPECT_EQ(Ildas().Count(), 0);
  EXPECT_EQ(form->Label24->text(), "");
  EXPECT_FALSE(form->skinCheckBox1->Checked());
  EXPECT_FALSE(form->IldPreviewItem->isChecked());
  EXPECT_FALSE(form->IldaPreview().On());
}

TEST_F(QuickPlayWindow, ADeleteThatFailsSaysWhyAndKeepsTheFileSelected) {
  form->SetIldPreview(true);
  SelectIlda("b.ild");
  // The file turned into a folder with something in it after the list was read: it cannot be unlinked.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(IldaFolder() + "b.ild")));
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(IldaFolder() + "b.ild/inside")));
  QTest::keyClick(form->FileListBox2, Qt::Key_Delete);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "\"b.ild\" was not deleted: " + std::string(std::strerror(EISDIR)) + ".");
  EXPECT_EQ(Ildas().SelectedName(), "b.ild");
  EXPECT_TRUE(form->IldaPreview().On());
}

TEST_F(QuickPlayWindow, IldaListShowsTheSizeAndFindFollowsTheExtensionRule) {
  SelectIlda("c.ild");
  const qint64 bytes = QFileInfo(QString::fromStdString(IldaFolder() + "c.ild")).size();
  ASSERT_LT(bytes, 1024);
  EXPECT_EQ(form->Label24->text(), QString("%1 Byte").arg(bytes));
  dialogs.inputAnswers.push_back("a");
  form->skinButton3->Click();
  EXPECT_EQ(Ildas().SelectedName(), "a.ild");
  EXPECT_EQ(form->Label24->text(),
            QString("%1 Byte").arg(QFileInfo(QString::fromStdString(IldaFolder() + "a.ild")).size()));
  dialogs.inputAnswers.push_back("a.ILD");
  form->skinButton3->Click();
  EXPECT_EQ(form->Label18->text(), "Image not found!");
  // With the preview on, the found file is read and animated.
  form->show();
  form->SetIldPreview(true);
  dialogs.inputAnswers.push_back("c.ild");
  form->skinButton3->Click();
  form->Timer3Timer();
  EXPECT_EQ(form->Label6->text(), "2");
  form->Timer3Timer();
  EXPECT_EQ(form->Label6->text(), "3");
}

// A stand-in loop that counts how many copies of itself run at once and ends as the old loops
// did, clearing the running flag on its way out however late that is.
struct CountingLoop {
  static inline std::atomic<int> running{0}, most{0}, runs{0};
  static void Run() {
    const int now = ++running;
    ++runs;
    for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
    }
    while (!StopFlag) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the frame in hand goes out
    --running;
    WorkerRunningFlag = false;
  }
  static void Reset() { running = most = runs = 0; }
};

class QuickPlayWindowThreads : public QuickPlayWindow {
 protected:
  QuickPlayWindowThreads() {
    CountingLoop::Reset();
    RegisterPlayLoop(kPlayJobDrawing, &CountingLoop::Run);
  }
  ~QuickPlayWindowThreads() override {
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    RegisterPlayLoop(kPlayJobDrawing, nullptr);
    RegisterPlayLoop(kPlayJobIlda, nullptr);
    RegisterPlayLoop(kPlayJobSegment, nullptr);
    RegisterPlayLoop(kPlayJobRollText, nullptr);
    RegisterPlayLoop(kPlayJobRollTextVertical, nullptr);
  }
  void WaitForRuns(int runs) {
    for (int i = 0; i < 2000 && CountingLoop::runs < runs; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(CountingLoop::runs.load(), runs);
  }
};

TEST_F(QuickPlayWindowThreads, PlayTwiceAtOnceLeavesOneLoop) {
  const uint32_t before = PlayController().RunNumber();
  form->ToolButton1->OnClick(form->ToolButton1);
  form->ToolButton1->OnClick(form->ToolButton1);
  WaitForRuns(2);
  EXPECT_EQ(CountingLoop::most.load(), 1);
  EXPECT_EQ(CountingLoop::running.load(), 1);
  EXPECT_EQ(PlayController().RunNumber(), before + 2);
  EXPECT_EQ(form->Run(), PlayController().RunNumber());
  EXPECT_EQ(form->Label18->text(), "Drawing playing start...");
}

TEST_F(QuickPlayWindowThreads, TheOldRunsLateEndNeverEndsTheNewRun) {
  form->Play();
  WaitForRuns(1);
  form->Play();  // the first loop clears the running flag as it ends, before the second starts
  WaitForRuns(2);
  EXPECT_TRUE(WorkerRunningFlag);
  form->Timer2Timer();
  EXPECT_TRUE(form->Timer1->isActive());
  EXPECT_TRUE(form->Timer2->isActive());
  EXPECT_EQ(form->Label18->text(), "Drawing playing start...");

  // Stop: the next preview tick tells of the end and stops the frame clock.
  form->Stop();
  ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  form->Timer2Timer();
  EXPECT_EQ(form->Label18->text(), "Drawing play end.");
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_FALSE(form->Timer2->isActive());
}

// Another window's Play ends our run: its end is told and the timers stop, though that loop runs on.
TEST_F(QuickPlayWindowThreads, ARunAnotherWindowStartedEndsOursAndIsNotOursToShow) {
  form->Play();
  WaitForRuns(1);
  ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  RegisterPlayLoop(kPlayJobSegment, &CountingLoop::Run);
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
  WaitForRuns(2);
  form->Timer2Timer();
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_FALSE(form->Timer2->isActive());
  EXPECT_EQ(form->Label18->text(), "Drawing play end.");
  EXPECT_TRUE(WorkerRunningFlag);  // the other window's loop runs on
}

TEST_F(QuickPlayWindowThreads, PreviewShowsTheDrawingBeingPlayedInScreenOrientation) {
  RegisterQuickPlayLoops();
  form->Play();
  ASSERT_TRUE(form->Timer2->isActive());
  QImage shown;
  for (int i = 0; i < 2000; ++i) {
    form->Timer2Timer();
    shown = form->Image1->pixmap().toImage();
    if (shown.pixel(128, 78) != qRgb(0, 0, 0)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // The square of side 100 about the centre: its top edge at y 78, nothing inside.
  EXPECT_NE(shown.pixel(128, 78), qRgb(0, 0, 0));
  EXPECT_NE(shown.pixel(78, 128), qRgb(0, 0, 0));
  EXPECT_EQ(shown.pixel(128, 128), qRgb(0, 0, 0));
  EXPECT_EQ(form->Label1->text(), "5");
}

TEST_F(QuickPlayWindowThreads, TextModeRollsTheMemoAndTellsOfTheEnd) {
  RegisterTextRollLoops();
  form->skinMemo1->setPlainText("Kavri");
  form->ModeItems[2]->trigger();
  form->Play();
  EXPECT_EQ(form->Label18->text(), "Text rolling playing start...");
  ASSERT_TRUE(form->Timer2->isActive());
  bool drawn = false;
  for (int i = 0; i < 2000 && !drawn; ++i) {
    QuickPlayTickFlag.Raise();
    form->Timer2Timer();
    const QImage shown = form->Image1->pixmap().toImage();
    for (int y = 0; y < shown.height() && !drawn; y += 2)
      for (int x = 0; x < shown.width() && !drawn; x += 2) drawn = shown.pixel(x, y) != qRgb(0, 0, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(drawn);
  form->Stop();
  ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  form->Timer2Timer();
  EXPECT_EQ(form->Label18->text(), "Text play end.");
}

TEST_F(QuickPlayWindowThreads, IldModePlaysTheFramesOneTickEachAndEndsWithoutLoop) {
  RegisterQuickPlayLoops();
  FrameInterval = 40;
  SelectIlda("c.ild");
  form->ModeItems[1]->trigger();
  form->Play();
  EXPECT_EQ(form->Label18->text(), "ILDAimage Playing start...");
  // Frame k has k + 2 points. A tick goes only once the frame in hand was shown, so none is
  // skipped unseen.
  int next = 0;
  for (int i = 0; i < 3000 && WorkerRunningFlag; ++i) {
    if (PreviewDirtyFlag) {
      form->Timer2Timer();
      if (form->Label1->text().toInt() == next + 2) {
        ++next;
        QuickPlayTickFlag.Raise();
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_FALSE(WorkerRunningFlag);
  form->Timer2Timer();
  EXPECT_EQ(form->Label18->text(), "ILDA image play end.");
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_FALSE(form->Timer2->isActive());
  EXPECT_EQ(next, 3);
  // The frame clock runs at the settings' frame interval in this mode.
  form->Timer1Timer();
  EXPECT_EQ(form->Timer1->interval(), 40);
}

TEST_F(QuickPlayWindowThreads, NothingStartsWithoutSomethingToPlay) {
  FileListBox1Unselect();
  const uint32_t before = PlayController().RunNumber();
  form->Play();
  EXPECT_EQ(PlayController().RunNumber(), before);
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_NE(form->Label18->text(), "ready");  // the prepare step said why
}

TEST_F(QuickPlayWindowThreads, WhyAPlayCouldNotStartOutlivesTheEndOfTheRunItStopped) {
  form->Play();
  WaitForRuns(1);
  FileListBox1Unselect();
  form->Play();
  const std::string why = form->Label18->text().toStdString();
  EXPECT_NE(why, "Drawing playing start...");
  form->Timer2Timer();
  EXPECT_EQ(form->Label18->text().toStdString(), why);
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_FALSE(form->Timer2->isActive());
}

}  // namespace
}  // namespace kavri
