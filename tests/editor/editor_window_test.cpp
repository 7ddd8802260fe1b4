#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QTest>
#include <filesystem>

#include "editor/editor_texts.h"
#include "editor/editor_window.h"
#include "platform/program_folder.h"
#include "shell/file_name_rule.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::RecordingDialogs;

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A test's mouse move is a move of the pointer: one to where an earlier test left it moves
    // nothing, and the canvas never sees it.
    QCursor::setPos(0, 0);
    QCoreApplication::processEvents();
    ASSERT_TRUE(EnsureContentFolders());
    form.FormCreate(Settings());
    Form1 = &form;
  }
  void TearDown() override { Form1 = nullptr; }

  static TSettingsLines Settings() {
    TSettingsLines lines(44);
    lines[9] = "7";   // point space
    lines[11] = "5";  // polygon sides
    return lines;
  }
  void Click(int x, int y) { QTest::mouseClick(form.Image90, Qt::LeftButton, Qt::NoModifier, QPoint(x, y)); }
  void DrawLine() {
    form.ToolButtons[0].button->Click();  // 2P Line
    Click(20, 30);
    Click(200, 30);
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope{dir.Path()};
  TForm1 form;
};

TEST_F(EditorWindowTest, StartsEmptyAndDrawsALineFromTwoCanvasClicks) {
  EXPECT_EQ(form.windowTitle(), "Picure Edit");
  EXPECT_EQ(form.Label1->text(), "Auto create a new drawing.");
  EXPECT_EQ(form.Label8->text(), "newdrawing");
  EXPECT_EQ(form.Label6->text(), "0");
  EXPECT_EQ(form.Edit2->text(), "7");
  EXPECT_EQ(form.UpDown1->Position(), 5);
  form.show();
  DrawLine();
  EXPECT_EQ(form.Label1->text().toStdString(), std::string(editor_texts::ToolChosen(1)));
  EXPECT_EQ(form.Label6->text(), "2");
  EXPECT_EQ(form.Label2->text(), "200");
  EXPECT_TRUE(form.Document().ModifiedFlag);
  form.adjustSize();
  ASSERT_TRUE(form.grab().save(QString::fromStdString(kavri_test::ArtifactPath("editor_window.png"))));
}

TEST_F(EditorWindowTest, CloseAsksAboutAnUnsavedDrawingAndAFailedSaveKeepsIt) {
  RecordingDialogs dialogs;
  form.show();
  DrawLine();
  dialogs.confirmAnswers = {TDialogAnswer::Cancel, TDialogAnswer::Yes};
  dialogs.fileAnswers = {std::nullopt};  // Yes, then the save dialog is cancelled
  EXPECT_FALSE(form.close());
  EXPECT_FALSE(form.CanCloseFlag);
  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(dialogs.confirmTitles, (std::vector<std::string>{"Picure Edit", "Picure Edit"}));
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].folder, DrawingFolder());
  EXPECT_EQ(dialogs.fileRequests[0].defaultSuffix, "ddr");

  // A save that fails says why and keeps the drawing unsaved.
  dialogs.confirmAnswers = {TDialogAnswer::Yes};
  dialogs.fileAnswers = {dir.Path("no-such-folder/a.ddr")};
  EXPECT_FALSE(form.close());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("The drawing was not saved."), std::string::npos) << dialogs.messages[0];
  EXPECT_TRUE(form.Document().ModifiedFlag);
  EXPECT_EQ(form.Label8->text(), "newdrawing");

  // New after Yes and a cancelled save goes no further either.
  dialogs.confirmAnswers = {TDialogAnswer::Yes};
  dialogs.fileAnswers = {std::nullopt};
  form.New();
  EXPECT_EQ(form.Document().EditorDrawing.PointCount(), 2u);

  dialogs.confirmAnswers = {TDialogAnswer::No};
  EXPECT_TRUE(form.close());
  EXPECT_TRUE(form.CanCloseFlag);
}

TEST_F(EditorWindowTest, SaveAsksForANameOnceThenWritesTheSameFile) {
  RecordingDialogs dialogs;
  form.show();
  DrawLine();
  const std::string path = DrawingFolder() + "line.ddr";
  dialogs.fileAnswers = {path};
  ASSERT_TRUE(form.Save());
  EXPECT_EQ(form.Label8->text(), "line.ddr");
  EXPECT_FALSE(form.Document().ModifiedFlag);
  // 2P line from (20, 30) to (200, 30), halved: kinds 2 then 0, the first blanked.
  EXPECT_EQ(kavri_test::ReadBytes(path), (std::vector<uint8_t>{10, 15, 2, 4, 1, 100, 15, 0, 4, 0x80}));
  Click(20, 100);
  Click(60, 100);
  ASSERT_TRUE(form.Save());
  EXPECT_EQ(dialogs.fileRequests.size(), 1u);  // no second question
  EXPECT_EQ(kavri_test::ReadBytes(path).size(), 20u);
}

