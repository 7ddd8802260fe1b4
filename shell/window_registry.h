#pragma once
// The windows created at start-up, found by the name of their global pointer ("Form1", "Form13").
// Windows that open others go through here, so that a window not built into this program is simply
// not opened.
#include <string>

class QWidget;

namespace kavri {

void RegisterWindow(const std::string& pointerName, QWidget* window);
void UnregisterWindow(const std::string& pointerName);
QWidget* RegisteredWindow(const std::string& pointerName);  // nullptr when there is none
// Shows, raises and activates the window; false (and nothing happens) when there is none.
bool ShowRegisteredWindow(const std::string& pointerName);

}  // namespace kavri
