#include "skin/skin_edit.h"

#include <gtest/gtest.h>

#include "skin/skin_grid.h"
#include "skin/system_colors.h"
#include "skin/theme_style.h"

using namespace kavri;

namespace {

// Outer ring in the border colour, the ring inside it in the background colour, on all four sides.
void ExpectRings(QWidget& w, TColor border, const char* what) {
  const QImage img = w.grab().toImage();
  const int cx = img.width() / 2, cy = img.height() / 2;
  const QColor base = w.palette().color(QPalette::Base);
  const QColor outer = ToQColor(ColorToRGB(border));
  for (QPoint p : {QPoint(0, cy), QPoint(img.width() - 1, cy), QPoint(cx, 0), QPoint(cx, img.height() - 1)})
    EXPECT_EQ(img.pixelColor(p), outer) << what << " outer ring at " << p.x() << "," << p.y();
  for (QPoint p : {QPoint(1, cy), QPoint(img.width() - 2, cy), QPoint(cx, 1), QPoint(cx, img.height() - 2)})
    EXPECT_EQ(img.pixelColor(p), base) << what << " inner ring at " << p.x() << "," << p.y();
}

TEST(SkinBorderedControls, WindowsWithoutThemedFormGetABlackFrame) {
  QWidget window;
  TSkinEdit edit(&window);
  TSkinCheckListBox checks(&window);
  TSkinListView list(&window);
  TSkinTreeView tree(&window);
  EXPECT_EQ(edit.BorderColor(), 0u);
  EXPECT_EQ(checks.BorderColor(), 0u);
  EXPECT_EQ(list.BorderColor(), 0u);
  EXPECT_EQ(tree.BorderColor(), 0u);
  edit.resize(100, 22);
  ExpectRings(edit, 0, "edit");
}

TEST(SkinBorderedControls, RingColoursOnEditsAndScrollAreas) {
  QWidget window;
  TSkinEdit edit(&window);
  edit.resize(120, 24);
  edit.SetText("segment1");
  edit.SetBorderColor(0x0000FF);
  ExpectRings(edit, 0x0000FF, "edit");

  TSkinCheckListBox checks(&window);
  checks.resize(120, 60);
  for (int i = 0; i < 12; ++i) checks.AddItem(QString("item %1").arg(i), i % 2);  // enough to scroll
  checks.SetBorderColor(0x00FF00);
  ExpectRings(checks, 0x00FF00, "check list");

  TSkinListView list(&window);
  list.resize(120, 60);
  list.setHeaderLabels({"Name", "Size"});
  list.SetBorderColor(0xFF0000);
  ExpectRings(list, 0xFF0000, "list view");

  TSkinTreeView tree(&window);
  tree.resize(120, 60);
  auto* node = new QTreeWidgetItem(&tree, {"root"});
  new QTreeWidgetItem(node, {"leaf"});
  tree.expandAll();
  ContainerApplyUIStyle(&window, TSkinUIStyle::Azure);  // restyling a window reaches its bordered controls
  EXPECT_EQ(tree.BorderColor(), GetThemeColor(TSkinUIStyle::Azure, 8));
  EXPECT_EQ(edit.BorderColor(), GetThemeColor(TSkinUIStyle::Azure, 8));
  ExpectRings(tree, GetThemeColor(TSkinUIStyle::Azure, 8), "tree view");
}

TEST(SkinBorderedControls, CheckListBoxKeepsItsSingleOnePixelBorder) {
  QWidget window;
  TSkinCheckListBox checks(&window);
  checks.SetBorderWidth(5);
  checks.SetBorderStyle(TBorderStyle::bsNone);
  EXPECT_EQ(checks.BorderWidth(), 1);
  EXPECT_EQ(checks.BorderStyle(), TBorderStyle::bsSingle);
  std::vector<int> clicked;
  checks.OnClickCheck = [&](int i) { clicked.push_back(i); };
  checks.AddItem("a");
  checks.AddItem("b", true);
  EXPECT_FALSE(checks.Checked(0));
  EXPECT_TRUE(checks.Checked(1));
  EXPECT_FALSE(checks.Checked(7));
  checks.SetChecked(0, true);
  checks.SetChecked(9, true);  // outside the list: ignored
  EXPECT_TRUE(checks.Checked(0));
  EXPECT_TRUE(clicked.empty());  // code is not the operator
  checks.item(1)->setCheckState(Qt::Unchecked);  // as a click on the box does
  EXPECT_EQ(clicked, std::vector<int>{1});
}

}  // namespace
