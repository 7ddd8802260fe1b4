#pragma once
// The three forms the skinned dialogs are shown on, each skinned by its own TSkinForm. Controls are
// children of skinForm1 at their designed places; the dialogs fill in texts and final geometry.
#include <QDialog>
#include <QLabel>

namespace kavri {

// Modal results of the dialog buttons.
constexpr int mrOk = 1, mrCancel = 2;

class TSkinButton;
class TSkinEdit;
class TSkinForm;

class TSkinDialogForm : public QDialog {
  Q_OBJECT
 public:
  TSkinDialogForm(int clientWidth, int clientHeight, QWidget* owner);
  TSkinForm* skinForm1 = nullptr;

 protected:
  QLabel* NewLabel(int left, int top, const QString& text);
  TSkinEdit* NewEdit(int left, int top, int width, int height);
};

class TfrmMsg : public TSkinDialogForm {
  Q_OBJECT
 public:
  explicit TfrmMsg(QWidget* owner = nullptr);
  QLabel* lbl = nullptr;
  QLabel* Image1 = nullptr;
};

// The input and password forms: an OK and a Cancel button side by side.
class TSkinOkCancelForm : public TSkinDialogForm {
  Q_OBJECT
 public:
  TSkinButton* btn1 = nullptr;
  TSkinButton* btn2 = nullptr;
  // OK and Cancel 16 pixels apart about the form's middle.
  void CentreButtons(Qt::CursorShape cursor);

 protected:
  TSkinOkCancelForm(int clientWidth, int clientHeight, int buttonTop, QWidget* owner);
};

class TfrmInput : public TSkinOkCancelForm {
  Q_OBJECT
 public:
  explicit TfrmInput(QWidget* owner = nullptr);
  QLabel* lbl_prompt = nullptr;
  TSkinEdit* edt_value = nullptr;
};

class TfrmPass : public TSkinOkCancelForm {
  Q_OBJECT
 public:
  explicit TfrmPass(QWidget* owner = nullptr);
  QLabel* lbl1 = nullptr;
  QLabel* lbl2 = nullptr;
  TSkinEdit* edt1 = nullptr;
  TSkinEdit* edt2 = nullptr;
};

}  // namespace kavri
