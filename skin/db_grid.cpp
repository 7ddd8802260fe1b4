#include "skin/db_grid.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/data/data_link.h"
#include "platform/dialog_service.h"
#include "skin/db_error.h"
#include "skin/db_texts.h"
#include "skin/system_colors.h"

namespace kavri {

namespace {
constexpr int kIndicatorWidth = 14;
constexpr int kMaxTextColumnChars = 20;
}  // namespace

class TSkinDBGrid::TGridDataLink : public TDataLink {
 public:
  explicit TGridDataLink(TSkinDBGrid* grid) : grid_(grid) {}

 protected:
  void ActiveChanged() override {
    grid_->LayoutChanged();
    grid_->RecordsChanged();
  }
  void DataSetChanged() override { grid_->RecordsChanged(); }
  void DataSetScrolled(int) override { grid_->RecordsChanged(); }
  void LayoutChanged() override { ActiveChanged(); }
  void RecordChanged(TField*) override { grid_->update(); }
  void EditingChanged() override {
    // An edit ended elsewhere (a cancel) takes the editor's text with it, or it would land on
    // whatever record is current when the editor closes.
    if (!Editing()) grid_->HideEditor(false);
    grid_->update();
  }
  void UpdateData() override { grid_->StoreEditor(); }

 private:
  TSkinDBGrid* grid_;
};

TSkinDBGrid::TSkinDBGrid(QWidget* owner)
    : TSkinCustomDrawGrid(owner, 0x008000), link_(std::make_unique<TGridDataLink>(this)) {
  SetOptions(Options() | goEditing);
  OnSelectCell = [this](int col, int row, bool& canSelect) { SelectCell(col, row, canSelect); };
  OnSetEditText = [this](int col, int, const QString& text) { SetEditText(col, text); };
  // Runs before the grid's own filter, so Esc in the editor cancels the record as well.
  InplaceEditor()->installEventFilter(this);
  LayoutChanged();
  RecordsChanged();
}

TSkinDBGrid::~TSkinDBGrid() {
  OnSelectCell = nullptr;
  OnSetEditText = nullptr;
  link_.reset();
}

TDataSource* TSkinDBGrid::DataSource() const { return link_->DataSource(); }

void TSkinDBGrid::SetDataSource(TDataSource* source) {
  link_->SetDataSource(source);
  LayoutChanged();
  RecordsChanged();
}

void TSkinDBGrid::SetReadOnly(bool value) {
  readOnly_ = value;
  if (value) HideEditor(false);
  SetOptions(value ? Options() & ~goEditing : Options() | goEditing);
}

TDataSet* TSkinDBGrid::Set() const { return link_->Active() ? link_->DataSet() : nullptr; }

TField* TSkinDBGrid::ColumnField(int col) const {
  TDataSet* set = Set();
  if (!set || col < 1 || col > set->FieldCount()) return nullptr;
  return set->Fields(col - 1);
}

void TSkinDBGrid::LayoutChanged() {
  TDataSet* set = Set();
  const int fields = set ? set->FieldCount() : 0;
  SetColCount(1 + std::max(1, fields));
  SetFixedCols(1);
  SetFixedRows(1);
  SetColWidths(0, kIndicatorWidth);
  const QFontMetrics metrics(font());
  for (int c = 1; c <= fields; ++c) {
    const TField* f = set->Fields(c - 1);
    int width = DefaultColWidth();
    if (f->IsString() && f->Size() > 0)
      width = std::min(f->Size(), kMaxTextColumnChars) * metrics.averageCharWidth() + 6;
    SetColWidths(c, std::max(width, metrics.horizontalAdvance(f->DisplayLabel()) + 6));
  }
}

void TSkinDBGrid::RecordsChanged() {
  TDataSet* set = Set();
  const int rows = set ? std::max(1, set->BufferRowCount()) : 1;
  syncing_ = true;
  if (RowCount() != rows + 1) SetRowCount(rows + 1);
  if (set) {
    const int row = 1 + set->ActiveIndex();
    // A jump far down scrolls at once rather than row by row.
    const int shown = std::max(1, (height() - RowHeights(0)) / (DefaultRowHeight() + 1) - 1);
    if (row < TopRow())
      SetTopRow(row);
    else if (row >= TopRow() + shown)
      SetTopRow(row - shown + 1);
    FocusCell(Col(), row);
  }
  syncing_ = false;
  update();
}

void TSkinDBGrid::SelectCell(int, int row, bool& canSelect) {
  TDataSet* set = Set();
  if (syncing_ || !set || row == 1 + set->ActiveIndex()) return;
  RunDataStep([&] {
    if (set->State() == TDataSetState::dsBrowse) {
      set->MoveBy(row - 1 - set->ActiveIndex());
      return;
    }
    // Posting may move the records (a new one takes its place by key), so the target is the
    // record itself.
    const TBookmark target = set->BookmarkAt(row - 1);
    set->CheckBrowseMode();
    if (target != kNoBookmark && set->BookmarkValid(target)) set->GotoBookmark(target);
  });
  canSelect = set->Active() && row == 1 + set->ActiveIndex();
}

bool TSkinDBGrid::CanEditShow() {
  TField* f = ColumnField(Col());
  if (readOnly_ || !f || !f->CanModify()) return false;
  bool editing = false;
  RunDataStep([&] { editing = link_->Edit(); });
  return editing;
}

QString TSkinDBGrid::GetEditText(int col, int) const {
  TField* f = ColumnField(col);
  return f ? f->Text() : QString();
}

void TSkinDBGrid::SetEditText(int col, const QString& text) {
  TField* f = ColumnField(col);
  if (!f || readOnly_) return;
  RunDataStep([&] {
    if (link_->Edit() && f->Text() != text) f->SetText(text);
  });
}

void TSkinDBGrid::WriteEditor() {
  if (!EditorMode()) return;
  TField* f = ColumnField(Col());
  const QString text = InplaceEditor()->text();
  if (f && !readOnly_ && link_->Edit() && f->Text() != text) f->SetText(text);
}

void TSkinDBGrid::StoreEditor() {
  // A text the field refuses stops the post, and the editor stays open with it.
  WriteEditor();
  if (EditorMode()) HideEditor(true);
}

void TSkinDBGrid::CancelEdit() {
  HideEditor(false);
  if (TDataSet* set = Set()) RunDataStep([&] { set->Cancel(); });
}

void TSkinDBGrid::DeleteRecord() {
  TDataSet* set = Set();
  if (readOnly_ || !set || !set->CanModify() || set->IsEmpty()) return;
  if (confirmDelete_ &&
      Dialogs().Confirm(SDeleteRecordQuestion, TConfirmButtons::OkCancel) == TDialogAnswer::Cancel)
    return;
  RunDataStep([&] { set->Delete(); });
}

bool TSkinDBGrid::EditorRefused() {
  if (!EditorMode() || RunDataStep([&] { WriteEditor(); })) return false;
  InplaceEditor()->setFocus(Qt::OtherFocusReason);
  InplaceEditor()->selectAll();
  return true;
}

void TSkinDBGrid::mousePressEvent(QMouseEvent* event) {
  // A click elsewhere would close the editor: a text the field refuses keeps it open instead.
  if (EditorRefused()) {
    event->accept();
    return;
  }
  TSkinCustomDrawGrid::mousePressEvent(event);
}

void TSkinDBGrid::keyPressEvent(QKeyEvent* event) {
  // Keys the editor passes on (page keys, Tab) move the grid, which closes the editor; Esc
  // drops the text anyway.
  if (event->key() != Qt::Key_Escape && EditorRefused()) {
    event->accept();
    return;
  }
  TDataSet* set = Set();
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  if (event->key() == Qt::Key_Escape) {
    CancelEdit();
  } else if (event->key() == Qt::Key_Insert && !ctrl && !(event->modifiers() & Qt::ShiftModifier)) {
    if (set && !readOnly_) RunDataStep([&] { set->Insert(); });
  } else if (event->key() == Qt::Key_Delete && ctrl) {
    DeleteRecord();
  } else {
    TSkinCustomDrawGrid::keyPressEvent(event);
    return;
  }
  event->accept();
}

bool TSkinDBGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched != InplaceEditor()) return TSkinCustomDrawGrid::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
      CancelEdit();
      return true;
    }
    // The grid's own filter closes the editor on these keys: a text the field refuses is shown
    // and stays to be put right, rather than being dropped while the grid moves on.
    const bool closes = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Up || key == Qt::Key_Down;
    if (closes && EditorRefused()) return true;
  } else if (event->type() == QEvent::FocusOut) {
    // Likewise on leaving the editor; the move or post that follows reports the refusal.
    try {
      WriteEditor();
    } catch (const EDatabaseError&) {
      return true;
    }
  }
  return TSkinCustomDrawGrid::eventFilter(watched, event);
}

