#include "shell/select_device_model.h"

#include <algorithm>
#include <cctype>

#include "engine/shared_state.h"

namespace kavri {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool Contains(const std::vector<std::string>& list, const std::string& text) {
  return std::find(list.begin(), list.end(), text) != list.end();
}

}  // namespace

TSelectDeviceModel::TSelectDeviceModel(TMasterChoice& master) : master_(master) {}

bool TSelectDeviceModel::IsMasterLabel(const std::string& label) const {
  const std::string masterLabel = master_.MasterLabel();
  return !masterLabel.empty() && Lower(label) == Lower(masterLabel);
}

void TSelectDeviceModel::TakeMasterList() {
  comboItems_ = master_.Labels();
  comboIndex_ = master_.MasterIndex();
  multipleEnabled_ = comboItems_.size() >= 2;
  if (!multipleEnabled_) ForceMultipleOff();
}

void TSelectDeviceModel::ForceMultipleOff() {
  MultiDeviceFlag = false;
  multipleChecked_ = false;
  HideDeviceBoxes();
}

void TSelectDeviceModel::CopyMasterCombo() { TakeMasterList(); }

void TSelectDeviceModel::HideDeviceBoxes() {
  for (TDeviceBox& box : boxes_) box.shown = false;
  listButtonsShown_ = false;
}

void TSelectDeviceModel::ShowDetectedDeviceBoxes() {
  const std::vector<std::string> labels = master_.Labels();
  for (size_t i = 0; i < labels.size(); ++i) {
    const int number = DeviceNumberOf(labels[i]);
    if (number < 0) continue;
    boxes_[number].shown = true;
    // A shown box says whether its interface gets the output: a former master left ticked from
    // an earlier showing is not an extra.
    boxes_[number].ticked = static_cast<int>(i) == master_.MasterIndex() || Contains(master_.Extras(), labels[i]);
  }
  listButtonsShown_ = true;
}

void TSelectDeviceModel::SyncDeviceBoxes() {
  const std::vector<std::string> labels = master_.Labels();
  std::vector<std::string>& extras = master_.Extras();
  extras.erase(std::remove_if(extras.begin(), extras.end(),
                              [&](const std::string& l) { return !Contains(labels, l); }),
               extras.end());
  for (int n = 0; n < kDeviceSlots; ++n) boxes_[n].ticked = Contains(extras, DeviceLabelOf(n));
  HideDeviceBoxes();
  TakeMasterList();
  if (MultiDeviceFlag) ShowDetectedDeviceBoxes();
  master_.PublishTargets();
}

void TSelectDeviceModel::SetMultipleOutput(bool on) {
  if (!multipleEnabled_) {
    ForceMultipleOff();
    return;
  }
  multipleChecked_ = on;
  MultiDeviceFlag = on;
  if (on) {
    ShowDetectedDeviceBoxes();
  } else {
    HideDeviceBoxes();
  }
}

void TSelectDeviceModel::DeviceBoxClick(int number, bool ticked) {
  if (number < 0 || number >= kDeviceSlots) return;
  const std::string label = DeviceLabelOf(number);
  boxes_[number].ticked = ticked;
  std::vector<std::string>& extras = master_.Extras();
  if (IsMasterLabel(label)) {
    boxes_[number].ticked = true;
  } else if (ticked) {
    if (!Contains(extras, label)) extras.push_back(label);
  } else {
    extras.erase(std::remove(extras.begin(), extras.end(), label), extras.end());
  }
  master_.PublishTargets();
}

void TSelectDeviceModel::ChangeMaster(int index) {
  if (index < 0 || index >= static_cast<int>(master_.Devices().size())) return;
  const std::string oldLabel = master_.MasterLabel();
  comboIndex_ = index;
  if (index != master_.MasterIndex()) master_.ChooseMaster(index);
  if (MultiDeviceFlag) {
    std::vector<std::string>& extras = master_.Extras();
    const int oldNumber = DeviceNumberOf(oldLabel);
    // The former master is no extra unless the operator ticks it again.
    if (oldNumber >= 0) boxes_[oldNumber].ticked = Contains(extras, oldLabel);
    const std::string newLabel = master_.MasterLabel();
    const int newNumber = DeviceNumberOf(newLabel);
    if (newNumber >= 0) boxes_[newNumber].ticked = true;
    extras.erase(std::remove(extras.begin(), extras.end(), newLabel), extras.end());
  }
  master_.PublishTargets();
}

void TSelectDeviceModel::SelectAll() {
  if (!master_.HasDevices()) return;
  std::vector<std::string>& extras = master_.Extras();
  extras.clear();
  for (const std::string& label : master_.Labels()) {
    const int number = DeviceNumberOf(label);
    if (number >= 0) boxes_[number].ticked = true;
    if (!IsMasterLabel(label)) extras.push_back(label);
  }
  master_.PublishTargets();
}

void TSelectDeviceModel::Clear() {
  if (!master_.HasDevices()) return;
  for (const std::string& label : master_.Labels()) {
    const int number = DeviceNumberOf(label);
    if (number >= 0 && !IsMasterLabel(label)) boxes_[number].ticked = false;
  }
  master_.Extras().clear();
  master_.PublishTargets();
}

std::vector<TResetTarget> TSelectDeviceModel::ResetTargets() const {
  std::vector<TResetTarget> targets;
  if (comboItems_.empty()) return targets;
  if (comboIndex_ >= 0 && comboIndex_ < static_cast<int>(comboItems_.size())) {
    targets.push_back({ResetNameOf(comboItems_[comboIndex_]), {1, 3, 5}});
  }
  if (MultiDeviceFlag) {
    for (const std::string& label : SelectedDevices()) targets.push_back({ResetNameOf(label), {1, 2, 3}});
  }
  return targets;
}

}  // namespace kavri
