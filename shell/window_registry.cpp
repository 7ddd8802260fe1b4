#include "shell/window_registry.h"

#include <QApplication>
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

TWindowPlacement PlacementOf(const std::string& pointerName) {
  // "Settings", "Import plt", "Select device", "Rotating" and "Import Text".
  for (const char* dialog : {"Form13", "Form17", "Form19", "Form3", "Form6"})
    if (pointerName == dialog) return TWindowPlacement::CentreOnOpener;
  if (pointerName == "AboutBox") return TWindowPlacement::CentreOnScreen;
  return TWindowPlacement::KeepOnScreen;
}

bool ShowRegisteredWindow(const std::string& pointerName, QWidget* opener) {
  QWidget* window = RegisteredWindow(pointerName);
  if (!window) return false;
  ShowPlaced(window, PlacementOf(pointerName), opener ? opener : QApplication::activeWindow());
  window->show();
  window->raise();
  window->activateWindow();
  return true;
}

}  // namespace kavri
