#include "shows/show_clock.h"

#include <algorithm>

namespace kavri {

void TShowClock::Tick() {
  for (auto& track : ticks_) track.Raise();
  count_.fetch_add(1, std::memory_order_relaxed);
}

void TShowClockThread::Start() {
  if (thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = false;
  }
  thread_ = std::thread([this] { Run(); });
}

void TShowClockThread::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void TShowClockThread::Run() {
  TShowClockSchedule schedule(std::chrono::steady_clock::now(), first_, interval_);
  std::unique_lock lock(mutex_);
  while (!wake_.wait_until(lock, schedule.Next(), [this] { return stop_; })) {
    clock_.Tick();
    schedule.Raised(std::chrono::steady_clock::now());
    late_.store(schedule.Late(), std::memory_order_relaxed);
    missed_.store(schedule.Missed(), std::memory_order_relaxed);
  }
}

void TShowClockSchedule::Raised(TTime now) {
  due_ += interval_;
  if (now >= due_) {
    ++late_;
    const int64_t owed = (now - due_) / interval_ + 1;
    if (owed > kShowClockCatchUpLimit) {
      const int64_t dropped = owed - kShowClockCatchUpLimit;
      missed_ += static_cast<uint64_t>(dropped);
      due_ += interval_ * dropped;
    }
  }
  next_ = std::max(due_, now + std::min<std::chrono::nanoseconds>(kShowClockCatchUpSpacing, interval_));
}

}  // namespace kavri
