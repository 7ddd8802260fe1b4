#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "shows/show_clock.h"
#include "shows/show_track_start.h"
#include "tests/shows/show_track_fixture.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;
using kavri_test::AddRow;
using kavri_test::MakeDrawing;
using kavri_test::MakeImage;
using Bytes = std::vector<uint8_t>;

template <typename F>
bool WaitUntil(F done) {
  for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(1ms);
  return done();
}

class ShowTrackThreads : public kavri_test::ShowTracks {
 protected:
  void SetUp() override {
    ShowTracks::SetUp();
    sim->SetPointRate([] { return 100000.0; });
  }
};

TEST_F(ShowTrackThreads, ClockRaisesAllSixFlagsOnDeadlinesUntilStopped) {
  std::array<TShowTrackTicks, kShowTracks> flags;
  TShowClock clock(flags);
  TShowClockThread thread(clock, 1ms, 1ms);
  thread.Start();
  ASSERT_TRUE(WaitUntil([&] { return clock.Ticks() >= 5; }));
  thread.Stop();
  EXPECT_FALSE(thread.Running());
  const uint64_t ticks = clock.Ticks();
  for (auto& t : flags) {
    EXPECT_TRUE(t.row.Raised());
    EXPECT_TRUE(t.frame.Raised());
    t.row.Clear();
  }
  std::this_thread::sleep_for(5ms);
  EXPECT_EQ(clock.Ticks(), ticks);
  EXPECT_FALSE(flags[0].row.Raised());
}

TEST_F(ShowTrackThreads, ThreeTracksSendWholeFramesInterleavedOnOneInterface) {
  AddRow(show, 1, "a.ddr", 30).drawing = MakeDrawing({{1, 1, 2, 3, 0, 1}, {2, 2, 1, 3, 0, 0}, {3, 3, 1, 3, 0, 0}});
  std::vector<PointRecord> five;
  for (int i = 0; i < 5; ++i) five.push_back({10 * i, 7, 1, 5, 0, 0});
  AddRow(show, 2, "b.ddr", 30).drawing = MakeDrawing(five);
  std::vector<PointRecord> four(4, PointRecord{-5, 5, 0, 2, 0, 0});
  AddRow(show, 3, "c.ild", 30).ilda = MakeImage({four, four});
  TShowClockThread ticking(clock, 1ms, 1ms);
  ASSERT_TRUE(StartShowTracks(show));
  ticking.Start();
  ASSERT_TRUE(WaitUntil([] { return !AnyShowTrackRunning(); }));
  ticking.Stop();
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  // Every write is one whole packet or frame of one track: by its size, the track it came from.
  std::map<size_t, int> bySize;
  std::map<Bytes, int> packets;
  std::map<size_t, Bytes> frames;
  for (const Bytes& w : Writes()) {
    ++bySize[w.size()];
    if (w.size() == 2) {
      ++packets[w];
    } else if (frames.count(w.size())) {
      EXPECT_EQ(w, frames[w.size()]) << "a frame of " << w.size() / 8 << " points changed or mixed";
    } else {
      frames[w.size()] = w;
    }
  }
  EXPECT_EQ(bySize.size(), 4u);
  EXPECT_GT(bySize[24], 0);
  EXPECT_GT(bySize[40], 0);
  EXPECT_GT(bySize[32], 0);
  // A packet before every drawing frame; the image's before each pass through it.
  EXPECT_EQ(packets[(Bytes{100, 0x15})], bySize[24] + bySize[40]);
  EXPECT_GT(packets[(Bytes{100, 0})], 0);
  EXPECT_EQ(packets.size(), 2u);
}

TEST_F(ShowTrackThreads, StopEndsAllThreeTracksWithoutAnotherTick) {
  auto segment = std::make_shared<TSectionList>();
  segment->push_back(std::make_unique<TSectionRecord>());
  segment->back()->A = 1000000;
  segment->back()->B = 100;
  segment->back()->C = 3;
  segment->back()->L = 20;
  segment->back()->drawing = MakeDrawing({{1, 1, 2, 3, 0, 0}, {9, 9, 1, 3, 0, 0}});
  const auto playing = [&](TSequence& s) {
    AddRow(s, 1, "s.sec", 1000000).rows = segment;
    AddRow(s, 2, "i.ild", 1000000).ilda = MakeImage({{{1, 1, 0, 1, 0, 0}}, {{2, 2, 0, 1, 0, 0}}});
    AddRow(s, 3, "pause.txt", 1000000);
  };
  const auto empty = [](TSequence& s) {
    AddRow(s, 1, "a.ddr", 1000000);
    AddRow(s, 2, "i.ild", 1000000);
    AddRow(s, 3, "s.sec", 1000000);
  };
  for (const auto& fill : {std::function<void(TSequence&)>(playing), std::function<void(TSequence&)>(empty)}) {
    show.ClearTracks();
    fill(show);
    ASSERT_TRUE(StartShowTracks(show));
    for (int i = 0; i < 20; ++i) {
      clock.Tick();
      std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(AnyShowTrackRunning());
    EXPECT_FALSE(StartShowTracks(show));  // refused while the tracks play, which go on
    EXPECT_TRUE(ShowTrackRunning[0] && ShowTrackRunning[1] && ShowTrackRunning[2]);
    // No clock event after the Stop: the tracks must end on their own.
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    EXPECT_FALSE(AnyShowTrackRunning());
    ClearTicks();
  }
}

}  // namespace
}  // namespace kavri
