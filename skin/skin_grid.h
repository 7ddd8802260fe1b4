#pragma once
// Themed grids: TSkinDrawGrid (the palette grid) and TSkinStringGrid (segment and track grids).
//
// How a window uses them:
//   grid->SetColCount(19); grid->SetRowCount(2);      // RowCount counts the fixed header row
//   grid->SetFixedCols(0); grid->SetFixedRows(1);     // row 0 is the header, data rows from 1
//   grid->Cells[0][0] = "Drawing name";                // Cells[col][row], string grid only
//   QString name = grid->Cells[0][grid->Row()];
//   grid->SetOptions(grid->Options() | goEditing | goRowMoving);
//   grid->OnSelectCell = [](int col, int row, bool& canSelect) { ... canSelect = false; ... };
//   grid->OnDrawCell = [](QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState s) {...};
//   grid->OnRowMoved = [](int from, int to) { ... };  // after a row was dragged; cells already moved
//   grid->SetRow(3);                                   // runs OnSelectCell like a click does
//
// The current cell (Row/Col) is always a non-fixed cell. Clicks, arrow keys and SetRow/SetCol all
// go through OnSelectCell, whose veto keeps the current cell. With goEditing a click on the current
// cell, a double click, F2, Enter or a typed character opens the in-place editor; Enter or leaving
// the cell stores the text (OnSetEditText), Escape drops it. With goRowMoving a row is dragged by
// its fixed-column cell, or, in a grid without fixed columns, by any of its cells; the row's cells
// really move and the current row follows the row it was on.
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "platform/tcolor.h"
#include "skin/grid_model.h"
#include "skin/style_apply.h"
#include "skin/theme_style.h"

class QLineEdit;
class QScrollBar;

namespace kavri {

enum TGridOption : uint32_t {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRowSelect = 1u << 4,
  goEditing = 1u << 5,
  goRowMoving = 1u << 6,
  goAlwaysShowEditor = 1u << 7,
};
using TGridOptions = uint32_t;

enum TGridDrawStateFlag : uint32_t { gdSelected = 1u << 0, gdFocused = 1u << 1, gdFixed = 1u << 2 };
using TGridDrawState = uint32_t;

class TSkinCustomDrawGrid : public QWidget, public TSkinStyleHooks {
  Q_OBJECT
 public:
  // focusedColor differs between the two published grids (green here, lime for the string grid).
  explicit TSkinCustomDrawGrid(QWidget* owner = nullptr, TColor focusedColor = 0x008000);
  ~TSkinCustomDrawGrid() override;

  // Cell space (see TGridModel).
  int ColCount() const { return model_.ColCount(); }
  int RowCount() const { return model_.RowCount(); }
  int FixedCols() const { return model_.FixedCols(); }
  int FixedRows() const { return model_.FixedRows(); }
  void SetColCount(int count);
  void SetRowCount(int count);
  void SetFixedCols(int count);
  void SetFixedRows(int count);
  int Col() const { return model_.Col(); }
  int Row() const { return model_.Row(); }
  bool SetCol(int col);
  bool SetRow(int row);
  bool FocusCell(int col, int row);
  bool MoveRow(int from, int to);
  int DefaultColWidth() const { return model_.DefaultColWidth(); }
  int DefaultRowHeight() const { return model_.DefaultRowHeight(); }
  void SetDefaultColWidth(int width);
  void SetDefaultRowHeight(int height);
  int ColWidths(int col) const { return model_.ColWidth(col); }
  int RowHeights(int row) const { return model_.RowHeight(row); }
  // A width given is the least a column gets: a column is always as wide as its texts need, so no
  // text (a number above all) is ever shown cut.
  void SetColWidths(int col, int width);
  void SetRowHeights(int row, int height);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);

  // Where a cell is drawn, in widget coordinates; empty when it is scrolled out of sight.
  QRect CellRect(int col, int row) const;
  // The cell under a widget point; false when there is none.
  bool MouseToCell(const QPoint& pos, int& col, int& row) const;

  bool EditorMode() const;
  void ShowEditor();
  void HideEditor(bool store = true);
  // The most characters the in-place editor takes.
  void SetMaxEditLength(int chars);

