#pragma once
// Ctrl+C in the terminal, or a polite kill, ends the program through its main window's close, so
// the settings are written as on any other exit; modal boxes open at the time are dismissed first.
class QWidget;

namespace kavri {

void CloseOnTerminationSignals(QWidget* mainWindow);

}  // namespace kavri
