#pragma once
#include <memory>

#include "skin/db_field_control.h"
#include "skin/skin_edit.h"

class QStyle;

namespace kavri {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// A bordered one-line edit of one field of the current record.
class TSkinDBEdit : public TDBFieldControl<TSkinEdit> {
  Q_OBJECT
 public:
  explicit TSkinDBEdit(QWidget* owner = nullptr);
  ~TSkinDBEdit() override;

  // Re-checks the length limit first.
  void SetDataField(const QString& name);
  // 0: no limit, or the size of a string field.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  // Upper or lower case, applied to the whole text as the operator types.
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value) { charCase_ = value; }
  // Shown in place of every character; a null character shows the text.
  QChar PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(QChar c);

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
  void ApplyCharCase();

  Qt::Alignment alignment_ = Qt::AlignLeft;
  int maxLength_ = 0;
  bool focused_ = false;
  TEditCharCase charCase_ = TEditCharCase::ecNormal;
  QChar passwordChar_;
  std::unique_ptr<QStyle> passwordStyle_;
};

}  // namespace kavri
