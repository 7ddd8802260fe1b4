#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <memory>

#include "engine/colour_tables.h"
#include "engine/ilda_file.h"
#include "engine/section_file.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "platform/size_text.h"
#include "segments/converter_lists.h"
#include "segments/converter_window.h"
#include "shell/file_name_rule.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

void WriteSquare(const std::string& path, int side, uint8_t colour) {
  Drawing d;
  DrawingObject* o = d.AddObject();
  const int a = 128 - side / 2, b = 128 + side / 2;
  for (auto [x, y] : {std::pair{a, a}, {b, a}, {b, b}, {a, b}, {a, a}}) o->Add({x, y, 0, colour, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(path, d, 1));
}

// Frame k (from 0) is a diagonal line of k + 2 points in ILDA colour `colour`.
void WriteIlda(const std::string& path, int frames, uint8_t colour) {
  TILDAimage image;
  for (int k = 0; k < frames; ++k) {
    auto frame = std::make_unique<TILDAframe>();
    for (int i = 0; i < k + 2; ++i) frame->points.push_back({-100 + 40 * i, -100 + 40 * i, 0, colour, 0, 0});
    image.frames.push_back(std::move(frame));
  }
  ASSERT_TRUE(WriteIldaFile(path, image));
}

TEST(ConverterList, KeepsTheOperatorsOrderAndIgnoresMovesWithoutACurrentItem) {
  TConverterList list;
  EXPECT_FALSE(list.RemoveCurrent());
  EXPECT_FALSE(list.Up());
  EXPECT_FALSE(list.Down());
  list.Insert({"/d/a.ddr", "/d/b.ddr"});  // an empty list appends
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"a.ddr", "b.ddr"}));
  EXPECT_EQ(list.Current(), 1);
  list.Insert({"/d/c.ddr", "/d/e.ddr"});  // before b, which stays current
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"a.ddr", "c.ddr", "e.ddr", "b.ddr"}));
  EXPECT_EQ(list.Current(), 3);
  EXPECT_FALSE(list.Down());  // already the last
  EXPECT_TRUE(list.Up());
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"a.ddr", "c.ddr", "b.ddr", "e.ddr"}));
  EXPECT_EQ(list.Current(), 2);
  list.SetCurrent(-1);
  list.Insert({"/d/f.ddr"});  // no current item: before the first
  ASSERT_FALSE(list.Names().empty());
  EXPECT_EQ(list.Names().front(), "f.ddr");
  list.SetCurrent(0);
  EXPECT_FALSE(list.Up());
  list.SetCurrent(4);
  EXPECT_TRUE(list.RemoveCurrent());  // the last went: the new last is current
  EXPECT_EQ(list.Current(), 3);
  list.Remove({3, 0, 3});
  EXPECT_EQ(list.Paths(), (std::vector<std::string>{"/d/a.ddr", "/d/c.ddr"}));
  EXPECT_EQ(list.Current(), -1);
  EXPECT_FALSE(list.RemoveCurrent());
  EXPECT_EQ(list.Count(), 2);
}

