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

TfrmMsg::TfrmMsg(QWidget* owner) : TSkinDialogForm(334, 139, owner) {
  setObjectName("frmMsg");
  lbl = new QLabel(skinForm1);
  lbl->setObjectName("lbl");
  lbl->setWordWrap(true);
  lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lbl->setGeometry(88, 64, 225, 13);
  Image1 = new QLabel(skinForm1);
  Image1->setObjectName("Image1");
  Image1->setGeometry(24, 64, 40, 40);
}

TSkinOkCancelForm::TSkinOkCancelForm(int clientWidth, int clientHeight, int buttonTop, QWidget* owner)
    : TSkinDialogForm(clientWidth, clientHeight, owner) {
  const QString captions[] = {"OK", "Cancel"};
  const int results[] = {mrOk, mrCancel}, lefts[] = {40, 129};
  TSkinButton** targets[] = {&btn1, &btn2};
  for (int i = 0; i < 2; ++i) {
    auto* button = new TSkinButton(skinForm1);
    button->setGeometry(lefts[i], buttonTop, 73, 25);
    button->SetCaption(captions[i]);
    button->SetModalResult(results[i]);
    button->SetTabStop(true);
    *targets[i] = button;
  }
}

void TSkinOkCancelForm::CentreButtons(Qt::CursorShape cursor) {
  btn1->move(width() / 2 - 8 - btn1->width(), btn1->y());
  btn2->move(width() / 2 + 8, btn2->y());
  btn1->setCursor(cursor);
  btn2->setCursor(cursor);
}

TfrmInput::TfrmInput(QWidget* owner) : TSkinOkCancelForm(250, 176, 128, owner) {
  setObjectName("frmInput");
  lbl_prompt = NewLabel(24, 56, "User name:");
  edt_value = NewEdit(24, 78, 201, 19);
}

TfrmPass::TfrmPass(QWidget* owner) : TSkinOkCancelForm(250, 187, 144, owner) {
  setObjectName("frmPass");
  lbl1 = NewLabel(24, 64, "User name:");
  lbl2 = NewLabel(24, 96, "Password:");
  edt1 = NewEdit(88, 62, 121, 19);
  edt2 = NewEdit(88, 96, 121, 19);
}

}  // namespace kavri
