#include "editor/import_plt_window.h"

#include "tests/editor/editor_dialog_fixture.h"

namespace kavri {
namespace {

class ImportPltWindowTest : public testing_editor::EditorDialogTest {
 protected:
  std::string WritePlt(const std::string& name, const std::string& text) {
    const std::string path = dir.Path(name);
    kavri_test::WriteBytes(path, kavri_test::TextBytes(text));
    return path;
  }
  TForm17 form{&editor};
};

TEST_F(ImportPltWindowTest, StartsWithItsDefaultsAndFindsAFile) {
  EXPECT_EQ(form.windowTitle(), "Import plt");
  EXPECT_EQ(form.Label1->text(), "5");
  EXPECT_EQ(form.Label7->text(), "20");
  form.TrackBar1->SetPosition(12);
  EXPECT_EQ(form.Label1->text(), "12");
  dialogs.fileAnswers.push_back("/x/a.plt");
  form.Button1->Click();
  EXPECT_EQ(form.Edit1->text(), "/x/a.plt");
  ASSERT_EQ(dialogs.fileRequests.size(), 1u);
  EXPECT_EQ(dialogs.fileRequests[0].filters, std::vector<std::string>{"HPGL plotter file(*.plt)"});
  dialogs.fileAnswers.push_back(std::nullopt);
  form.Button1->Click();
  EXPECT_EQ(form.Edit1->text(), "/x/a.plt");
}

TEST_F(ImportPltWindowTest, PreviewDrawsAtHalfSizeAndOkAddsTheSelectionInOneStep) {
  editor.Document().CurrentColor = 3;
  form.Edit1->setText(QString::fromStdString(
      WritePlt("star.plt", "IN;\nLT;\nPU0 0;\nPD400 400;\nPD0 400;\nPU200 0;\nPD400 0;\nLT;\nPU100 100;\nPD300 "
                           "300;\n")));
  form.show();
  form.BitBtn3->Click();
  EXPECT_EQ(form.Label5->text(), "7");
  EXPECT_GT(LitPixels(form.Image1->Bitmap()), 400);
  // The pen-up move from (0,110) to (200,510) is not drawn: nothing lit halfway along it.
  EXPECT_EQ(form.Image1->Bitmap().pixel(50, 155) & 0xFFFFFF, 0u);
  SaveShot(form, "import_plt_window.png");

  const size_t steps = editor.Document().History().Count();
  form.BitBtn1->Click();
  EXPECT_FALSE(form.isVisible());
  const EditorDocument& doc = editor.Document();
  ASSERT_EQ(doc.EditorDrawing.Count(), 2u);
  EXPECT_EQ(doc.SelectionList().size(), 7u);
  EXPECT_EQ(doc.EditorDrawing[0][0].colour, 3);
  EXPECT_EQ(doc.History().Count(), steps + 1);
  EXPECT_EQ(editor.Label6->text(), "7");
  EXPECT_TRUE(form.ImportList.Empty());
}

// An import that grows the drawing past what a drawing file may hold says so at once, not first
// when the operator saves.
TEST_F(ImportPltWindowTest, AnImportPastTheDrawingFileLimitIsSaidAtTheImport) {
  form.TrackBar1->SetPosition(0);
  form.Edit1->setText(QString::fromStdString(WritePlt("three.plt", "LT;\nPU0 0;\nPD9 9;\nPD20 0;\nSP0;\n")));
  const size_t imported = 3;
  const std::string limitText = "more than the " + std::to_string(kMaxDrawingPoints) + " a drawing file may hold";
  for (const size_t before : {kMaxDrawingPoints - imported, kMaxDrawingPoints - imported + 1}) {
    SCOPED_TRACE(before);
    Drawing& drawing = editor.Document().EditorDrawing;
    editor.Document().UnselectAll();  // the last import's points are selected
    drawing.Clear();
    DrawingObject* object = drawing.AddObject();
    for (size_t i = 0; i < before; ++i) object->Add(PointRecord{1, 1, 0, 4, 0, 0});
    dialogs.messages.clear();
    editor.Label1->clear();
    form.BitBtn1->Click();
    ASSERT_EQ(drawing.PointCount(), before + imported);
    const bool tooLarge = before + imported > kMaxDrawingPoints;
    ASSERT_EQ(dialogs.messages.size(), tooLarge ? 1u : 0u);
    if (tooLarge) {
      EXPECT_NE(dialogs.messages[0].find(limitText), std::string::npos) << dialogs.messages[0];
      EXPECT_EQ(editor.Label1->text().toStdString(), dialogs.messages[0]);
    }
  }
}

TEST_F(ImportPltWindowTest, ABadNumberKeepsTheDialogOpenAndTheEditorUnchanged) {
  form.Edit1->setText(QString::fromStdString(WritePlt("good.plt", "LT;\nPU0 0;\nPD9 9;\n")));
  form.BitBtn3->Click();
  ASSERT_EQ(form.ImportList.Count(), 1u);
  form.Edit1->setText(QString::fromStdString(WritePlt("bad.plt", "LT;\nPU0 0;\nPD1 1;\nLT;\nPD1,1;\n")));
  form.show();
  form.BitBtn1->Click();
  EXPECT_TRUE(form.isVisible());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "'1,1;' is not a valid integer value");
  EXPECT_TRUE(editor.Document().EditorDrawing.Empty());
  EXPECT_FALSE(editor.Document().ModifiedFlag);
}

TEST_F(ImportPltWindowTest, AFileWithoutBlocksAddsNothingFromAnEarlierPreview) {
  form.Edit1->setText(QString::fromStdString(WritePlt("good.plt", "LT;\nPU0 0;\nPD9 9;\n")));
  form.BitBtn3->Click();
  form.Edit1->setText(QString::fromStdString(WritePlt("none.plt", "IN;\nPU0 0;\nPD9 9;\n")));
  form.show();
  form.BitBtn1->Click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(editor.Document().EditorDrawing.Empty());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{kNoPlotterLinesText});
}

