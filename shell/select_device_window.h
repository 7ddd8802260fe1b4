#pragma once
// "Select device": the master choice, multiple output with one box per interface number, and
// resetting the interfaces.
#include <QWidget>
#include <array>

#include "shell/device_reset.h"
#include "shell/select_device_model.h"
#include "shell/shell_controls.h"

namespace kavri {

class TForm15;

class TForm19 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm19(TForm15* mainWindow, QWidget* parent = nullptr);
  ~TForm19() override;

  void FormCreate();
  void FormActivate();
  // After every detection of the main window.
  void SyncDeviceBoxes();
  // The main window's combo changed the master.
  void MasterChangedElsewhere();

  void ComboBox1Change(int index);
  void CheckBox131Click();
  void DeviceBoxClick(int number);
  void skinButton2Click();  // "Select all"
  void skinButton3Click();  // "Clear"
  void skinButton1Click();  // "OK"
  void BitBtn2Click();      // "Reset device": runs on a worker; the buttons wait for its end

  const TSelectDeviceModel& Model() const { return model_; }

  TSkinComboBox* ComboBox1;
  TSkinButton* BitBtn2;
  TSkinCheckBox* CheckBox131;
  std::array<TSkinCheckBox*, kDeviceSlots> DeviceBoxes{};  // CheckBox0 .. CheckBox127
  TSkinButton* skinButton2;
  TSkinButton* skinButton3;
  TSkinButton* skinButton1;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void ShowModel();
  void EnableButtons(bool enabled);

  TForm15* main_;
  TSelectDeviceModel model_;
  TDeviceResetJob resetJob_;  // its destructor cancels a run under way and joins it
};

extern TForm19* Form19;

}  // namespace kavri
