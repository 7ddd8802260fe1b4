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
using namespace kavri_test;

template <typename F>
bool WaitUntil(F done) {
  for (int i = 0; i < 10000 && !done(); ++i) std::this_thread::sleep_for(1ms);
  return done();
}

class ShowTrackThreads : public ShowTracks {
 protected:
  void SetUp() override {
    ShowTracks::SetUp();
    sim->SetPointRate([] { return 100000.0; });
  }
};

TEST_F(ShowTrackThreads, ClockThreadRaisesEveryTracksTicksUntilStopped) {
  TShowClockThread ticking(clock, 1ms, 1ms);
  ticking.Start();
  ASSERT_TRUE(WaitUntil([&] { return clock.Ticks() >= 5; }));
  ticking.Stop();
  const uint64_t ticks = clock.Ticks();
  for (auto& t : ShowClockTicks) EXPECT_GT(t.Owed(), 0);
  std::this_thread::sleep_for(5ms);
  EXPECT_EQ(clock.Ticks(), ticks);
}

TEST_F(ShowTrackThreads, ThreeTracksSendWholeFramesInterleavedOnOneInterface) {
  AddRow(1, "a.ddr", 30).drawing = MakeDrawing({{1, 1, 2, 3, 0, 1}, {2, 2, 1, 3, 0, 0}, {3, 3, 1, 3, 0, 0}});
  AddRow(2, "b.ddr", 30).drawing = MakeDrawing(std::vector<PointRecord>(5, PointRecord{10, 7, 1, 5, 0, 0}));
  AddRow(3, "c.ild", 30).ilda = MakeImage({std::vector<PointRecord>(4, PointRecord{-5, 5, 0, 2, 0, 0})});
  TShowClockThread ticking(clock, 1ms, 1ms);
  ASSERT_TRUE(StartShowTracks(show));
  ticking.Start();
  ASSERT_TRUE(WaitUntil([] { return !AnyShowTrackRunning(); }));
  ticking.Stop();
  // Every write is a packet or one whole frame of one track, known by its size.
  std::map<Bytes, int> packets;
  std::map<size_t, Bytes> frames;
  std::map<size_t, int> frameCount;
  for (const Bytes& w : Writes()) {
    if (w.size() == 2) {
      ++packets[w];
      continue;
    }
    if (!frames.count(w.size())) frames[w.size()] = w;
    EXPECT_EQ(w, frames[w.size()]) << "a frame of " << w.size() / 8 << " points changed or mixed";
    ++frameCount[w.size()];
  }
  EXPECT_EQ(frameCount.size(), 3u);
  EXPECT_TRUE(frameCount[24] > 0 && frameCount[40] > 0 && frameCount[32] > 0);
  // A packet before every drawing frame; the image's before each pass through it.
  EXPECT_EQ(packets[(Bytes{100, 0x15})], frameCount[24] + frameCount[40]);
  EXPECT_GT(packets[(Bytes{100, 0})], 0);
  EXPECT_EQ(packets.size(), 2u);
}

TEST_F(ShowTrackThreads, StopEndsAllThreeTracksWithoutAnotherTick) {
  const auto segment = OneItem(MakeDrawing({{1, 1, 2, 3, 0, 0}, {9, 9, 1, 3, 0, 0}}), [](TSectionRecord& r) {
    r.A = 1000000;
    r.B = 100;
    r.C = 3;
  });
  const auto image = MakeImage({{{1, 1, 0, 1, 0, 0}}, {{2, 2, 0, 1, 0, 0}}});
  // Playing content, then the same kinds empty.
  for (bool empty : {false, true}) {
    show.ClearTracks();
    AddRow(1, "s.sec", 1000000).rows = empty ? EmptySegment() : segment;
    AddRow(2, "i.ild", 1000000).ilda = empty ? EmptyIldaImage() : image;
    AddRow(3, empty ? "a.ddr" : "pause.txt", 1000000);
    ASSERT_TRUE(StartShowTracks(show));
    for (int i = 0; i < 20; ++i) {
      clock.Tick();
      std::this_thread::sleep_for(1ms);
    }
    EXPECT_FALSE(StartShowTracks(show));  // refused while the tracks play, which go on
    EXPECT_TRUE(ShowTrackRunning[0] && ShowTrackRunning[1] && ShowTrackRunning[2]);
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    EXPECT_FALSE(AnyShowTrackRunning());
    ClearTicks();
  }
}

}  // namespace
}  // namespace kavri
