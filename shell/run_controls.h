#pragma once
// The run controls of the windows that play with the run switches (segment and show editors): the
// tool bar (Play, Stop, Pause, Loop, H invert, V invert, Settings) and the "&Run" menu whose check
// items are the switches' twins. A window inherits them, so they carry the window's control names.
#include <QAction>
#include <functional>

#include "shell/window_menu_bar.h"
#include "skin/tool_bar.h"

namespace kavri {

class TRunControls {
 public:
  TSkinToolBar* skinToolBar1 = nullptr;
  TSkinToolButton* ToolButton1 = nullptr;   // Play
  TSkinToolButton* ToolButton8 = nullptr;   // Stop
  TSkinToolButton* ToolButton10 = nullptr;  // Pause
  TSkinToolButton* ToolButton5 = nullptr;   // Loop
  TSkinToolButton* ToolButton9 = nullptr;   // Horizontal invert
  TSkinToolButton* ToolButton3 = nullptr;   // Vertical invert
  TSkinToolButton* ToolButton2 = nullptr;   // Settings
  QAction* PauseItem = nullptr;
  QAction* LoopItem = nullptr;
  QAction* HInvertItem = nullptr;
  QAction* VInvertItem = nullptr;

  // Loop, the inverts and Pause as the tool buttons stand.
  void TakeRunFlags() const;

 protected:
  // The tool bar with its buttons, for the window's layout.
  TSkinToolBar* BuildRunToolBar(QWidget* window);
  // The "&Run" menu: Play, Stop, the four switches bound to their tool buttons and flags, Settings.
  // Play, Stop and Settings on the tool bar do the same.
  void BuildRunMenu(TWindowMenuBar* bar, const std::function<void()>& play, const std::function<void()>& stop);
};

}  // namespace kavri
