#include <gtest/gtest.h>

#include "shows/show_clock.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;
using TTime = TShowClockSchedule::TTime;

TEST(ShowClockSchedule, FirstAfter100MsThenEvery5MsOnAFixedGrid) {
  const TTime t0{};
  TShowClockSchedule s(t0, 100ms, 5ms);
  EXPECT_EQ(s.Next(), t0 + 100ms);
  s.Raised(t0 + 100ms + 300us);  // a wake-up a little late does not move the grid
  EXPECT_EQ(s.Next(), t0 + 105ms);
  s.Raised(t0 + 105ms);
  EXPECT_EQ(s.Next(), t0 + 110ms);
  EXPECT_EQ(s.Late(), 0u);
}

TEST(ShowClockSchedule, ALateWakeUpRaisesTheOwedEventsOneMillisecondApart) {
  const TTime t0{};
  TShowClockSchedule s(t0, 100ms, 5ms);
  s.Raised(t0 + 100ms);
  s.Raised(t0 + 117ms);  // the event of 105 ms, with those of 110 and 115 owed
  EXPECT_EQ(s.Next(), t0 + 118ms);
  s.Raised(t0 + 118ms);
  EXPECT_EQ(s.Next(), t0 + 119ms);
  s.Raised(t0 + 119ms);
  EXPECT_EQ(s.Next(), t0 + 120ms);  // back on the grid
  EXPECT_EQ(s.Late(), 2u);
  EXPECT_EQ(s.Missed(), 0u);
}

TEST(ShowClockSchedule, AStallLosesOnlyWhatIsOwedBeyondTheCatchUpLimit) {
  const TTime t0{};
  TShowClockSchedule s(t0, 0ms, 5ms);
  s.Raised(t0);
  s.Raised(t0 + 1000ms);  // the event of 5 ms, a second late: 199 more are owed
  EXPECT_EQ(s.Missed(), 199u - kShowClockCatchUpLimit);
  int raised = 2;
  TTime now = t0 + 1000ms;
  while (s.Next() - now < 5ms) {
    now = s.Next();
    s.Raised(now);
    ++raised;
  }
  // Every event of the grid up to now is raised or counted as missed.
  EXPECT_EQ(now, t0 + 1000ms + (kShowClockCatchUpLimit + 5) * 1ms);
  EXPECT_EQ(raised + static_cast<int>(s.Missed()), (now - t0) / 5ms + 1);
}

}  // namespace
}  // namespace kavri
