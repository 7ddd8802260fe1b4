#include "skin/skin_dialogs.h"

#include <QBitmap>
#include <QPixmap>
#include <algorithm>
#include <memory>

#include "platform/dialog_service.h"
#include "skin/dialog_forms.h"
#include "skin/skin_button.h"
#include "skin/skin_edit.h"
#include "skin/skin_form.h"
#include "skin/skin_pictures.h"
#include "skin/window_placement.h"

namespace kavri {
namespace {

constexpr int kButtonWidth = 73, kButtonHeight = 25, kMargin = 24;

const char* IconPicture(TSkinIconType type) {
  switch (type) {
    case TSkinIconType::skinWarning: return "MSGDLG_WARNING";
    case TSkinIconType::skinStop: return "MSGDLG_ERROR";
    case TSkinIconType::skinInformation: return "MSGDLG_INFORMATION";
    case TSkinIconType::skinHelp: return "MSGDLG_QUESTION";
    case TSkinIconType::skinNone: break;
  }
  return nullptr;
}

int Bottom(const QWidget* w) { return w->y() + w->height(); }

}  // namespace

void TSkinDialog::SetUIStyle(TSkinUIStyle style) {
  if (style == TSkinUIStyle::Custom) {
    Dialogs().ShowMessage("Sorry, can't be custom style", TMessageKind::Error);
    return;
  }
  uiStyle_ = style;
}

int TSkinDialog::Run(TSkinDialogForm& form) const {
  form.skinForm1->SetCaption(Caption);
  form.skinForm1->SetUIStyle(uiStyle_);
  if (Position == TPosition::poScreenCenter) PlaceWindow(&form, TWindowPlacement::CentreOnScreen, nullptr);
  return form.exec();
}

int TSkinMessageDialog::ShowModal() {
  TfrmMsg form;
  form.lbl->setFont(Font);
  form.lbl->setText(WithWordBreaks(Text));
  form.lbl->resize(form.lbl->width(), form.lbl->heightForWidth(form.lbl->width()));
  const int y = std::max(Bottom(form.lbl), Bottom(form.Image1));
  const int count = std::clamp(ButtonCount, 1, 3);
  if (const char* icon = IconPicture(IconType)) {
    form.lbl->move(88, form.lbl->y());
    const QImage picture = LoadSkinPicture(icon);
    QPixmap pixmap = QPixmap::fromImage(picture);
    // The icon's own background (its bottom-left colour) lets the form's show through.
    if (!picture.isNull())
      pixmap.setMask(pixmap.createMaskFromColor(QColor(picture.pixel(0, picture.height() - 1)), Qt::MaskInColor));
    form.Image1->setPixmap(pixmap);
    form.Image1->resize(picture.size());
  } else {
    form.lbl->move(kMargin, form.lbl->y());
    form.Image1->hide();
    if (count < 3) form.resize(form.width() - 64, form.height());
  }
  const QString captions[] = {Button1Caption, Button2Caption, Button3Caption};
  const int results[] = {Button1ModalResult, Button2ModalResult, Button3ModalResult};
  int x = form.width() - kButtonWidth - kMargin;
  for (int i = count - 1; i >= 0; --i) {
    auto* button = new TSkinButton(form.skinForm1);
    button->setGeometry(x, y + 20, kButtonWidth, kButtonHeight);
    button->setCursor(ButtonCursor);
    button->SetTabStop(true);
    button->SetCaption(captions[i]);
    button->SetModalResult(results[i]);
    button->setFocus();
    x -= kButtonWidth + 20;
  }
  form.resize(form.width(), y + 65);
  return Run(form);
}

int TSkinPasswordDialog::ShowModal() {
  TfrmPass form;
  for (QLabel* label : {form.lbl1, form.lbl2}) label->setFont(Font);
  form.lbl1->setText(Item1Caption);
  form.lbl2->setText(Item2Caption);
  form.lbl1->adjustSize();
  form.lbl2->adjustSize();
  form.edt1->setText(Item1Text);
  form.edt2->setText(Item2Text);
  const int editLeft = form.lbl1->x() + std::max(form.lbl1->width(), form.lbl2->width()) + 5;
  form.edt1->move(editLeft, form.edt1->y());
  form.edt2->move(editLeft, form.edt2->y());
  form.edt1->setEchoMode(Item1PasswordChar.isNull() ? QLineEdit::Normal : QLineEdit::Password);
  form.edt2->setEchoMode(Item2PasswordChar.isNull() ? QLineEdit::Normal : QLineEdit::Password);
  form.btn1->SetCaption(ButtonOKCaption);
  form.btn2->SetCaption(ButtonCancelCaption);
  form.resize(editLeft + form.edt1->width() + kMargin, form.height());
  form.CentreButtons(ButtonCursor);
  const int result = Run(form);
  if (result == mrOk) {
    Item1Text = form.edt1->text();
    Item2Text = form.edt2->text();
  }
  return result;
}

int TSkinInputDialog::ShowModal() {
  TfrmInput form;
  form.lbl_prompt->setFont(Font);
  form.lbl_prompt->setText(PromptText);
  form.lbl_prompt->adjustSize();
  form.edt_value->setText(ValueText);
  form.btn1->SetCaption(ButtonOKCaption);
  form.btn2->SetCaption(ButtonCancelCaption);
  form.CentreButtons(ButtonCursor);
  const int result = Run(form);
  if (result == mrOk) ValueText = form.edt_value->text();
  return result;
}

int SkinMsgDlg(const QString& message, TMsgDlgType type, TMsgDlgButtons, int) {
  TSkinMessageDialog dialog;
  dialog.Text = message;
  switch (type) {
    case TMsgDlgType::mtWarning: dialog.IconType = TSkinIconType::skinWarning; break;
    case TMsgDlgType::mtError: dialog.IconType = TSkinIconType::skinStop; break;
    case TMsgDlgType::mtInformation: dialog.IconType = TSkinIconType::skinInformation; break;
    case TMsgDlgType::mtConfirmation: dialog.IconType = TSkinIconType::skinHelp; break;
    case TMsgDlgType::mtCustom: dialog.IconType = TSkinIconType::skinNone; break;
  }
  return dialog.ShowModal();
}

QString WithWordBreaks(const QString& text) {
  // Shorter words fit any box; breaking them would only make wrapped lines ragged.
  constexpr int kLongWord = 24;
  constexpr QChar kBreak(0x200B);
  QString out;
  out.reserve(text.size());
  int wordStart = 0;
  for (int i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !text[i].isSpace()) continue;
    const QStringView word = QStringView(text).mid(wordStart, i - wordStart);
    if (word.size() <= kLongWord) {
      out += word;
    } else {
      for (int k = 0; k < word.size(); ++k) {
        out += word[k];
        const bool joined = k + 1 < word.size() && (word[k + 1].isLowSurrogate() || word[k + 1].isMark());
        if (!joined && k + 1 < word.size()) out += kBreak;
      }
    }
    if (i < text.size()) out += text[i];
    wordStart = i + 1;
  }
  return out;
}

}  // namespace kavri
