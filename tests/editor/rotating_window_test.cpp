#include "editor/rotating_window.h"

#include "editor/import_plt_window.h"
#include "shell/window_registry.h"

#include <QTest>

#include "tests/editor/editor_dialog_fixture.h"
#include "tests/editor/editor_fixture.h"

namespace kavri {
namespace {

using Places = std::vector<std::pair<int, int>>;

class RotatingWindowTest : public testing_editor::EditorDialogTest {
 protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    EditorDocument& doc = editor.Document();
    DrawingObject& object = *doc.EditorDrawing.AddObject();
    for (auto [x, y] : Places{{300, 100}, {400, 100}, {400, 200}}) object.Add(PointRecord{x, y, 0, 4, 0, 0});
    for (auto& p : object.Points()) doc.Select(p.get());
    doc.ResetHistory();
  }
  TForm3 form{&editor};
};

TEST_F(RotatingWindowTest, PreviewFollowsTheAngleAndTheDirection) {
  form.show();
  form.FormActivate();
  EXPECT_EQ(form.Angle(), 0);
  EXPECT_EQ(testing_editor::PlacesOf(form.PreviewList()), (Places{{300, 100}, {400, 100}, {400, 200}}));
  form.TrackBar1->SetPosition(90);
  EXPECT_EQ(form.Label1->text(), "90");
  EXPECT_EQ(testing_editor::PlacesOf(form.PreviewList()), (Places{{412, 300}, {412, 400}, {312, 400}}));
  form.skinCheckBox1->Click();
  form.TrackBar1->SetPosition(91);
  EXPECT_EQ(form.Angle(), -91);
  // A press on the preview moves the centre, at half scale.
  QTest::mouseClick(form.Image1, Qt::RightButton, Qt::NoModifier, QPoint(150, 50));
  EXPECT_EQ(form.CentreX(), 150);
  ASSERT_GE(form.PreviewList().Count(), 1u);
  EXPECT_EQ(form.PreviewList()[0].x, 300);
  EXPECT_EQ(form.PreviewList()[0].y, 100);
  form.TrackBar1->SetPosition(30);
  EXPECT_GT(LitPixels(form.Image1->Bitmap()), 150);
  SaveShot(form, "rotating_window.png");
  // Each activation starts again at 0 degrees and keeps the centre.
  form.FormActivate();
  EXPECT_EQ(form.TrackBar1->Position(), 0);
  EXPECT_EQ(form.Angle(), 0);
  EXPECT_EQ(form.CentreY(), 50);
}

TEST_F(RotatingWindowTest, OkTurnsTheSelectionAsOneUndoStepAndCancelLeavesIt) {
  form.show();
  form.FormActivate();
  form.TrackBar1->SetPosition(180);
  form.BitBtn2->Click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(editor.Document().ModifiedFlag);

  form.show();
  form.FormActivate();
  form.TrackBar1->SetPosition(180);
  form.BitBtn1->Click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(editor.Document().ModifiedFlag);
  ASSERT_GE(editor.Document().EditorDrawing.Count(), 1u);
  EXPECT_EQ(testing_editor::PlacesOf(editor.Document().EditorDrawing[0]),
            (Places{{212, 412}, {112, 412}, {112, 312}}));
  ASSERT_TRUE(editor.Document().Undo());
  ASSERT_GE(editor.Document().EditorDrawing.Count(), 1u);
  EXPECT_EQ(testing_editor::PlacesOf(editor.Document().EditorDrawing[0]),
            (Places{{300, 100}, {400, 100}, {400, 200}}));
}

TEST_F(RotatingWindowTest, NothingSelectedShowsOnlyTheCentre) {
  editor.Document().UnselectAll();
  form.FormActivate();
  EXPECT_EQ(form.PreviewList().Count(), 0u);
  EXPECT_EQ(LitPixels(form.Image1->Bitmap()), 16);  // the 5 x 5 hollow square
  form.BitBtn1->Click();
  ASSERT_GE(editor.Document().EditorDrawing.Count(), 1u);
  ASSERT_GE(editor.Document().EditorDrawing.Count(), 1u);
  EXPECT_EQ(testing_editor::PlacesOf(editor.Document().EditorDrawing[0]),
            (Places{{300, 100}, {400, 100}, {400, 200}}));
  EXPECT_FALSE(editor.Document().ModifiedFlag);
}

}  // namespace
}  // namespace kavri

namespace kavri {
namespace {

TEST_F(RotatingWindowTest, TheEditorsButtonsOpenTheRotationAndPlotterWindows) {
  TForm17 plt(&editor);
  RegisterWindow("Form3", &form);
  RegisterWindow("Form17", &plt);
  editor.BitBtn9->Click();
  editor.BitBtn5->Click();
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(plt.isVisible());
  UnregisterWindow("Form3");
  UnregisterWindow("Form17");
}

}  // namespace
}  // namespace kavri
