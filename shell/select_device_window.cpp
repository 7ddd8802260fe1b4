#include "shell/select_device_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "shell/device_reset.h"
#include "shell/main_window.h"
#include "shell/window_registry.h"

namespace kavri {

TForm19* Form19 = nullptr;

namespace {
constexpr int kBoxColumns = 16;
}

TForm19::TForm19(TForm15* mainWindow, QWidget* parent)
    : QWidget(parent), main_(mainWindow), model_(mainWindow->Choice()) {
  setObjectName("Form19");
  setWindowTitle("Select device");
  auto* layout = new QVBoxLayout(this);

  auto* masterRow = new QHBoxLayout;
  masterRow->addWidget(new QLabel("Master device    ", this));
  ComboBox1 = MakeSkinComboBox(this, "ComboBox1");
  ComboBox1->setMinimumWidth(120);
  masterRow->addWidget(ComboBox1);
  BitBtn2 = MakeSkinButton(this, "BitBtn2", "Reset device");
  masterRow->addWidget(BitBtn2);
  masterRow->addStretch();
  layout->addLayout(masterRow);

  CheckBox131 = MakeSkinCheckBox(this, "CheckBox131", "Enable mutiple device");
  layout->addWidget(CheckBox131);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  for (int n = 0; n < kDeviceSlots; ++n) {
    const QByteArray boxName = QString("CheckBox%1").arg(n).toUtf8();
    TSkinCheckBox* box = MakeSkinCheckBox(this, boxName.constData(), QString::fromStdString(DeviceLabelOf(n)));
    grid->addWidget(box, n / kBoxColumns, n % kBoxColumns);
    DeviceBoxes[n] = box;
    box->OnClick = [this, n](TSkinCustomButton*) { DeviceBoxClick(n); };
  }
  layout->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  skinButton2 = MakeSkinButton(this, "skinButton2", "Select all");
  skinButton3 = MakeSkinButton(this, "skinButton3", "Clear");
  skinButton1 = MakeSkinButton(this, "skinButton1", "OK");
  buttons->addWidget(skinButton2);
  buttons->addWidget(skinButton3);
  buttons->addStretch();
  buttons->addWidget(skinButton1);
  layout->addLayout(buttons);

  ComboBox1->OnChange = [this] { ComboBox1Change(ComboBox1->ItemIndex()); };
  CheckBox131->OnClick = [this](TSkinCustomButton*) { CheckBox131Click(); };
  skinButton2->OnClick = [this](TSkinCustomButton*) { skinButton2Click(); };
  skinButton3->OnClick = [this](TSkinCustomButton*) { skinButton3Click(); };
  skinButton1->OnClick = [this](TSkinCustomButton*) { skinButton1Click(); };
  BitBtn2->OnClick = [this](TSkinCustomButton*) { BitBtn2Click(); };
}

TForm19::~TForm19() {
  if (Form19 == this) Form19 = nullptr;
}

void TForm19::ShowModel() {
  SetComboLabels(ComboBox1, model_.ComboItems(), model_.ComboIndex());
  CheckBox131->setEnabled(model_.MultipleEnabled());
  CheckBox131->SetChecked(model_.MultipleChecked());
  for (int n = 0; n < kDeviceSlots; ++n) {
    DeviceBoxes[n]->setVisible(model_.Box(n).shown);
    DeviceBoxes[n]->SetChecked(model_.Box(n).ticked);
  }
  skinButton2->setVisible(model_.ListButtonsShown());
  skinButton3->setVisible(model_.ListButtonsShown());
}

void TForm19::FormCreate() { FormActivate(); }

void TForm19::FormActivate() {
  model_.CopyMasterCombo();
  ShowModel();
}

void TForm19::SyncDeviceBoxes() {
  model_.SyncDeviceBoxes();
  ShowModel();
}

void TForm19::MasterChangedElsewhere() {
  model_.ChangeMaster(main_->Choice().MasterIndex());
  ShowModel();
}

void TForm19::ComboBox1Change(int index) {
  model_.ChangeMaster(index);
  main_->ApplyTitle();
  main_->ComboBox1->SetItemIndex(main_->Choice().MasterIndex());
  ShowModel();
}

void TForm19::CheckBox131Click() {
  model_.SetMultipleOutput(CheckBox131->Checked());
  ShowModel();
}

void TForm19::DeviceBoxClick(int number) {
  model_.DeviceBoxClick(number, DeviceBoxes[number]->Checked());
  ShowModel();
}

void TForm19::skinButton2Click() {
  model_.SelectAll();
  ShowModel();
}

void TForm19::skinButton3Click() {
  model_.Clear();
  ShowModel();
}

void TForm19::skinButton1Click() {
  hide();
  // The editor's canvas shows the output area; let it redraw.
  if (QWidget* editor = RegisteredWindow("Form1")) editor->update();
}

void TForm19::BitBtn2Click() {
  std::vector<TResetTarget> targets = model_.ResetTargets();
  if (targets.empty()) return;
  const bool started = resetJob_.Start(std::move(targets), this, [this](const std::vector<std::string>& failed) {
    EnableButtons(true);
    ReportResetFailures(failed);
  });
  if (started) EnableButtons(false);
}

void TForm19::EnableButtons(bool enabled) {
  for (TSkinButton* button : {BitBtn2, skinButton1, skinButton2, skinButton3}) button->setEnabled(enabled);
}

void TForm19::showEvent(QShowEvent* event) {
  FormActivate();
  QWidget::showEvent(event);
}

bool TForm19::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

}  // namespace kavri
