#include "skin/skin_grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QTest>
#include <algorithm>

#include "skin/system_colors.h"
#include "skin/theme_style.h"

using namespace kavri;

namespace {

QColor Px(const QImage& img, QPoint p) { return img.pixelColor(p); }
QColor C(TColor c) { return ToQColor(c); }

// A track grid as the show window builds it: two columns, a header row, data rows from 1.
struct TrackGrid {
  QWidget window;
  TSkinStringGrid* grid;
  explicit TrackGrid(int dataRows) {
    grid = new TSkinStringGrid(&window);
    grid->setGeometry(0, 0, 220, 200);
    grid->SetColCount(2);
    grid->SetFixedCols(0);
    grid->SetRowCount(dataRows + 1);
    grid->SetDefaultRowHeight(20);
    grid->SetColWidths(0, 142);
    grid->SetColWidths(1, 46);
    grid->Cells[0][0] = "FileName";
    grid->Cells[1][0] = "Time";
    for (int r = 1; r <= dataRows; ++r) {
      grid->Cells[0][r] = QString("file%1.ddr").arg(r);
      grid->Cells[1][r] = QString::number(r * 100);
    }
  }
  QPoint Centre(int col, int row) const { return grid->CellRect(col, row).center(); }
  void Send(QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(grid->mapToGlobal(pos)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(grid, &e);
  }
  void Drag(QPoint from, QPoint to) {
    Send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    Send(QEvent::MouseMove, to, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, to, Qt::NoButton);
  }
  void Click(QPoint at) {
    Send(QEvent::MouseButtonPress, at, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, at, Qt::NoButton);
  }
  QStringList Names() const {
    QStringList out;
    for (int r = 0; r < grid->RowCount(); ++r) out << grid->Cells[0][r];
    return out;
  }
};

TEST(SkinGrid, ThemedStyleOverwritesColoursCustomKeepsThem) {
  QWidget window;
  TSkinStringGrid grid(&window);
  EXPECT_EQ(grid.UIStyle(), TSkinUIStyle::Navy);  // a window without a themed form
  grid.SetUIStyle(TSkinUIStyle::Custom);
  grid.SetBorderColor(0x123456);
  grid.SetColor(0x010203);
  grid.SetFixedFontColor(0x0000FF);
  grid.SetUIStyle(TSkinUIStyle::Custom);
  EXPECT_EQ(grid.BorderColor(), 0x123456u);
  EXPECT_EQ(grid.Color(), 0x010203u);
  grid.SetUIStyle(TSkinUIStyle::Azure);
  EXPECT_EQ(grid.BorderColor(), GetThemeColor(TSkinUIStyle::Azure, 8));
  EXPECT_EQ(grid.FixedColor(), GetThemeColor(TSkinUIStyle::Azure, 12));
  EXPECT_EQ(grid.Color(), GetThemeColor(TSkinUIStyle::Azure, 9));
  EXPECT_EQ(grid.FixedFontColor(), GetThemeColor(TSkinUIStyle::Azure, 13));
  EXPECT_EQ(grid.FontColor(), GetThemeColor(TSkinUIStyle::Azure, 16));
  // Selected and focused colours are the grid's own; the two grids differ in the focused one.
  EXPECT_EQ(grid.FocusedColor(), 0x00FF00u);
  EXPECT_EQ(grid.SelectedColor(), 0x00FFFFu);
  TSkinDrawGrid draw(&window);
  EXPECT_EQ(draw.FocusedColor(), 0x008000u);
}

TEST(SkinGrid, CellColourPrecedenceAndFixedText) {
  TrackGrid t(3);
  TSkinStringGrid& g = *t.grid;
  g.SetUIStyle(TSkinUIStyle::Navy);
  g.SetSelectedColor(0x00FFFF);
  g.SetFocusedColor(0x00FF00);
  t.window.show();
  ASSERT_TRUE(g.SetRow(2));

  // Without the focus: the current cell is selected only.
  QImage img = g.grab().toImage();
  const int col = g.Col();
  const QRect current = g.CellRect(col, 2), other = g.CellRect(1 - col, 3), header = g.CellRect(1, 0);
  EXPECT_EQ(g.CellState(col, 2), TGridDrawState(gdSelected));
  EXPECT_EQ(g.CellState(1 - col, 2), TGridDrawState(0));
  EXPECT_EQ(Px(img, current.bottomRight() - QPoint(1, 1)), C(0x00FFFF));
  EXPECT_EQ(Px(img, other.bottomRight() - QPoint(1, 1)), C(g.Color()));
  EXPECT_EQ(Px(img, header.bottomRight() - QPoint(1, 1)), C(g.FixedColor()));

  // The fixed text is written in the fixed font colour from (left + 2, top + 2).
  bool textInFixedColour = false, textLeftOfMargin = false;
  for (int y = header.top(); y <= header.bottom(); ++y)
    for (int x = header.left(); x <= header.right(); ++x) {
      const QColor c = Px(img, {x, y});
      if (c == C(g.FixedColor())) continue;
      // (one column of anti-aliasing may bleed left of the text origin)
      if (x < header.left() + 1 || y < header.top() + 2) textLeftOfMargin = true;
      if (c == C(g.FixedFontColor())) textInFixedColour = true;
    }
  EXPECT_TRUE(textInFixedColour);
  EXPECT_FALSE(textLeftOfMargin);

  // Selected and focused together: the focused colour wins.
  t.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&t.window));
  g.setFocus();
  ASSERT_TRUE(g.hasFocus());
  EXPECT_EQ(g.CellState(col, 2), TGridDrawState(gdSelected | gdFocused));
  img = g.grab().toImage();
  EXPECT_EQ(Px(img, current.bottomRight() - QPoint(1, 1)), C(0x00FF00));
  // The two-ring border: border colour outside, background colour inside.
  EXPECT_EQ(Px(img, {0, 50}), C(g.BorderColor()));
  EXPECT_EQ(Px(img, {1, 50}), C(g.Color()));
}

