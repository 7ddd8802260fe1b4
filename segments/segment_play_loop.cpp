#include "segments/segment_play_loop.h"

#include <algorithm>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "segments/segment_play_state.h"

namespace kavri {

namespace {

constexpr TPassPolicy kSegmentPolicy{TStartMap::StoredX, TColourRule::PictureRowAuto, TSlowDrawCut::AtListBoundary};
constexpr TPassPolicy kSelectedDrawingPolicy{TStartMap::Mirrored, TColourRule::Picture, TSlowDrawCut::Immediate};

bool Stopped() { return StopFlag.load(std::memory_order_relaxed); }
bool Paused() { return PauseFlag.load(std::memory_order_relaxed); }

void Stepped(const TEffectValues& v) {
  PreviewDirtyFlag = true;
  SegmentEffectState.Publish(v);
}

}  // namespace

// ---- the segment ---------------------------------------------------------------------------

struct TSegmentPlayLoop::Hooks {
  TSegmentPlayLoop& loop;
  bool BeforeList() { return !Stopped() && loop.ticks_ <= loop.row_.A; }
  bool BeforePoint() { return loop.CountTicks(); }
  const TEffectParams& Params() { return loop.row_; }
  int32_t ColourSpeed() { return SegmentLiveEffects.N.load(std::memory_order_relaxed); }
  int32_t ColourMode() { return SegmentColourMode.load(std::memory_order_relaxed); }
  bool Paused() { return kavri::Paused(); }
  void EffectStepped(const TEffectValues& v) { Stepped(v); }
};

TSegmentPlayLoop::TSegmentPlayLoop(TTickSource& ticks) : tickSource_(ticks) {}
TSegmentPlayLoop::TSegmentPlayLoop() : TSegmentPlayLoop(PlayTickFlag) {}

void TSegmentPlayLoop::Start() {
  WorkerRunningFlag = true;
  output_.Start();
  stepper_.RestartColourSteps();
  nextRow_ = 0;
  inRow_ = false;
  roundSentSomething_ = false;
}

bool TSegmentPlayLoop::BeginNextRow() {
  if (nextRow_ >= SegmentPlayRows.size()) {
    if (!LoopFlag.load() || Stopped()) return false;
    // A round that sent nothing (no rows, or all skipped) waits for a tick, so Loop cannot spin.
    if (!roundSentSomething_) {
      tickSource_.WaitOwedOrStop();
      tickSource_.TakeAll();
      if (Stopped()) return false;
    }
    nextRow_ = 0;
    roundSentSomething_ = false;
    if (SegmentPlayRows.empty()) return true;
  }
  const TSectionRecord& row = *SegmentPlayRows[nextRow_];
  row_ = SegmentRowEffects(row);
  drawing_ = row.drawing.get();
  pointTotal_ = static_cast<int32_t>(drawing_->PointCount());
  RowPointTotal = pointTotal_;
  SegmentRowIndex = static_cast<int32_t>(nextRow_);
  PreviewDirtyFlag = true;
  ticks_ = 0;
  stepper_.RestartPointCount();
  values_ = {};
  values_.slowDraw = pointTotal_;
  SegmentEffectState.Publish(values_);
  ++nextRow_;
  inRow_ = true;
  return true;
}

bool TSegmentPlayLoop::CountTicks() {
  const int64_t owed = tickSource_.Owed();
  if (owed <= 0) return true;
  if (Paused()) {
    tickSource_.Take(owed);
    return true;
  }
  const int64_t taken = std::min<int64_t>(owed, std::max<int64_t>(row_.A - ticks_, 0));
  tickSource_.Take(taken);
  ticks_ += taken;
  if (taken == owed) return true;
  ticks_ = int64_t{row_.A} + 1;
  return false;
}

// A drawing without points gives the walk nothing to count ticks on: the pass takes the ticks
// itself, the one that ends the row included, so the row still lasts A ticks, and sends nothing.
void TSegmentPlayLoop::PlayEmptyRowPass() {
  if (ticks_ > row_.A) return;
  tickSource_.WaitOwedOrStop();
  const int64_t owed = tickSource_.Owed();
  const bool paused = Paused();
  const int64_t taken = paused ? owed : std::min<int64_t>(owed, int64_t{row_.A} + 1 - ticks_);
  tickSource_.Take(taken);
  if (!paused) ticks_ += taken;
}

bool TSegmentPlayLoop::Step() {
  if (Stopped()) return false;
  if (!inRow_) return BeginNextRow();
  output_.BeforePass();
  if (row_.D < 1) values_.slowDraw = pointTotal_;
  if (pointTotal_ == 0) {
    PlayEmptyRowPass();
  } else {
    Hooks hooks{*this};
    WalkPass(*drawing_, kSegmentPolicy, TOutputSettings::Live(), pointTotal_, stepper_, values_, frame_, hooks);
    // The pass in which the row's time ran out is dropped.
    if (ticks_ <= row_.A) {
      output_.SendFrame(frame_);
      roundSentSomething_ = roundSentSomething_ || frame_.Count() > 0;
    }
  }
  if (ticks_ > row_.A) inRow_ = false;
  return !Stopped();
}

void TSegmentPlayLoop::Finish() { WorkerRunningFlag = false; }

void TSegmentPlayLoop::Run() {
  Start();
  while (Step()) {
  }
  Finish();
}

// ---- Play drawing --------------------------------------------------------------------------

struct TSelectedDrawingLoop::Hooks {
  TEffectParams live;
  bool BeforeList() { return !Stopped(); }
  bool BeforePoint() { return true; }
  // The sliders act at once: read afresh for every point.
  const TEffectParams& Params() {
    live = SegmentLiveEffects.Read();
    return live;
  }
  int32_t ColourSpeed() { return live.N; }
  int32_t ColourMode() { return SegmentColourMode.load(std::memory_order_relaxed); }
  bool Paused() { return kavri::Paused(); }
  void EffectStepped(const TEffectValues& v) { Stepped(v); }
};

TSelectedDrawingLoop::TSelectedDrawingLoop() = default;

void TSelectedDrawingLoop::Start() {
  WorkerRunningFlag = true;
  lastQ_ = SegmentLiveEffects.Q;
  lastR_ = SegmentLiveEffects.R;
  output_.Start();
  pointTotal_ = static_cast<int32_t>(PlayDrawingList->PointCount());
  RowPointTotal = pointTotal_;
  const int32_t carried = SegmentEffectState.Read().slowDraw;  // a limit the previous play left
  values_ = {};
  values_.slowDraw = SegmentLiveEffects.D < 1 ? pointTotal_ : carried;
  SegmentEffectState.Publish(values_);
  stepper_.RestartPointCount();
  stepper_.RestartColourSteps();
}

bool TSelectedDrawingLoop::Step() {
  if (Stopped()) return false;
  output_.BeforePass();
  const int32_t q = SegmentLiveEffects.Q, r = SegmentLiveEffects.R;
  if (q != lastQ_ || r != lastR_) {
    lastQ_ = q;
    lastR_ = r;
    PreviewDirtyFlag = true;
  }
  if (SegmentLiveEffects.D < 1) values_.slowDraw = pointTotal_;
  Hooks hooks;
  if (WalkPass(*PlayDrawingList, kSelectedDrawingPolicy, TOutputSettings::Live(), pointTotal_, stepper_, values_,
               frame_, hooks) == TPassEnd::Complete)
    output_.SendFrame(frame_);
  return !Stopped();
}

void TSelectedDrawingLoop::Finish() {
  SegmentEffectState.Publish(values_);
  WorkerRunningFlag = false;
}

void TSelectedDrawingLoop::Run() {
  Start();
  while (Step()) {
  }
  Finish();
}

void RegisterSegmentPlayLoops() {
  RegisterPlayLoop(kPlayJobSegment, [] { TSegmentPlayLoop().Run(); });
  RegisterPlayLoop(kPlayJobSelectedDrawing, [] { TSelectedDrawingLoop().Run(); });
}

}  // namespace kavri
