#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <memory>

#include "engine/play_threads.h"
#include "engine/section_file.h"
#include "engine/shared_state.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "platform/usb/usb_sim_driver.h"
#include "segments/file_list_commands.h"
#include "segments/segment_edit_window.h"
#include "segments/segment_play_state.h"
#include "tests/support/menu_item.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;

// A closed square of `colour` around the centre, side `side`.
void WriteSquare(const std::string& name, int side, uint8_t colour) {
  Drawing d;
  DrawingObject* o = d.AddObject();
  const int a = 128 - side / 2, b = 128 + side / 2;
  for (auto [x, y] : {std::pair{a, a}, {b, a}, {b, b}, {a, b}, {a, a}}) o->Add({x, y, 0, colour, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(DrawingFolder() + name, d, 1));
}

class SegmentEditWindow : public ::testing::Test {
 protected:
  SegmentEditWindow() : scope(dir.Path()) {
    ResetSharedState();
    ResetSegmentPlayState();
    EnsureContentFolders();
    WriteSquare("Big.ddr", 200, 2);
    WriteSquare("small.DDR", 60, 4);
    form = std::make_unique<TForm5>();
    form->FormCreate();
  }
  ~SegmentEditWindow() override {
    form.reset();
    ResetSegmentPlayState();
    ResetSharedState();
  }
  QString Cell(int col, int row) const { return form->skinStringGrid1->Cell(col, row); }
  void SelectDrawing(const std::string& name) {
    TFileList& list = form->FileListBox1->Files();
    list.SetItemIndex(list.IndexOf(name));
    form->FileListBox1->OnChange();  // as the box tells of the operator's pick
  }
  void AddRow(const std::string& drawing, const char* time) {
    SelectDrawing(drawing);
    form->skinEdit2->setText(time);
    form->BitBtn1->Click();
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
  std::unique_ptr<TForm5> form;
};

TEST_F(SegmentEditWindow, StartsWithTheCreationRowAndTheControlsAtTheirInitialValues) {
  EXPECT_EQ(form->skinStringGrid1->ColCount(), 19);
  EXPECT_EQ(form->skinStringGrid1->RowCount(), 2);
  EXPECT_EQ(Cell(0, 0), "Drawing name");
  EXPECT_EQ(Cell(18, 0), "R");
  EXPECT_EQ(form->skinStringGrid1->RowTexts(1).join("|"), "|500|0|0|0|0|0|0|0|0|0|257|20|0|30|0|30000|0|0");
  EXPECT_EQ(form->skinEdit1->text(), "NewSection");
  EXPECT_EQ(form->Label18->text(), "Auto creat a new segment.");
  EXPECT_EQ(form->findChild<QLabel*>("Label16")->text(), "50");
  EXPECT_EQ(form->findChild<QLabel*>("Label52")->text(), "20");
  EXPECT_EQ(form->findChild<QLabel*>("Label32")->text(), "0");
  EXPECT_EQ(SegmentLiveEffects.N.load(), 30);
  EXPECT_EQ(form->Label50->text(), "257");
  // The first drawing (case-blind order) is selected and previewed.
  EXPECT_EQ(form->FileListBox1->Files().SelectedName(), "Big.ddr");
  EXPECT_EQ(form->Label6->text(), "5");
}

TEST_F(SegmentEditWindow, AddFillsTheBlankRowThenAppendsWithTheSliderValues) {
  form->Slider('C')->SetPosition(90);
  form->Slider('Q')->SetPosition(-12);
  EXPECT_EQ(form->findChild<QLabel*>("Label10")->text(), "90");
  EXPECT_EQ(SegmentLiveEffects.C.load(), 90);
  AddRow("Big.ddr", "40");
  AddRow("small.DDR", "60");
  ASSERT_EQ(form->skinStringGrid1->RowCount(), 3);
  EXPECT_EQ(form->skinStringGrid1->RowTexts(1).join("|"), "Big.ddr|40|50|90|0|0|0|0|0|0|0|257|20|0|30|0|30000|-12|0");
  EXPECT_EQ(Cell(0, 2), "small.DDR");
  EXPECT_EQ(Cell(1, 2), "60");

  AddRow("Big.ddr", "abc");  // nothing changes; the standard error box says why
  EXPECT_EQ(form->skinStringGrid1->RowCount(), 3);
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back(), "'abc' is not a valid integer value");

  // A cell typed in the grid reaches the segment that is saved.
  form->skinStringGrid1->OnSetEditText(1, 2, "75");
  EXPECT_EQ(form->Segment().Cell(1, 2), "75");
  form->skinStringGrid1->SetRow(2);
  form->BitBtn2->Click();
  EXPECT_EQ(form->skinStringGrid1->RowCount(), 2);
  EXPECT_EQ(form->Label18->text(), QString::fromUtf8("移除一行"));
}

TEST_F(SegmentEditWindow, ColourPanelsMenusAndToolButtonTwinsSetTheSharedValues) {
  QAction* rnd2 = kavri_test::MenuItem(form->skinMainMenu1, "&Color", "Mutiple color alternate(Rnd2)(&E)");
  ASSERT_NE(rnd2, nullptr);
  rnd2->trigger();
  EXPECT_EQ(SegmentColourMode.load(), 259);
  EXPECT_EQ(form->Label50->text(), "259");
  EXPECT_EQ(form->ColourPanels->ChosenPanel(), 10);

  form->ToolButton10->Click();
  EXPECT_TRUE(PauseFlag.load());
  EXPECT_TRUE(form->PauseItem->isChecked());
  form->LoopItem->trigger();
  EXPECT_TRUE(LoopFlag.load());
  EXPECT_TRUE(form->ToolButton5->Down());
}

TEST_F(SegmentEditWindow, SelectingAGridRowPreviewsItsDrawingWithTheRowNumber) {
  AddRow("Big.ddr", "10");
  AddRow("small.DDR", "10");
  form->skinStringGrid1->SetRow(1);
  form->skinStringGrid1->SetRow(2);
  EXPECT_EQ(form->Label6->text(), "5");
  const QImage preview = form->Image2->pixmap().toImage();
  // The small square at half size: its left edge at x = 49, rows 49..79.
  EXPECT_NE(preview.pixelColor(49, 64), QColor(Qt::black));
  EXPECT_EQ(preview.pixelColor(12, 64), QColor(Qt::black));
}

TEST_F(SegmentEditWindow, SaveNewAndOpenGoThroughTheButtonsAndTheGridFollows) {
  AddRow("Big.ddr", "30");
  AddRow("small.DDR", "40");
  dialogs.inputAnswers.push_back(std::string("Pair"));
  form->BitBtn5->Click();
  EXPECT_EQ(form->skinEdit1->text(), "Pair.sec");
  EXPECT_EQ(form->Label18->text(), "The segment have saved.");

  dialogs.inputAnswers.push_back(std::string("Other"));
  form->BitBtn4->Click();
  EXPECT_EQ(form->skinEdit1->text(), "Other");
  EXPECT_EQ(form->skinStringGrid1->RowCount(), 2);
  EXPECT_EQ(form->skinStringGrid1->RowTexts(1).join("|"), "|0|0|0|0|0|0|0|0|0|0|0|20|0|30|0|30000|0|0");

  form->BitBtn17->Click();  // the saved segment is still selected in the list
  EXPECT_EQ(form->skinEdit1->text(), "Pair");
  ASSERT_EQ(form->skinStringGrid1->RowCount(), 3);
  EXPECT_EQ(Cell(0, 2), "small.DDR");
  EXPECT_EQ(Cell(1, 2), "40");
}

// The drawing-name column is 126 pixels wide; a long name widens it while the grid shows it, and
// New or the Open of a segment of short names gives the column its width back.
TEST_F(SegmentEditWindow, TheNameColumnIsAsWideAsItWasOnceTheLongNameHasGone) {
  EXPECT_EQ(form->skinStringGrid1->ColWidths(0), 126);
  AddRow("small.DDR", "40");
  dialogs.inputAnswers.push_back(std::string("Short"));
  form->BitBtn5->Click();
  const std::string longName = std::string(60, 'n') + ".ddr";
  WriteSquare(longName, 60, 4);
  form->FileListBox1->Files().Refresh();
  AddRow(longName, "30");
  ASSERT_EQ(Cell(0, 2).toStdString(), longName);
  EXPECT_GT(form->skinStringGrid1->ColWidths(0), 126);
  dialogs.inputAnswers.push_back(std::string("Other"));
  form->BitBtn4->Click();  // New
  ASSERT_EQ(form->skinEdit1->text(), "Other");
  EXPECT_EQ(form->skinStringGrid1->ColWidths(0), 126);
  AddRow(longName, "30");
  EXPECT_GT(form->skinStringGrid1->ColWidths(0), 126);
  TFileList& segments = form->FileListBox2->Files();
  segments.SetItemIndex(segments.IndexOf("Short.sec"));
  form->BitBtn17->Click();  // Open
  ASSERT_EQ(form->skinEdit1->text(), "Short");
  EXPECT_EQ(form->skinStringGrid1->ColWidths(0), 126);
}

// Records what the grid showed while each message box was up.
class GridWatchingDialogs : public kavri_test::RecordingDialogs {
 public:
  explicit GridWatchingDialogs(const std::unique_ptr<TForm5>& form) : form_(form) {}
  void ShowMessage(const std::string& text, TMessageKind kind) override {
    RecordingDialogs::ShowMessage(text, kind);
    rowsShown.push_back(form_->skinStringGrid1->RowCount());
  }
  std::vector<int> rowsShown;

 private:
  const std::unique_ptr<TForm5>& form_;
};

// A refused open leaves no false word and no emptied grid behind: the message line says why the
// file was not opened, and the grid shows the segment it showed, also while the refusal is up.
TEST_F(SegmentEditWindow, ARefusedOpenSaysSoInTheMessageLineAndTheGridKeepsItsRows) {
  AddRow("Big.ddr", "30");
  AddRow("small.DDR", "40");
  dialogs.inputAnswers.push_back(std::string("Pair"));
  form->BitBtn5->Click();
  ASSERT_EQ(form->Label18->text(), "The segment have saved.");
  std::string over;
  for (size_t i = 0; i <= kMaxSegmentRows; ++i) over += "a.ddr|1\r\n";
  kavri_test::WriteBytes(SectionFolder() + "over.sec", kavri_test::TextBytes(over));
  kavri_test::WriteBytes(SectionFolder() + "bad.sec", kavri_test::TextBytes("a.ddr|x\r\n"));
  const struct {
    const char* file;
    const char* words;
  } cases[] = {
      {"over.sec", "\"over.sec\" was not opened: it has 100001 lines, more than the 100000 that Segment Edit takes."},
      {"bad.sec", "'x' is not a valid integer value"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    GridWatchingDialogs watching(form);
    form->FileListBox2->Files().Update();
    form->FileListBox2->Files().SetItemIndex(form->FileListBox2->Files().IndexOf(c.file));
    form->BitBtn17->Click();
    ASSERT_EQ(watching.messages.size(), 1u);
    EXPECT_NE(watching.messages[0].find(c.words), std::string::npos) << watching.messages[0];
    EXPECT_EQ(watching.rowsShown, std::vector<int>{3});
    EXPECT_EQ(form->Label18->text().toStdString(), watching.messages[0]);
    EXPECT_EQ(form->skinEdit1->text(), "Pair.sec");
    ASSERT_EQ(form->skinStringGrid1->RowCount(), 3);
    EXPECT_EQ(Cell(0, 2), "small.DDR");
  }
  // The refusal was about that file: opening another takes it away, and Add brings it back no more.
  form->FileListBox2->Files().SetItemIndex(form->FileListBox2->Files().IndexOf("Pair.sec"));
  form->BitBtn17->Click();
  EXPECT_EQ(form->Label18->text(), "");
  AddRow("Big.ddr", "30");
  EXPECT_EQ(form->Label18->text(), "");
  // A refusal from the name box that every window shares says so too.
  form->Label18->setText("The segment have saved.");
  dialogs.messages.clear();
  dialogs.inputAnswers.push_back(std::string("../evil"));
  form->BitBtn16->Click();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{kRefusedNameText});
  EXPECT_EQ(form->Label18->text().toStdString(), kRefusedNameText);
}

TEST_F(SegmentEditWindow, SaveFromTheMenuTakesACellStillBeingTyped) {
  form->show();
  AddRow("Big.ddr", "30");
  TSkinStringGrid* grid = form->skinStringGrid1;
  grid->SetRow(1);
  grid->SetCol(1);
  grid->ShowEditor();
  QLineEdit* editor = grid->findChild<QLineEdit*>();
  ASSERT_TRUE(editor && editor->isVisible());
  editor->setText("75");
  QAction* save = kavri_test::MenuItem(form->skinMainMenu1, "&File", "Save segment(&S)");
  ASSERT_NE(save, nullptr);
  dialogs.inputAnswers.push_back(std::string("Typed"));
  save->trigger();
  EXPECT_EQ(form->Label18->text(), "The segment have saved.");
  TSectionList rows;
  ASSERT_TRUE(LoadSectionFile(SectionFolder() + "Typed.sec", rows, ProgramFolder()));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]->A, 75);
}