  // Theme.
  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);
  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }
  TColor BorderColor() const { return borderColor_; }
  TColor FocusedColor() const { return focusedColor_; }
  TColor SelectedColor() const { return selectedColor_; }
  TColor FixedFontColor() const { return fixedFontColor_; }
  TColor FontColor() const { return fontColor_; }
  TColor Color() const { return color_; }
  TColor FixedColor() const { return fixedColor_; }
  void SetBorderColor(TColor c);
  void SetFocusedColor(TColor c);
  void SetSelectedColor(TColor c);
  void SetFixedFontColor(TColor c);
  void SetFontColor(TColor c);
  void SetColor(TColor c);
  void SetFixedColor(TColor c);

  // Events.
  std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
  std::function<void(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state)> OnDrawCell;
  std::function<void(int col, int row, const QString& text)> OnSetEditText;
  // The text the in-place editor opens with, when the cell shows only part of it; unset, the cell's.
  std::function<QString(int col, int row)> OnGetEditText;
  std::function<void(int from, int to)> OnRowMoved;
  std::function<void()> OnClick;
  std::function<void()> OnEnter;  // the grid took the keyboard focus

  // The draw state a cell would be painted with now.
  TGridDrawState CellState(int col, int row) const;
  // Paints one cell exactly as the grid does (fills, fixed text, default text, OnDrawCell).
  void PaintCell(QPainter& canvas, int col, int row, const QRect& rect);

 protected:
  TGridModel& Model() { return model_; }
  const TGridModel& Model() const { return model_; }
  // The string grid writes its texts; the draw grid has none of its own.
  virtual void DrawCellText(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state);
  virtual bool HasCellTexts() const { return false; }
  // The width the column's texts need, 0 when it has none; FitColumn widens the column to it.
  virtual int ColumnTextWidth(int) const { return 0; }
  void FitColumn(int col);
  void WidenColumn(int col, int needed);
  void changeEvent(QEvent* event) override;
  // The in-place editor opens only when this agrees, with the text this gives.
  virtual bool CanEditShow() { return true; }
  virtual QString GetEditText(int col, int row) const {
    return OnGetEditText ? OnGetEditText(col, row) : model_.Cell(col, row);
  }
  QLineEdit* InplaceEditor() const { return editor_; }

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool AskSelect(int col, int row);
  void MoveCurrentTo(int col, int row);
  void MakeVisible(int col, int row);
  void UpdateScrollBars();
  int VisibleDataRows(int fromRow) const;
  int VisibleDataCols(int fromCol) const;
  QRect GridArea() const;
  void PlaceEditor();
  void Changed();

  TGridModel model_;
  TGridOptions options_;
  int topRow_;
  int leftCol_;
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Custom;
  TColor borderColor_ = 0;
  TColor focusedColor_;
  TColor selectedColor_ = 0x00FFFF;
  TColor fixedFontColor_ = 0;
  TColor fontColor_ = 0;
  TColor color_ = 0xFFFFFF;
  TColor fixedColor_ = 0xC0C0C0;
  QScrollBar* vScroll_;
  QScrollBar* hScroll_;
  QLineEdit* editor_;
  QString opened_;  // the editor's text as it opened
  int editCol_ = -1;
  int editRow_ = -1;
  int dragRow_ = -1;     // row being dragged, -1 when none
  int dropRow_ = -1;     // where it would land
  bool pressOnCurrent_ = false;
};

class TSkinDrawGrid : public TSkinCustomDrawGrid {
  Q_OBJECT
 public:
  explicit TSkinDrawGrid(QWidget* owner = nullptr) : TSkinCustomDrawGrid(owner, 0x008000) {}
};

class TSkinStringGrid;

// Cells[col][row]: reads give the text, assignment stores it and repaints.
class TGridCellRef {
 public:
  TGridCellRef(TSkinStringGrid& grid, int col, int row) : grid_(grid), col_(col), row_(row) {}
  TGridCellRef& operator=(const QString& text);
  TGridCellRef& operator=(const TGridCellRef& other) { return *this = QString(other); }
  operator QString() const;
  QString Trimmed() const { return QString(*this).trimmed(); }
  bool operator==(const QString& text) const { return QString(*this) == text; }

 private:
  TSkinStringGrid& grid_;
  int col_;
  int row_;
};

class TGridColumnRef {
 public:
  TGridColumnRef(TSkinStringGrid& grid, int col) : grid_(grid), col_(col) {}
  TGridCellRef operator[](int row) const { return TGridCellRef(grid_, col_, row); }

 private:
  TSkinStringGrid& grid_;
  int col_;
};

class TGridCells {
 public:
  explicit TGridCells(TSkinStringGrid& grid) : grid_(grid) {}
  TGridColumnRef operator[](int col) const { return TGridColumnRef(grid_, col); }

 private:
  TSkinStringGrid& grid_;
};

class TSkinStringGrid : public TSkinCustomDrawGrid {
  Q_OBJECT
 public:
  explicit TSkinStringGrid(QWidget* owner = nullptr);

  TGridCells Cells{*this};
  QString Cell(int col, int row) const { return Model().Cell(col, row); }
  void SetCell(int col, int row, const QString& text);
  // All texts of a row, in column order.
  QStringList RowTexts(int row) const;
  void SetRowTexts(int row, const QStringList& texts);

 protected:
  void DrawCellText(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
  bool HasCellTexts() const override { return true; }
  int ColumnTextWidth(int col) const override;
  void changeEvent(QEvent* event) override;

 private:
  int TextWidthNeeded(const QString& text) const;
  static constexpr int kCellTextIndent = 2;
  // Measured widths by text, for the grid's font: a long segment repeats the same few texts, and
  // measuring each cell again made opening one ten times slower.
  mutable QHash<QString, int> textWidths_;
  static constexpr qsizetype kMostTextWidths = 4096;
};

// Turns cell texts into the grid's strings, sharing one string among equal short texts: the rows of
// a long segment or show repeat the same few numbers, so their cells then cost little more than
// their handles. Longer texts (names) are converted one by one, so the table stays small.
class TSharedCellTexts {
 public:
  QString Text(const std::string& text);

 private:
  static constexpr size_t kLongestShared = 11;  // an int32 in decimal with its sign
  std::unordered_map<std::string, QString> shared_;
};

// Stores the text of every cell still being typed in the window's grids. A command chosen from a
// menu takes no focus from the cell editor, so without this it would act on the old text.
void CommitTypedCells(QWidget* window);

}  // namespace kavri
