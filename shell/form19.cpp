#include "shell/form19.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "shell/device_reset.h"
#include "shell/form15.h"
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
  ComboBox1 = new ShellComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setMinimumWidth(120);
  masterRow->addWidget(ComboBox1);
  BitBtn2 = new ShellButton("Reset device", this);
  BitBtn2->setObjectName("BitBtn2");
  masterRow->addWidget(BitBtn2);
  masterRow->addStretch();
  layout->addLayout(masterRow);

  CheckBox131 = new ShellCheckBox("Enable mutiple device", this);
  CheckBox131->setObjectName("CheckBox131");
  layout->addWidget(CheckBox131);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  for (int n = 0; n < kDeviceSlots; ++n) {
    auto* box = new ShellCheckBox(QString::fromStdString(DeviceLabelOf(n)), this);
    box->setObjectName(QString("CheckBox%1").arg(n));
    grid->addWidget(box, n / kBoxColumns, n % kBoxColumns);
    DeviceBoxes[n] = box;
    connect(box, &QAbstractButton::clicked, this, [this, n] { DeviceBoxClick(n); });
  }
  layout->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  skinButton2 = new ShellButton("Select all", this);
  skinButton2->setObjectName("skinButton2");
  skinButton3 = new ShellButton("Clear", this);
  skinButton3->setObjectName("skinButton3");
  skinButton1 = new ShellButton("OK", this);
  skinButton1->setObjectName("skinButton1");
  buttons->addWidget(skinButton2);
  buttons->addWidget(skinButton3);
  buttons->addStretch();
  buttons->addWidget(skinButton1);
  layout->addLayout(buttons);

  connect(ComboBox1, &QComboBox::activated, this, [this](int index) { ComboBox1Change(index); });
  connect(CheckBox131, &QAbstractButton::clicked, this, [this] { CheckBox131Click(); });
  connect(skinButton2, &QAbstractButton::clicked, this, [this] { skinButton2Click(); });
  connect(skinButton3, &QAbstractButton::clicked, this, [this] { skinButton3Click(); });
  connect(skinButton1, &QAbstractButton::clicked, this, [this] { skinButton1Click(); });
  connect(BitBtn2, &QAbstractButton::clicked, this, [this] { BitBtn2Click(); });
}

TForm19::~TForm19() {
  if (Form19 == this) Form19 = nullptr;
}

void TForm19::ShowModel() {
  {
    const QSignalBlocker block(ComboBox1);
    ComboBox1->clear();
    for (const std::string& label : model_.ComboItems()) ComboBox1->addItem(QString::fromStdString(label));
    ComboBox1->setCurrentIndex(model_.ComboIndex());
  }
  CheckBox131->setEnabled(model_.MultipleEnabled());
  CheckBox131->setChecked(model_.MultipleChecked());
  for (int n = 0; n < kDeviceSlots; ++n) {
    DeviceBoxes[n]->setVisible(model_.Box(n).shown);
    DeviceBoxes[n]->setChecked(model_.Box(n).ticked);
  }
  skinButton2->setVisible(model_.ListButtonsShown());
  skinButton3->setVisible(model_.ListButtonsShown());
}

void TForm19::FormCreate() {
  model_.CopyMasterCombo();
  ShowModel();
}

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
  {
    const QSignalBlocker block(main_->ComboBox1);
    main_->ComboBox1->setCurrentIndex(main_->Choice().MasterIndex());
  }
  ShowModel();
}

void TForm19::CheckBox131Click() {
  model_.SetMultipleOutput(CheckBox131->isChecked());
  ShowModel();
}

void TForm19::DeviceBoxClick(int number) {
  model_.DeviceBoxClick(number, DeviceBoxes[number]->isChecked());
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

void TForm19::BitBtn2Click() { ReportResetFailures(ResetInterfaces(model_.ResetTargets())); }

void TForm19::showEvent(QShowEvent* event) {
  FormActivate();
  QWidget::showEvent(event);
}

bool TForm19::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

}  // namespace kavri
