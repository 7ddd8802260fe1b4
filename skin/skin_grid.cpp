#include "skin/skin_grid.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "skin/skin_draw.h"
#include "skin/style_apply.h"
#include "skin/system_colors.h"
#include "skin/theme_style.h"

namespace kavri {

namespace {
constexpr int kRing = 2;        // the two border rings around the cells
constexpr int kLine = 1;        // grid line after every cell
constexpr TColor kLineColor = 0xC0C0C0;
// Grid colours may be system colours, as every TColor property may.
QColor Rgb(TColor c) { return ToQColor(ColorToRGB(c)); }
}  // namespace

TSkinCustomDrawGrid::TSkinCustomDrawGrid(QWidget* owner, TColor focusedColor)
    : QWidget(owner),
      model_(5, 5, 1, 1),
      options_(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine),
      topRow_(1),
      leftCol_(1),
      focusedColor_(focusedColor) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  model_.CanSelect = [this](int col, int row) { return AskSelect(col, row); };
  vScroll_ = new QScrollBar(Qt::Vertical, this);
  hScroll_ = new QScrollBar(Qt::Horizontal, this);
  vScroll_->setFocusPolicy(Qt::NoFocus);
  hScroll_->setFocusPolicy(Qt::NoFocus);
  connect(vScroll_, &QScrollBar::valueChanged, this, [this](int v) { SetTopRow(v); });
  connect(hScroll_, &QScrollBar::valueChanged, this, [this](int v) { SetLeftCol(v); });
  editor_ = new QLineEdit(this);
  editor_->setFrame(false);
  editor_->hide();
  editor_->installEventFilter(this);
  resize(320, 120);
  SetUIStyle(GetSkinFormStyle(OwnerForm(owner)));
}

TSkinCustomDrawGrid::~TSkinCustomDrawGrid() { model_.CanSelect = nullptr; }

bool TSkinCustomDrawGrid::AskSelect(int col, int row) {
  bool canSelect = true;
  if (OnSelectCell) OnSelectCell(col, row, canSelect);
  return canSelect;
}

void TSkinCustomDrawGrid::Changed() {
  topRow_ = std::clamp(topRow_, FixedRows(), std::max(FixedRows(), RowCount() - 1));
  leftCol_ = std::clamp(leftCol_, FixedCols(), std::max(FixedCols(), ColCount() - 1));
  UpdateScrollBars();
  PlaceEditor();
  update();
}

void TSkinCustomDrawGrid::SetColCount(int count) {
  HideEditor();
  model_.SetColCount(count);
  Changed();
}

void TSkinCustomDrawGrid::SetRowCount(int count) {
  HideEditor();
  model_.SetRowCount(count);
  Changed();
}

void TSkinCustomDrawGrid::SetFixedCols(int count) {
  model_.SetFixedCols(count);
  Changed();
}

void TSkinCustomDrawGrid::SetFixedRows(int count) {
  model_.SetFixedRows(count);
  Changed();
}

bool TSkinCustomDrawGrid::SetCol(int col) { return FocusCell(col, Row()); }
bool TSkinCustomDrawGrid::SetRow(int row) { return FocusCell(Col(), row); }

bool TSkinCustomDrawGrid::FocusCell(int col, int row) {
  if (EditorMode() && (col != editCol_ || row != editRow_)) HideEditor();
  const bool moved = model_.FocusCell(col, row);
  if (moved) {
    MakeVisible(Col(), Row());
    update();
  }
  return moved;
}

void TSkinCustomDrawGrid::MoveCurrentTo(int col, int row) {
  col = std::clamp(col, FixedCols(), ColCount() - 1);
  row = std::clamp(row, FixedRows(), RowCount() - 1);
  FocusCell(col, row);
}

bool TSkinCustomDrawGrid::MoveRow(int from, int to) {
  HideEditor();
  if (!model_.MoveRow(from, to)) return false;
  update();
  return true;
}

void TSkinCustomDrawGrid::SetDefaultColWidth(int width) {
  model_.SetDefaultColWidth(width);
  for (int c = 0; c < ColCount(); ++c) model_.SetColWidth(c, std::max(width, ColumnTextWidth(c)));
  Changed();
}

void TSkinCustomDrawGrid::SetDefaultRowHeight(int height) {
  model_.SetDefaultRowHeight(height);
  Changed();
}

