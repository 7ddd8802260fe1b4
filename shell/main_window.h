#pragma once
// The main window: buttons that show the other windows, the master interface choice and device
// detection, and the exit sequence of the program.
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "shell/interface_notices.h"
#include "shell/master_choice.h"
#include "shell/quit_request.h"
#include "shell/settings_file.h"
#include "shell/shell_controls.h"

namespace kavri {

// Looks for the attached laser interfaces.
using TDeviceDetector = std::function<std::vector<TDetectedDevice>()>;

class TForm15 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kRedetectIntervalMs = 2000;

  // `detector` defaults to the device layer's detection.
  explicit TForm15(TDeviceDetector detector = {}, QWidget* parent = nullptr);
  ~TForm15() override;

  // Creation: load the settings lines, detect, choose the first interface as master, start the
  // retry timer.
  void FormCreate();
  // "Detect Device", also run by the timer and by the other windows' "Detect device" commands.
  void skinButton1Click();
  void ComboBox1Change(int index);
  void Timer1Timer();

  TMasterChoice& Choice() { return choice_; }
  // The settings file's lines, kept from start to exit (the other windows read theirs here).
  const TSettingsLines& SettingsLines() const { return Memo2; }
  // Where the editor's values come from at exit; without an editor the file's own values stay.
  std::function<TEditorSettings()> CurrentEditorSettings;
  // Every way of ending the program comes here: asks the drawing editor first, then runs the exit
  // sequence. A request while one is being asked is taken into it.
  TQuitRequest& Quit() { return quit_; }
  // Puts the master's title on the application and this window.
  void ApplyTitle();
  // An interface's reason for not opening changed (None: it opens again); updates DeviceNotice.
  void ShowInterfaceFault(int number, TUsbFault fault);

  TSkinButton* BitBtn1;  // "Picture Edit"
  TSkinButton* BitBtn2;  // "Segment Edit"
  TSkinButton* BitBtn5;  // "Quick Play"
  TSkinButton* BitBtn4;  // "Show Edit"
  TSkinButton* BitBtn3;  // " Converter"
  TSkinButton* BitBtn7;  // "Select Device"
  TSkinButton* skinButton1;  // "Detect Device"
  TSkinComboBox* ComboBox1;
  // Which interfaces cannot be opened, why and what to do; hidden while every one opens. Told
  // in place, never in a message box, so that nothing stops a show.
  QLabel* DeviceNotice;
  QTimer* Timer1;
  TSettingsLines Memo2;  // the settings file's lines

 signals:
  // The exit sequence has run and the main window has closed: the program ends.
  void Closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool FormCloseQuery();
  void FormClose();
  void FillComboBox();

  TDeviceDetector detector_;
  TMasterChoice choice_;
  TInterfaceNotices notices_;
  TQuitRequest quit_;
  TSettingsSource settingsSource_;  // the rest of the settings file, for the exit
};

extern TForm15* Form15;

}  // namespace kavri