class ConverterWindow : public ::testing::Test {
 protected:
  ConverterWindow() : scope(dir.Path()) {
    EnsureContentFolders();
    WriteSquare(DrawingFolder() + "big.DDR", 200, 2);
    WriteSquare(DrawingFolder() + "Small.ddr", 60, 4);
    WriteSquare(DrawingFolder() + "mid.ddr", 120, 3);
    WriteIlda(IldaFolder() + "Three.ILD", 3, 1);
    WriteIlda(IldaFolder() + "one.ild", 1, 3);
    form = std::make_unique<TForm9>();
    form->FormCreate();
  }
  void SelectDrawings(const std::vector<std::string>& names) {
    TFileList& list = form->FileListBox1->Files();
    for (int i = 0; i < list.Count(); ++i) list.SetSelected(i, false);
    for (const std::string& name : names) list.SetSelected(list.IndexOf(name), true);
  }
  QStringList Shown(TSkinListBox* box) const {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->item(i)->text();
    return items;
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
  std::unique_ptr<TForm9> form;
};

TEST_F(ConverterWindow, ListsFillCaseBlindAndTheConvertListKeepsItsOrder) {
  EXPECT_EQ(form->FileListBox1->Files().Items(), (std::vector<std::string>{"big.DDR", "mid.ddr", "Small.ddr"}));
  EXPECT_EQ(form->FileListBox3->Files().Items(), (std::vector<std::string>{"one.ild", "Three.ILD"}));
  EXPECT_EQ(form->FileListBox1->Files().SelectedName(), "big.DDR");
  EXPECT_EQ(form->Label29->text(), "5");
  EXPECT_EQ(form->Label18->text(), "Message:");

  // Remove, Up, Down and the Delete key do nothing on an empty list.
  form->BitBtn1->Click();
  form->skinButton5->Click();
  form->skinButton6->Click();
  QTest::keyClick(form->ListBox1, Qt::Key_Delete);
  EXPECT_EQ(form->ListBox1->count(), 0);

  SelectDrawings({"Small.ddr", "big.DDR"});
  form->BitBtn2->Click();
  EXPECT_EQ(Shown(form->ListBox1), (QStringList{"big.DDR", "Small.ddr"}));
  EXPECT_EQ(form->ListBox1->currentRow(), 1);
  EXPECT_EQ(form->Label29->text(), "5");  // the added last one is previewed
  SelectDrawings({"mid.ddr"});
  form->BitBtn15->Click();
  EXPECT_EQ(Shown(form->ListBox1), (QStringList{"big.DDR", "mid.ddr", "Small.ddr"}));
  EXPECT_EQ(form->ListBox1->currentItem()->text(), "Small.ddr");
  form->skinButton5->Click();
  EXPECT_EQ(Shown(form->ListBox1), (QStringList{"big.DDR", "Small.ddr", "mid.ddr"}));
  EXPECT_EQ(form->ListBox1->currentRow(), 1);
  QTest::keyClick(form->ListBox1, Qt::Key_Delete);
  EXPECT_EQ(Shown(form->ListBox1), (QStringList{"big.DDR", "mid.ddr"}));

  form->skinEdit1->setText("Pair");
  form->skinButton4->Click();
  TSectionList rows;
  ASSERT_TRUE(LoadSectionFile(SectionFolder() + "Pair.sec", rows, ProgramFolder()));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(form->FileListBox2->Files().SelectedName(), "Pair.sec");
  // A refused conversion says why in its error box and in the message line, and writes nothing.
  form->skinEdit1->setText("Refused");
  form->skinEdit2->setText("1.5");
  form->skinButton4->Click();
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(form->Label18->text().toStdString(), dialogs.messages.back());
  EXPECT_NE(dialogs.messages.back().find("'1.5'"), std::string::npos) << dialogs.messages.back();
  EXPECT_FALSE(FileExists(SectionFolder() + "Refused.sec"));
  form->skinEdit2->setText("10");

  // A running preview starts over with the image just written.
  form->skinCheckBox1->Click();
  form->Timer3Timer();
  ASSERT_EQ(form->IldaPreview().FrameCount(), 1);  // one.ild, the list's first
  form->skinButton9->Click();
  EXPECT_EQ(form->FileListBox3->Files().SelectedName(), "NewImage.ild");
  EXPECT_EQ(form->IldaPreview().FrameCount(), 2);
  EXPECT_EQ(form->IldaPreview().Index(), 0);
}

// The image a conversion writes is the selected item: marked in the box, with its size shown.
TEST_F(ConverterWindow, AConversionsNewImageIsHighlightedWithItsSize) {
  TFileList& ildas = form->FileListBox3->Files();
  ildas.SetSelected(ildas.IndexOf("one.ild"), true);
  form->FileListBox3->OnChange();
  ASSERT_FALSE(form->Label5->text().isEmpty());
  SelectDrawings({"mid.ddr", "Small.ddr"});
  form->BitBtn2->Click();
  form->skinEdit3->setText("Fresh");
  form->skinButton9->Click();
  ASSERT_EQ(ildas.SelectedName(), "Fresh.ild");
  EXPECT_EQ(ildas.SelectedNames(), std::vector<std::string>{"Fresh.ild"});
  const QList<QListWidgetItem*> marked = form->FileListBox3->selectedItems();
  ASSERT_EQ(marked.size(), 1);
  EXPECT_EQ(marked.front()->text(), "Fresh.ild");
  const TSizeText size = FileSizeText(QFileInfo(QString::fromStdString(IldaFolder() + "Fresh.ild")).size());
  EXPECT_EQ(form->Label5->text().toStdString(), size.label);
  EXPECT_EQ(form->FileListBox3->toolTip().toStdString(), size.hint);
  EXPECT_EQ(form->Label18->text(), "Message:");  // nothing was left out

  // Points past what a frame holds are left out, and the message line says so.
  Drawing huge;
  DrawingObject* object = huge.AddObject();
  for (int i = 0; i < 70000; ++i) object->Add({i % 256, i / 256 % 256, 0, 1, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(DrawingFolder() + "huge.ddr", huge, 1));
  form->FileListBox1->Files().Update();
  SelectDrawings({"huge.ddr"});
  form->BitBtn2->Click();
  form->skinEdit3->setText("Cut");
  form->skinButton9->Click();
  ASSERT_EQ(ildas.SelectedName(), "Cut.ild");
  EXPECT_EQ(form->Label18->text(), "4465 points past the 65535 a frame holds were left out.");

  // A refusal to write the image is said in the line as in its box; a later conversion that cuts
  // nothing leaves no word of the earlier ones.
  for (const auto& [typed, said] : std::vector<std::pair<QString, std::string>>{
           {".Hidden", kRefusedNameText}, {"CutAgain", "4465 points past the 65535 a frame holds were left out."}}) {
    form->skinEdit3->setText(typed);
    form->skinButton9->Click();
    EXPECT_EQ(form->Label18->text().toStdString(), said);
  }
  ASSERT_EQ(form->ListBox1->currentItem()->text(), "huge.ddr");
  form->BitBtn1->Click();
  form->skinEdit3->setText("Whole");
  form->skinButton9->Click();
  ASSERT_EQ(ildas.SelectedName(), "Whole.ild");
  EXPECT_EQ(form->Label18->text(), "Message:");  // the caption is back
}

TEST_F(ConverterWindow, MergeListKeepsFullPathsWhileTheIldaListBrowsesElsewhere) {
  const std::string other = dir.Path("elsewhere");
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(other)));
  WriteIlda(other + "/Three.ild", 1, 2);  // same name, other content

