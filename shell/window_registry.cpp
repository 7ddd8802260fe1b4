#include "shell/window_registry.h"

#include <QPointer>
#include <QWidget>
#include <map>

namespace kavri {

namespace {
std::map<std::string, QPointer<QWidget>>& Windows() {
  static std::map<std::string, QPointer<QWidget>> windows;
  return windows;
}
}  // namespace

void RegisterWindow(const std::string& pointerName, QWidget* window) { Windows()[pointerName] = window; }

void UnregisterWindow(const std::string& pointerName) { Windows().erase(pointerName); }

QWidget* RegisteredWindow(const std::string& pointerName) {
  auto it = Windows().find(pointerName);
  return it == Windows().end() ? nullptr : it->second.data();
}

bool ShowRegisteredWindow(const std::string& pointerName) {
  QWidget* window = RegisteredWindow(pointerName);
  if (!window) return false;
  window->show();
  window->raise();
  window->activateWindow();
  return true;
}

}  // namespace kavri
