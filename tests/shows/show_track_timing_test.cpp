// How a show's tracks keep time when their frames take longer to write than a clock tick: the
// interface raises the ticks while it takes each frame, as a slow interface would.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "shows/show_track_player.h"
#include "shows/show_track_start.h"
#include "tests/shows/show_track_fixture.h"

namespace kavri {
namespace {

using namespace kavri_test;

class ShowTrackTiming : public ShowTracks {
 protected:
  // Plays track 1 to its end on this thread; the clock moves only as frames are written.
  void PlayTrack1() {
    SetShowTrackRows(show);
    ClearTicks();
    sim->ticking = true;
    TShowTrackPlayer player(1);
    player.Start();
    for (int calls = 0; player.Step(); ++calls) ASSERT_LT(calls, 100000) << "the track does not end";
    player.Finish();
  }
  // The first byte (device x of the first point) of every frame sent since the last call.
  std::vector<int> FrameXs() {
    std::vector<int> xs;
    for (const Bytes& w : Writes())
      if (w.size() >= 8) xs.push_back(w[0]);
    return xs;
  }
  static int Count(const std::vector<int>& xs, int x) { return static_cast<int>(std::count(xs.begin(), xs.end(), x)); }
};

// Drawing and segment rows send device x = 255 - stored x.
constexpr int kFirstRowX = 255 - 1, kSecondRowX = 255 - 9;

TEST_F(ShowTrackTiming, ARowEndsWhenItsTicksHavePassedHoweverLongItsFramesTakeToWrite) {
  struct Case {
    const char* name;
    int ticksPerFrame;
    int firstRowFrames, secondRowFrames;
  };
  // Two rows of 100 ticks. Frames of 3 ticks: the first row's frames begin at ticks 0, 3 .. 99,
  // the 35th would begin at 102; the 2 ticks beyond its 100 begin the second row. Frames of 4
  // ticks: the 26th begins as the 100th tick comes and is sent, as a frame begun on the row's
  // last tick always was; the second row then starts with the 4 ticks of its write owed.
  for (const Case& c : {Case{"a.ddr", 3, 34, 33}, Case{"s.sec", 3, 34, 33}, Case{"a.ddr", 4, 26, 25},
                        Case{"s.sec", 4, 26, 25}}) {
    SCOPED_TRACE(std::string(c.name) + ", frames of " + std::to_string(c.ticksPerFrame) + " ticks");
    show.ClearTracks();
    const auto first = MakeDrawing({{1, 5, 1, 1, 0, 0}});
    TSequenceRecord& row = AddRow(1, c.name, 100);
    if (ShowRowKind(c.name) == TShowRowKind::Drawing)
      row.drawing = first;
    else
      row.rows = OneItem(first, [](TSectionRecord& r) { r.A = 100; });
    AddRow(1, "b.ddr", 100).drawing = MakeDrawing({{9, 5, 1, 1, 0, 0}});
    sim->ticksPerFrame = c.ticksPerFrame;
    const uint64_t startTicks = clock.Ticks();
    PlayTrack1();
    const std::vector<int> xs = FrameXs();
    EXPECT_EQ(Count(xs, kFirstRowX), c.firstRowFrames);
    EXPECT_EQ(Count(xs, kSecondRowX), c.secondRowFrames);
    ASSERT_EQ(xs.size(), static_cast<size_t>(c.firstRowFrames + c.secondRowFrames));
    EXPECT_TRUE(std::is_partitioned(xs.begin(), xs.end(), [](int x) { return x == kFirstRowX; }));
    // The show of 200 ticks ends with the frame under way as its time ran out.
    const uint64_t played = clock.Ticks() - startTicks;
    EXPECT_GE(played, 200u);
    EXPECT_LE(played, 200u + c.ticksPerFrame);
  }
}

TEST_F(ShowTrackTiming, AnIldaRowSkipsTheFramesItIsLateForAndEndsOnTime) {
  // Twenty frames of one point each, frame i at x = i (sent as 127 - i), in a row of 20 ticks;
  // then a drawing row, whose first frame shows when the image's row ended.
  std::vector<std::vector<PointRecord>> frames;
  for (int i = 0; i < 20; ++i) frames.push_back({PointRecord{i, 0, 0, 1, 0, 0}});
  struct Case {
    int ticksPerFrame;
    std::vector<int> sent;  // frame indexes
    uint64_t nextRowAt;     // clock ticks
  };
  for (const Case& c : {Case{1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, 20},
                        Case{2, {0, 2, 4, 6, 8, 10, 12, 14, 16, 18}, 20}, Case{3, {0, 3, 6, 9, 12, 15, 18}, 21}}) {
    SCOPED_TRACE("frames of " + std::to_string(c.ticksPerFrame) + " ticks");
    show.ClearTracks();
    AddRow(1, "i.ild", 20).ilda = MakeImage(frames);
    AddRow(1, "b.ddr", 10).drawing = MakeDrawing({{9, 5, 1, 1, 0, 0}});
    sim->ticksPerFrame = c.ticksPerFrame;
    const uint64_t startTicks = clock.Ticks();
    PlayTrack1();
    const std::vector<int> xs = FrameXs();
    const auto firstOfNextRow = std::find(xs.begin(), xs.end(), kSecondRowX);
    std::vector<int> sent;
    for (auto x = xs.begin(); x != firstOfNextRow; ++x) sent.push_back(127 - *x);
    EXPECT_EQ(sent, c.sent);
    EXPECT_EQ((firstOfNextRow - xs.begin()) * c.ticksPerFrame, static_cast<int64_t>(c.nextRowAt));
    EXPECT_LE(clock.Ticks() - startTicks, c.nextRowAt + 10 + c.ticksPerFrame);
  }
}

TEST_F(ShowTrackTiming, PauseHoldsTheRowTimeWhileSlowFramesGoOnBeingSent) {
  AddRow(1, "a.ddr", 30).drawing = MakeDrawing({{1, 5, 1, 1, 0, 0}});
  sim->ticksPerFrame = 3;
  PauseFlag = true;
  int frames = 0;
  std::vector<int32_t> pausedRowTimes;
  uint64_t releasedAt = 0;
  sim->onFrame = [&] {
    if (++frames > 10) return;
    pausedRowTimes.push_back(ShowTrackRowTime[0]);
    if (frames == 10) {
      PauseFlag = false;
      releasedAt = clock.Ticks();
    }
  };
  PlayTrack1();
  EXPECT_EQ(pausedRowTimes, std::vector<int32_t>(10, 0));
  // After the release the row still lasts its 30 ticks: ten more frames of three.
  EXPECT_EQ(releasedAt, 30u);
  EXPECT_EQ(clock.Ticks(), 60u);
  EXPECT_EQ(frames, 20);
}

TEST_F(ShowTrackTiming, FramesFasterThanTicksGoOutAsTheyAlwaysHave) {
  // A tick after every third frame. A drawing row of 3 ticks sends frames until its third tick
  // has been taken and one frame more; an ILDA frame shows until the next tick (the first ends
  // with the drawing row's last tick, two frames in); a segment item of A = 3 plays until its
  // third tick and one pass more, and its row ends with the tick after.
  const auto d = MakeDrawing({{1, 5, 1, 1, 0, 0}});
  AddRow(1, "a.ddr", 3).drawing = d;
  AddRow(1, "i.ild", 3).ilda = MakeImage({{{10, 0, 0, 1, 0, 0}}, {{11, 0, 0, 1, 0, 0}}, {{12, 0, 0, 1, 0, 0}}});
  AddRow(1, "s.sec", 3).rows = OneItem(MakeDrawing({{2, 5, 1, 1, 0, 0}}), [](TSectionRecord& r) { r.A = 3; });
  AddRow(1, "b.ddr", 2).drawing = MakeDrawing({{9, 5, 1, 1, 0, 0}});
  sim->framesPerTick = 3;
  PlayTrack1();
  std::string sent;
  for (const Bytes& w : Writes()) {
    if (w.size() == 2) {
      sent += 'p';
      continue;
    }
    switch (w[0]) {
      case 255 - 1: sent += 'a'; break;
      case 127 - 10: sent += '0'; break;
      case 127 - 11: sent += '1'; break;
      case 127 - 12: sent += '2'; break;
      case 255 - 2: sent += 's'; break;
      case 255 - 9: sent += 'b'; break;
      default: sent += '?';
    }
  }
  EXPECT_EQ(sent, std::string("papapapapapapapapapa") + "p00111222" + "pssssssssss" + "pbpbpbpbpbpb");
}

// The worker plays on its own thread while this thread raises the ticks during each frame's write.
class ShowTrackTimingThreads : public ShowTracks {};

class GatedInterface : public TSimUsbDriver {
 public:
  GatedInterface() : TSimUsbDriver("0") { SetRecordLimit(1 << 20); }
  bool BulkWrite(int n, uint32_t pipe, const uint8_t* data, size_t length, TUsbStop stop) override {
    const bool ok = TSimUsbDriver::BulkWrite(n, pipe, data, length, stop);
    if (length >= 8) {
      std::unique_lock lock(mutex_);
      ++written_;
      changed_.notify_all();
      changed_.wait(lock, [&] { return released_ >= written_ || StopFlag.load(); });
    }
    return ok;
  }
  // Waits for a frame in its write (true) or for the track's end (false).
  bool WaitForFrame() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(10), [&] { return written_ > released_; });
  }
  void Release() {
    std::lock_guard lock(mutex_);
    ++released_;
    changed_.notify_all();
  }
  int Written() {
    std::lock_guard lock(mutex_);
    return written_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int written_ = 0, released_ = 0;
};

TEST_F(ShowTrackTimingThreads, TicksRaisedOnTheClocksThreadDuringSlowWritesAreAllCounted) {
  auto gated = std::make_shared<GatedInterface>();
  SetActiveUsbDriver(gated);
  AddRow(1, "a.ddr", 100).drawing = MakeDrawing({{1, 5, 1, 1, 0, 0}});
  ASSERT_TRUE(StartShowTracks(show));
  for (int waits = 0; ShowTrackRunning[0] && waits < 1000; ++waits) {
    if (!gated->WaitForFrame()) continue;
    for (int i = 0; i < 3; ++i) clock.Tick();
    gated->Release();
  }
  EXPECT_FALSE(ShowTrackRunning[0]);
  EXPECT_EQ(gated->Written(), 34);
  EXPECT_EQ(clock.Ticks(), 102u);
}

}  // namespace
}  // namespace kavri
