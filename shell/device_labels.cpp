#include "shell/device_labels.h"

#include <cctype>

namespace kavri {

std::string DeviceLabelOf(int number) { return "Usb-" + std::to_string(number); }

int DeviceNumberOf(const std::string& label) {
  // A label is a device name without its "ez".
  const std::optional<int> number = ParseUsbDeviceName("ez" + label);
  return number ? *number : -1;
}

std::string ResetNameOf(const std::string& label) { return "ez" + label; }

}  // namespace kavri
