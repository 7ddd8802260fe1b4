#include "shell/device_reset.h"

#include <QMetaObject>
#include <QObject>

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

TResetOperations DeviceResetOperations(TUsbStop stop) {
  return {[stop](const std::string& name, int pipe) { return AbortUsbPipe(name, static_cast<uint32_t>(pipe), stop); },
          [stop](const std::string& name) { return ResetUsbDevice(name, stop); }};
}

TDeviceResetJob::~TDeviceResetJob() {
  cancel_ = true;
  if (worker_.joinable()) worker_.join();
}

bool TDeviceResetJob::Start(std::vector<TResetTarget> targets, QObject* window, TDone done) {
  if (running_) return false;
  if (worker_.joinable()) worker_.join();  // the previous run has ended
  running_ = true;
  worker_ = std::thread([this, targets = std::move(targets), window, done = std::move(done)] {
    const std::vector<std::string> failed = ResetInterfaces(targets, DeviceResetOperations(&cancel_));
    // A cancelled run belongs to a window on its way out: nothing to show.
    if (!cancel_)
      QMetaObject::invokeMethod(window, [done, failed] { done(failed); }, Qt::QueuedConnection);
    running_ = false;
  });
  return true;
}

}  // namespace kavri