// What the editor saves, the drawing reader opens: the largest drawing a file may hold is saved
// and read back whole; one point more, or a name no list shows, is refused with the old file kept.
TEST_F(EditorWindowTest, SaveWritesOnlyWhatTheReaderOpensAndKeepsTheOldFileOtherwise) {
  RecordingDialogs dialogs;
  const std::string limitText = "more than the " + std::to_string(kMaxDrawingPoints) + " a drawing file may hold";
  const struct {
    const char* name;
    size_t points;
    bool saveAs;
    bool saved;
    std::string message;  // part of the box and the message line; "" when saved
    size_t fileBytesAfter;
  } cases[] = {
      {"most.ddr", kMaxDrawingPoints, true, true, "", kMaxDrawingPoints * 5},
      {"most.ddr", kMaxDrawingPoints + 1, false, false, limitText, kMaxDrawingPoints * 5},
      {"most.ddr", kMaxDrawingPoints + 1, true, false, limitText, kMaxDrawingPoints * 5},
      {".x.ddr", 2, true, false, kRefusedNameText, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.points));
    Drawing& drawing = form.Document().EditorDrawing;
    drawing.Clear();
    for (size_t n = 0; n < c.points; n += 1024) {
      DrawingObject* object = drawing.AddObject();
      for (size_t i = n; i < std::min(c.points, n + 1024); ++i)
        object->Add(PointRecord{static_cast<int32_t>(i % 511), static_cast<int32_t>(i / 511 % 511), 0, 4, 0, 0});
    }
    form.Document().ModifiedFlag = true;
    dialogs.messages.clear();
    const std::string path = DrawingFolder() + c.name;
    dialogs.fileAnswers = {path};
    EXPECT_EQ(c.saveAs ? form.SaveAs() : form.Save(), c.saved);
    EXPECT_EQ(form.Document().ModifiedFlag, !c.saved);
    std::error_code noFile;
    const uintmax_t bytes = std::filesystem::file_size(path, noFile);
    EXPECT_EQ(noFile ? 0 : bytes, c.fileBytesAfter);
    if (c.saved) {
      EXPECT_TRUE(dialogs.messages.empty());
      Drawing back;
      ASSERT_TRUE(LoadDrawingFile(path, back, 2));
      EXPECT_EQ(back.PointCount(), c.points);
      EXPECT_EQ(back.Count(), drawing.Count());
    } else {
      ASSERT_EQ(dialogs.messages.size(), 1u);
      EXPECT_NE(dialogs.messages[0].find(c.message), std::string::npos) << dialogs.messages[0];
      EXPECT_EQ(form.Label1->text().toStdString(), dialogs.messages[0]);
    }
  }
}

TEST_F(EditorWindowTest, OpenDrawingInEditorAsksFirstAndLoads) {
  RecordingDialogs dialogs;
  const std::string path = DrawingFolder() + "two.ddr";
  kavri_test::WriteBytes(path, {1, 2, 2, 4, 1, 3, 4, 0, 4, 0x80});
  form.show();
  DrawLine();
  dialogs.confirmAnswers = {TDialogAnswer::Cancel};
  EXPECT_FALSE(OpenDrawingInEditor(path));
  EXPECT_EQ(form.Document().EditorDrawing.PointCount(), 2u);
  ASSERT_GE(form.Document().EditorDrawing.Count(), 1u);
  EXPECT_EQ(form.Document().EditorDrawing[0][1].x, 200);  // still the drawn line

  dialogs.confirmAnswers = {TDialogAnswer::No};
  ASSERT_TRUE(OpenDrawingInEditor(path));
  EXPECT_FALSE(form.Document().ModifiedFlag);
  ASSERT_GE(form.Document().EditorDrawing.Count(), 1u);
  EXPECT_EQ(form.Document().EditorDrawing[0][1].x, 6);  // at the editor's scale
  EXPECT_EQ(form.Label8->text(), "two.ddr");
  EXPECT_TRUE(form.RedrawPending);
  form.Timer3Timer();
  EXPECT_EQ(form.Label6->text(), "2");

  Form1 = nullptr;
  EXPECT_FALSE(OpenDrawingInEditor(path));
}

