#include "shell/device_labels.h"

#include <cctype>

namespace kavri {

std::string DeviceNameOf(int number) { return "ezusb-" + std::to_string(number); }
std::string DeviceLabelOf(int number) { return "Usb-" + std::to_string(number); }

int DeviceNumberOf(const std::string& text) {
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string digits;
  if (lower.rfind("ezusb-", 0) == 0) {
    digits = lower.substr(6);
  } else if (lower.rfind("usb-", 0) == 0) {
    digits = lower.substr(4);
  } else {
    return -1;
  }
  if (digits.empty() || digits.size() > 3) return -1;
  int number = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    number = number * 10 + (c - '0');
  }
  return number < kDeviceSlots ? number : -1;
}

std::string ResetNameOf(const std::string& label) { return "ez" + label; }

}  // namespace kavri
