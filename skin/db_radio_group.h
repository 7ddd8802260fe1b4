#pragma once
#include "skin/db_field_control.h"
#include "skin/skin_group_box.h"

namespace kavri {

// A field shown as one chosen button of a skinned radio group. Each button stands for its Values
// line, or for its caption where that line is missing or empty; the match is exact.
class TSkinDBRadioGroup : public TDBFieldControl<TSkinRadioGroup> {
  Q_OBJECT
 public:
  explicit TSkinDBRadioGroup(QWidget* owner = nullptr);

  QString Value() const { return value_; }
  void SetValue(const QString& value);
  QStringList Values() const { return values_; }
  void SetValues(const QStringList& values);
  void SetItems(const QStringList& items);
  QString GetButtonValue(int index) const;

  std::function<void()> OnChange;

 protected:
  void NewClick() override;
  void keyPressEvent(QKeyEvent* event) override;
  void SetFocused(bool) override {}

 private:
  void DataChange();
  void SelectValueButton(const QString& value);

  QString value_;
  QStringList values_;
  bool inSetValue_ = false;
};

}  // namespace kavri
