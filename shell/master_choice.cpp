#include "shell/master_choice.h"

#include <algorithm>

#include "engine/shared_state.h"

namespace kavri {

TMasterChoice::TMasterChoice(std::string savedTitle) : savedTitle_(std::move(savedTitle)) {}

void TMasterChoice::TakeFirstDetection(std::vector<TDetectedDevice> found) {
  devices_ = std::move(found);
  index_ = devices_.empty() ? -1 : 0;
  PublishTargets();
}

void TMasterChoice::TakeRedetection(std::vector<TDetectedDevice> found) {
  const std::string previousName = MasterName();
  const int remembered = index_;
  devices_ = std::move(found);
  index_ = -1;
  if (devices_.empty()) {
    PublishTargets();
    return;
  }
  for (size_t i = 0; i < devices_.size(); ++i) {
    if (!previousName.empty() && devices_[i].name == previousName) index_ = static_cast<int>(i);
  }
  if (index_ < 0) {
    const bool inRange = remembered >= 0 && remembered < static_cast<int>(devices_.size());
    index_ = inRange ? remembered : 0;
  }
  DropMasterFromExtras();
  PublishTargets();
}

bool TMasterChoice::ChooseMaster(int index) {
  if (index < 0 || index >= static_cast<int>(devices_.size())) return false;
  index_ = index;
  DropMasterFromExtras();
  PublishTargets();
  return true;
}

std::vector<std::string> TMasterChoice::Names() const {
  std::vector<std::string> names;
  for (const TDetectedDevice& d : devices_) names.push_back(d.name);
  return names;
}

std::vector<std::string> TMasterChoice::Labels() const {
  std::vector<std::string> labels;
  for (const TDetectedDevice& d : devices_) labels.push_back(d.label);
  return labels;
}

std::string TMasterChoice::MasterName() const { return index_ < 0 ? std::string() : devices_[index_].name; }
std::string TMasterChoice::MasterLabel() const { return index_ < 0 ? std::string() : devices_[index_].label; }

std::string TMasterChoice::Title() const {
  return index_ < 0 ? savedTitle_ : savedTitle_ + "-" + std::to_string(index_);
}

void TMasterChoice::DropMasterFromExtras() {
  // An interface that is both master and extra would get every packet twice.
  const std::string master = MasterLabel();
  if (!master.empty()) extras_.erase(std::remove(extras_.begin(), extras_.end(), master), extras_.end());
}

void TMasterChoice::PublishTargets() const {
  SetCurrentDeviceName(MasterName());
  SetSelectedDevices(extras_);
}

}  // namespace kavri
