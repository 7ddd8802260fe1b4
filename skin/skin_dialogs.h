#pragma once
// Modal skinned dialogs: a message box with up to three buttons and an icon, a one-line input box and
// a user-name/password box, each shown on its own skinned form. ShowModal returns the modal result
// (1 OK, 2 Cancel, 0 when the window was closed).
#include <QCursor>
#include <QFont>
#include <QString>
#include <cstdint>

#include "skin/theme_style.h"

namespace kavri {

class TSkinDialogForm;

enum class TPosition : uint8_t { poDesigned, poScreenCenter };

class TSkinDialog {
 public:
  virtual ~TSkinDialog() = default;

  TPosition Position = TPosition::poScreenCenter;
  QString Caption = "skinDialog";
  QFont Font;
  Qt::CursorShape ButtonCursor = Qt::PointingHandCursor;

  TSkinUIStyle UIStyle() const { return uiStyle_; }
  // Custom is refused with a message box; the style stays.
  void SetUIStyle(TSkinUIStyle style);

  virtual int ShowModal() = 0;

 protected:
  // Position, caption and style onto the form, then shown modally.
  int Run(TSkinDialogForm& form) const;

 private:
  TSkinUIStyle uiStyle_ = TSkinUIStyle::Navy;
};

enum class TSkinIconType : uint8_t { skinNone, skinWarning, skinStop, skinInformation, skinHelp };

class TSkinMessageDialog : public TSkinDialog {
 public:
  int ButtonCount = 1;  // 1..3
  QString Button1Caption = "OK", Button2Caption = "Cancel", Button3Caption = "Cancel";
  int Button1ModalResult = 1, Button2ModalResult = 2, Button3ModalResult = 2;
  TSkinIconType IconType = TSkinIconType::skinNone;
  QString Text = "Hello world!";

  int ShowModal() override;
};

class TSkinPasswordDialog : public TSkinDialog {
 public:
  QString Item1Caption = "User name:", Item2Caption = "Password:";
  QChar Item1PasswordChar, Item2PasswordChar = '*';  // a null character shows the text
  QString Item1Text, Item2Text;
  QString ButtonOKCaption = "OK", ButtonCancelCaption = "Cancel";

  int ShowModal() override;  // the texts change only on OK
};

class TSkinInputDialog : public TSkinDialog {
 public:
  QString PromptText = "Prompt text:";
  QString ValueText;
  QString ButtonOKCaption = "OK", ButtonCancelCaption = "Cancel";

  int ShowModal() override;  // ValueText changes only on OK
};

enum class TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = uint32_t;

// A message box with the type's icon and a single "OK" button, whatever `buttons` asks for.
int SkinMsgDlg(const QString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);

// The text with a zero-width break between the characters of each long word (a path or file name
// without spaces), so that a word-wrapped box can break it where it must and show it whole.
QString WithWordBreaks(const QString& text);

}  // namespace kavri
