#pragma once
// Ctrl+C in the terminal, or a polite kill, asks to end the program as System > Exit does, so the
// settings are written as on any other exit. However many signals come, and in however many
// wake-ups, they make one request: while its question is open they leave it open. Other modal
// boxes open at the time are dismissed first.
class QObject;

namespace kavri {

class TQuitRequest;

// Watches for the quit signals from the start of the program on, while there is no quit request
// yet to take them: a quit signal then dismisses the boxes open and any shown after it, and
// QuitSignalled() tells the start-up to go no further. SIGUSR1 and SIGUSR2 mean nothing here and a
// broken pipe is an error of its write: the three are ignored rather than ending the program. The
// application object must exist.
void WatchQuitSignals();
// Whether a quit signal has come since the watch began.
bool QuitSignalled();

// From now on the quit signals make requests of `quit`; watches first if nothing does yet. `owner`
// keeps the watch on the signals; `quit` lives as long as it.
void QuitOnTerminationSignals(QObject* owner, TQuitRequest* quit);

}  // namespace kavri
