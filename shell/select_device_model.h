#pragma once
// "Select device" without widgets: its copy of the master list, the multiple-output switch, one
// box per possible interface number, and the operations that change the extra interfaces.
// The extras themselves live in the main window's TMasterChoice.
#include <array>
#include <string>
#include <vector>

#include "shell/device_labels.h"
#include "shell/master_choice.h"

namespace kavri {

struct TDeviceBox {
  bool shown = false;
  bool ticked = false;
};

// One interface to reset: its device name and the pipes to abort first.
struct TResetTarget {
  std::string name;
  std::vector<int> pipes;
};

class TSelectDeviceModel {
 public:
  explicit TSelectDeviceModel(TMasterChoice& master);

  // Window creation and activation: copy the master list and its index.
  void CopyMasterCombo();
  // After every detection: drop extras that are gone, tick the extras' boxes, copy the master list.
  void SyncDeviceBoxes();
  // The multiple-output check box; ignored while it is disabled.
  void SetMultipleOutput(bool on);
  // A device box was clicked into the state given. The master's own box stays ticked and the
  // master never becomes an extra.
  void DeviceBoxClick(int number, bool ticked);
  // This window's master combo changed; a position outside the list changes nothing.
  void ChangeMaster(int index);
  void SelectAll();
  void Clear();
  // What "Reset device" resets: the master (pipes 1, 3, 5), then with multiple output each extra
  // (pipes 1, 2, 3).
  std::vector<TResetTarget> ResetTargets() const;

  const std::vector<std::string>& ComboItems() const { return comboItems_; }
  int ComboIndex() const { return comboIndex_; }
  bool MultipleEnabled() const { return multipleEnabled_; }
  bool MultipleChecked() const { return multipleChecked_; }
  bool ListButtonsShown() const { return listButtonsShown_; }
  const TDeviceBox& Box(int number) const { return boxes_.at(static_cast<size_t>(number)); }

 private:
  void HideDeviceBoxes();
  void ShowDetectedDeviceBoxes();
  void TakeMasterList();
  void ForceMultipleOff();
  bool IsMasterLabel(const std::string& label) const;

  TMasterChoice& master_;
  std::vector<std::string> comboItems_;
  int comboIndex_ = -1;
  bool multipleEnabled_ = false;
  bool multipleChecked_ = false;
  bool listButtonsShown_ = false;
  std::array<TDeviceBox, kDeviceSlots> boxes_{};
};

}  // namespace kavri
