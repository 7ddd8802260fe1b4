#include "shell/play_commands.h"

#include "engine/play_threads.h"

namespace kavri {

bool StopPlaying(const std::function<void(const std::string&)>& say) {
  const TStopResult stopped = PlayController().StopAndWait();
  if (stopped == TStopResult::Stopped) return true;
  if (const std::string text = StopResultText(stopped); !text.empty()) say(text);
  return false;
}

QTimer* MakePreciseTimer(QObject* parent, std::function<void()> onTick) {
  auto* timer = new QTimer(parent);
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, parent, std::move(onTick));
  return timer;
}

}  // namespace kavri
