#include "skin/skin_menu.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QTest>

#include "skin/menu_draw.h"
#include "skin/system_colors.h"

using namespace kavri;

namespace {

QColor Rgb(TColor c) { return ToQColor(ColorToRGB(c)); }

TSkinMenuSettings Themed(TSkinUIStyle style) {
  TSkinMenuSettings s;
  s.ApplyStyle(style);
  return s;
}

QImage DrawItem(const TSkinMenuSettings& s, const TMenuItemView& item, QSize size = {160, 21}) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::magenta);
  QPainter p(&img);
  DrawMenuItem(p, s, QRect(QPoint(0, 0), size), item);
  return img;
}

TEST(SkinMenu, ItemSizesFollowTheStyle) {
  for (TSkinUIStyle style : kThemedStyles) {
    const TSkinMenuSettings s = Themed(style);
    TMenuItemView item;
    item.Caption = "&Open";
    item.ShortcutText = "Ctrl+O";
    const QFontMetrics fm(s.ItemFont());
    const QSize size = MeasureMenuItem(s, item);
    EXPECT_EQ(size.height(), style == TSkinUIStyle::Graphite ? 20 : 21);
    EXPECT_EQ(size.width(), fm.horizontalAdvance("Open") + fm.horizontalAdvance("Ctrl+O") + 26 + 40);
    TMenuItemView separator;
    separator.Separator = true;
    EXPECT_EQ(MeasureMenuItem(s, separator).height(), style == TSkinUIStyle::Graphite ? 12 : 5);
  }
  // Graphite keeps its heights; other styles take new ones.
  TSkinMenuSettings graphite = Themed(TSkinUIStyle::Graphite);
  graphite.SetMenuItemHeight(30);
  graphite.SetSeparatorHeight(9);
  EXPECT_EQ(graphite.MenuItemHeight, 20);
  EXPECT_EQ(graphite.SeparatorHeight, 12);
  TSkinMenuSettings navy = Themed(TSkinUIStyle::Navy);
  navy.SetMenuItemHeight(30);
  EXPECT_EQ(navy.MenuItemHeight, 30);
}

TEST(SkinMenu, AnOpenMenuLaysItsItemsOutWithTheseSizes) {
  QWidget window;
  TSkinPopupMenu menu(&window);
  menu.SetUIStyle(TSkinUIStyle::Azure);
  QAction* open = menu.AddItem("Open(&O)");
  QAction* line = menu.AddItem("-");
  QAction* close = menu.AddItem("Close(&C)");
  TSkinMenu* sub = menu.AddSubMenu("More");
  QAction* deep = sub->AddItem("Deep");
  EXPECT_TRUE(line->isSeparator());
  menu.adjustSize();
  EXPECT_EQ(menu.actionGeometry(open).height(), 21);
  EXPECT_EQ(menu.actionGeometry(line).height(), 5);
  EXPECT_EQ(menu.actionGeometry(close).top(), menu.actionGeometry(line).bottom() + 1);
  EXPECT_EQ(sub->style(), menu.style());
  EXPECT_EQ(menu.FindItem("Deep"), deep);
  EXPECT_EQ(menu.FindItem("Close(C)"), close);  // accelerator marks ignored
}

TEST(SkinMenu, SetItemEventReachesEveryNestedLevel) {
  TSkinMenuSettings s = Themed(TSkinUIStyle::Navy);
  TSkinMenuStyle style(&s, nullptr);
  QMenu top;
  QMenu* a = top.addMenu("a");
  QMenu* b = a->addMenu("b");
  QMenu* c = b->addMenu("c");
  Menu_SetItemEvent(&top, &style);
  EXPECT_EQ(top.style(), &style);
  EXPECT_EQ(c->style(), &style);
}

