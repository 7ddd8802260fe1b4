#pragma once
#include "skin/db_lookup_control.h"

namespace kavri {

class TSkinPopupDataList;

// A lookup shown in one line: the list text of the chosen key and a drop button that opens the
// list as a pop-up data list. Up and Down step through the list, typing searches it, F4 or
// Alt+Down opens it; a row picked in the open list becomes the key.
class TSkinDBLookupComboBox : public TSkinDBLookupControl {
  Q_OBJECT
 public:
  explicit TSkinDBLookupComboBox(QWidget* owner = nullptr);

  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c);
  QString Text() const { return text_; }
  bool ListVisible() const;
  void DropDown();
  void CloseUp(bool accept);
  TSkinPopupDataList* DataList() const { return dataList_; }

 protected:
  void KeyValueChanged() override;
  void UpdateListFields() override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Step(int delta);

  QString text_;
  TColor borderColor_ = 0;  // black until set: no theme is asked
  TSkinPopupDataList* dataList_;
};

}  // namespace kavri