  TFileList& ildas = form->FileListBox3->Files();
  ildas.SetSelected(ildas.IndexOf("one.ild"), true);
  ildas.SetSelected(ildas.IndexOf("Three.ILD"), true);
  form->skinButton10->Click();
  EXPECT_EQ(Shown(form->ListBox2), (QStringList{"one.ild", "Three.ILD"}));

  form->BrowseIldaFolder(other);
  EXPECT_EQ(ildas.Items(), std::vector<std::string>{"Three.ild"});
  EXPECT_GT(form->DirectoryListBox1->count(), 0);
  EXPECT_EQ(form->DirectoryListBox1->item(0)->text(), "..");
  EXPECT_GE(form->DriveComboBox1->currentIndex(), 0);  // the mount holding the folder

  form->skinEdit4->setText("Both");
  form->skinButton16->Click();
  TILDAimage merged;
  ASSERT_EQ(ReadIldaFile(other + "/Both.ild", merged), TIldaReadResult::Ok);
  ASSERT_EQ(merged.frames.size(), 4u);  // one frame, then the three of the folder it came from
  EXPECT_EQ(merged.frames[0]->points.size(), 2u);
  EXPECT_EQ(merged.frames[3]->points.size(), 4u);

  // Several selected merge items go at once; Up on the first does nothing.
  form->ListBox2->setCurrentRow(0);
  form->skinButton13->Click();
  EXPECT_EQ(Shown(form->ListBox2), (QStringList{"one.ild", "Three.ILD"}));
  form->ListBox2->selectAll();
  form->skinButton11->Click();
  EXPECT_EQ(form->ListBox2->count(), 0);
  form->skinButton13->Click();  // nothing current: nothing happens
  form->skinButton14->Click();
  EXPECT_EQ(form->MergeList().Count(), 0);
}