TEST(SkinGrid, OnDrawCellPaintsOverTheDefaultDrawingWithTheCellState) {
  QWidget window;
  TSkinDrawGrid grid(&window);
  grid.setGeometry(0, 0, 200, 200);
  grid.SetColCount(4);
  grid.SetRowCount(64);
  grid.SetFixedCols(0);
  grid.SetFixedRows(0);
  grid.SetDefaultColWidth(30);
  std::vector<std::pair<int, int>> drawn;
  grid.OnDrawCell = [&](QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState) {
    drawn.emplace_back(col, row);
    canvas.fillRect(rect, QColor(col * 64, row, 0));
  };
  const QImage img = grid.grab().toImage();
  EXPECT_EQ(Px(img, grid.CellRect(2, 5).center()), QColor(128, 5, 0));
  EXPECT_EQ(Px(img, grid.CellRect(0, 0).center()), QColor(0, 0, 0));  // even the current cell
  EXPECT_TRUE(std::find(drawn.begin(), drawn.end(), std::make_pair(3, 0)) != drawn.end());
  // Rows scrolled out of sight are not drawn.
  EXPECT_TRUE(std::find(drawn.begin(), drawn.end(), std::make_pair(0, 63)) == drawn.end());
}

TEST(SkinGrid, ClicksGoThroughTheSelectCellVeto) {
  TrackGrid t(4);
  std::vector<int> asked;
  t.grid->OnSelectCell = [&](int, int row, bool& canSelect) {
    asked.push_back(row);
    canSelect = row != 3;
  };
  int clicks = 0;
  t.grid->OnClick = [&] { ++clicks; };
  t.Click(t.Centre(0, 3));
  EXPECT_EQ(t.grid->Row(), 1);
  t.Click(t.Centre(1, 4));
  EXPECT_EQ(t.grid->Row(), 4);
  EXPECT_EQ(t.grid->Col(), 1);
  t.Click(t.Centre(0, 0));  // the header is never selected and asks nothing
  EXPECT_EQ(t.grid->Row(), 4);
  EXPECT_EQ(asked, (std::vector<int>{3, 4}));
  EXPECT_EQ(clicks, 3);
  // Code goes through the same veto.
  EXPECT_FALSE(t.grid->SetRow(3));
  EXPECT_TRUE(t.grid->SetRow(2));
  QTest::keyClick(t.grid, Qt::Key_Down);  // to 3: vetoed
  EXPECT_EQ(t.grid->Row(), 2);
}