TEST(SkinMenu, DrawnItemPixels) {
  const TSkinMenuSettings s = Themed(TSkinUIStyle::Navy);
  TMenuItemView item;
  item.Caption = "Loop";
  // Not selected: the side bar in the bar colour, the rest in the menu colour.
  QImage img = DrawItem(s, item);
  EXPECT_EQ(img.pixelColor(0, 20), Rgb(s.BarColor));
  EXPECT_EQ(img.pixelColor(25, 0), Rgb(s.BarColor));
  EXPECT_EQ(img.pixelColor(26, 0), Rgb(s.Color));
  EXPECT_EQ(img.pixelColor(159, 20), Rgb(s.Color));
  // Caption text starts at BarWidth + 4 and top + 4.
  bool textSeen = false;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 160; ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c == Rgb(s.BarColor) || c == Rgb(s.Color)) continue;
      textSeen = true;
      EXPECT_GE(x, 26 + 3) << y;
      EXPECT_GE(y, 4);
    }
  EXPECT_TRUE(textSeen);
  // Selected: filled in the selected colour inside a frame of the selected border colour.
  item.Selected = true;
  img = DrawItem(s, item);
  EXPECT_EQ(img.pixelColor(0, 0), Rgb(s.SelectedBorderColor));
  EXPECT_EQ(img.pixelColor(159, 20), Rgb(s.SelectedBorderColor));
  EXPECT_EQ(img.pixelColor(10, 10), Rgb(s.SelectedColor));
  // Disabled and under the mouse: no selection background.
  item.Enabled = false;
  img = DrawItem(s, item);
  EXPECT_EQ(img.pixelColor(10, 10), Rgb(s.BarColor));
  // A separator: a line at y = 2 from x = BarWidth + 4 on.
  TMenuItemView separator;
  separator.Separator = true;
  img = DrawItem(s, separator, {160, 5});
  EXPECT_EQ(img.pixelColor(29, 2), Rgb(s.Color));
  EXPECT_EQ(img.pixelColor(30, 2), Rgb(s.SeparatorColor));
  EXPECT_EQ(img.pixelColor(157, 2), Rgb(s.SeparatorColor));
  EXPECT_EQ(img.pixelColor(158, 2), Rgb(s.Color));
  EXPECT_EQ(img.pixelColor(40, 1), Rgb(s.Color));
}

TEST(SkinMenu, CheckMarkIsDrawnOnlyInItsCellAndAnImageGetsAPressedCell) {
  const TSkinMenuSettings s = Themed(TSkinUIStyle::Azure);
  TMenuItemView item;
  item.Caption = "";
  item.Checkable = true;
  const QImage plain = DrawItem(s, item);
  item.Checked = true;
  const QImage checked = DrawItem(s, item);
  int inside = 0;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 160; ++x) {
      if (plain.pixelColor(x, y) == checked.pixelColor(x, y)) continue;
      const bool inCell = x >= 4 && x < 20 && y >= 3 && y < 19;
      EXPECT_TRUE(inCell) << x << "," << y;
      ++inside;
    }
  EXPECT_GT(inside, 4);
  // With an image the cell is shown pressed: black frame, selected-colour fill, the image on top.
  QPixmap image(16, 16);
  image.fill(Qt::green);
  item.Image = image;
  const QImage pressed = DrawItem(s, item);
  EXPECT_EQ(pressed.pixelColor(2, 1), QColor(Qt::black));
  EXPECT_EQ(pressed.pixelColor(20, 19), QColor(Qt::black));
  EXPECT_EQ(pressed.pixelColor(3, 2), Rgb(s.SelectedColor));
  EXPECT_EQ(pressed.pixelColor(10, 10), QColor(Qt::green));
}

TEST(SkinMenu, FlatFrameRings) {
  QImage img(40, 30, QImage::Format_RGB32);
  img.fill(Qt::magenta);
  QPainter p(&img);
  Menu_DrawWindowBorder(p, img.rect(), 0x0000FF, 0x00FF00);
  p.end();
  EXPECT_EQ(img.pixelColor(0, 1), QColor(Qt::red));     // border frame from the second row
  EXPECT_EQ(img.pixelColor(38, 28), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(1, 2), QColor(Qt::white));   // white frame inside
  EXPECT_EQ(img.pixelColor(5, 0), QColor(Qt::green));   // shadow along the top
  EXPECT_EQ(img.pixelColor(39, 10), QColor(Qt::green)); // ... the right
  EXPECT_EQ(img.pixelColor(5, 29), QColor(Qt::green));  // ... and the bottom
  EXPECT_EQ(img.pixelColor(5, 5), QColor(Qt::magenta)); // the inside is left alone
}

TEST(SkinMainMenu, CheckItemsToggleThemselvesAndCodeRunsNoHandler) {
  QWidget window;
  TSkinMainMenu bar(&window);
  EXPECT_EQ(bar.UIStyle(), TSkinUIStyle::Navy);
  TSkinMenu* file = bar.AddMenu("&File");
  std::vector<bool> seen;
  QAction* loop = file->AddCheckItem("Loop(&L)", [&](bool on) { seen.push_back(on); });
  int opened = 0;
  file->AddItem("Open(&O)", [&] { ++opened; }, QKeySequence("Ctrl+O"));
  loop->trigger();
  loop->trigger();
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  loop->setChecked(true);
  EXPECT_EQ(seen.size(), 2u);
  bar.FindItem("Open(O)")->trigger();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(file->style(), bar.style());
  bar.SetUIStyle(TSkinUIStyle::Graphite);
  EXPECT_EQ(bar.Settings().MenuItemHeight, 20);
}

}  // namespace
