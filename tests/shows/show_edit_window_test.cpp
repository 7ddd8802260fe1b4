#include "shows/show_edit_window.h"

#include <gtest/gtest.h>

#include <QFile>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "engine/ilda_file.h"
#include "engine/shared_state.h"
#include "platform/program_folder.h"
#include "platform/size_text.h"
#include "segments/file_list_commands.h"
#include "skin/skin_check_box.h"
#include "tests/support/menu_item.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::MenuItem;

struct TRecordingRunner : TShowRunner {
  std::vector<std::string>* calls;
  explicit TRecordingRunner(std::vector<std::string>* c) : calls(c) {}
  void Play() override { calls->push_back("play"); }
  void Stop() override { calls->push_back("stop"); }
  void ColourModeChosen(int32_t mode) override { calls->push_back("colour " + std::to_string(mode)); }
};

class ShowEditWindow : public ::testing::Test {
 protected:
  ShowEditWindow() : scope(dir.Path()) {
    ResetSharedState();
    EnsureContentFolders();
    Drawing square;
    DrawingObject* o = square.AddObject();
    for (auto [x, y] : {std::pair{20, 20}, {100, 20}, {100, 100}}) o->Add({x, y, 0, 2, 0, 0});
    EXPECT_TRUE(SaveDrawingFile(DrawingFolder() + "Square.ddr", square, 1));
    TILDAimage image;
    for (int f = 0; f < 3; ++f) {
      image.frames.push_back(std::make_unique<TILDAframe>());
      for (int p = 0; p <= f; ++p) image.frames.back()->points.push_back({p * 10, 0, 0, 1, 0, 0});
    }
    EXPECT_TRUE(WriteIldaFile(IldaFolder() + "beam.ild", image));
    form = std::make_unique<TForm8>();
    form->FormCreate();
    form->SetShowRunner(std::make_unique<TRecordingRunner>(&calls));
  }
  ~ShowEditWindow() override {
    form.reset();
    ResetSharedState();
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
  std::vector<std::string> calls;
  std::unique_ptr<TForm8> form;
};

TEST_F(ShowEditWindow, StartsWithABlankShowAndPreviewsTheFirstDrawing) {
  const char* headers[] = {"FileName", "FileName", "FimeName"};
  for (int t = 0; t < 3; ++t) {
    EXPECT_EQ(form->Grid(t)->objectName(), QString("SskinStringGrid%1").arg(t + 1));
    EXPECT_EQ(form->Grid(t)->Cell(0, 0), headers[t]);
    EXPECT_EQ(form->Grid(t)->Cell(1, 0), "Time");
    EXPECT_EQ(form->Grid(t)->RowTexts(1).join("|"), "|0");
  }
  EXPECT_EQ(form->skinEdit1->text(), "NewSequence");
  EXPECT_EQ(form->skinEdit2->text(), "100");
  EXPECT_EQ(form->Label18->text(), "Auto create a new show.");
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 0);
  EXPECT_EQ(form->ColourPanels->ChosenPanel(), 8);  // "Auto"
  EXPECT_EQ(form->FileListBox1->Files().SelectedName(), "Square.ddr");
  EXPECT_EQ(form->Label29->text(), "3");
  EXPECT_NE(form->Image2->pixmap().toImage().pixelColor(30, 10), QColor(Qt::black));
  EXPECT_EQ(calls, std::vector<std::string>{"colour 257"});
}

TEST_F(ShowEditWindow, TheEditTrackFollowsClicksAndFocusAndTheRowButtonsActOnIt) {
  form->show();
  dialogs.inputAnswers.push_back(std::string("gig"));
  form->BitBtn4->Click();
  EXPECT_EQ(form->skinEdit1->text(), "gig");
  EXPECT_EQ(form->Label18->text(), "Create a new show.");

  TSkinStringGrid* second = form->Grid(1);
  QTest::mouseClick(second, Qt::LeftButton, {}, second->CellRect(0, 1).center());
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 1);
  form->skinEdit2->setText("40");
  form->BitBtn1->Click();
  form->skinButton5->Click();  // the ILDA list's first image: its frame count
  EXPECT_EQ(second->RowTexts(1).join("|"), "square.ddr|40");
  EXPECT_EQ(second->RowTexts(2).join("|"), "beam.ild|3");
  EXPECT_EQ(form->Grid(0)->RowTexts(1).join("|"), "|0");

  QFocusEvent tabbedIn(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(form->Grid(2), &tabbedIn);
  EXPECT_EQ(form->skinRadioGroup1->ItemIndex(), 2);
  form->skinEdit2->setText("x");
  form->BitBtn1->Click();  // the standard error box, the grid unchanged
  EXPECT_EQ(form->Grid(2)->RowCount(), 2);
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back(), "'x' is not a valid integer value");
  form->BitBtn15->Click();
  EXPECT_EQ(form->Grid(2)->RowCount(), 2);

  QTest::mouseClick(second, Qt::LeftButton, {}, second->CellRect(0, 1).center());
  form->skinButton10->Click();  // Down
  EXPECT_EQ(second->RowTexts(2).join("|"), "square.ddr|40");
  EXPECT_EQ(second->Row(), 2);
  form->BitBtn2->Click();
  EXPECT_EQ(second->RowCount(), 2);
  EXPECT_EQ(form->Label18->text(), QString::fromUtf8("移除一行"));
}

