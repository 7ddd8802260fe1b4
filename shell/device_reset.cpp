#include "shell/device_reset.h"

#include "engine/usb_device.h"
#include "platform/dialog_service.h"

namespace kavri {

std::vector<std::string> ResetInterfaces(const std::vector<TResetTarget>& targets, const TResetOperations& ops) {
  std::vector<std::string> failed;
  for (const TResetTarget& target : targets) {
    for (int pipe : target.pipes) ops.abortPipe(target.name, pipe);
    if (!ops.reset(target.name)) failed.push_back(target.name);
  }
  return failed;
}

void ReportResetFailures(const std::vector<std::string>& failed) {
  for (const std::string& name : failed) Dialogs().ShowMessage("Failed to reset " + name, TMessageKind::Error);
}

TResetOperations DeviceResetOperations() {
  return {[](const std::string& name, int pipe) { return AbortUsbPipe(name, static_cast<uint32_t>(pipe)); },
          [](const std::string& name) { return ResetUsbDevice(name); }};
}

}  // namespace kavri
