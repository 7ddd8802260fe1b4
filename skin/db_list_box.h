#pragma once
#include "skin/db_field_control.h"
#include "skin/list_box.h"

namespace kavri {

// Picks a field's value from a fixed list: the field's text selects its item (none when absent),
// and a pick writes the item's text. A pick moves the selection only once the set agrees to edit.
class TSkinDBListBox : public TDBFieldControl<TSkinListBox> {
  Q_OBJECT
 public:
  explicit TSkinDBListBox(QWidget* owner = nullptr);

  QStringList Items() const;
  void SetItems(const QStringList& items);
  int ItemIndex() const { return currentRow(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void SetFocused(bool) override {}

 private:
  void DataChange();

  bool showing_ = false;
};

}  // namespace kavri
