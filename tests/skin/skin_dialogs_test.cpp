#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <functional>

#include "skin/dialog_forms.h"
#include "skin/skin_button.h"
#include "skin/skin_dialogs.h"
#include "skin/skin_edit.h"
#include "skin/skin_pictures.h"
#include "tests/skin/modal_answer.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;
using kavri_test::WhenModal;

namespace {

// The dialog's skinned buttons from left to right.
std::vector<TSkinButton*> Buttons(QDialog* dialog) {
  std::vector<TSkinButton*> buttons;
  for (TSkinButton* b : dialog->findChildren<TSkinButton*>()) buttons.push_back(b);
  std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
  return buttons;
}

}  // namespace

TEST(SkinMessageDialog, ThreeButtonsKeepTheWidthFewerWithoutIconAre64Narrower) {
  struct Case {
    int buttons;
    TSkinIconType icon;
    int width;
  } cases[] = {
      {3, TSkinIconType::skinNone, 334}, {2, TSkinIconType::skinNone, 270}, {1, TSkinIconType::skinNone, 270},
      {1, TSkinIconType::skinWarning, 334}, {2, TSkinIconType::skinStop, 334},
  };
  for (const Case& c : cases) {
    TSkinMessageDialog dialog;
    dialog.ButtonCount = c.buttons;
    dialog.IconType = c.icon;
    dialog.Button2Caption = "No";
    int width = 0, labelLeft = 0;
    std::vector<int> lefts;
    QString focused;
    WhenModal([&](QDialog* form) {
      width = form->width();
      labelLeft = form->findChild<QLabel*>("lbl")->x();
      for (TSkinButton* b : Buttons(form)) lefts.push_back(b->x());
      if (auto* b = qobject_cast<TSkinButton*>(form->focusWidget())) focused = b->Caption();
      if (Buttons(form).empty()) return form->reject();  // the size check below fails
      Buttons(form).back()->Click();
    });
    const int result = dialog.ShowModal();
    EXPECT_EQ(width, c.width) << c.buttons;
    EXPECT_EQ(labelLeft, c.icon == TSkinIconType::skinNone ? 24 : 88);
    // Right-aligned 24 from the edge, 93 apart, button 1 leftmost and focused.
    ASSERT_EQ(lefts.size(), size_t(c.buttons));
    for (int i = 0; i < c.buttons; ++i) EXPECT_EQ(lefts[i], c.width - 97 - 93 * (c.buttons - 1 - i)) << c.buttons;
    EXPECT_EQ(focused, "OK");
    EXPECT_EQ(result, c.buttons == 1 ? 1 : 2);
  }
}

// A long file name without spaces is broken where it must be, so the box shows it whole; the words
// themselves are unchanged.
TEST(SkinMessageDialog, ALongWordIsBrokenSoTheWholeTextShows) {
  const QString path = "/home/operator/Kavri/Section/" + QString(60, 'n') + ".sec";
  for (const QString& text : {"\"" + path + "\" was not opened.", QString("Short words stay as they are.")}) {
    SCOPED_TRACE(text.toStdString());
    TSkinMessageDialog dialog;
    dialog.Text = text;
    QString shown;
    QRect needed, room;
    WhenModal([&](QDialog* form) {
      const QLabel* label = form->findChild<QLabel*>("lbl");
      shown = label->text();
      room = label->rect();
      needed = QFontMetrics(label->font()).boundingRect(room, Qt::TextWordWrap, shown);
      form->reject();
    });
    dialog.ShowModal();
    EXPECT_EQ(QString(shown).remove(QChar(0x200B)), text);
    EXPECT_LE(needed.width(), room.width());
    EXPECT_LE(needed.height(), room.height());
  }
}

TEST(SkinMsgDlg, ConfirmationShowsTheQuestionIconAndOneOk) {
  QImage icon;
  std::vector<QString> captions;
  WhenModal([&](QDialog* form) {
    icon = form->findChild<QLabel*>("Image1")->pixmap().toImage();
    for (TSkinButton* b : Buttons(form)) captions.push_back(b->Caption());
    if (Buttons(form).empty()) return form->reject();  // the caption check below fails
    Buttons(form).front()->Click();
  });
  EXPECT_EQ(SkinMsgDlg("Remove it?", TMsgDlgType::mtConfirmation, 0x3, 0), 1);
  // The question picture, its background colour left out.
  const QImage question = LoadSkinPicture("MSGDLG_QUESTION");
  ASSERT_EQ(icon.size(), question.size());
  const QRgb background = question.pixel(0, question.height() - 1);
  int shown = 0;
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 0; x < icon.width(); ++x) {
      if (question.pixel(x, y) == background) {
        EXPECT_EQ(qAlpha(icon.pixel(x, y)), 0);
      } else if (qAlpha(icon.pixel(x, y)) == 255) {
        EXPECT_EQ(icon.pixel(x, y) & 0xFFFFFF, question.pixel(x, y) & 0xFFFFFF);
        ++shown;
      }
    }
  EXPECT_GT(shown, 300);
  EXPECT_EQ(captions, std::vector<QString>{"OK"});
}

TEST(SkinPasswordDialog, CancelLeavesBothTextsOkTakesThem) {
  TSkinPasswordDialog dialog;
  dialog.Item1Text = "ann";
  dialog.Item2Text = "secret";
  for (int pressed : {mrCancel, mrOk}) {
    int okLeft = 0, cancelLeft = 0, width = 0;
    WhenModal([&](QDialog* dlg) {
      auto* form = static_cast<TfrmPass*>(dlg);
      EXPECT_EQ(form->edt1->text(), "ann");
      form->edt1->setText("bob");
      form->edt2->setText("other");
      width = form->width();
      okLeft = form->btn1->x();
      cancelLeft = form->btn2->x();
      (pressed == mrOk ? form->btn1 : form->btn2)->Click();
    });
    EXPECT_EQ(dialog.ShowModal(), pressed);
    EXPECT_EQ(okLeft, width / 2 - 8 - 73);
    EXPECT_EQ(cancelLeft, width / 2 + 8);
    if (pressed == mrCancel) {
      EXPECT_EQ(dialog.Item1Text, "ann");
      EXPECT_EQ(dialog.Item2Text, "secret");
    }
  }
  EXPECT_EQ(dialog.Item1Text, "bob");
  EXPECT_EQ(dialog.Item2Text, "other");
}

TEST(SkinInputDialog, OkTakesTheValueAndTheStyleCannotBeCustom) {
  kavri_test::RecordingDialogs messages;
  TSkinInputDialog dialog;
  dialog.SetUIStyle(TSkinUIStyle::Azure);
  dialog.SetUIStyle(TSkinUIStyle::Custom);
  EXPECT_EQ(dialog.UIStyle(), TSkinUIStyle::Azure);
  EXPECT_EQ(messages.messages, std::vector<std::string>{"Sorry, can't be custom style"});
  dialog.ValueText = "12";
  WhenModal([](QDialog* dlg) {
    auto* form = static_cast<TfrmInput*>(dlg);
    form->edt_value->setText("40");
    form->btn1->Click();
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_EQ(dialog.ValueText, "40");
}