void TSkinDBGrid::DrawCellText(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState) {
  TDataSet* set = Set();
  if (!set) return;
  const QRect text = rect.adjusted(2, 0, -3, 0);
  if (row == 0) {
    if (TField* f = ColumnField(col)) {
      canvas.setPen(ToQColor(ColorToRGB(FixedFontColor())));
      canvas.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, f->DisplayLabel());
    }
    return;
  }
  const int buffered = row - 1;
  if (buffered >= set->BufferRowCount()) return;
  if (col == 0) {
    if (buffered != set->ActiveIndex()) return;
    // The current record's mark: a pointer while browsing, I while editing, * while inserting.
    const TDataSetState s = set->State();
    const QString mark = s == TDataSetState::dsInsert ? QStringLiteral("*")
                         : s == TDataSetState::dsEdit ? QStringLiteral("I")
                                                      : QStringLiteral("\u25B8");
    canvas.setPen(ToQColor(ColorToRGB(FixedFontColor())));
    canvas.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, mark);
    return;
  }
  TField* f = ColumnField(col);
  if (!f) return;
  set->SetDisplayRow(buffered);
  const QString value = f->DisplayText();
  set->SetDisplayRow(-1);
  canvas.setPen(ToQColor(ColorToRGB(FontColor())));
  canvas.drawText(text, f->Alignment() | Qt::AlignVCenter | Qt::TextSingleLine, value);
}

}  // namespace kavri
