#include "quickplay/quick_play_state.h"

#include "engine/colour_modes.h"

namespace kavri {

TQuickPlayEffects QuickPlayEffects;
std::atomic<int32_t> QuickPlayMode{QuickPlayDrawing};
std::atomic<int32_t> QuickPlayColourMode{ColourModeAuto};
TTickCounter QuickPlayTickFlag;
TPublishedEffects QuickPlayEffectState;
std::atomic<int32_t> QuickPlayPointTotal{0};
std::atomic<int32_t> QuickPlaySlowDrawCount{0};
std::atomic<int32_t> QuickPlayFrameIndex{0};
TPlayDrawingPtr QuickPlayDrawingList = EmptyPlayDrawing();
TIldaImagePtr QuickPlayIldaFrames = std::make_shared<const TILDAimage>();

void TQuickPlayEffects::Reset() {
  for (auto* v : {&Rotation, &SlowDraw, &HStretch, &VStretch, &HRotate, &VRotate, &HMove, &VMove,
                  &LocAngle, &PointDraw})
    *v = 0;
  AllSpeed = 50;
  Size = 20;
  ColourSpeed = 30;
  RollStep = 5;
  StayTime = 2;
  RowsOrColumns = 4;
  WidthFactor = 4;
  HeightFactor = 4;
}

void ResetQuickPlayState() {
  QuickPlayEffects.Reset();
  QuickPlayMode = QuickPlayDrawing;
  QuickPlayColourMode = ColourModeAuto;
  QuickPlayTickFlag.Clear();
  QuickPlayEffectState.Publish(TEffectValues{});
  QuickPlayPointTotal = 0;
  QuickPlaySlowDrawCount = 0;
  QuickPlayFrameIndex = 0;
  QuickPlayDrawingList = EmptyPlayDrawing();
  QuickPlayIldaFrames = std::make_shared<const TILDAimage>();
}

TEffectParams QuickPlayEffectParams(bool withPointDraw) {
  const TQuickPlayEffects& e = QuickPlayEffects;
  TEffectParams p;
  p.B = e.AllSpeed;
  p.C = e.Rotation;
  p.D = e.SlowDraw;
  p.E = e.HStretch;
  p.F = e.VStretch;
  p.G = e.HRotate;
  p.H = e.VRotate;
  p.I = e.HMove;
  p.J = e.VMove;
  p.L = e.Size;
  p.M = e.LocAngle;
  p.N = e.ColourSpeed;
  p.O = withPointDraw && e.PointDraw != 0 ? 1 : 0;
  return p;
}

}  // namespace kavri
