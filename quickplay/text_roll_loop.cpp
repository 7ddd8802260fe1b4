#include "quickplay/text_roll_loop.h"

#include <algorithm>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/text_roll_state.h"
#include "quickplay/text_roll_window.h"

namespace kavri {

namespace {

constexpr TPassPolicy kTextPolicy{TStartMap::Mirrored, TColourRule::Picture, TSlowDrawCut::Immediate};

bool Stopped() { return StopFlag.load(std::memory_order_relaxed); }
bool Paused() { return PauseFlag.load(std::memory_order_relaxed); }
int Rows() { return std::max(1, QuickPlayEffects.RowsOrColumns.load(std::memory_order_relaxed)); }

}  // namespace

TTextRollLoop::TTextRollLoop(TTextRollDirection direction, TTickSource& ticks)
    : direction_(direction), ticks_(ticks), pass_(kTextPolicy, true) {}
TTextRollLoop::TTextRollLoop(TTextRollDirection direction) : TTextRollLoop(direction, QuickPlayTickFlag) {}

void TTextRollLoop::Start() {
  pass_.Start(0);
  if (direction_ == TTextRollDirection::Vertical) gains_.Send();
  outlines_ = TextCharOutlines;
  first_ = 0;
  inWindow_ = inRollStep_ = roundPlayed_ = false;
}

bool TTextRollLoop::BeginWindow() {
  const size_t count = outlines_->ObjectCount();
  if (first_ >= count) return false;
  const int rows = Rows();
  if (direction_ == TTextRollDirection::Horizontal) {
    const size_t last = first_ + rows < count ? first_ + rows : count - 1;
    BuildTextRollWindowH(*outlines_, first_, last, std::max(1, QuickPlayEffects.HeightFactor.load()),
                         QuickPlayLargeSize.load() != 0, window_);
    offset_ = 0;
  } else {
    BuildTextRollWindowV(*outlines_, first_, std::min(first_ + rows, count), window_);
    offset_ = 256 / rows;
  }
  pass_.RestartCounters();
  inWindow_ = true;
  return true;
}

bool TTextRollLoop::OffsetInWindow(int rows) const {
  return direction_ == TTextRollDirection::Horizontal ? offset_ < 256 / rows : offset_ > -(256 / rows);
}

TTextRollLoop::TBegin TTextRollLoop::BeginRollStep() {
  for (;;) {
    if (Stopped()) return TBegin::End;
    if (!inWindow_ && !BeginWindow()) {
      if (!LoopFlag.load() || Stopped()) return TBegin::End;
      first_ = 0;
      // A round that played nothing (no text) waits for a tick, so Loop cannot spin.
      if (!roundPlayed_) {
        ticks_.WaitOwedOrStop();
        ticks_.TakeStep();
        return TBegin::Idle;
      }
      roundPlayed_ = false;
      continue;
    }
    const int rows = Rows();
    if (window_.ObjectCount() == 0 || !OffsetInWindow(rows)) {
      inWindow_ = false;
      ++first_;
      continue;
    }
    if (direction_ == TTextRollDirection::Horizontal)
      ClipTextWindowH(window_, offset_, rows, frame_);
    else
      ClipTextWindowV(window_, offset_, rows, frame_);
    PublishTextRollFrame(frame_);
    PreviewDirtyFlag = true;
    pass_.SetPointTotal(static_cast<int32_t>(frame_.PointCount()));
    heldTicks_ = 0;
    inRollStep_ = roundPlayed_ = true;
    return TBegin::Pass;
  }
}

void TTextRollLoop::Pass() {
  pass_.CheckSettings();
  if (direction_ == TTextRollDirection::Vertical) gains_.SendIfChanged();
  pass_.Play(frame_);
  // A pass counts one tick however many came while it was written, so a slow pass makes the
  // roll slower instead of jumping positions; ticks during a pause are dropped.
  if (ticks_.TakeStep() && !Paused()) ++heldTicks_;
  if (heldTicks_ >= QuickPlayEffects.StayTime.load()) {
    inRollStep_ = false;
    MoveOn();
  }
}

void TTextRollLoop::MoveOn() {
  const int step = QuickPlayEffects.RollStep.load();
  offset_ += direction_ == TTextRollDirection::Horizontal ? step : -step;
}

bool TTextRollLoop::Step() {
  if (Stopped()) return false;
  if (!inRollStep_) {
    const TBegin begun = BeginRollStep();
    if (begun == TBegin::End) return false;
    if (begun == TBegin::Idle) return !Stopped();
  }
  Pass();
  return !Stopped();
}

void TTextRollLoop::Finish() { pass_.Finish(); }

void TTextRollLoop::Run() {
  Start();
  while (Step()) {
  }
  Finish();
}

void RegisterTextRollLoops() {
  RegisterPlayLoop(kPlayJobRollText, [] { TTextRollLoop(TTextRollDirection::Horizontal).Run(); });
  RegisterPlayLoop(kPlayJobRollTextVertical, [] { TTextRollLoop(TTextRollDirection::Vertical).Run(); });
}

}  // namespace kavri
