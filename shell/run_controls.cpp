#include "shell/run_controls.h"

#include "engine/shared_state.h"
#include "shell/shell_controls.h"
#include "shell/toggle_twins.h"
#include "shell/window_registry.h"

namespace kavri {

void TRunControls::TakeRunFlags() const {
  LoopFlag = ToolButton5->Down();
  VInvertFlag = ToolButton3->Down();
  HInvertFlag = ToolButton9->Down();
  PauseFlag = ToolButton10->Down();
}

TSkinToolBar* TRunControls::BuildRunToolBar(QWidget* window) {
  skinToolBar1 = MakeRunToolBar(window);
  constexpr auto kCheck = TToolButtonStyle::tbsCheck;
  ToolButton1 = AddToolButton(skinToolBar1, "ToolButton1", TRunImage::Play, "Play");
  ToolButton8 = AddToolButton(skinToolBar1, "ToolButton8", TRunImage::Stop, "Stop");
  ToolButton10 = AddToolButton(skinToolBar1, "ToolButton10", TRunImage::Pause, "Pause", kCheck);
  ToolButton5 = AddToolButton(skinToolBar1, "ToolButton5", TRunImage::Loop, "Loop", kCheck);
  ToolButton9 = AddToolButton(skinToolBar1, "ToolButton9", TRunImage::HInvert, "Horizontal invert", kCheck);
  ToolButton3 = AddToolButton(skinToolBar1, "ToolButton3", TRunImage::VInvert, "Vertical invert", kCheck);
  ToolButton2 = AddToolButton(skinToolBar1, "ToolButton2", TRunImage::Settings, "Settings");
  return skinToolBar1;
}

void TRunControls::BuildRunMenu(TWindowMenuBar* bar, const std::function<void()>& play,
                                const std::function<void()>& stop) {
  TSkinMenu* run = bar->AddOwnMenu("&Run");
  run->AddItem("Play(&P)", play);
  run->AddItem("Stop(&S)", stop);
  PauseItem = run->AddCheckItem("Pause(&B)");
  LoopItem = run->AddCheckItem("Loop(&L)");
  HInvertItem = run->AddCheckItem("Horizontal invert(&H)");
  VInvertItem = run->AddCheckItem("Vertical invert(&V)");
  run->AddItem("Settings(&O)...", [bar] { ShowRegisteredWindow("Form13", bar->window()); });
  BindToggleTwins(ToolButton10, PauseItem, [](bool on) { PauseFlag = on; });
  BindToggleTwins(ToolButton5, LoopItem, [](bool on) { LoopFlag = on; });
  BindToggleTwins(ToolButton9, HInvertItem, [](bool on) { HInvertFlag = on; });
  BindToggleTwins(ToolButton3, VInvertItem, [](bool on) { VInvertFlag = on; });
  ToolButton1->OnClick = [play](QObject*) { play(); };
  ToolButton8->OnClick = [stop](QObject*) { stop(); };
  ToolButton2->OnClick = [](QObject* sender) { ShowRegisteredWindow("Form13", qobject_cast<QWidget*>(sender)); };
}

}  // namespace kavri
