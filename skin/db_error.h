#pragma once
#include <functional>

namespace kavri {

// Runs a data operation started by the operator; a refusal (a database or field error) is shown
// in the standard error box instead of leaving the event handler. False when one was.
bool RunDataStep(const std::function<void()>& step);

}  // namespace kavri
