#include "skin/db_error.h"

#include <exception>

#include "platform/dialog_service.h"

namespace kavri {

bool RunDataStep(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::exception& error) {
    Dialogs().ShowMessage(error.what(), TMessageKind::Error);
  }
  return false;
}

}  // namespace kavri
