#pragma once
// Ticks that pace the play loops: a window's clock raises them, a play loop takes them to count
// time. Ticks are counted, not flagged: those raised while a loop is busy writing a frame stay
// owed until it takes them, so a loop keeps time however long its frames take to write. A loop
// that has nothing to send waits for the next tick instead of spinning a core.
#include <atomic>
#include <cstdint>

namespace kavri {

// What a loop takes its time from; tests put in their own to raise ticks at chosen points. Each
// source has one taker, the loop it paces.
class TTickSource {
 public:
  virtual ~TTickSource() = default;
  // Ticks raised and not yet taken.
  virtual int64_t Owed() const = 0;
  // Takes `n` ticks, no more than Owed() said; ticks raised since then stay owed.
  virtual void Take(int64_t n) = 0;
  // Returns once a tick is owed or StopFlag is set.
  virtual void WaitOwedOrStop() = 0;

  // Takes every tick owed; returns how many.
  int64_t TakeAll() {
    const int64_t n = Owed();
    if (n > 0) Take(n);
    return n;
  }
};

class TTickCounter final : public TTickSource {
 public:
  void Raise() { owed_.fetch_add(1, std::memory_order_acq_rel); }
  // Drops what is owed; for the window, while no loop takes from it.
  void Clear() { owed_.store(0, std::memory_order_release); }
  int64_t Owed() const override { return owed_.load(std::memory_order_acquire); }
  void Take(int64_t n) override;
  // Sleeps until a tick is owed or StopFlag is set.
  void WaitOwedOrStop() override;

 private:
  std::atomic<int64_t> owed_{0};
};

}  // namespace kavri