void TSkinCustomDrawGrid::SetColWidths(int col, int width) {
  model_.SetColWidth(col, std::max(width, ColumnTextWidth(col)));
  Changed();
}

void TSkinCustomDrawGrid::FitColumn(int col) { WidenColumn(col, ColumnTextWidth(col)); }

void TSkinCustomDrawGrid::WidenColumn(int col, int needed) {
  if (col < 0 || col >= ColCount() || needed <= model_.ColWidth(col)) return;
  model_.SetColWidth(col, needed);
  Changed();
}

void TSkinCustomDrawGrid::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange)
    for (int c = 0; c < ColCount(); ++c) FitColumn(c);
}

void TSkinCustomDrawGrid::SetRowHeights(int row, int height) {
  model_.SetRowHeight(row, height);
  Changed();
}

void TSkinCustomDrawGrid::SetOptions(TGridOptions options) {
  options_ = options;
  if (!(options_ & goEditing)) HideEditor();
  update();
}

void TSkinCustomDrawGrid::SetTopRow(int row) {
  row = std::clamp(row, FixedRows(), std::max(FixedRows(), RowCount() - 1));
  if (row == topRow_) return;
  topRow_ = row;
  if (vScroll_->value() != row) vScroll_->setValue(row);
  PlaceEditor();
  update();
}

void TSkinCustomDrawGrid::SetLeftCol(int col) {
  col = std::clamp(col, FixedCols(), std::max(FixedCols(), ColCount() - 1));
  if (col == leftCol_) return;
  leftCol_ = col;
  if (hScroll_->value() != col) hScroll_->setValue(col);
  PlaceEditor();
  update();
}

QRect TSkinCustomDrawGrid::GridArea() const {
  QRect r = rect().adjusted(kRing, kRing, -kRing, -kRing);
  if (vScroll_->isVisible()) r.setRight(r.right() - vScroll_->width());
  if (hScroll_->isVisible()) r.setBottom(r.bottom() - hScroll_->height());
  return r;
}

QRect TSkinCustomDrawGrid::CellRect(int col, int row) const {
  if (!model_.Contains(col, row)) return {};
  if (col >= FixedCols() && col < leftCol_) return {};
  if (row >= FixedRows() && row < topRow_) return {};
  const QRect area = GridArea();
  int x = area.left();
  for (int c = 0; c < std::min(col, FixedCols()); ++c) x += model_.ColWidth(c) + kLine;
  for (int c = leftCol_; c < col; ++c) x += model_.ColWidth(c) + kLine;
  int y = area.top();
  for (int r = 0; r < std::min(row, FixedRows()); ++r) y += model_.RowHeight(r) + kLine;
  for (int r = topRow_; r < row; ++r) y += model_.RowHeight(r) + kLine;
  if (x > area.right() || y > area.bottom()) return {};
  return QRect(x, y, model_.ColWidth(col), model_.RowHeight(row));
}

bool TSkinCustomDrawGrid::MouseToCell(const QPoint& pos, int& col, int& row) const {
  const QRect area = GridArea();
  if (!area.contains(pos)) return false;
  auto find = [](int start, int p, int fixed, int first, int count, auto size) {
    int at = start;
    for (int i = 0; i < count; ++i) {
      if (i >= fixed && i < first) continue;
      const int next = at + size(i) + kLine;
      if (p >= at && p < next) return i;
      at = next;
    }
    return -1;
  };
  col = find(area.left(), pos.x(), FixedCols(), leftCol_, ColCount(), [this](int c) { return model_.ColWidth(c); });
  row = find(area.top(), pos.y(), FixedRows(), topRow_, RowCount(), [this](int r) { return model_.RowHeight(r); });
  return col >= 0 && row >= 0;
}

int TSkinCustomDrawGrid::VisibleDataRows(int fromRow) const {
  int room = GridArea().height();
  for (int r = 0; r < FixedRows(); ++r) room -= model_.RowHeight(r) + kLine;
  int n = 0;
  for (int r = fromRow; r < RowCount(); ++r) {
    room -= model_.RowHeight(r) + kLine;
    if (room < 0) break;
    ++n;
  }
  return std::max(n, 1);
}

