#pragma once
// Ticks that pace the play loops: a window's clock raises them, a play loop takes them. Ticks are
// counted: those raised while a loop is busy writing a frame stay owed until it takes them. A loop
// takes them in one of two ways:
//  - counted (TakeAll): every tick is a step, so a loop that must keep time with music (the show's
//    tracks, Segment Edit) keeps it however long its frames take, skipping what it is late for;
//  - one step per check (TakeStep): however many ticks came, the loop steps once, so a loop that
//    must show every step (Quick play's frames and roll positions) shows them all, only slower
//    when its frames take longer than a tick.
// A loop that has nothing to send waits for the next tick instead of spinning a core.
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
  // Takes every tick owed as one step; returns whether there was any.
  bool TakeStep() { return TakeAll() > 0; }
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
