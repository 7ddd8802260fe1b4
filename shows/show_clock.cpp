#include "shows/show_clock.h"

namespace kavri {

void TShowClock::Tick() {
  for (auto& track : ticks_) {
    track.row.Raise();
    track.frame.Raise();
  }
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
  using Clock = std::chrono::steady_clock;
  auto deadline = Clock::now() + first_;
  std::unique_lock lock(mutex_);
  while (!wake_.wait_until(lock, deadline, [this] { return stop_; })) {
    clock_.Tick();
    deadline += interval_;
    // Events a stall made us miss are not made up in a burst: their flags would still be raised.
    const auto now = Clock::now();
    if (now >= deadline) {
      const auto behind = (now - deadline) / interval_ + 1;
      missed_.fetch_add(static_cast<uint64_t>(behind), std::memory_order_relaxed);
      deadline += interval_ * behind;
    }
  }
}

}  // namespace kavri
