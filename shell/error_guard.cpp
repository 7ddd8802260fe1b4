#include "shell/error_guard.h"

#include <exception>
#include <new>

#include "platform/dialog_service.h"

namespace kavri {

void ShowStandardError(const std::string& text) {
  Dialogs().ShowMessage(text.empty() ? std::string("Unknown error") : text, TMessageKind::Error);
}

bool RunGuarded(const std::function<void()>& step) {
  try {
    step();
    return true;
  } catch (const std::bad_alloc&) {
    // The command's own memory is released by now; its library text would tell the operator nothing.
    ShowStandardError(kOutOfMemoryText);
  } catch (const std::exception& error) {
    ShowStandardError(error.what());
  } catch (...) {
    ShowStandardError("Unknown error");
  }
  return false;
}

TKavriApplication::TKavriApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TKavriApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunGuarded([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace kavri
