#pragma once
#include <QTimer>

#include "skin/db_lookup_control.h"

class QScrollBar;

namespace kavri {

// The lookup list as rows of the list data set, one column per list field, the chosen key's row
// highlighted. Keys, clicks, the position bar and dragging past an edge move the choice.
class TSkinDBLookupListBox : public TSkinDBLookupControl {
  Q_OBJECT
 public:
  explicit TSkinDBLookupListBox(QWidget* owner = nullptr);

  int RowCount() const { return rowCount_; }
  void SetRowCount(int rows);  // 1 to 100; the height follows
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c);
  QString SelectedItem() const { return selectedItem_; }
  // The row showing the chosen key, -1 when it is not among the rows.
  int GetKeyIndex();
  // The drag-scroll timer's interval now; 0 while it is not running.
  int ScrollInterval() const { return scrollTimer_.isActive() ? scrollTimer_.interval() : 0; }

  std::function<void()> OnDoubleClick;

  static constexpr int kMinScrollIntervalMs = 10;

 protected:
  bool popup_ = false;

  void KeyValueChanged() override;
  void ListLinkDataChanged() override;
  void UpdateListFields() override;

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int TextHeight() const;
  int BorderSize() const { return 2 * kBorderWidth; }
  QRect ClientArea() const;
  void SelectCurrent();
  void SelectItemAt(int y);
  void MoveList(int delta);
  void TimerScroll();
  void StopTracking();
  void UpdateScrollBar();
  void ScrollAction(int action);

  static constexpr int kBorderWidth = 2;
  int rowCount_ = 7;
  int recordIndex_ = 0;
  int recordCount_ = 0;
  bool keySelected_ = false;
  bool tracking_ = false;
  bool lockPosition_ = false;
  int mousePos_ = 0;
  QString selectedItem_;
  TColor borderColor_ = 0;
  QTimer scrollTimer_;
  QScrollBar* bar_;
};

// The same list as a drop-down window that never takes the focus from its owner.
class TSkinPopupDataList : public TSkinDBLookupListBox {
  Q_OBJECT
 public:
  explicit TSkinPopupDataList(QWidget* owner = nullptr);
};

}  // namespace kavri
