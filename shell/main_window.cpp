#include "shell/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

#include "engine/interface_faults.h"
#include "engine/shared_state.h"
#include "engine/play_threads.h"
#include "platform/dialog_service.h"
#include "shell/app_title.h"
#include "shell/device_detection.h"
#include "shell/error_guard.h"
#include "shell/select_device_window.h"
#include "shell/window_registry.h"

namespace kavri {

TForm15* Form15 = nullptr;

namespace {

TSkinButton* AddButton(QWidget* parent, QLayout* layout, const char* name, const char* caption) {
  TSkinButton* button = MakeSkinButton(parent, name, QString::fromUtf8(caption), 180);
  button->setFixedHeight(30);
  layout->addWidget(button);
  return button;
}

}  // namespace

TForm15::TForm15(TDeviceDetector detector, QWidget* parent)
    : QWidget(parent),
      detector_(detector ? std::move(detector) : TDeviceDetector(DetectDevices)),
      quit_([this] { return FormCloseQuery(); },
            [this] {
              FormClose();
              hide();
              emit Closed();
            }) {
  setObjectName("Form15");
  setWindowTitle(kProductTitle);
  auto* layout = new QVBoxLayout(this);
  // The window is exactly as large as its content, growing and shrinking with the device notice; a
  // window manager gives a window of fixed size no resize strip.
  layout->setSizeConstraint(QLayout::SetFixedSize);
  BitBtn1 = AddButton(this, layout, "BitBtn1", "Picture Edit");
  BitBtn2 = AddButton(this, layout, "BitBtn2", "Segment Edit");
  BitBtn5 = AddButton(this, layout, "BitBtn5", "Quick Play");
  BitBtn4 = AddButton(this, layout, "BitBtn4", "Show Edit");
  BitBtn3 = AddButton(this, layout, "BitBtn3", " Converter");
  BitBtn7 = AddButton(this, layout, "BitBtn7", "Select Device");
  layout->addSpacing(8);
  ComboBox1 = MakeSkinComboBox(this, "ComboBox1");
  layout->addWidget(ComboBox1);
  skinButton1 = AddButton(this, layout, "skinButton1", "Detect Device");
  DeviceNotice = MakeLabel(this, "DeviceNotice");
  DeviceNotice->setWordWrap(true);
  DeviceNotice->setFixedWidth(180);
  DeviceNotice->hide();
  layout->addWidget(DeviceNotice);
  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(kRedetectIntervalMs);

  BitBtn1->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form1", this); };
  BitBtn2->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form5", this); };
  BitBtn5->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form4", this); };
  BitBtn4->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form8", this); };
  BitBtn3->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form9", this); };
  BitBtn7->OnClick = [this](TSkinCustomButton*) { ShowRegisteredWindow("Form19", this); };
  skinButton1->OnClick = [this](TSkinCustomButton*) { skinButton1Click(); };
  ComboBox1->OnChange = [this] { ComboBox1Change(ComboBox1->ItemIndex()); };
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  // The play loops find out on their threads; the notice comes here on the window thread.
  RegisterInterfaceFaultNotice(this, [this](int number, TUsbFault fault) { ShowInterfaceFault(number, fault); });
}

TForm15::~TForm15() {
  if (Form15 == this) Form15 = nullptr;
}

void TForm15::FillComboBox() {
  SetComboLabels(ComboBox1, choice_.Labels(), choice_.MasterIndex());
}

void TForm15::ApplyTitle() {
  SetApplicationTitle(choice_.Title());
  setWindowTitle(QString::fromStdString(choice_.Title()));
}

void TForm15::ShowInterfaceFault(int number, TUsbFault fault) {
  if (!notices_.Take(number, fault)) return;
  const std::string text = notices_.Text();
  DeviceNotice->setText(QString::fromStdString(text));
  DeviceNotice->setVisible(!text.empty());
}

void TForm15::FormCreate() {
  Memo2 = LoadSettingsLines(SettingsFilePath(), &settingsSource_);
  // Starting beats refusing, but the operator learns once what was not taken as it stood.
  const std::string replaced = DescribeReplacedSettings(Memo2, settingsSource_);
  if (!replaced.empty()) Dialogs().ShowMessage(replaced, TMessageKind::Warning);
  SetMediaPlayerPath(ReadMediaPlayerPath(Memo2));
  MultiDeviceFlag = false;
  SetSelectedDevices({});
  ForgetInterfaceFaults();  // what this window shows starts empty
  choice_.TakeFirstDetection(detector_());
  FillComboBox();
  ApplyTitle();
  Timer1->start();
}

void TForm15::skinButton1Click() {
  choice_.TakeRedetection(detector_());
  FillComboBox();
  ApplyTitle();
  if (Form19) Form19->SyncDeviceBoxes();
}

void TForm15::ComboBox1Change(int index) {
  if (!choice_.HasDevices()) {
    ApplyTitle();
    return;
  }
  if (!choice_.ChooseMaster(index)) {
    FillComboBox();  // out of range: show the master that stands
    return;
  }
  ApplyTitle();
  if (Form19) Form19->MasterChangedElsewhere();
}

void TForm15::Timer1Timer() {
  if (choice_.NeedsRetry()) skinButton1Click();
}

bool TForm15::FormCloseQuery() {
  // The editor asks about an unsaved drawing first and may keep the program running. Its close is
  // asked for by the event alone: while a close of a window is under way, the platform lets a window
  // manager's close of it through the question and takes the window away.
  QWidget* editor = RegisteredWindow("Form1");
  if (!editor) return true;
  QCloseEvent query;
  QCoreApplication::sendEvent(editor, &query);
  if (!query.isAccepted()) return false;
  editor->hide();
  return true;
}

void TForm15::FormClose() {
  Timer1->stop();
  PlayController().RequestStop();  // sets StopFlag and ends the media player
  const TEditorSettings editor = CurrentEditorSettings ? CurrentEditorSettings() : ReadEditorSettings(Memo2);
  std::string error;
  if (!SaveSettingsFile(SettingsFilePath(), Memo2, editor, settingsSource_, &error))
    ShowStandardError("The settings were not saved. " + error);
  // The settings are safe before waiting for the play loops to end.
  PlayController().Shutdown();
}

void TForm15::closeEvent(QCloseEvent* event) {
  // A close while the quit is asked is taken into it; once the program is ending, a close is the
  // end's own.
  const TQuitRequest::TStage stage = quit_.Stage();
  event->setAccepted(stage == TQuitRequest::TStage::Ending || stage == TQuitRequest::TStage::Ended ||
                     (stage == TQuitRequest::TStage::Running && quit_.Request()));
}

}  // namespace kavri
