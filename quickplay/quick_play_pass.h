#pragma once
// What both quick-play loops keep through a run and how they make one pass: the sliders read on
// every point, the effect state published for the preview, one write per pass to every output.
#include <cstdint>
#include <span>

#include "engine/device_packets.h"
#include "engine/loop_output.h"
#include "engine/play_drawing.h"
#include "engine/play_kernel.h"

namespace kavri {

class TQuickPass {
 public:
  // `pointDraw`: whether the hidden "Point draw" box blanks every point (drawings only).
  TQuickPass(const TPassPolicy& policy, bool pointDraw) : policy_(policy), pointDraw_(pointDraw) {}

  // Loop start: WorkerRunningFlag, the change-test copies, the settings packet; the effects
  // from their start with the slow-draw position given.
  void Start(int32_t slowDraw);
  // The settings packet again when its values changed, and the change test.
  void CheckSettings() { output_.BeforePass(); }
  void SetPointTotal(int32_t total);
  int32_t PointTotal() const { return pointTotal_; }
  // One pass, sent unless Stop cut it short.
  void Play(const TPlayDrawing& picture);
  void Play(std::span<const PointRecord> frame);
  // Publishes the effect state as it stands and clears WorkerRunningFlag.
  void Finish();
  // The point count toward the next effect step and the effect steps toward the next colour
  // advance start again (the rolling text's every new window).
  void RestartCounters() {
    stepper_.RestartPointCount();
    stepper_.RestartColourSteps();
  }

 private:
  template <class Lists>
  void Walk(const Lists& lists);

  TPassPolicy policy_;
  bool pointDraw_;
  TLoopOutput output_;
  TEffectStepper stepper_{TEffectWrap::ZeroAbove510};
  TEffectValues values_;
  TFrameBuffer frame_;
  int32_t pointTotal_ = 0;
};

}  // namespace kavri
