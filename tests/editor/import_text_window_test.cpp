#include "editor/import_text_window.h"

#include <QTest>

#include "editor/editor_texts.h"
#include "engine/shared_state.h"
#include "shell/window_registry.h"
#include "tests/editor/editor_dialog_fixture.h"
#include "tests/support/synthetic_glyph_source.h"

namespace kavri {
namespace {

class ImportTextWindowTest : public testing_editor::EditorDialogTest {
 protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    ImportTextLargeSize = 1;
    form = std::make_unique<TForm6>(&editor);
  }
  void TearDown() override { ImportTextLargeSize = 0; }
  void UseSquares() {
    auto source = std::make_unique<kavri_test::SyntheticGlyphSource>();
    for (char32_t c : std::u32string(U"abcT")) source->glyphs[c] = kavri_test::SyntheticGlyphSource::Square(8);
    form->SetGlyphSource(std::move(source));
  }
  std::unique_ptr<TForm6> form;
};

TEST_F(ImportTextWindowTest, TrackBarsShowTheirCellSizesAndAutoPreviewFollowsTheText) {
  EXPECT_EQ(form->windowTitle(), "Import Text");
  EXPECT_EQ(form->skinMemo1->toPlainText(), "Text");
  EXPECT_EQ(form->Font().family, "Arial");
  EXPECT_EQ(form->Label7->text(), "32");
  EXPECT_TRUE(form->skinCheckBox2->Checked());
  UseSquares();
  form->TrackBar2->SetPosition(4);
  EXPECT_EQ(form->Label10->text(), "4");
  EXPECT_EQ(form->Label7->text(), "64");
  form->skinTrackBar1->SetPosition(16);
  EXPECT_EQ(form->Label18->text(), "16");
  form->TrackBar1->SetPosition(0);
  form->skinMemo1->setPlainText("ab\nc");
  EXPECT_EQ(form->Outlines().Count(), 3u);
  EXPECT_EQ(form->Label6->text(), "15");
  EXPECT_GT(LitPixels(form->Image1->Bitmap()), 20);
  form->skinCheckBox1->Click();  // auto preview off
  form->skinMemo1->setPlainText("a");
  EXPECT_EQ(form->Outlines().Count(), 3u);
  form->skinCheckBox2->Click();
  EXPECT_EQ(ImportTextLargeSize.load(), 0);
}

TEST_F(ImportTextWindowTest, OkAddsTheTextAsTheSelectionAndChoosesSelectObject) {
  UseSquares();
  form->TrackBar1->SetPosition(0);
  form->skinMemo1->setPlainText("ab");
  form->show();
  const size_t steps = editor.Document().History().Count();
  form->BitBtn3->Click();
  EXPECT_FALSE(form->isVisible());
  const EditorDocument& doc = editor.Document();
  ASSERT_EQ(doc.EditorDrawing.Count(), 2u);
  EXPECT_EQ(doc.SelectionList().size(), 10u);
  EXPECT_EQ(doc.History().Count(), steps + 1);
  EXPECT_EQ(doc.EditorDrawing[0][0].x, 2 * 2);  // doubled to canvas scale
  EXPECT_EQ(editor.Tools().CurrentTool(), 21);
  EXPECT_EQ(editor.Label1->text(), "Select Object...");
  EXPECT_TRUE(editor.RedrawPending);

  // Blank text adds nothing and records nothing.
  form->skinMemo1->setPlainText("  \n ");
  form->BitBtn3->Click();
  EXPECT_EQ(doc.EditorDrawing.Count(), 2u);
  EXPECT_EQ(doc.History().Count(), steps + 1);
}

// A paste of many short lines builds only the lines an import takes, and says so once while the
// text stays that long; the point count is still that of the whole text.
TEST_F(ImportTextWindowTest, TextPastTheLineLimitIsCutBeforeBuildingAndSaidOnce) {
  UseSquares();
  form->TrackBar1->SetPosition(0);  // every square keeps its 5 points
  auto lines = [](size_t n, const QString& line = "a") {
    QString text;
    for (size_t i = 0; i < n; ++i) text += line + "\n";
    return text;
  };
  const struct {
    QString text;
    size_t objects;
    size_t points;
    size_t messagesAfter;
  } steps[] = {
      {lines(kMaxTextImportLines), kMaxTextImportLines, 5 * kMaxTextImportLines, 0},
      {lines(5000), kMaxTextImportLines, 5 * 5000, 1},
      {lines(5001), kMaxTextImportLines, 5 * 5001, 1},  // still cut: not said again
      {lines(3), 3, 15, 1},
      {lines(kMaxTextImportLines + 1), kMaxTextImportLines, 5 * (kMaxTextImportLines + 1), 2},
      // Past the lines built, a line counts only the 20 characters an import takes of it; a character
      // without a glyph ("x") counts none.
      {lines(149, "ab") + QString(30, 'T') + "\nx", 2 * kMaxTextImportLines, 10 * 149 + 5 * 20, 2},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text.size());
    form->skinMemo1->setPlainText(step.text);
    EXPECT_EQ(form->Outlines().Count(), step.objects);
    EXPECT_EQ(form->Label6->text(), QString::number(step.points));
    ASSERT_EQ(dialogs.messages.size(), step.messagesAfter);
    if (step.messagesAfter > 0) {
      EXPECT_EQ(dialogs.messages.back(), kTextImportCutText);
    }
  }
  form->show();
  form->BitBtn3->Click();
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_LE(editor.Document().EditorDrawing.Count(), kMaxTextImportLines);
}

TEST_F(ImportTextWindowTest, TheTKeyAndTheTextButtonOpenTheWindow) {
  RegisterWindow("Form6", form.get());
  editor.show();
  QTest::keyClick(&editor, Qt::Key_T);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(editor.Label1->text().toStdString(), std::string(editor_texts::kImportTextKey));
  form->hide();
  editor.BitBtn22->Click();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(editor.Label1->text().toStdString(), std::string(editor_texts::kImportTextButton));
  UnregisterWindow("Form6");
}

TEST_F(ImportTextWindowTest, RealFontPreview) {
  form->skinMemo1->setPlainText("Kavri 0.\n\u554A");
  form->show();
  EXPECT_EQ(form->Outlines().Count(), 7u);  // Arial lacks U+554A: no object for it, nor the blank
  EXPECT_GT(LitPixels(form->Image1->Bitmap()), 200);
  SaveShot(*form, "import_text_window.png");
  dialogs.fontAnswers.push_back(TFontChoice{"WenQuanYi Micro Hei"});
  form->BitBtn1->Click();
  form->PreviewText();
  EXPECT_EQ(form->Outlines().Count(), 8u);
  SaveShot(*form, "import_text_window_cjk.png");
}

}  // namespace
}  // namespace kavri
