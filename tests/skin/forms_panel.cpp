// The skinned window, the three dialogs and the tab and page controls in the screenshot panel.
#include <QLabel>
#include <QPainter>

#include "skin/page_control.h"
#include "skin/skin_button.h"
#include "skin/skin_dialogs.h"
#include "skin/skin_edit.h"
#include "skin/skin_form.h"
#include "skin/skin_menu.h"
#include "skin/skin_tab.h"
#include "skin/skin_title_bar.h"
#include "tests/skin/modal_answer.h"
#include "tests/skin/screenshot_panel.h"

using namespace kavri;

namespace {

constexpr int kAreaWidth = 314;

// Shows a picture of a window in the area; one wider than the column is scaled down to fit.
int ShowPicture(QWidget* area, const QImage& picture, int y) {
  const QImage fitted = picture.width() > kAreaWidth
                            ? picture.scaledToWidth(kAreaWidth, Qt::SmoothTransformation)
                            : picture;
  auto* label = new QLabel(area);
  label->setPixmap(QPixmap::fromImage(fitted));
  label->setGeometry(0, y, fitted.width(), fitted.height());
  return fitted.height();
}

int FillForm(QWidget* area, TSkinUIStyle style) {
  QWidget window;
  window.resize(kAreaWidth, 150);
  auto* skin = new TSkinForm(&window);
  skin->SetUIStyleAutoUpdateSub(true);
  skin->SetUIStyle(style);
  skin->SetCaption("Kavri laser show");
  skin->TitleBar()->SetFormActive(true);
  auto* menu = new TSkinMainMenu(skin);
  menu->SetUIStyle(style);
  menu->AddMenu("&File");
  menu->AddMenu("&Edit");
  menu->AddMenu("&Help");
  skin->SetMenu(menu);
  auto* edit = new TSkinEdit(skin);
  edit->setGeometry(12, 64, 180, 21);
  edit->setText("drawing1.ddr");
  auto* button = new TSkinButton(skin);
  button->setGeometry(200, 62, 80, 25);
  button->SetCaption("Open");
  window.resize(kAreaWidth, 100);
  int h = ShowPicture(area, window.grab().toImage(), 0);
  // The same window inactive and without its title bar's last piece of caption room.
  skin->TitleBar()->SetFormActive(false);
  skin->SetCaption("A caption far too long for this narrow window");
  window.resize(200, 60);
  h += 6;
  return h + ShowPicture(area, window.grab().toImage(), h);
}

// Shows the dialog modally and takes its picture before closing it.
QImage Picture(TSkinDialog& dialog, TSkinUIStyle style) {
  QImage picture;
  dialog.SetUIStyle(style);
  dialog.Caption = "Kavri";
  kavri_test::WhenModal([&picture](QDialog* form) {
    form->findChild<TSkinTitleBar*>()->SetFormActive(true);
    picture = form->grab().toImage();
    form->reject();
  });
  dialog.ShowModal();
  return picture;
}

int FillDialogs(QWidget* area, TSkinUIStyle style) {
  TSkinMessageDialog message;
  message.Text = "The drawing has changed. Save it before closing?";
  message.IconType = TSkinIconType::skinHelp;
  message.ButtonCount = 3;
  message.Button1Caption = "Yes";
  message.Button2Caption = "No";
  int y = ShowPicture(area, Picture(message, style), 0) + 6;
  TSkinMessageDialog plain;
  plain.Text = "No laser interface was found.";
  plain.IconType = TSkinIconType::skinNone;
  y += ShowPicture(area, Picture(plain, style), y) + 6;
  TSkinInputDialog input;
  input.PromptText = "Scan rate (points per second):";
  input.ValueText = "20000";
  y += ShowPicture(area, Picture(input, style), y) + 6;
  TSkinPasswordDialog password;
  password.Item1Text = "operator";
  password.Item2Text = "laser";
  return y + ShowPicture(area, Picture(password, style), y);
}

int FillPages(QWidget* area, TSkinUIStyle style) {
  auto* pages = new TSkinPageControl(area);
  pages->SetUIStyle(style);
  pages->setGeometry(0, 0, kAreaWidth, 100);
  for (const char* caption : {"Output", "Colours", "Hidden", "Timing"}) pages->NewPage()->SetCaption(caption);
  pages->Page(2)->SetTabVisible(false);
  auto* edit = new TSkinEdit(pages->Page(1));
  edit->setGeometry(10, 10, 150, 21);
  edit->setText("on the second page");
  auto* apply = new TSkinButton(pages->Page(1));
  apply->setGeometry(170, 8, 80, 25);
  apply->SetCaption("Apply");
  pages->SetActivePageIndex(1);

  auto* tabs = new TSkinTabControl(area);
  tabs->SetUIStyle(style);
  tabs->setGeometry(0, 108, kAreaWidth, 70);
  tabs->SetTabs({"Left", "", "i", "Right"});
  tabs->SetTabIndex(3);
  return 178;
}

const bool kAdded = kavri_test::AddPanelSection(70, "Skinned window: active, inactive with a long caption", FillForm) &&
                    kavri_test::AddPanelSection(71, "Message boxes, input box, password box",
                                                FillDialogs) &&
                    kavri_test::AddPanelSection(72, "Page control (a hidden tab) and tab control", FillPages);

}  // namespace