TEST_F(ConverterWindow, IldaPreviewShowsFramesInOrderWrapsAndSkipsPaintingWhileHidden) {
  TFileList& ildas = form->FileListBox3->Files();
  ildas.SetItemIndex(ildas.IndexOf("Three.ILD"));
  form->FileListBox3->OnChange();
  EXPECT_EQ(form->IldaPreview().On(), false);  // the box is off
  const TSizeText size = FileSizeText(QFileInfo(QString::fromStdString(IldaFolder() + "Three.ILD")).size());
  EXPECT_EQ(form->Label5->text().toStdString(), size.label);
  EXPECT_EQ(form->FileListBox3->toolTip().toStdString(), size.hint);

  form->show();
  form->skinCheckBox1->Click();
  ASSERT_TRUE(form->IldaPreview().On());
  std::vector<QString> counts;
  for (int tick = 0; tick < 4; ++tick) {
    form->Timer3Timer();
    counts.push_back(form->Label6->text());
  }
  EXPECT_EQ(counts, (std::vector<QString>{"2", "3", "4", "2"}));
  // The first frame again: its line runs from (14, 114) up to (34, 94) in ILDA colour 1.
  const QImage shown = form->Image3->pixmap().toImage();
  EXPECT_EQ(shown.pixelColor(24, 104).rgb() & 0xffffff, ToQColor(IldaColorToTColor(1)).rgb() & 0xffffff);
  EXPECT_EQ(shown.pixelColor(60, 60), QColor(Qt::black));
  ASSERT_TRUE(form->grab().save(QString::fromStdString(kavri_test::ArtifactPath("converter_window.png"))));

  form->hide();
  const QImage before = form->Image3->pixmap().toImage();
  form->Timer3Timer();
  form->Timer3Timer();
  EXPECT_EQ(form->IldaPreview().Index(), 3);  // moved on unseen
  EXPECT_EQ(form->Image3->pixmap().toImage(), before);
  EXPECT_EQ(form->Label6->text(), "2");
}

TEST_F(ConverterWindow, FindSelectsCaseBlindOrSaysWhatIsMissingAndTheFolderListWalksDown) {
  dialogs.inputAnswers = {std::nullopt, std::string("SMALL"), std::string("nothing"), std::string("three.ild"),
                          std::string("x")};
  form->skinButton1->Click();  // Cancel: nothing
  EXPECT_EQ(form->Label18->text(), "Message:");
  form->skinButton1->Click();
  EXPECT_EQ(form->FileListBox1->Files().SelectedName(), "Small.ddr");
  EXPECT_EQ(form->Label29->text(), "5");
  form->skinButton1->Click();
  EXPECT_EQ(form->Label18->text(), "Drawing not found!");
  form->skinButton3->Click();
  EXPECT_EQ(form->FileListBox3->Files().SelectedName(), "Three.ILD");
  form->skinButton2->Click();
  EXPECT_EQ(form->Label18->text(), "Segement not found!");

  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(IldaFolder() + "sub")));
  WriteIlda(IldaFolder() + "sub/deep.ild", 1, 2);
  form->BrowseIldaFolder(IldaFolder());
  QListWidget* folders = form->DirectoryListBox1;
  ASSERT_EQ(folders->count(), 2);
  EXPECT_EQ(folders->item(1)->text(), "sub");
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  folders->doItemsLayout();
  // A view takes a double click only on the item the button went down on.
  const auto doubleClick = [folders](int row) {
    const QPoint at = folders->visualItemRect(folders->item(row)).center();
    QTest::mousePress(folders->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(folders->viewport(), Qt::LeftButton, {}, at);
  };
  doubleClick(1);
  EXPECT_EQ(form->FileListBox3->Files().Items(), std::vector<std::string>{"deep.ild"});
  EXPECT_EQ(folders->item(0)->text(), "..");
  folders->doItemsLayout();
  doubleClick(0);
  EXPECT_EQ(form->FileListBox3->Files().Count(), 2);  // back in the ILDA folder
}

}  // namespace
}  // namespace kavri
