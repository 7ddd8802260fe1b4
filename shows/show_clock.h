#pragma once
// The show clock: each event raises a tick for each of the three tracks, owed to it until the
// track takes it, so the tracks count every clock event however long their frames take to write.
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
constexpr std::chrono::milliseconds kShowClockCatchUpSpacing{1};
constexpr int64_t kShowClockCatchUpLimit = 20;  // events

class TShowClock {
 public:
  explicit TShowClock(std::array<TTickCounter, kShowTrackCount>& ticks = ShowClockTicks) : ticks_(ticks) {}
  // One clock event: a tick for each track.
  void Tick();
  // Events so far.
  uint64_t Ticks() const { return count_.load(std::memory_order_relaxed); }

 private:
  std::array<TTickCounter, kShowTrackCount>& ticks_;
  std::atomic<uint64_t> count_{0};
};

// Where the clock thread's events fall: on a fixed grid of deadlines (first, then every
// interval), so the clock does not drift. Woken late, it raises the events it owes at the catch-up
// spacing, so each reaches the tracks as a tick of its own and the show stays with the music; owed
// beyond the catch-up limit after a stall, the oldest are lost.
class TShowClockSchedule {
 public:
  using TTime = std::chrono::steady_clock::time_point;
  TShowClockSchedule(TTime start, std::chrono::nanoseconds first, std::chrono::nanoseconds interval)
      : interval_(interval), due_(start + first), next_(due_) {}
  TTime Next() const { return next_; }
  // An event was raised at `now`.
  void Raised(TTime now);
  uint64_t Late() const { return late_; }      // events raised a whole interval or more after their deadline
  uint64_t Missed() const { return missed_; }  // events never raised

 private:
  std::chrono::nanoseconds interval_;
  TTime due_;   // the deadline of the next event on the grid
  TTime next_;  // when it will be raised
  uint64_t late_ = 0, missed_ = 0;
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
  // The schedule's counts (see TShowClockSchedule).
  uint64_t Late() const { return late_.load(std::memory_order_relaxed); }
  uint64_t Missed() const { return missed_.load(std::memory_order_relaxed); }

 private:
  void Run();

  TShowClock& clock_;
  std::chrono::nanoseconds first_, interval_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::atomic<uint64_t> late_{0}, missed_{0};
};

}  // namespace kavri