int TSkinCustomDrawGrid::VisibleDataCols(int fromCol) const {
  int room = GridArea().width();
  for (int c = 0; c < FixedCols(); ++c) room -= model_.ColWidth(c) + kLine;
  int n = 0;
  for (int c = fromCol; c < ColCount(); ++c) {
    room -= model_.ColWidth(c) + kLine;
    if (room < 0) break;
    ++n;
  }
  return std::max(n, 1);
}

void TSkinCustomDrawGrid::MakeVisible(int col, int row) {
  if (row < topRow_) {
    SetTopRow(row);
  } else {
    while (topRow_ < row && row >= topRow_ + VisibleDataRows(topRow_)) SetTopRow(topRow_ + 1);
  }
  if (col < leftCol_) {
    SetLeftCol(col);
  } else {
    while (leftCol_ < col && col >= leftCol_ + VisibleDataCols(leftCol_)) SetLeftCol(leftCol_ + 1);
  }
}

void TSkinCustomDrawGrid::UpdateScrollBars() {
  const int sw = vScroll_->sizeHint().width();
  const int sh = hScroll_->sizeHint().height();
  const QRect inner = rect().adjusted(kRing, kRing, -kRing, -kRing);
  auto need = [](int room, int fixedCount, int count, auto size) {
    int total = 0;
    for (int i = 0; i < count; ++i) total += size(i) + kLine;
    (void)fixedCount;
    return total > room;
  };
  const auto colSize = [this](int c) { return model_.ColWidth(c); };
  const auto rowSize = [this](int r) { return model_.RowHeight(r); };
  bool needV = need(inner.height(), FixedRows(), RowCount(), rowSize);
  bool needH = need(inner.width() - (needV ? sw : 0), FixedCols(), ColCount(), colSize);
  if (needH && !needV) needV = need(inner.height() - sh, FixedRows(), RowCount(), rowSize);
  vScroll_->setVisible(needV && RowCount() > FixedRows());
  hScroll_->setVisible(needH && ColCount() > FixedCols());
  vScroll_->setGeometry(inner.right() - sw + 1, inner.top(), sw, inner.height() - (hScroll_->isVisible() ? sh : 0));
  hScroll_->setGeometry(inner.left(), inner.bottom() - sh + 1, inner.width() - (vScroll_->isVisible() ? sw : 0), sh);
  // The last scroll position shows the final rows (columns) filling the area.
  auto lastFirst = [](int room, int fixedCount, int count, auto size) {
    for (int i = 0; i < fixedCount; ++i) room -= size(i) + kLine;
    int first = count - 1;
    room -= size(first) + kLine;
    while (first > fixedCount && room - (size(first - 1) + kLine) >= 0) {
      --first;
      room -= size(first) + kLine;
    }
    return std::max(first, fixedCount);
  };
  const QRect area = GridArea();
  const QSignalBlocker bv(vScroll_), bh(hScroll_);
  vScroll_->setRange(FixedRows(), lastFirst(area.height(), FixedRows(), RowCount(), rowSize));
  vScroll_->setPageStep(VisibleDataRows(topRow_));
  vScroll_->setValue(topRow_);
  hScroll_->setRange(FixedCols(), lastFirst(area.width(), FixedCols(), ColCount(), colSize));
  hScroll_->setPageStep(VisibleDataCols(leftCol_));
  hScroll_->setValue(leftCol_);
  if (!vScroll_->isVisible()) topRow_ = FixedRows();
  if (!hScroll_->isVisible()) leftCol_ = FixedCols();
}

void TSkinCustomDrawGrid::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  UpdateScrollBars();
  PlaceEditor();
}

TGridDrawState TSkinCustomDrawGrid::CellState(int col, int row) const {
  if (model_.IsFixed(col, row)) return gdFixed;
  TGridDrawState state = 0;
  const bool current = col == Col() && row == Row();
  if (row == Row() && (current || (options_ & goRowSelect))) state |= gdSelected;
  if (current && hasFocus()) state |= gdFocused;
  return state;
}

