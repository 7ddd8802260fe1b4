#pragma once
// Tick flags: a window's timer raises one, a play loop takes it to count time. A loop that has
// nothing to send waits for the next tick instead of spinning a core.
#include <atomic>
#include <chrono>

namespace kavri {

class TTickFlag {
 public:
  void Raise() { flag_.store(true, std::memory_order_release); }
  void Clear() { flag_.store(false, std::memory_order_release); }
  bool Raised() const { return flag_.load(std::memory_order_acquire); }
  // Sleeps until the flag is raised or StopFlag is set.
  void WaitRaisedOrStop() const;

 private:
  std::atomic<bool> flag_{false};
};

}  // namespace kavri