TEST_F(EditorWindowTest, NumberFieldsParseSafelyAndHoldTheirRanges) {
  struct Case {
    const char* typed;
    const char* shown;
  };
  for (const Case& c : std::vector<Case>{{"0", "1"}, {"99999999999", "1"}, {"12", "12"}, {"abc", "12"},
                                         {"", "12"}, {"9999", "510"}}) {
    form.Edit2->setText(c.typed);
    emit form.Edit2->editingFinished();
    EXPECT_EQ(form.Edit2->text(), c.shown) << c.typed;
  }
  EXPECT_EQ(form.Document().PointSpace, 510);
  EXPECT_EQ(form.UpDown2->Position(), 510);
  form.Edit1->setText("2");
  emit form.Edit1->editingFinished();
  EXPECT_EQ(form.Document().PolygonSides, 3);
  form.UpDown1->Click(TUDBtnType::btNext);
  EXPECT_EQ(form.Edit1->text(), "4");
}

// Another window has the focus: a pass over the canvas of the waiting tool takes nothing back.
TEST_F(EditorWindowTest, InactiveEditorNeverTakesTheMouseBack) {
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.ToolButtons[0].button->Click();
  Click(20, 30);
  ASSERT_TRUE(form.Image90->Confined());
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_FALSE(form.Image90->Confined());
  QTest::mouseMove(form.Image90, QPoint(50, 60));
  EXPECT_EQ(form.Label17->text(), "50");  // the move was seen
  EXPECT_FALSE(form.Image90->Confined());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(EditorWindowTest, EscCancelsTheToolsPressesAndReleasesTheMouse) {
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.ToolButtons[0].button->Click();
  Click(20, 30);  // one press pending: the canvas holds the mouse
  EXPECT_TRUE(form.Image90->Confined());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // where the active window's keys go
  EXPECT_FALSE(form.Image90->Confined());
  EXPECT_EQ(form.Label1->text().toStdString(), std::string(editor_texts::kEscape));
  Click(100, 100);
  EXPECT_EQ(form.Label6->text(), "0");  // Esc leaves no tool
  form.ToolButtons[0].button->Click();
  Click(100, 100);
  Click(120, 100);
  EXPECT_EQ(form.Label6->text(), "2");  // a fresh line, not one from the cancelled press
  ASSERT_GE(form.Document().EditorDrawing.Count(), 1u);
  EXPECT_EQ(form.Document().EditorDrawing[0][0].x, 100);
}

}  // namespace
}  // namespace kavri

namespace kavri {
namespace {

TEST_F(EditorWindowTest, PaletteCellsAndKeysAsTheOperatorUsesThem) {
  form.SelectPaletteCell(1, 5);
  EXPECT_EQ(form.Document().CurrentColor, 69);
  EXPECT_EQ(form.Label34->text(), "69");
  EXPECT_EQ(form.Label13->text() + "," + form.Label22->text() + "," + form.Label24->text(), "255,128,186");

  struct KeyCase {
    Qt::Key key;
    int tool;
    Qt::KeyboardModifiers modifiers;
  };
  for (const KeyCase& c : std::vector<KeyCase>{{Qt::Key_A, 3, Qt::NoModifier}, {Qt::Key_B, 25, Qt::ShiftModifier},
                                               {Qt::Key_C, 4, Qt::ControlModifier}, {Qt::Key_L, 1, Qt::NoModifier},
                                               {Qt::Key_M, 26, Qt::NoModifier}, {Qt::Key_O, 21, Qt::NoModifier},
                                               {Qt::Key_P, 9, Qt::NoModifier}, {Qt::Key_R, 5, Qt::NoModifier},
                                               {Qt::Key_S, 20, Qt::NoModifier}, {Qt::Key_X, 25, Qt::NoModifier},
                                               {Qt::Key_Z, 27, Qt::NoModifier}}) {
    QTest::keyClick(&form, c.key, c.modifiers);
    EXPECT_EQ(form.Tools().CurrentTool(), c.tool) << QKeySequence(c.key).toString().toStdString();
    const std::string text = form.Label1->text().toStdString();
    EXPECT_EQ(text.substr(0, 3), QKeySequence(c.key).toString().toStdString() + " _") << text;
  }
  QTest::keyClick(&form, Qt::Key_A, Qt::AltModifier);  // the menus' accelerator, not the Arc tool
  EXPECT_EQ(form.Tools().CurrentTool(), 27);
  QTest::keyClick(&form, Qt::Key_U);
  EXPECT_EQ(form.Label1->text(), "U _undo, no action can be undo.");
  QTest::keyClick(&form, Qt::Key_E);  // erase with nothing selected still records a step
  EXPECT_EQ(form.Label1->text(), "E _erase,Delete selected objects.");
  QTest::keyClick(&form, Qt::Key_U);
  EXPECT_EQ(form.Label1->text(), "U _undo,one action be undo.");
}

TEST_F(EditorWindowTest, OpeningAMissingFileOrCancellingChangesNothing) {
  RecordingDialogs dialogs;
  form.show();
  DrawLine();
  dialogs.confirmAnswers = {TDialogAnswer::No, TDialogAnswer::No};
  dialogs.fileAnswers = {DrawingFolder() + "missing.ddr", std::nullopt};
  form.Open();
  form.Open();
  EXPECT_EQ(form.Document().EditorDrawing.PointCount(), 2u);
  EXPECT_EQ(form.Label8->text(), "newdrawing");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.fileRequests.at(0).folder, DrawingFolder());
}

}  // namespace
}  // namespace kavri