void TSkinCustomDrawGrid::PaintCell(QPainter& canvas, int col, int row, const QRect& rect) {
  const TGridDrawState state = CellState(col, row);
  canvas.save();
  canvas.setClipRect(rect);
  if (state & gdFixed) {
    canvas.fillRect(rect, Rgb(fixedColor_));
  } else {
    TColor brush = color_;
    if (state & gdSelected) brush = selectedColor_;
    if (state & gdFocused) brush = focusedColor_;
    canvas.fillRect(rect, Rgb(brush));
  }
  canvas.setFont(font());
  DrawCellText(canvas, col, row, rect, state);
  canvas.restore();
  if (OnDrawCell) {
    canvas.save();
    canvas.setClipRect(rect);
    canvas.setFont(font());
    OnDrawCell(canvas, col, row, rect, state);
    canvas.restore();
  }
}

void TSkinCustomDrawGrid::DrawCellText(QPainter&, int, int, const QRect&, TGridDrawState) {}

void TSkinCustomDrawGrid::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Rgb(color_));
  const QRect area = GridArea();
  p.setClipRect(area);
  // Rows stop at the first one below the area, so a long grid paints only what shows.
  auto visibleRows = [&] {
    std::vector<int> rows;
    for (int r = 0; r < FixedRows(); ++r) rows.push_back(r);
    const int probeCol = FixedCols() > 0 ? 0 : leftCol_;
    for (int r = topRow_; r < RowCount() && !CellRect(probeCol, r).isEmpty(); ++r) rows.push_back(r);
    return rows;
  }();
  std::vector<int> visibleCols;
  for (int c = 0; c < FixedCols(); ++c) visibleCols.push_back(c);
  for (int c = leftCol_; c < ColCount(); ++c) visibleCols.push_back(c);
  for (int r : visibleRows) {
    for (int c : visibleCols) {
      const QRect cell = CellRect(c, r);
      if (cell.isEmpty()) continue;
      PaintCell(p, c, r, cell);
      const bool fixed = model_.IsFixed(c, r);
      const bool vert = options_ & (fixed ? goFixedVertLine : goVertLine);
      const bool horz = options_ & (fixed ? goFixedHorzLine : goHorzLine);
      p.setPen(Rgb(fixed ? borderColor_ : kLineColor));
      if (vert) p.drawLine(cell.right() + 1, cell.top(), cell.right() + 1, cell.bottom() + 1);
      if (horz) p.drawLine(cell.left(), cell.bottom() + 1, cell.right() + 1, cell.bottom() + 1);
    }
  }
  if (dragRow_ >= 0 && dropRow_ >= 0) {
    // Where the dragged row will land: a bar on the side it comes from.
    const QRect target = CellRect(FixedCols() > 0 ? 0 : leftCol_, dropRow_);
    if (!target.isEmpty()) {
      const int y = dropRow_ > dragRow_ ? target.bottom() : target.top();
      p.fillRect(QRect(area.left(), y - 1, area.width(), 3), Rgb(focusedColor_));
    }
  }
  p.setClipping(false);
  DrawControlBorder(p, width(), height(), borderColor_, color_);
}

void TSkinCustomDrawGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  if (EditorMode()) HideEditor();
  setFocus(Qt::MouseFocusReason);
  int col, row;
  pressOnCurrent_ = false;
  dragRow_ = dropRow_ = -1;
  if (!MouseToCell(event->position().toPoint(), col, row)) return;
  const bool movable = (options_ & goRowMoving) && row >= FixedRows() &&
                       (FixedCols() > 0 ? col < FixedCols() : true);
  if (movable) dragRow_ = row;
  if (model_.IsFixed(col, row)) return;
  pressOnCurrent_ = col == Col() && row == Row();
  if (!pressOnCurrent_) FocusCell(col, row);
}

void TSkinCustomDrawGrid::mouseMoveEvent(QMouseEvent* event) {
  if (dragRow_ < 0 || !(event->buttons() & Qt::LeftButton)) return;
  const QPoint pos = event->position().toPoint();
  const QRect area = GridArea();
  if (pos.y() > area.bottom()) SetTopRow(topRow_ + 1);
  int col, row;
  const QPoint probe(std::clamp(pos.x(), area.left(), area.right()), std::clamp(pos.y(), area.top(), area.bottom()));
  if (MouseToCell(probe, col, row)) {
    if (row < FixedRows()) {
      if (topRow_ > FixedRows()) SetTopRow(topRow_ - 1);
      row = topRow_;
    }
    dropRow_ = row == dragRow_ ? -1 : row;
  }
  update();
}

void TSkinCustomDrawGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int from = dragRow_, to = dropRow_;
  dragRow_ = dropRow_ = -1;
  if (from >= 0 && to >= 0) {
    if (MoveRow(from, to) && OnRowMoved) OnRowMoved(from, to);
  } else if (pressOnCurrent_ && (options_ & goEditing)) {
    ShowEditor();
  }
  pressOnCurrent_ = false;
  update();
  if (OnClick) OnClick();
}

void TSkinCustomDrawGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  int col, row;
  if (event->button() == Qt::LeftButton && MouseToCell(event->position().toPoint(), col, row) &&
      col == Col() && row == Row())
    ShowEditor();
}

void TSkinCustomDrawGrid::keyPressEvent(QKeyEvent* event) {
  const int pageRows = VisibleDataRows(topRow_);
  switch (event->key()) {
    case Qt::Key_Up: MoveCurrentTo(Col(), Row() - 1); break;
    case Qt::Key_Down: MoveCurrentTo(Col(), Row() + 1); break;
    case Qt::Key_Left: MoveCurrentTo(Col() - 1, Row()); break;
    case Qt::Key_Right: MoveCurrentTo(Col() + 1, Row()); break;
    case Qt::Key_PageUp: MoveCurrentTo(Col(), Row() - pageRows); break;
    case Qt::Key_PageDown: MoveCurrentTo(Col(), Row() + pageRows); break;
    case Qt::Key_Home:
      if (event->modifiers() & Qt::ControlModifier) MoveCurrentTo(Col(), FixedRows());
      else MoveCurrentTo(FixedCols(), Row());
      break;
    case Qt::Key_End:
      if (event->modifiers() & Qt::ControlModifier) MoveCurrentTo(Col(), RowCount() - 1);
      else MoveCurrentTo(ColCount() - 1, Row());
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F2: ShowEditor(); break;
    default: {
      const QString text = event->text();
      if ((options_ & goEditing) && !text.isEmpty() && text.at(0).isPrint() &&
          !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        ShowEditor();
        if (EditorMode()) editor_->setText(text);
        return;
      }
      QWidget::keyPressEvent(event);
      return;
    }
  }
}

void TSkinCustomDrawGrid::wheelEvent(QWheelEvent* event) {
  const int steps = event->angleDelta().y() / 40;
  if (steps != 0) SetTopRow(topRow_ - steps);
  event->accept();
}

void TSkinCustomDrawGrid::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  if (OnEnter && event->reason() != Qt::OtherFocusReason) OnEnter();
}

void TSkinCustomDrawGrid::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

bool TSkinCustomDrawGrid::EditorMode() const { return editor_->isVisible(); }

void TSkinCustomDrawGrid::ShowEditor() {
  if (!(options_ & goEditing) || model_.IsFixed(Col(), Row()) || !CanEditShow()) return;
  editCol_ = Col();
  editRow_ = Row();
  MakeVisible(editCol_, editRow_);
  editor_->setText(GetEditText(editCol_, editRow_));
  opened_ = editor_->text();
  editor_->show();
  PlaceEditor();
  editor_->setFocus(Qt::OtherFocusReason);
  editor_->selectAll();
}

void TSkinCustomDrawGrid::SetMaxEditLength(int chars) { editor_->setMaxLength(chars); }

void TSkinCustomDrawGrid::HideEditor(bool store) {
  if (!editor_->isVisible()) return;
  const QString text = editor_->text();
  const bool hadFocus = editor_->hasFocus();
  editor_->hide();
  // Text left as it opened is not stored: a cell longer than the editor takes would be cut.
  if (store && text != opened_ && model_.Contains(editCol_, editRow_)) {
    model_.SetCell(editCol_, editRow_, text);
    FitColumn(editCol_);
    if (OnSetEditText) OnSetEditText(editCol_, editRow_, text);
  }
  if (hadFocus) setFocus(Qt::OtherFocusReason);
  update();
}

void TSkinCustomDrawGrid::PlaceEditor() {
  if (!editor_->isVisible()) return;
  const QRect cell = CellRect(editCol_, editRow_);
  if (cell.isEmpty()) {
    editor_->setGeometry(-1000, -1000, 10, 10);
    return;
  }
  editor_->setGeometry(cell.adjusted(1, 1, 0, 0));
}

