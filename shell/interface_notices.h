#pragma once
// What the main window says about interfaces that cannot be opened: one line per interface, with
// the reason and what to do, kept until the interface opens again.
#include <map>
#include <string>

#include "platform/usb/usb_driver.h"

namespace kavri {

// The file the set-up command installs into /etc/udev/rules.d.
inline constexpr const char* kUdevRuleName = "70-kavri-laser.rules";

// The line for an interface and its reason; "" for TUsbFault::None.
std::string InterfaceFaultText(int number, TUsbFault fault);

class TInterfaceNotices {
 public:
  // Takes an interface's reason as it stands; None removes its line. True when the text changed.
  bool Take(int number, TUsbFault fault);
  // Every line, in interface number order, one per line; "" when every interface opens.
  std::string Text() const;

 private:
  std::map<int, std::string> lines_;
};

}  // namespace kavri
