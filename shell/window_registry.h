#pragma once
// The windows created at start-up, found by the name of their global pointer ("Form1", "Form13").
// Windows that open others go through here, so that a window not built into this program is simply
// not opened, and every window opens in its place on the screen.
#include <string>

#include "skin/window_placement.h"

class QWidget;

namespace kavri {

void RegisterWindow(const std::string& pointerName, QWidget* window);
void UnregisterWindow(const std::string& pointerName);
QWidget* RegisteredWindow(const std::string& pointerName);  // nullptr when there is none
// How the window of that name is placed when it opens: the dialogs on the window that opened them,
// the about box on the screen, the others where they stood.
TWindowPlacement PlacementOf(const std::string& pointerName);
// Shows, raises and activates the window; false (and nothing happens) when there is none. A window
// that was not showing is placed as it opens (ShowPlaced), with `opener` as the window that opened
// it (the active window when none is given).
bool ShowRegisteredWindow(const std::string& pointerName, QWidget* opener = nullptr);

}  // namespace kavri