bool TSkinCustomDrawGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == editor_) {
    if (event->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(event);
      switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: HideEditor(true); return true;
        case Qt::Key_Escape: HideEditor(false); return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
          HideEditor(true);
          keyPressEvent(key);
          return true;
        default: break;
      }
    } else if (event->type() == QEvent::FocusOut) {
      HideEditor(true);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TSkinCustomDrawGrid::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  if (style != TSkinUIStyle::Custom) {
    borderColor_ = GetThemeColor(style, 8);
    fixedColor_ = GetThemeColor(style, 12);
    color_ = GetThemeColor(style, 9);
    fixedFontColor_ = GetThemeColor(style, 13);
    fontColor_ = GetThemeColor(style, 16);
  }
  update();
}

void TSkinCustomDrawGrid::SetBorderColor(TColor c) { borderColor_ = c; update(); }
void TSkinCustomDrawGrid::SetFocusedColor(TColor c) { focusedColor_ = c; update(); }
void TSkinCustomDrawGrid::SetSelectedColor(TColor c) { selectedColor_ = c; update(); }
void TSkinCustomDrawGrid::SetFixedFontColor(TColor c) { fixedFontColor_ = c; update(); }
void TSkinCustomDrawGrid::SetFontColor(TColor c) { fontColor_ = c; update(); }
void TSkinCustomDrawGrid::SetColor(TColor c) { color_ = c; update(); }
void TSkinCustomDrawGrid::SetFixedColor(TColor c) { fixedColor_ = c; update(); }

// ---- string grid ----

TGridCellRef& TGridCellRef::operator=(const QString& text) {
  grid_.SetCell(col_, row_, text);
  return *this;
}

TGridCellRef::operator QString() const { return grid_.Cell(col_, row_); }

TSkinStringGrid::TSkinStringGrid(QWidget* owner) : TSkinCustomDrawGrid(owner, 0x00FF00) {}

void TSkinStringGrid::SetCell(int col, int row, const QString& text) {
  Model().SetCell(col, row, text);
  WidenColumn(col, TextWidthNeeded(text));
  update();
}

QStringList TSkinStringGrid::RowTexts(int row) const {
  QStringList texts;
  if (row < 0 || row >= RowCount()) return texts;
  for (int c = 0; c < ColCount(); ++c) texts << Model().Cell(c, row);
  return texts;
}

void TSkinStringGrid::SetRowTexts(int row, const QStringList& texts) {
  for (int c = 0; c < ColCount(); ++c) {
    Model().SetCell(c, row, c < texts.size() ? texts[c] : QString());
    WidenColumn(c, TextWidthNeeded(Model().Cell(c, row)));
  }
  update();
}

int TSkinStringGrid::TextWidthNeeded(const QString& text) const {
  if (text.isEmpty()) return 0;
  if (const auto known = textWidths_.constFind(text); known != textWidths_.cend()) return *known;
  if (textWidths_.size() >= kMostTextWidths) textWidths_.clear();
  // The text's indent on both sides and the grid line.
  const int needed = QFontMetrics(font()).horizontalAdvance(text) + 2 * kCellTextIndent + 1;
  textWidths_.insert(text, needed);
  return needed;
}

void TSkinStringGrid::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) textWidths_.clear();
  TSkinCustomDrawGrid::changeEvent(event);
}

int TSkinStringGrid::ColumnTextWidth(int col) const {
  int widest = 0;
  for (int r = 0; r < RowCount(); ++r) widest = std::max(widest, TextWidthNeeded(Model().Cell(col, r)));
  return widest;
}

void TSkinStringGrid::DrawCellText(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) {
  const QString& text = Model().Cell(col, row);
  if (text.isEmpty()) return;
  canvas.setPen(Rgb((state & gdFixed) ? FixedFontColor() : FontColor()));
  const QRect textRect = rect.adjusted(kCellTextIndent, 2, 0, 0);
  canvas.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

QString TSharedCellTexts::Text(const std::string& text) {
  if (text.size() > kLongestShared) return QString::fromStdString(text);
  auto [at, added] = shared_.try_emplace(text);
  if (added) at->second = QString::fromStdString(text);
  return at->second;
}

void CommitTypedCells(QWidget* window) {
  for (TSkinCustomDrawGrid* grid : window->findChildren<TSkinCustomDrawGrid*>()) grid->HideEditor(true);
}

}  // namespace kavri
