#include "engine/play_ticks.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/shared_state.h"

namespace kavri {

void TTickCounter::Take(int64_t n) {
  // Never below zero, should the window have cleared the count meanwhile.
  int64_t owed = owed_.load(std::memory_order_acquire);
  while (!owed_.compare_exchange_weak(owed, owed - std::min(n, std::max<int64_t>(owed, 0)), std::memory_order_acq_rel)) {
  }
}

void TTickCounter::WaitOwedOrStop() {
  // Ticks come every few milliseconds; a millisecond's sleep keeps the wait cheap and prompt.
  while (Owed() <= 0 && !StopFlag.load(std::memory_order_relaxed)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace kavri
