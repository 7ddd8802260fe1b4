#include "shell/play_commands.h"

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "shell/toggle_twins.h"
#include "shell/window_registry.h"

namespace kavri {

TRunMenuItems AddRunMenu(TSkinMenu* run, const TRunToolButtons& buttons, std::function<void()> play,
                         std::function<void()> stop) {
  run->AddItem("Play(&P)", play);
  run->AddItem("Stop(&S)", stop);
  TRunMenuItems items;
  items.pause = run->AddCheckItem("Pause(&B)");
  items.loop = run->AddCheckItem("Loop(&L)");
  items.hInvert = run->AddCheckItem("Horizontal invert(&H)");
  items.vInvert = run->AddCheckItem("Vertical invert(&V)");
  run->AddItem("Settings(&O)...", [] { ShowRegisteredWindow("Form13"); });
  BindToggleTwins(buttons.pause, items.pause, [](bool on) { PauseFlag = on; });
  BindToggleTwins(buttons.loop, items.loop, [](bool on) { LoopFlag = on; });
  BindToggleTwins(buttons.hInvert, items.hInvert, [](bool on) { HInvertFlag = on; });
  BindToggleTwins(buttons.vInvert, items.vInvert, [](bool on) { VInvertFlag = on; });
  buttons.play->OnClick = [play](QObject*) { play(); };
  buttons.stop->OnClick = [stop](QObject*) { stop(); };
  buttons.settings->OnClick = [](QObject*) { ShowRegisteredWindow("Form13"); };
  return items;
}

void TakeRunFlags(const TRunToolButtons& buttons) {
  LoopFlag = buttons.loop->Down();
  HInvertFlag = buttons.hInvert->Down();
  PauseFlag = buttons.pause->Down();
  VInvertFlag = buttons.vInvert->Down();
}

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
