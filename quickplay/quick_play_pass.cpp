#include "quickplay/quick_play_pass.h"

#include "engine/output_change.h"
#include "engine/shared_state.h"
#include "quickplay/quick_play_state.h"

namespace kavri {

namespace {

bool Stopped() { return StopFlag.load(std::memory_order_relaxed); }

void Publish(const TEffectValues& v) {
  QuickPlayEffectState.Publish(v);
  QuickPlaySlowDrawCount = v.slowDraw;
}

// The sliders act at once: read afresh for every point.
struct TLiveHooks {
  bool pointDraw;
  TEffectParams live;
  bool BeforeList() { return !Stopped(); }
  bool BeforePoint() { return true; }
  const TEffectParams& Params() {
    live = QuickPlayEffectParams(pointDraw);
    return live;
  }
  int32_t ColourSpeed() { return live.N; }
  int32_t ColourMode() { return QuickPlayColourMode.load(std::memory_order_relaxed); }
  bool Paused() { return PauseFlag.load(std::memory_order_relaxed); }
  void EffectStepped(const TEffectValues& v) {
    PreviewDirtyFlag = true;
    Publish(v);
  }
};

// One ILDA frame as the kernel walks it: a single point list.
struct TFrameLists {
  std::span<const PointRecord> points;
  size_t ObjectCount() const { return 1; }
  std::span<const PointRecord> Object(size_t) const { return points; }
};

}  // namespace

void TQuickPass::Start(int32_t slowDraw) {
  WorkerRunningFlag = true;
  output_.Start();
  values_ = {};
  values_.slowDraw = slowDraw;
  Publish(values_);
  stepper_.RestartPointCount();
  stepper_.RestartColourSteps();
}

void TQuickPass::SetPointTotal(int32_t total) {
  pointTotal_ = total;
  QuickPlayPointTotal = total;
}

template <class Lists>
void TQuickPass::Walk(const Lists& lists) {
  CheckOutputChange();
  // With slow draw off the whole picture is drawn.
  if (QuickPlayEffects.SlowDraw.load(std::memory_order_relaxed) < 1) {
    values_.slowDraw = pointTotal_;
    QuickPlaySlowDrawCount = pointTotal_;
  }
  TLiveHooks hooks{pointDraw_, {}};
  if (WalkPass(lists, policy_, TOutputSettings::Live(), pointTotal_, stepper_, values_, frame_, hooks) ==
      TPassEnd::Complete)
    output_.SendFrame(frame_);
}

void TQuickPass::Play(const TPlayDrawing& picture) { Walk(picture); }
void TQuickPass::Play(std::span<const PointRecord> frame) { Walk(TFrameLists{frame}); }

void TQuickPass::Finish() {
  Publish(values_);
  WorkerRunningFlag = false;
}

}  // namespace kavri
