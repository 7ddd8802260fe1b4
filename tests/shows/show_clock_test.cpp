#include <gtest/gtest.h>

#include "shows/show_clock.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;

TEST(ShowClockSchedule, OnAFixedGridALateWakeUpCatchesUpOneMillisecondApart) {
  const TShowClockSchedule::TTime t0{};
  TShowClockSchedule s(t0, 100ms, 5ms);
  EXPECT_EQ(s.Next(), t0 + 100ms);
  s.Raised(t0 + 100ms + 300us);  // a little late: the grid stays
  EXPECT_EQ(s.Next(), t0 + 105ms);
  s.Raised(t0 + 117ms);  // the event of 105 ms, with those of 110 and 115 owed
  EXPECT_EQ(s.Next(), t0 + 118ms);
  s.Raised(t0 + 118ms);
  s.Raised(t0 + 119ms);
  EXPECT_EQ(s.Next(), t0 + 120ms);
  EXPECT_EQ(s.Late(), 2u);
  EXPECT_EQ(s.Missed(), 0u);
}

TEST(ShowClockSchedule, AStallLosesOnlyWhatIsOwedBeyondTheCatchUpLimit) {
  const TShowClockSchedule::TTime t0{};
  TShowClockSchedule s(t0, 0ms, 5ms);
  s.Raised(t0);
  s.Raised(t0 + 1000ms);  // the event of 5 ms, a second late: 199 more are owed
  EXPECT_EQ(s.Missed(), 199u - kShowClockCatchUpLimit);
  int raised = 2;
  auto now = t0 + 1000ms;
  for (; s.Next() - now < 5ms; ++raised) s.Raised(now = s.Next());
  // Back on the grid, every event of it so far raised or counted as missed.
  EXPECT_EQ(now, t0 + 1000ms + (kShowClockCatchUpLimit + 5) * 1ms);
  EXPECT_EQ(raised + static_cast<int>(s.Missed()), (now - t0) / 5ms + 1);
}

}  // namespace
}  // namespace kavri