TEST_F(ShowEditWindow, SaveFromTheMenuTakesACellStillBeingTyped) {
  form->show();
  dialogs.inputAnswers.push_back(std::string("gig"));
  form->BitBtn4->Click();
  TSkinStringGrid* grid = form->Grid(0);
  grid->SetCol(1);
  grid->ShowEditor();
  QLineEdit* editor = grid->findChild<QLineEdit*>();
  ASSERT_TRUE(editor && editor->isVisible());
  editor->setText("250");
  MenuItem(form->skinMainMenu1, "&File", "Save show(&S)")->trigger();
  EXPECT_EQ(form->Label18->text(), "Save show success.");
  EXPECT_EQ(kavri_test::ReadBytes(SequenceFolder() + "gig.seq"),
            kavri_test::TextBytes("[Music]\r\n\r\n[Track1]\r\n|250\r\n[Track2]\r\n|0\r\n[Track3]\r\n|0\r\n"));
}

// A refused open leaves no stale word in the message line: it says why the show was not opened,
// and name and grids stay as they were.
TEST_F(ShowEditWindow, ARefusedOpenSaysSoInTheMessageLineAndKeepsTheGrids) {
  dialogs.inputAnswers.push_back(std::string("gig"));
  form->BitBtn4->Click();
  form->BitBtn5->Click();
  ASSERT_EQ(form->Label18->text(), "Save show success.");
  std::string over = "[Music]\r\n\r\n[Track1]\r\n";
  for (size_t i = 0; i + 2 < kMaxShowLines; ++i) over += "a.ddr|1\r\n";
  kavri_test::WriteBytes(SequenceFolder() + "over.seq", kavri_test::TextBytes(over));
  kavri_test::WriteBytes(SequenceFolder() + "bad.seq", kavri_test::TextBytes("[Track1]\r\na.ddr|x\r\n"));
  const struct {
    const char* file;
    const char* words;
  } cases[] = {{"over.seq", "\"over.seq\" was not opened: it has 100001 lines, more than the 100000 that Show Edit takes."},
               {"bad.seq", "'x' is not a valid integer value"}};
  TFileList& shows = form->FileListBox4->Files();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    dialogs.messages.clear();
    shows.Update();
    shows.SetItemIndex(shows.IndexOf(c.file));
    form->BitBtn17->Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find(c.words), std::string::npos) << dialogs.messages[0];
    EXPECT_EQ(form->Label18->text().toStdString(), dialogs.messages[0]);
    EXPECT_EQ(form->skinEdit1->text(), "gig");
    EXPECT_EQ(form->Grid(0)->RowTexts(1).join("|"), "|0");
  }
  // The refusal was about that file: opening another takes it away, and a silent command after
  // brings it back no more.
  shows.SetItemIndex(shows.IndexOf("gig.seq"));
  form->BitBtn17->Click();
  EXPECT_EQ(form->Label18->text(), "");
  form->skinButton9->Click();
  EXPECT_EQ(form->Label18->text(), "");
  // A refusal from the name box that every window shares says so too.
  form->BitBtn5->Click();
  ASSERT_EQ(form->Label18->text(), "Save show success.");
  dialogs.messages.clear();
  dialogs.inputAnswers.push_back(std::string("../evil"));
  form->BitBtn16->Click();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{kRefusedNameText});
  EXPECT_EQ(form->Label18->text().toStdString(), kRefusedNameText);
}

// A long file name widens the name column past the grid: the name column stays in view, and a show
// of short names opened after it shows both columns from the left again.
TEST_F(ShowEditWindow, TheNameColumnStaysInViewAfterALongNameAndAfterOpen) {
  form->show();
  const std::string longName = std::string(60, 'l') + ".ddr";
  ASSERT_TRUE(QFile::copy(QString::fromStdString(DrawingFolder() + "Square.ddr"),
                          QString::fromStdString(DrawingFolder() + longName)));
  dialogs.inputAnswers.push_back(std::string("short"));
  form->BitBtn4->Click();
  form->BitBtn1->Click();  // Square.ddr, the list's first
  form->BitBtn5->Click();
  dialogs.inputAnswers.push_back(std::string("long"));
  form->BitBtn4->Click();
  TFileList& drawings = form->FileListBox1->Files();
  drawings.Update();
  drawings.SetItemIndex(drawings.IndexOf(longName));
  TSkinStringGrid* grid = form->Grid(0);
  const int shortWidth = grid->ColWidths(0);
  for (int i = 0; i < 2; ++i) form->BitBtn1->Click();
  grid->SetCol(1);  // the time of the long row, as a click on it does
  form->BitBtn1->Click();
  EXPECT_EQ(grid->LeftCol(), 0) << "the name column went out of view";
  TFileList& shows = form->FileListBox4->Files();
  shows.SetItemIndex(shows.IndexOf("short.seq"));
  form->BitBtn17->Click();
  ASSERT_EQ(grid->Cell(0, 1), "square.ddr");
  EXPECT_EQ(grid->LeftCol(), 0);
  EXPECT_EQ(grid->ColWidths(0), shortWidth);
}

