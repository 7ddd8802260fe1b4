#include "shell/interface_notices.h"

#include "shell/device_labels.h"

namespace kavri {

std::string InterfaceFaultText(int number, TUsbFault fault) {
  const std::string label = DeviceLabelOf(number);
  switch (fault) {
    case TUsbFault::None: return {};
    case TUsbFault::NoAccess:
      return label + " cannot be opened: no permission. Install the udev rule " + kUdevRuleName +
             " (bash scripts/install-deps.sh), then unplug the interface and plug it in again.";
    case TUsbFault::Busy:
      return label + " cannot be opened: another program is using it. Close that program.";
    case TUsbFault::Gone:
      return label + " cannot be opened: it is no longer attached. Plug it in again.";
    case TUsbFault::Failed:
      return label + " cannot be opened. Unplug it, plug it in again and press Detect Device.";
  }
  return {};
}

bool TInterfaceNotices::Take(int number, TUsbFault fault) {
  const std::string text = InterfaceFaultText(number, fault);
  const auto it = lines_.find(number);
  if (text.empty()) {
    if (it == lines_.end()) return false;
    lines_.erase(it);
    return true;
  }
  if (it != lines_.end() && it->second == text) return false;
  lines_[number] = text;
  return true;
}

std::string TInterfaceNotices::Text() const {
  std::string text;
  for (const auto& [number, line] : lines_) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace kavri
