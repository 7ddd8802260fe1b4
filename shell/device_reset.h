#pragma once
// Resetting laser interfaces: abort the given pipes, then hold the interface's processor in reset
// and let it run again.
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/usb/usb_driver.h"
#include "shell/select_device_model.h"

class QObject;

namespace kavri {

struct TResetOperations {
  std::function<bool(const std::string& name, int pipe)> abortPipe;
  std::function<bool(const std::string& name)> reset;
};

// The device layer's operations; `stop` makes every request give up (see TUsbStop).
TResetOperations DeviceResetOperations(TUsbStop stop = nullptr);

// Resets every target in order; returns the names whose reset failed (aborts are not judged).
std::vector<std::string> ResetInterfaces(const std::vector<TResetTarget>& targets,
                                         const TResetOperations& ops = DeviceResetOperations());

// One message box per failing interface: "Failed to reset " + its name.
void ReportResetFailures(const std::vector<std::string>& failed);

// Runs resets on a worker, one run at a time, so that slow interfaces (each request may wait a
// second) never hold up the window. Its owner is the window that shows the result; destroying
// the job cancels the run (every pending request gives up) and joins the worker.
class TDeviceResetJob {
 public:
  TDeviceResetJob() = default;
  ~TDeviceResetJob();
  TDeviceResetJob(const TDeviceResetJob&) = delete;
  TDeviceResetJob& operator=(const TDeviceResetJob&) = delete;

  using TDone = std::function<void(const std::vector<std::string>& failed)>;
  // Starts resetting the targets; refused (false) while a run is under way. `done` runs on
  // `window`'s thread with the names that failed; `window` must outlive the job.
  bool Start(std::vector<TResetTarget> targets, QObject* window, TDone done);
  bool Running() const { return running_.load(); }

 private:
  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<bool> cancel_{false};
};

}  // namespace kavri
