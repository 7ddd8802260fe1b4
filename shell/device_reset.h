#pragma once
// Resetting laser interfaces: abort the given pipes, then hold the interface's processor in reset
// and let it run again.
#include <functional>
#include <string>
#include <vector>

#include "shell/select_device_model.h"

namespace kavri {

struct TResetOperations {
  std::function<bool(const std::string& name, int pipe)> abortPipe;
  std::function<bool(const std::string& name)> reset;
};

// The device layer's operations.
TResetOperations DeviceResetOperations();

// Resets every target in order; returns the names whose reset failed (aborts are not judged).
std::vector<std::string> ResetInterfaces(const std::vector<TResetTarget>& targets,
                                         const TResetOperations& ops = DeviceResetOperations());

// One message box per failing interface: "Failed to reset " + its name.
void ReportResetFailures(const std::vector<std::string>& failed);

}  // namespace kavri
