#include "engine/play_ticks.h"

#include <thread>

#include "engine/shared_state.h"

namespace kavri {

void TTickFlag::WaitRaisedOrStop() {
  // Ticks come every few milliseconds; a millisecond's sleep keeps the wait cheap and prompt.
  while (!Raised() && !StopFlag.load(std::memory_order_relaxed)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace kavri
