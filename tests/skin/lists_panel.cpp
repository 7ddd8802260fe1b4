// Grids, combo boxes, groups, edits and menus in the screenshot panel.
#include <QLabel>
#include <QPainter>

#include "skin/skin_color_box.h"
#include "skin/skin_combo.h"
#include "skin/skin_edit.h"
#include "skin/skin_grid.h"
#include "skin/skin_group_box.h"
#include "skin/skin_menu.h"
#include "tests/skin/screenshot_panel.h"

using namespace kavri;

namespace {

int FillGrid(QWidget* area, TSkinUIStyle style) {
  auto* grid = new TSkinStringGrid(area);
  grid->SetUIStyle(style);
  grid->setGeometry(0, 0, 300, 112);
  grid->SetColCount(4);
  grid->SetFixedCols(0);
  grid->SetRowCount(6);
  grid->SetDefaultRowHeight(20);
  grid->SetColWidths(0, 126);
  const char* header[] = {"Drawing name", "A", "B", "C"};
  for (int c = 0; c < 4; ++c) grid->Cells[c][0] = header[c];
  for (int r = 1; r < 6; ++r) {
    grid->Cells[0][r] = QString("drawing%1.ddr").arg(r);
    for (int c = 1; c < 4; ++c) grid->Cells[c][r] = QString::number(r * c * 10);
  }
  grid->SetRow(2);
  auto* palette = new TSkinDrawGrid(area);
  palette->SetUIStyle(style);
  palette->setGeometry(0, 118, 300, 60);
  palette->SetColCount(8);
  palette->SetRowCount(2);
  palette->SetFixedCols(0);
  palette->SetFixedRows(0);
  palette->SetDefaultColWidth(30);
  palette->OnDrawCell = [](QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState) {
    canvas.fillRect(rect.adjusted(3, 3, -3, -3), QColor::fromHsv((col * 2 + row) * 22 % 360, 220, 230));
  };
  return 182;
}

int FillCombos(QWidget* area, TSkinUIStyle style) {
  auto* combo = new TSkinComboBox(area);
  combo->SetUIStyle(style);
  combo->SetStyle(TComboBoxStyle::csDropDownList);
  combo->setGeometry(0, 0, 140, 22);
  combo->AddItem("Usb-0");
  combo->AddItem("Usb-3");
  combo->SetItemIndex(0);
  auto* off = new TSkinComboBox(area);
  off->SetUIStyle(style);
  off->setGeometry(150, 0, 140, 22);
  off->SetText("disabled");
  off->SetEnabled(false);
  auto* colours = new TSkinColorBox(area);
  colours->SetUIStyle(style);
  colours->setGeometry(0, 28, 140, 22);
  colours->SetSelected(0x00FFFF);
  auto* fonts = new TSkinFontComboBox(area);
  fonts->SetUIStyle(style);
  fonts->setGeometry(150, 28, 140, 22);
  fonts->SetFontName("DejaVu Sans");
  return 56;
}

int FillGroups(QWidget* area, TSkinUIStyle style) {
  auto* radio = new TSkinRadioGroup(area);
  radio->setGeometry(0, 0, 140, 90);
  radio->SetCaption("Play mode");
  radio->SetItems({"Drawing", "ILD file", "Text"});
  radio->SetUIStyle(style);
  radio->SetItemIndex(1);
  auto* checks = new TSkinCheckGroup(area);
  checks->setGeometry(150, 0, 150, 90);
  checks->SetCaption("Outputs");
  checks->SetItems({"Usb-0", "Usb-1", "Usb-2", "Usb-3"});
  checks->SetColumns(2);
  checks->SetUIStyle(style);
  checks->SetChecked(0, true);
  checks->SetChecked(3, true);
  return 96;
}

int FillEdits(QWidget* area, TSkinUIStyle style) {
  auto* edit = new TSkinEdit(area);
  edit->setGeometry(0, 0, 140, 22);
  edit->SetText("NewSection");
  auto* checks = new TSkinCheckListBox(area);
  checks->setGeometry(150, 0, 150, 60);
  checks->AddItem("ezusb-0", true);
  checks->AddItem("ezusb-1");
  auto* tree = new TSkinTreeView(area);
  tree->setGeometry(0, 28, 140, 32);
  new QTreeWidgetItem(tree, {"Drawing"});
  // The window pushes its style down; the bordered controls take element 8 as their frame.
  for (QWidget* w : std::initializer_list<QWidget*>{edit, checks, tree})
    dynamic_cast<TSkinStyleHooks*>(w)->ApplyContainerStyle(style);
  return 66;
}

// An open menu, as its window shows it: a menu bar with its first drop-down below it.
int FillMenus(QWidget* area, TSkinUIStyle style) {
  auto* bar = new TSkinMainMenu(area);
  bar->SetUIStyle(style);
  TSkinMenu* file = bar->AddMenu("&File");
  bar->AddMenu("&Edit");
  bar->AddMenu("&Window");
  bar->AddMenu("&Help");
  bar->setGeometry(0, 0, 300, 22);
  file->AddItem("New segment(&N)", {}, QKeySequence("Ctrl+N"));
  QAction* open = file->AddItem("Open segment(&O)");
  file->AddSeparator();
  file->AddCheckItem("Loop(&L)", {}, true);
  file->AddCheckItem("Pause(&B)");
  file->AddItem("Detect device(&D)")->setEnabled(false);
  file->AddSubMenu("Color")->AddItem("Auto");
  file->AddItem("Exit system(&X)");
  file->adjustSize();
  file->setActiveAction(open);
  auto* shot = new QLabel(area);
  shot->setPixmap(file->grab());
  shot->setGeometry(0, 22, file->width(), file->height());
  return 22 + file->height() + 4;
}

const bool kAdded = kavri_test::AddPanelSection(60, "String and draw grids", FillGrid) &&
                    kavri_test::AddPanelSection(61, "Combo boxes", FillCombos) &&
                    kavri_test::AddPanelSection(62, "Radio and check groups", FillGroups) &&
                    kavri_test::AddPanelSection(63, "Bordered edits and lists", FillEdits) &&
                    kavri_test::AddPanelSection(64, "Menu bar and open menu", FillMenus);

}  // namespace
