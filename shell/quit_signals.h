#pragma once
// Ctrl+C in the terminal, or a polite kill, asks to end the program as System > Exit does, so the
// settings are written as on any other exit. However many signals come, and in however many
// wake-ups, they make one request: while its question is open they leave it open. Other modal
// boxes open at the time are dismissed first.
class QObject;

namespace kavri {

class TQuitRequest;

// `owner` keeps the watch on the signals; `quit` lives as long as it.
void QuitOnTerminationSignals(QObject* owner, TQuitRequest* quit);

}  // namespace kavri
