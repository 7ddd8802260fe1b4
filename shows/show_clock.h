#pragma once
// The show clock: each event raises all six tick flags (a row and a frame tick per track). A tick
// that comes while a flag is still raised is lost, so the tracks count clock events, not time.
// TShowClock is the event itself, driven by hand in tests; TShowClockThread calls it on a thread of
// its own, sleeping to absolute deadlines on the monotonic clock, so a busy window thread never
// costs the show its ticks.
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "shows/show_track_state.h"

namespace kavri {

constexpr std::chrono::milliseconds kShowClockFirstTick{100};
constexpr std::chrono::milliseconds kShowClockInterval{5};

class TShowClock {
 public:
  explicit TShowClock(std::array<TShowTrackTicks, kShowTracks>& ticks = ShowClockTicks) : ticks_(ticks) {}
  // One clock event: all six flags raised.
  void Tick();
  // Events so far.
  uint64_t Ticks() const { return count_.load(std::memory_order_relaxed); }

 private:
  std::array<TShowTrackTicks, kShowTracks>& ticks_;
  std::atomic<uint64_t> count_{0};
};

class TShowClockThread {
 public:
  explicit TShowClockThread(TShowClock& clock, std::chrono::nanoseconds first = kShowClockFirstTick,
                            std::chrono::nanoseconds interval = kShowClockInterval)
      : clock_(clock), first_(first), interval_(interval) {}
  ~TShowClockThread() { Stop(); }
  TShowClockThread(const TShowClockThread&) = delete;
  TShowClockThread& operator=(const TShowClockThread&) = delete;

  // Starts ticking (the first event after `first`, then every `interval`); nothing when running.
  void Start();
  // Stops and joins; returns at once when not running.
  void Stop();
  bool Running() const { return thread_.joinable(); }
  // Deadlines that passed before the thread woke for them: their events were never raised (a late
  // thread raises the one event due and goes on with the next deadline still ahead).
  uint64_t Missed() const { return missed_.load(std::memory_order_relaxed); }

 private:
  void Run();

  TShowClock& clock_;
  std::chrono::nanoseconds first_, interval_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::atomic<uint64_t> missed_{0};
};

}  // namespace kavri
