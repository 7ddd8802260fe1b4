#pragma once
// The labels under which the windows show the laser interfaces ("Usb-3" for device "ezusb-3").
#include <string>

#include "platform/usb/usb_driver.h"

namespace kavri {

inline constexpr int kDeviceSlots = kMaxUsbDeviceNumber + 1;  // interface numbers 0..127

std::string DeviceLabelOf(int number);  // "Usb-" + number

// The interface number of a label, case-blind ("usb-5"); -1 when the text is no label or the
// number is outside 0..127.
int DeviceNumberOf(const std::string& label);

// The device name reset uses for a label: "ez" followed by the label as it stands.
std::string ResetNameOf(const std::string& label);

}  // namespace kavri
