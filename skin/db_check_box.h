#pragma once
#include "skin/db_field_control.h"
#include "skin/skin_check_box.h"

namespace kavri {

// A field shown as a skinned check box. ValueChecked and ValueUnchecked are lists of alternatives
// separated by ";", matched without regard to case; a null value or one matching neither list is
// grayed, which the two-state box shows unchecked. Posting writes the first alternative.
class TSkinDBCheckBox : public TDBFieldControl<TSkinCheckBox> {
  Q_OBJECT
 public:
  explicit TSkinDBCheckBox(QWidget* owner = nullptr);

  QString ValueChecked() const { return valueChecked_; }
  void SetValueChecked(const QString& value);
  QString ValueUnchecked() const { return valueUnchecked_; }
  void SetValueUnchecked(const QString& value);
  TCheckBoxState GetFieldState() const;

  // Whether any alternative of `list` equals `text`, ignoring case; an empty list never matches.
  static bool ValueMatch(const QString& list, const QString& text);

 protected:
  void Toggle() override;
  void keyPressEvent(QKeyEvent* event) override;
  void SetFocused(bool) override {}

 private:
  void DataChange();
  void UpdateData();

  QString valueChecked_ = QStringLiteral("True");
  QString valueUnchecked_ = QStringLiteral("False");
};

}  // namespace kavri