TEST(SkinGrid, DraggingARowMovesItsCellsAndTheCurrentRowFollows) {
  TrackGrid t(4);
  t.grid->SetOptions(t.grid->Options() | goRowMoving);
  std::vector<std::pair<int, int>> moves;
  t.grid->OnRowMoved = [&](int from, int to) { moves.emplace_back(from, to); };
  t.Drag(t.Centre(0, 1), t.Centre(0, 3));
  EXPECT_EQ(t.Names(), (QStringList{"FileName", "file2.ddr", "file3.ddr", "file1.ddr", "file4.ddr"}));
  EXPECT_EQ(t.grid->Cells[1][3], "100");  // the whole row moved
  EXPECT_EQ(t.grid->Row(), 3);
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{1, 3}}));
  // Dropping onto the header lands on the first data row; the header never moves.
  t.Drag(t.Centre(0, 4), t.Centre(0, 0));
  EXPECT_EQ(t.Names(), (QStringList{"FileName", "file4.ddr", "file2.ddr", "file3.ddr", "file1.ddr"}));
  // Without row moving a drag only selects.
  t.grid->SetOptions(t.grid->Options() & ~goRowMoving);
  t.Drag(t.Centre(0, 2), t.Centre(0, 4));
  EXPECT_EQ(t.Names(), (QStringList{"FileName", "file4.ddr", "file2.ddr", "file3.ddr", "file1.ddr"}));
  EXPECT_EQ(moves.size(), 2u);
}

TEST(SkinGrid, InPlaceEditingStoresOnEnterAndDropsOnEscape) {
  TrackGrid t(2);
  t.window.show();
  std::vector<QString> stored;
  t.grid->OnSetEditText = [&](int, int, const QString& text) { stored.push_back(text); };
  // Without goEditing nothing opens.
  t.Click(t.Centre(1, 1));
  t.Click(t.Centre(1, 1));
  EXPECT_FALSE(t.grid->EditorMode());
  t.grid->SetOptions(t.grid->Options() | goEditing);
  t.Click(t.Centre(1, 1));  // a click on the current cell opens the editor
  ASSERT_TRUE(t.grid->EditorMode());
  auto* editor = t.grid->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "100");
  editor->setText("250");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_FALSE(t.grid->EditorMode());
  EXPECT_EQ(t.grid->Cells[1][1], "250");
  // Typing on the grid starts editing with the typed character; Escape drops it.
  t.grid->setFocus();
  QTest::keyClicks(t.grid, "7");
  ASSERT_TRUE(t.grid->EditorMode());
  EXPECT_EQ(editor->text(), "7");
  QTest::keyClick(editor, Qt::Key_Escape);
  EXPECT_EQ(t.grid->Cells[1][1], "250");
  // Moving to another cell stores what was typed.
  t.grid->ShowEditor();
  editor->setText("42");
  t.Click(t.Centre(1, 2));
  EXPECT_EQ(t.grid->Cells[1][1], "42");
  EXPECT_EQ(t.grid->Row(), 2);
  EXPECT_EQ(stored, (std::vector<QString>{"250", "42"}));
  // A cell longer than the editor takes keeps its whole text when the editor opens and closes
  // without a change.
  t.grid->SetMaxEditLength(3);
  t.grid->Cells[1][2] = "123456";
  t.grid->ShowEditor();
  EXPECT_EQ(editor->text(), "123");
  t.grid->HideEditor(true);
  EXPECT_EQ(t.grid->Cells[1][2], "123456");
  EXPECT_EQ(stored.size(), 2u);
}

TEST(SkinGrid, ShrinkingTheGridKeepsCurrentRowAndScrollingConsistent) {
  TrackGrid t(30);
  ASSERT_TRUE(t.grid->SetRow(30));
  EXPECT_GT(t.grid->TopRow(), 1);                    // scrolled so the row shows
  EXPECT_FALSE(t.grid->CellRect(0, 30).isEmpty());
  EXPECT_TRUE(t.grid->CellRect(0, 1).isEmpty());
  t.grid->SetRowCount(2);                            // "cut to one data row"
  EXPECT_EQ(t.grid->Row(), 1);
  EXPECT_EQ(t.grid->TopRow(), 1);
  EXPECT_EQ(t.grid->Cells[0][1], "file1.ddr");
  EXPECT_EQ(t.grid->Cells[0][2], "");
  int col = -1, row = -1;
  EXPECT_TRUE(t.grid->MouseToCell(t.Centre(1, 1), col, row));
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 1);
}

}  // namespace

