#pragma once
#include "skin/db_field_control.h"
#include "skin/memo.h"

namespace kavri {

// A multi-line edit of a text or memo field. With AutoDisplay off a memo field shows only its
// label until the operator asks for the text (Enter or a double click).
class TSkinDBMemo : public TDBFieldControl<TSkinMemo> {
  Q_OBJECT
 public:
  explicit TSkinDBMemo(QWidget* owner = nullptr);

  bool AutoDisplay() const { return autoDisplay_; }
  void SetAutoDisplay(bool value);
  bool MemoLoaded() const { return memoLoaded_; }

  virtual void LoadMemo();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void SetFocused(bool value) override;

 private:
  void DataChange();
  void EditingChange();
  void UpdateData();
  void ShowText(const QString& text);

  bool autoDisplay_ = true;
  bool memoLoaded_ = false;
  bool focused_ = false;
  bool showing_ = false;
};

}  // namespace kavri