// A long cell shows its start in the grid, opens whole in the cell editor and is saved whole; the
// editor takes no more than a segment line has room for.
TEST_F(SegmentEditWindow, ALongCellIsEditedAndSavedWholeAndTheEditorTakesWhatALineHolds) {
  form->show();
  const std::string name = std::string(1000, 'n') + ".ddr";
  kavri_test::WriteBytes(SectionFolder() + "long.sec", kavri_test::TextBytes(name + "|" + std::string(600, ' ') + "5\r\n"));
  form->FileListBox2->Files().Update();
  form->FileListBox2->Files().SetItemIndex(form->FileListBox2->Files().IndexOf("long.sec"));
  form->BitBtn17->Click();
  ASSERT_EQ(form->skinStringGrid1->RowCount(), 2);
  EXPECT_EQ(Cell(0, 1), QString::fromStdString(name).left(256));
  TSkinStringGrid* grid = form->skinStringGrid1;
  grid->SetRow(1);
  grid->SetCol(0);
  grid->ShowEditor();
  QLineEdit* editor = grid->findChild<QLineEdit*>();
  ASSERT_TRUE(editor && editor->isVisible());
  EXPECT_EQ(editor->text().toStdString(), name);
  QTest::keyClick(editor, Qt::Key_Return);
  dialogs.inputAnswers.push_back(std::string("long"));
  form->BitBtn16->Click();
  EXPECT_EQ(form->Label18->text(), "Save as segment sucess.");
  TSectionList rows;
  ASSERT_TRUE(LoadSectionFile(SectionFolder() + "long.sec", rows, ProgramFolder()));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0]->name, name);
  EXPECT_EQ(rows[0]->A, 5);

  grid->ShowEditor();
  editor->setText(QString(static_cast<qsizetype>(kMaxTypedTextChars) + 10, QChar('7')));
  EXPECT_EQ(editor->text().size(), static_cast<qsizetype>(kMaxTypedTextChars));
}