// A file that gives no point says so, and which form is read, instead of a silent count of 0.
TEST_F(ImportPltWindowTest, AFileWithoutPointsSaysWhichFormIsRead) {
  const struct {
    const char* name;
    const char* text;
  } cases[] = {{"comma.plt", "IN;SP1;PU1000,1000;PD2000,2000;PD1000,2000;SP0;\n"},
               {"commas.plt", "IN;\nSP1;\nPU1000,1000;\nPD2000,2000;\nSP0;\n"},
               {"blocks.plt", "IN;\nLT;\nSP1;\nLT;\nSP0;\n"},
               {"empty.plt", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.messages.clear();
    form.Label5->setText("x");
    form.Edit1->setText(QString::fromStdString(WritePlt(c.name, c.text)));
    form.BitBtn3->Click();
    EXPECT_EQ(form.Label5->text(), "0");
    // The words themselves, here only: the end-to-end check draws its box from the code's text.
    EXPECT_EQ(dialogs.messages,
              std::vector<std::string>{
                  "No plotter lines were found in this file. It is read one command per line: a line starting "
                  "with \"LT\" starts a block, and lines such as \"PU1200 3400;\" and \"PD1200 3400;\" give its "
                  "points."});
  }
  // A file with points says nothing.
  dialogs.messages.clear();
  form.Edit1->setText(QString::fromStdString(WritePlt("good.plt", "LT;\nPU0 0;\nPD9 9;\n")));
  form.BitBtn3->Click();
  EXPECT_EQ(form.Label5->text(), "2");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ImportPltWindowTest, AMissingFileChangesNothingAndOkOnlyCloses) {
  form.Edit1->setText(QString::fromStdString(dir.Path("missing.plt")));
  form.show();
  form.BitBtn3->Click();
  EXPECT_EQ(form.Label5->text(), "0");
  form.BitBtn1->Click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(editor.Document().EditorDrawing.Empty());
}

}  // namespace
}  // namespace kavri
