#pragma once
#include <memory>

#include "platform/data/data_source.h"
#include "skin/skin_grid.h"

namespace kavri {

// A table view over a data set: one column per field after an indicator column, one row per
// record under the titles. Moving to another row moves the set (which posts a pending edit);
// typing opens the in-place editor only when the set agrees to edit; Esc cancels the edit,
// Insert inserts a record and Ctrl+Delete deletes one after asking.
class TSkinDBGrid : public TSkinCustomDrawGrid {
  Q_OBJECT
 public:
  explicit TSkinDBGrid(QWidget* owner = nullptr);
  ~TSkinDBGrid() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* source);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool ConfirmDelete() const { return confirmDelete_; }
  void SetConfirmDelete(bool value) { confirmDelete_ = value; }
  // The field shown in a column, or null for the indicator column and past the last field.
  TField* ColumnField(int col) const;

 protected:
  void DrawCellText(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
  bool HasCellTexts() const override { return true; }
  bool CanEditShow() override;
  QString GetEditText(int col, int row) const override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class TGridDataLink;
  friend class TGridDataLink;
  TDataSet* Set() const;
  void LayoutChanged();  // columns from the set's fields
  void RecordsChanged(); // rows and the current row from the set
  void SelectCell(int col, int row, bool& canSelect);
  void SetEditText(int col, const QString& text);
  // Writes the editor's text into its field; throws when the field refuses it.
  void WriteEditor();
  void StoreEditor();
  // Writes an open editor's text; when the field refuses it, says so and keeps the editor.
  bool EditorRefused();
  void CancelEdit();
  void DeleteRecord();

  std::unique_ptr<TGridDataLink> link_;
  bool readOnly_ = false;
  bool confirmDelete_ = true;
  bool syncing_ = false;
};

}  // namespace kavri