TEST_F(ShowEditWindow, MenusColourPanelsAndTwinsAndThePlayHooks) {
  QAction* rnd2 = MenuItem(form->skinMainMenu1, "&Color", "Mutiple color alternate(Rnd2)(&E)");
  ASSERT_NE(rnd2, nullptr);
  rnd2->trigger();
  EXPECT_EQ(form->ColourPanels->ChosenPanel(), 10);
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), "colour 259");

  form->LoopItem->trigger();
  EXPECT_TRUE(form->ToolButton5->Down());
  EXPECT_TRUE(LoopFlag.load());
  form->ToolButton9->Click();
  EXPECT_TRUE(form->HInvertItem->isChecked());
  EXPECT_TRUE(HInvertFlag.load());

  calls.clear();
  MenuItem(form->skinMainMenu1, "&Run", "Play(&P)")->trigger();
  form->ToolButton8->Click();
  form->ToolButton1->Click();
  MenuItem(form->skinMainMenu1, "&Run", "Stop(&S)")->trigger();
  EXPECT_EQ(calls, (std::vector<std::string>{"play", "stop", "play", "stop"}));

  EXPECT_NE(MenuItem(form->skinMainMenu1, "&Help", QString::fromUtf8("关于(&A)...")), nullptr);
  EXPECT_NE(form->skinMainMenu1->WindowItem("Form5"), nullptr);
  form->show();
  MenuItem(form->skinMainMenu1, "&File", "Close(&C)")->trigger();
  EXPECT_FALSE(form->isVisible());
}

TEST_F(ShowEditWindow, TheIldaListShowsTheSizeAndAnimatesTheImageWhilePreviewIsTicked) {
  TFileList& ildas = form->FileListBox3->Files();
  ildas.SetItemIndex(ildas.IndexOf("beam.ild"));
  form->FileListBox3->OnChange();
  const TSizeText size = PathSizeText(IldaFolder() + "beam.ild");
  EXPECT_EQ(form->Label5->text().toStdString(), size.label);
  EXPECT_EQ(form->FileListBox3->toolTip().toStdString(), size.hint);
  EXPECT_FALSE(form->IldPreview().On());

  form->skinCheckBox1->Click();
  ASSERT_TRUE(form->IldPreview().On());
  std::vector<QString> points;
  for (int i = 0; i < 4; ++i) {
    form->Timer3Timer();
    points.push_back(form->Label6->text());
  }
  EXPECT_EQ(points, (std::vector<QString>{"1", "2", "3", "1"}));  // and round again after the last
  form->skinCheckBox1->Click();
  EXPECT_FALSE(form->IldPreview().On());
  form->Timer3Timer();
  EXPECT_EQ(form->Label6->text(), "1");  // the last frame drawn stays
}

// Delete moves the selection without a change event: the size shown must follow it.
TEST_F(ShowEditWindow, TheIldaSizeFollowsDeleteAndIsClearedWithTheLastImage) {
  TILDAimage bigger;
  bigger.frames.push_back(std::make_unique<TILDAframe>());
  for (int p = 0; p < 50; ++p) bigger.frames.back()->points.push_back({p, p, 0, 1, 0, 0});
  ASSERT_TRUE(WriteIldaFile(IldaFolder() + "wide.ild", bigger));
  TFileList& ildas = form->FileListBox3->Files();
  ildas.Refresh();
  ildas.SetItemIndex(ildas.IndexOf("beam.ild"));
  form->FileListBox3->OnChange();
  ASSERT_EQ(form->Label5->text().toStdString(), PathSizeText(IldaFolder() + "beam.ild").label);

  form->FileListBox3->OnDeleteKey();
  ASSERT_EQ(ildas.SelectedPath(), IldaFolder() + "wide.ild");
  EXPECT_EQ(form->Label5->text().toStdString(), PathSizeText(IldaFolder() + "wide.ild").label);
  form->FileListBox3->OnDeleteKey();
  EXPECT_EQ(ildas.Count(), 0);
  EXPECT_TRUE(form->Label5->text().isEmpty());
  EXPECT_TRUE(form->FileListBox3->toolTip().isEmpty());
}

}  // namespace
}  // namespace kavri
