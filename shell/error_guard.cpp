#include "shell/error_guard.h"

#include <exception>

#include "platform/dialog_service.h"

namespace kavri {

void ShowStandardError(const std::string& text) {
  Dialogs().ShowMessage(text.empty() ? std::string("Unknown error") : text, TMessageKind::Error);
}

bool RunGuarded(const std::function<void()>& step) {
  try {
    step();
    return true;
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
