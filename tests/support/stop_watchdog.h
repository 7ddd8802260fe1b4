#pragma once
// Bounds a test's waits on the play loops: a loop that a fault keeps waiting for a tick, or a row
// that never ends, would hold the test for ever. After the limit a timer signal sets StopFlag,
// which every tick wait and play loop answers, and Fired() tells the test that it had to.
#include <signal.h>
#include <sys/time.h>

#include <atomic>

#include "engine/shared_state.h"

namespace kavri_test {

class StopWatchdog {
 public:
  explicit StopWatchdog(long seconds = 30) : seconds_(seconds) {
    FiredFlag().store(false);
    struct sigaction action {};
    action.sa_handler = [](int) {
      FiredFlag().store(true);
      kavri::StopFlag.store(true);
    };
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGALRM, &action, &old_);
    // Once fired, again every second: a test may clear StopFlag and wait again.
    itimerval timer{};
    timer.it_value.tv_sec = seconds;
    timer.it_interval.tv_sec = 1;
    setitimer(ITIMER_REAL, &timer, nullptr);
  }
  ~StopWatchdog() {
    const itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &old_, nullptr);
  }
  StopWatchdog(const StopWatchdog&) = delete;
  StopWatchdog& operator=(const StopWatchdog&) = delete;

  bool Fired() const { return FiredFlag().load(); }
  long Seconds() const { return seconds_; }

 private:
  static std::atomic<bool>& FiredFlag() {
    static std::atomic<bool> fired{false};
    return fired;
  }
  long seconds_;
  struct sigaction old_ {};
};

}  // namespace kavri_test
