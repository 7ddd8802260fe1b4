#pragma once
// Names of the laser interfaces as the windows show them ("Usb-3") and as the device layer opens
// them ("ezusb-3").
#include <string>

namespace kavri {

inline constexpr int kDeviceSlots = 128;  // interface numbers 0..127

std::string DeviceNameOf(int number);   // "ezusb-" + number
std::string DeviceLabelOf(int number);  // "Usb-" + number

// The interface number a label or a device name ends in, case-blind ("usb-5", "EZUSB-5"); -1 when
// the text is neither or the number is outside 0..127.
int DeviceNumberOf(const std::string& labelOrName);

// The device name reset uses for a label: "ez" followed by the label as it stands.
std::string ResetNameOf(const std::string& label);

}  // namespace kavri
