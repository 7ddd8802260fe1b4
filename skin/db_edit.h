#pragma once
#include "skin/db_field_control.h"
#include "skin/skin_edit.h"

namespace kavri {

// A bordered one-line edit of one field of the current record.
class TSkinDBEdit : public TDBFieldControl<TSkinEdit> {
  Q_OBJECT
 public:
  explicit TSkinDBEdit(QWidget* owner = nullptr);

  // Re-checks the length limit first.
  void SetDataField(const QString& name);
  // 0: no limit, or the size of a string field.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void SetFocused(bool value) override;
  void CommitRefused() override;

 private:
  void DataChange();
  void EditingChange();
  void UpdateData();
  void ActiveChange();
  void ResetMaxLength();
  void ShowText(const QString& value);

  Qt::Alignment alignment_ = Qt::AlignLeft;
  int maxLength_ = 0;
  bool focused_ = false;
};

}  // namespace kavri
