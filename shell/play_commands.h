#pragma once
// What the playing windows share around Play and Stop: waiting for the running loops before a new
// start, and the precise timers that pace the previews.
#include <QTimer>
#include <functional>
#include <string>

namespace kavri {

// Stops whatever plays and waits for it. False when a loop would not end; `say` then gets the
// text for the message line, when there is one.
bool StopPlaying(const std::function<void(const std::string&)>& say);

// A precise timer that runs `onTick`, stopped until started.
QTimer* MakePreciseTimer(QObject* parent, std::function<void()> onTick);

}  // namespace kavri
