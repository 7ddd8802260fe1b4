#pragma once
#include "skin/db_field_control.h"
#include "skin/skin_combo.h"

namespace kavri {

// Edits or picks a field's text in a themed combo box. Typing and picking ask the set to edit
// first; a refused pick puts the field's text back.
class TSkinDBComboBox : public TDBFieldControl<TSkinCustomComboBox> {
  Q_OBJECT
 public:
  explicit TSkinDBComboBox(QWidget* owner = nullptr);

  // Raises EDatabaseError for the simple style on a fixed data source.
  void SetStyle(TComboBoxStyle style) override;
  void SetItems(const QStringList& items);
  QString GetComboText() const;
  void SetComboText(const QString& value);

  void showPopup() override;
  void hidePopup() override;

 protected:
  void Change() override;
  void Click() override;
  void keyPressEvent(QKeyEvent* event) override;
  void SetFocused(bool) override {}

 private:
  void DataChange();
  void SetEditReadOnly();
  // Takes the operator's text into the edit; false (and the field's text shown again) when refused.
  bool TakeOperatorText();

  bool dropped_ = false;
};

}  // namespace kavri
