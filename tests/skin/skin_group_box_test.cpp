#include "skin/skin_group_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "skin/skin_check_box.h"

using namespace kavri;

namespace {

void ClickAt(QWidget* w, QPoint pos) {
  QTest::mouseClick(w, Qt::LeftButton, {}, pos);
}

TEST(SkinRadioGroup, ItemIndexRules) {
  QWidget window;
  TSkinRadioGroup group(&window);
  EXPECT_EQ(group.Caption(), "skinRadioGroup");
  EXPECT_EQ(group.GetItemIndex(), -1);  // no items
  group.SetItemIndex(0);                // nothing to check
  EXPECT_EQ(group.GetItemIndex(), -1);
  group.SetItems({"Track1", "Track2", "Track3"});
  EXPECT_EQ(group.ButtonCount(), 3);
  EXPECT_EQ(group.GetItemIndex(), -1);
  group.SetItemIndex(0);
  EXPECT_EQ(group.GetItemIndex(), 0);
  group.SetItemIndex(2);
  EXPECT_EQ(group.GetItemIndex(), 2);
  EXPECT_FALSE(group.GetChecked(0));  // checking one unchecks the others
  group.SetItemIndex(3);              // Items.Count: nothing changes
  group.SetItemIndex(-2);
  EXPECT_EQ(group.GetItemIndex(), 2);
  group.SetItemIndex(-1);
  EXPECT_EQ(group.GetItemIndex(), -1);
  // Checked indexes outside the items are answered and ignored safely.
  EXPECT_FALSE(group.GetChecked(3));
  EXPECT_FALSE(group.GetChecked(-1));
  group.SetChecked(7, true);
  group.SetChecked(-1, true);
  EXPECT_EQ(group.GetItemIndex(), -1);
}

TEST(SkinRadioGroup, OneOnClickPerOperatorClickAndNoneFromCode) {
  QWidget window;
  window.resize(300, 200);
  TSkinRadioGroup group(&window);
  group.setGeometry(10, 10, 185, 105);
  group.SetItems({"Drawing", "ILD file", "Text"});
  window.show();
  int clicks = 0, indexSeen = -5;
  group.OnClick = [&] {
    ++clicks;
    indexSeen = group.GetItemIndex();
  };
  group.SetItemIndex(1);
  EXPECT_EQ(clicks, 0);
  TSkinCheckBox* text = group.Button(2);
  ClickAt(text, QPoint(5, text->height() / 2));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(indexSeen, 2);  // the handler sees the new choice
  ClickAt(text, QPoint(5, text->height() / 2));  // clicking the checked button changes nothing
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(group.GetItemIndex(), 2);
  ClickAt(&group, QPoint(group.width() - 5, group.height() - 5));  // the group itself
  EXPECT_EQ(clicks, 3);
}

TEST(SkinCheckGroup, LayoutColumnsAndTheZeroColumnGuard) {
  QWidget window;
  TSkinCheckGroup group(&window);
  group.resize(185, 105);
  group.SetItems({"a", "b", "c", "d", "e", "f", "g"});
  group.SetColumns(2);
  // Seven items in two columns: four rows, items 0-3 in the first column, 4-6 in the second.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(group.Button(i)->x(), 8);
  for (int i = 4; i < 7; ++i) EXPECT_EQ(group.Button(i)->x(), (185 - 10) / 2 + 8);
  EXPECT_EQ(group.Button(4)->y(), group.Button(0)->y());
  EXPECT_LT(group.Button(0)->y(), group.Button(1)->y());
  group.SetColumns(0);   // would divide by zero: ignored
  group.SetColumns(-3);
  EXPECT_EQ(group.Columns(), 2);
  EXPECT_EQ(group.Button(4)->x(), (185 - 10) / 2 + 8);
  // Removing items frees buttons from the end; the rest keep their state and take the new captions.
  group.SetChecked(1, true);
  group.SetItems({"x", "y"});
  EXPECT_EQ(group.ButtonCount(), 2);
  EXPECT_TRUE(group.GetChecked(1));
  EXPECT_EQ(group.Button(0)->Caption(), "x");
}

TEST(SkinCheckGroup, CustomStyleTakesZeroesAndDisablingReachesTheButtons) {
  QWidget window;
  TSkinCheckGroup group(&window);
  group.SetItems({"one", "two"});
  group.SetParentColor(false);
  group.SetUIStyle(TSkinUIStyle::Azure);
  EXPECT_EQ(group.BorderColor(), GetThemeColor(TSkinUIStyle::Azure, 8));
  EXPECT_EQ(group.Color(), GetThemeColor(TSkinUIStyle::Azure, 9));
  group.SetUIStyle(TSkinUIStyle::Custom);
  EXPECT_EQ(group.BorderColor(), 0u);
  EXPECT_EQ(group.FontColor(), 0u);
  EXPECT_EQ(group.Color(), 0u);
  EXPECT_EQ(group.Button(1)->UIStyle(), TSkinUIStyle::Custom);
  EXPECT_EQ(group.Button(1)->Color(), 0u);
  group.SetEnabled(false);
  EXPECT_FALSE(group.Button(0)->isEnabled());
}

TEST(SkinGroupBox, FrameLeavesAGapForTheCaptionAndGreysItWhenDisabled) {
  QWidget window;
  TSkinGroupBox box(&window);
  box.SetTransparent(false);
  box.SetColor(0xFFFFFF);
  box.SetBorderColor(0x0000FF);
  box.SetFontColor(0xFF0000);
  box.SetCaption("Play mode");
  const QImage img = box.Render().isNull() ? box.grab().toImage() : box.grab().toImage();
  const int top = QFontInfo(box.font()).pixelSize() / 2 + 1;
  const int gapEnd = 6 + QFontMetrics(box.font()).horizontalAdvance("Play mode");
  EXPECT_EQ(img.pixelColor(0, top + 10), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(1, top), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(gapEnd + 2, top), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(box.width() - 1, box.height() - 1), QColor(Qt::red));
  bool blueText = false, greyText = false;
  for (int x = 5; x < gapEnd; ++x)
    for (int y = 0; y < top * 2; ++y) blueText |= img.pixelColor(x, y) == QColor(Qt::blue);
  box.SetEnabled(false);
  const QImage off = box.grab().toImage();
  for (int x = 5; x < gapEnd; ++x)
    for (int y = 0; y < top * 2; ++y) greyText |= off.pixelColor(x, y) == QColor(0x80, 0x80, 0x80);
  EXPECT_TRUE(blueText);
  EXPECT_TRUE(greyText);
}

}  // namespace
