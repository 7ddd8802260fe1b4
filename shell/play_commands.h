#pragma once
// What the playing windows share around Play and Stop: the Run drop-down with its toggles kept in
// step with the tool buttons, waiting for the running loops before a new start, and the precise
// timers that pace the previews.
#include <QAction>
#include <QTimer>
#include <functional>
#include <string>

#include "skin/skin_menu.h"
#include "skin/tool_bar.h"

namespace kavri {

struct TRunToolButtons {
  TSkinToolButton* play;
  TSkinToolButton* stop;
  TSkinToolButton* pause;
  TSkinToolButton* loop;
  TSkinToolButton* hInvert;
  TSkinToolButton* vInvert;
  TSkinToolButton* settings;
};

struct TRunMenuItems {
  QAction* pause;
  QAction* loop;
  QAction* hInvert;
  QAction* vInvert;
};

// Fills `run` with Play, Stop, the four toggles and Settings; each toggle and its tool button
// switch PauseFlag, LoopFlag, HInvertFlag or VInvertFlag together, and Settings shows "Settings".
TRunMenuItems AddRunMenu(TSkinMenu* run, const TRunToolButtons& buttons, std::function<void()> play,
                         std::function<void()> stop);

// Loop, the inverts and Pause as the tool buttons stand (every Play reads them afresh).
void TakeRunFlags(const TRunToolButtons& buttons);

// Stops whatever plays and waits for it. False when a loop would not end; `say` then gets the
// text for the message line, when there is one.
bool StopPlaying(const std::function<void(const std::string&)>& say);

// A precise timer that runs `onTick`, stopped until started.
QTimer* MakePreciseTimer(QObject* parent, std::function<void()> onTick);

}  // namespace kavri
