#pragma once
// Tick flags: a window's timer raises one, a play loop takes it to count time. A loop that has
// nothing to send waits for the next tick instead of spinning a core.
#include <atomic>
#include <chrono>

namespace kavri {

// What a loop takes its time from; tests put in their own to raise ticks at chosen points.
class TTickSource {
 public:
  virtual ~TTickSource() = default;
  virtual bool Raised() const = 0;
  virtual void Clear() = 0;
  // Returns once a tick is raised or StopFlag is set.
  virtual void WaitRaisedOrStop() = 0;
};

class TTickFlag final : public TTickSource {
 public:
  void Raise() { flag_.store(true, std::memory_order_release); }
  void Clear() override { flag_.store(false, std::memory_order_release); }
  bool Raised() const override { return flag_.load(std::memory_order_acquire); }
  // Sleeps until the flag is raised or StopFlag is set.
  void WaitRaisedOrStop() override;

 private:
  std::atomic<bool> flag_{false};
};

}  // namespace kavri