TEST(SkinGrid, SystemColoursPaintAsTheirPaletteColours) {
  TrackGrid t(3);
  TSkinStringGrid& g = *t.grid;
  g.SetUIStyle(TSkinUIStyle::Custom);
  g.SetFixedColor(clBtnFace);
  g.SetColor(clWindow);
  g.SetSelectedColor(clHighlight);
  g.SetFixedFontColor(clBtnText);
  g.SetBorderColor(clWindowText);
  ASSERT_TRUE(g.SetRow(2));
  const QImage img = g.grab().toImage();
  const QRect current = g.CellRect(g.Col(), 2), other = g.CellRect(1 - g.Col(), 3), header = g.CellRect(1, 0);
  EXPECT_EQ(Px(img, header.bottomRight() - QPoint(1, 1)), C(ColorToRGB(clBtnFace)));
  EXPECT_EQ(Px(img, other.bottomRight() - QPoint(1, 1)), C(ColorToRGB(clWindow)));
  EXPECT_EQ(Px(img, current.bottomRight() - QPoint(1, 1)), C(ColorToRGB(clHighlight)));
  EXPECT_EQ(Px(img, {0, 50}), C(ColorToRGB(clWindowText)));
}

namespace {

int Needs(const TSkinStringGrid* grid, const QString& text) {
  return QFontMetrics(grid->font()).horizontalAdvance(text) + 2 * 2 + 1;  // indents and grid line
}

// A column is as wide as its widest text, however the text got there, and a width given is only
// the least it gets; a column of short texts keeps the width given.
TEST(SkinGrid, ColumnsWidenToTheirWidestTextAndNeverCutIt) {
  TrackGrid t(2);
  EXPECT_EQ(t.grid->ColWidths(1), 46);  // "100", "200" fit
  t.grid->Cells[1][2] = "123456789";
  EXPECT_EQ(t.grid->ColWidths(1), Needs(t.grid, "123456789"));
  t.grid->SetColWidths(1, 20);
  EXPECT_EQ(t.grid->ColWidths(1), Needs(t.grid, "123456789"));
  t.grid->SetDefaultColWidth(10);
  EXPECT_EQ(t.grid->ColWidths(0), std::max({Needs(t.grid, "FileName"), Needs(t.grid, "file1.ddr"), Needs(t.grid, "file2.ddr")}));
  t.grid->SetRowTexts(1, {"a_much_longer_file_name.ddr", "1"});
  EXPECT_EQ(t.grid->ColWidths(0), Needs(t.grid, "a_much_longer_file_name.ddr"));
  // Typed in the cell editor.
  t.window.show();
  t.grid->SetOptions(t.grid->Options() | goEditing);
  t.grid->FocusCell(1, 1);
  ASSERT_EQ(t.grid->Col(), 1);
  ASSERT_EQ(t.grid->Row(), 1);
  t.grid->ShowEditor();
  auto* editor = t.grid->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText("3000000000000");
  t.grid->HideEditor(true);
  EXPECT_EQ(t.grid->ColWidths(1), Needs(t.grid, "3000000000000"));
  // A larger font widens the columns again.
  QFont big = t.grid->font();
  big.setPixelSize(QFontInfo(big).pixelSize() * 2);
  t.grid->setFont(big);
  EXPECT_EQ(t.grid->ColWidths(1), Needs(t.grid, "3000000000000"));
}

}  // namespace
// Equal short texts (the numbers a long segment repeats) share one string; names do not fill the table.
TEST(SkinGrid, SharedCellTextsShareEqualNumbersAndKeepEveryText) {
  TSharedCellTexts texts;
  const QString a = texts.Text("30000");
  const QString b = texts.Text("30000");
  EXPECT_EQ(b, "30000");
  EXPECT_TRUE(a.isSharedWith(b));
  EXPECT_EQ(texts.Text("-2147483648"), "-2147483648");
  EXPECT_TRUE(texts.Text("-2147483648").isSharedWith(texts.Text("-2147483648")));
  const QString name = texts.Text("a_long_drawing_name.ddr");
  EXPECT_EQ(name, "a_long_drawing_name.ddr");
  EXPECT_FALSE(name.isSharedWith(texts.Text("a_long_drawing_name.ddr")));
  EXPECT_EQ(texts.Text(""), "");
  EXPECT_EQ(texts.Text("\xc3\xa9t\xc3\xa9"), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
}
