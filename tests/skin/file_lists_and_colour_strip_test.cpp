#include <QScrollBar>
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QTest>
#include <string>
#include <vector>

#include "engine/colour_modes.h"
#include "skin/colour_mode_strip.h"
#include "skin/file_list_box.h"
#include "skin/folder_browser.h"
#include "skin/skin_combo.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

std::vector<std::string> Shown(const TFileListBox& box) {
  std::vector<std::string> texts;
  for (int i = 0; i < box.count(); ++i) texts.push_back(box.item(i)->text().toStdString());
  return texts;
}

TEST(FileListBox, ShowsTheListAndFollowsItsChanges) {
  kavri_test::ScratchDir dir;
  for (const char* name : {"b.ddr", "A.DDR", "c.txt"}) kavri_test::WriteBytes(dir.Path(name), {1});
  TFileListBox box;
  box.resize(160, 120);
  box.Files().SetMask("*.ddr");
  box.Files().SetDirectory(dir.Path());
  EXPECT_EQ(Shown(box), (std::vector<std::string>{"A.DDR", "b.ddr"}));
  box.Files().SetItemIndex(1);
  EXPECT_EQ(box.currentRow(), 1);
  EXPECT_TRUE(box.item(1)->isSelected());
  kavri_test::WriteBytes(dir.Path("a0.ddr"), {1});
  box.Files().Refresh();
  EXPECT_EQ(Shown(box), (std::vector<std::string>{"A.DDR", "a0.ddr", "b.ddr"}));
  EXPECT_TRUE(box.item(2)->isSelected());
  box.show();
  ASSERT_TRUE(box.grab().save(QString::fromStdString(kavri_test::ArtifactPath("file_list_box.png"))));
}

TEST(FileListBox, ClicksKeysAndDoubleClicksReachTheWindow) {
  kavri_test::ScratchDir dir;
  for (const char* name : {"a.sec", "b.sec", "c.sec"}) kavri_test::WriteBytes(dir.Path(name), {1});
  TFileListBox box;
  box.resize(160, 120);
  box.Files().SetMask("*.sec");
  box.Files().SetDirectory(dir.Path());
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  int changes = 0, doubles = 0, deletes = 0;
  box.OnChange = [&] { ++changes; };
  box.OnDblClick = [&] { ++doubles; };
  box.OnDeleteKey = [&] { ++deletes; };
  const QPoint second = box.visualItemRect(box.item(1)).center();
  QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(box.Files().SelectedName(), "b.sec");
  EXPECT_EQ(changes, 1);
  QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, second);
  EXPECT_EQ(doubles, 1);
  QTest::keyClick(&box, Qt::Key_Delete);
  EXPECT_EQ(deletes, 1);
  box.Files().SetItemIndex(0);  // a change made by the program is not the operator's
  EXPECT_EQ(changes, 1);

  box.SetMultiSelect(true);
  QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ControlModifier, box.visualItemRect(box.item(2)).center());
  EXPECT_EQ(box.Files().SelectedNames(), (std::vector<std::string>{"a.sec", "c.sec"}));
  EXPECT_EQ(box.Files().SelectedName(), "c.sec");
}

TEST(ColourModeStrip, AClickChoosesThePanelAndOnlyItIsLowered) {
  TColourModeStrip strip;
  strip.resize(480, 22);
  strip.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
  std::vector<int32_t> chosen;
  strip.OnChoose = [&](int32_t mode) { chosen.push_back(mode); };
  EXPECT_EQ(strip.Panel(0)->objectName(), "Panel1");
  EXPECT_TRUE(strip.Panel(11)->isVisible());
  EXPECT_FALSE(strip.Panel(12)->isVisible());
  const QImage before = strip.Panel(2)->grab().toImage();
  QTest::mouseClick(strip.Panel(2), Qt::LeftButton);  // "Red"
  QTest::mouseClick(strip.Panel(9), Qt::LeftButton);  // "Rnd1"
  EXPECT_EQ(chosen, (std::vector<int32_t>{2, ColourModeRnd1}));
  EXPECT_EQ(strip.Mode(), ColourModeRnd1);
  EXPECT_EQ(strip.ChosenPanel(), 9);
  // Once no longer chosen, a panel paints as it did before it was.
  EXPECT_EQ(strip.Panel(2)->grab().toImage(), before);
  strip.Choose(2);
  EXPECT_NE(strip.Panel(2)->grab().toImage(), before);
  strip.Choose(220);  // a hidden panel can be chosen through its value
  EXPECT_EQ(strip.ChosenPanel(), 18);
  strip.Choose(ColourModeAuto);
  // Twice the size, so the bevel of the chosen panel can be seen.
  const QImage shot = strip.grab().toImage();
  ASSERT_TRUE(shot.scaled(shot.size() * 2).save(QString::fromStdString(kavri_test::ArtifactPath("colour_mode_strip.png"))));
}

}  // namespace
}  // namespace kavri

namespace {

// A list box keeps its width whatever it holds, so that re-reading a list cannot make its window grow:
// a name longer than the box scrolls sideways to be read.
TEST(SkinListBox, KeepsItsWidthAndScrollsSidewaysForALongName) {
  const QString name = "a_drawing_with_a_rather_long_name_0000000000000000000001.ddr";
  for (const int base : {150, 0}) {
    SCOPED_TRACE(base);
    kavri::TSkinListBox box;
    if (base > 0) box.SetBaseWidth(base);
    box.addItem("a.ddr");
    const QSize hint = box.sizeHint(), least = box.minimumSizeHint();
    EXPECT_EQ(hint.width(), base > 0 ? base : kavri::TSkinListBox::kDefaultWidth);
    box.addItem(name);
    box.addItem(QString(400, 'w') + ".ddr");
    EXPECT_EQ(box.sizeHint(), hint);
    EXPECT_EQ(box.minimumSizeHint(), least);
    box.resize(hint);
    box.show();
    QCoreApplication::processEvents();
    EXPECT_GT(box.horizontalScrollBar()->maximum(), 0) << "the long names cannot be scrolled to";
  }
}

}  // namespace

namespace {

// Mount paths can be long; the drive box keeps its width whatever it lists.
TEST(FolderBrowser, TheDriveBoxKeepsItsWidthForALongMountPath) {
  kavri::TSkinComboBox drives;
  kavri::FillDriveBox(&drives);
  const QString mount = "/" + QString(200, 'm');
  drives.addItem(mount, mount);
  drives.show();
  QCoreApplication::processEvents();
  const int text = QFontMetrics(drives.font()).horizontalAdvance(mount);
  EXPECT_LT(drives.sizeHint().width(), text / 2);
  EXPECT_LT(drives.minimumSizeHint().width(), text / 2);
}

}  // namespace