namespace kavri {
namespace {

// What the window shows of the current colour: red, green, blue, index and the panel's colour.
std::string ColourShown(const TForm1& form) {
  return (form.Label13->text() + "," + form.Label22->text() + "," + form.Label24->text() + " #" +
          form.Label34->text() + " " + form.Panel1->palette().color(QPalette::Window).name())
      .toStdString();
}

TEST_F(EditorWindowTest, DropperShowsThePickedColourAsAPaletteClickDoes) {
  form.show();
  form.SelectPaletteCell(1, 5);
  const std::string shownFor69 = ColourShown(form);
  EXPECT_EQ(shownFor69, "255,128,186 #69 #ff80ba");
  DrawLine();  // in colour 69
  form.SelectPaletteCell(0, 4);
  ASSERT_NE(ColourShown(form), shownFor69);
  form.ToolButtons[17].button->Click();  // Dropper
  Click(100, 31);
  EXPECT_EQ(form.Document().CurrentColor, 69);
  EXPECT_EQ(ColourShown(form), shownFor69);
  Click(100, 300);  // nothing there: the colour stays
  EXPECT_EQ(form.Document().CurrentColor, 69);
  EXPECT_EQ(ColourShown(form), shownFor69);
}

TEST_F(EditorWindowTest, NumberFieldsTakeOnlyDigitsEnterAndBackspaceWhileLettersStillChooseTools) {
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  struct Case {
    const char* typed;  // "\b" is Backspace
    const char* shown;
    int tool;  // the window still sees the letters
  };
  for (const Case& c : std::vector<Case>{{"7a", "7", 3}, {"12 3", "123", 3}, {"4-5l", "45", 1}, {"x9.", "9", 25},
                                         {"86\bz", "8", 27}}) {
    for (TSkinEdit* field : {form.Edit2, form.Edit1}) {
      field->setFocus();
      ASSERT_EQ(QApplication::focusWidget(), field);
      field->clear();
      QTest::keyClicks(field, c.typed);
      QTest::keyClick(field, Qt::Key_Return);
      EXPECT_EQ(field->text().toStdString(), c.shown) << c.typed;
      EXPECT_EQ(form.Tools().CurrentTool(), c.tool) << c.typed;
    }
    EXPECT_EQ(form.Document().PointSpace, std::stoi(c.shown)) << c.typed;
  }
  EXPECT_EQ(form.Document().PolygonSides, 8);
  // With the canvas focused the letters choose tools as before.
  form.Image90->setFocus();
  QTest::keyClick(form.Image90, Qt::Key_S);
  EXPECT_EQ(form.Tools().CurrentTool(), 20);
}

TEST_F(EditorWindowTest, SelectionBoxIsDrawnUnderTheObjects) {
  form.show();
  DrawLine();  // along row 30, from x 20 to 200
  form.ToolButtons[9].button->Click();  // Select Point
  const QImage before = form.Image90->grab().toImage();
  Click(100, 30);  // no point in reach: the box's first corner
  QTest::mouseMove(form.Image90, QPoint(150, 80));
  const QImage shown = form.Image90->grab().toImage();
  int redOnTheLeftSide = 0;
  for (int y = 31; y < 80; ++y) redOnTheLeftSide += shown.pixel(100, y) == qRgb(255, 0, 0);
  EXPECT_GT(redOnTheLeftSide, 0);
  // Where the box's top side runs along the line, the line shows.
  int hidden = 0;
  for (int x = 100; x < 150; ++x) hidden += shown.pixel(x, 30) != before.pixel(x, 30);
  EXPECT_EQ(hidden, 0);
  ASSERT_TRUE(shown.save(QString::fromStdString(kavri_test::ArtifactPath("editor_selection_box.png"))));
}

}  // namespace
}  // namespace kavri
