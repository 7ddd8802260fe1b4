#include "skin/dialog_forms.h"

#include "skin/skin_button.h"
#include "skin/skin_edit.h"
#include "skin/skin_form.h"
#include "skin/skin_title_bar.h"

namespace kavri {

TSkinDialogForm::TSkinDialogForm(int clientWidth, int clientHeight, QWidget* owner) : QDialog(owner) {
  setFont(QFont("MS Sans Serif", 8));
  resize(clientWidth, clientHeight);
  skinForm1 = new TSkinForm(this);
  skinForm1->setObjectName("skinForm1");
  skinForm1->SetUIStyleAutoUpdateSub(true);
  skinForm1->SetUIStyle(TSkinUIStyle::Navy);
  skinForm1->SetBorderColor(0x000000);
  skinForm1->SetBorderWidth(1);
  skinForm1->SetColor(0xE8E8E8);
  // A dialog offers only its close button.
  TSkinTitleBar* bar = skinForm1->TitleBar();
  for (int i = static_cast<int>(bar->Buttons().size()) - 1; i >= 0; --i)
    if (bar->Buttons()[i].ButtonType != TSkinTitleBarBtnType::skinClose) bar->RemoveButton(i);
  resize(clientWidth, clientHeight);
  setMinimumWidth(130);
}

QLabel* TSkinDialogForm::NewLabel(int left, int top, const QString& text) {
  auto* label = new QLabel(text, skinForm1);
  label->move(left, top);
  label->adjustSize();
  return label;
}

TSkinEdit* TSkinDialogForm::NewEdit(int left, int top, int width, int height) {
  auto* edit = new TSkinEdit(skinForm1);
  edit->setGeometry(left, top, width, height);
  return edit;
}

TSkinButton* TSkinDialogForm::NewButton(int left, int top, const QString& caption, int modalResult) {
  auto* button = new TSkinButton(skinForm1);
  button->setGeometry(left, top, 73, 25);
  button->SetCaption(caption);
  button->SetModalResult(modalResult);
  button->SetTabStop(true);
  return button;
}

TfrmMsg::TfrmMsg(QWidget* owner) : TSkinDialogForm(334, 139, owner) {
  setObjectName("frmMsg");
  lbl = new QLabel(skinForm1);
  lbl->setObjectName("lbl");
  lbl->setWordWrap(true);
  lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbl->setAttribute(Qt::WA_TranslucentBackground);
  lbl->setGeometry(88, 64, 225, 13);
  Image1 = new QLabel(skinForm1);
  Image1->setObjectName("Image1");
  Image1->setGeometry(24, 64, 40, 40);
}

TfrmInput::TfrmInput(QWidget* owner) : TSkinDialogForm(250, 176, owner) {
  setObjectName("frmInput");
  lbl_prompt = NewLabel(24, 56, "User name:");
  edt_value = NewEdit(24, 78, 201, 19);
  btn1 = NewButton(40, 128, "OK", mrOk);
  btn2 = NewButton(129, 128, "Cancel", mrCancel);
}

TfrmPass::TfrmPass(QWidget* owner) : TSkinDialogForm(250, 187, owner) {
  setObjectName("frmPass");
  lbl1 = NewLabel(24, 64, "User name:");
  lbl2 = NewLabel(24, 96, "Password:");
  edt1 = NewEdit(88, 62, 121, 19);
  edt2 = NewEdit(88, 96, 121, 19);
  btn1 = NewButton(40, 144, "OK", mrOk);
  btn2 = NewButton(129, 144, "Cancel", mrCancel);
}

}  // namespace kavri