class SegmentEditWindowThreads : public SegmentEditWindow {
 protected:
  SegmentEditWindowThreads() {
    sim = std::make_shared<TSimUsbDriver>("0");
    // Slow enough that the recorded frames reach back to the first row.
    sim->SetPointRate([] { return 20000.0; });
    SetActiveUsbDriver(sim);
    SetCurrentDeviceName("ezusb-0");
  }
  ~SegmentEditWindowThreads() override {
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    SetActiveUsbDriver(nullptr);
  }
  bool WaitForStatus(const QString& text, std::chrono::milliseconds limit = 5s) {
    return QTest::qWaitFor([&] { return form->Label18->text() == text; }, static_cast<int>(limit.count()));
  }
  // The first colour byte (red) of each bulk frame, in order; 0 for empty frames.
  std::vector<uint8_t> FrameReds() {
    std::vector<uint8_t> reds;
    for (const auto& p : sim->Packets())
      if (p.kind == TSimPacket::Bulk && p.bytes.size() >= 8) reds.push_back(p.bytes[4]);
    return reds;
  }
  std::shared_ptr<TSimUsbDriver> sim;
};

TEST_F(SegmentEditWindowThreads, PlayRunsTheSavedSegmentRowsInOrderAndReportsTheEnd) {
  AddRow("Big.ddr", "20");
  AddRow("small.DDR", "20");
  dialogs.inputAnswers.push_back(std::string("Show"));
  form->BitBtn5->Click();
  ASSERT_EQ(form->FileListBox2->Files().SelectedName(), "Show.sec");
  form->show();
  form->Play();
  EXPECT_EQ(form->Label18->text(), "Segment palying start...");
  ASSERT_TRUE(WaitForStatus("Segment playend."));
  EXPECT_FALSE(form->Timer1->isActive());
  // Add says nothing, so the end of play stands, not the word of the Save before it.
  AddRow("Big.ddr", "20");
  EXPECT_EQ(form->Label18->text(), "Segment playend.");
  // Red squares (colour 2) first, then green ones (colour 4), never back.
  const std::vector<uint8_t> reds = FrameReds();
  ASSERT_FALSE(reds.empty());
  const auto firstGreen = std::find(reds.begin(), reds.end(), 0);
  EXPECT_NE(reds.front(), 0);
  EXPECT_NE(firstGreen, reds.end());
  EXPECT_TRUE(std::all_of(firstGreen, reds.end(), [](uint8_t r) { return r == 0; }));
  // The preview shows the last row with its number.
  EXPECT_NE(form->Image1->pixmap().toImage().pixelColor(98, 128), QColor(Qt::black));
  ASSERT_TRUE(form->grab().save(QString::fromStdString(kavri_test::ArtifactPath("segment_edit_window.png"))));
}

TEST_F(SegmentEditWindowThreads, PlayDrawingRunsUntilStopWithTheLiveSliders) {
  SelectDrawing("small.DDR");
  form->Slider('Q')->SetPosition(-20);
  form->PlayDrawing();
  EXPECT_EQ(form->Label18->text(), "Drawing playing start...");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !FrameReds().empty(); }, 5000));
  QTest::qWait(400);  // the preview's first turn
  const QImage preview = form->Image1->pixmap().toImage();
  preview.save(QString::fromStdString(kavri_test::ArtifactPath("segment_edit_play_drawing_preview.png")));
  // The small square's left edge (98) shows moved by Q, which the preview adds.
  EXPECT_NE(preview.pixelColor(78, 128), QColor(Qt::black));
  form->ToolButton8->Click();
  ASSERT_TRUE(WaitForStatus("Drawing play end."));
  ASSERT_TRUE(form->grab().save(QString::fromStdString(kavri_test::ArtifactPath("segment_edit_play_drawing.png"))));
}

}  // namespace
}  // namespace kavri
