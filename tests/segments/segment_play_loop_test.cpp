#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"
#include "segments/segment_play_loop.h"
#include "segments/segment_play_state.h"
#include "tests/engine/ticking_interface.h"
#include "tests/support/stop_watchdog.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;

// A play drawing of `points` points in one list, point i at (i, 10).
TPlayDrawingPtr LineDrawing(int points) {
  Drawing d;
  if (points > 0) {
    auto* object = d.AddObject();
    for (int i = 0; i < points; ++i) object->Add({i, 10, 0, 2, 0, 0});
  }
  const auto bytes = EncodeDrawing(d, 1);
  return std::make_shared<TPlayDrawing>(TPlayDrawing::Decode(bytes.data(), bytes.size()));
}

std::unique_ptr<TSectionRecord> Row(int32_t a, TPlayDrawingPtr drawing) {
  auto row = std::make_unique<TSectionRecord>();
  row->A = a;
  row->L = 20;
  row->K = ColourModeAuto;
  row->drawing = std::move(drawing);
  return row;
}

class SegmentPlayLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    ResetSegmentPlayState();
    sim = std::make_shared<TSimUsbDriver>("0,1,4");
    SetActiveUsbDriver(sim);
    SetCurrentDeviceName("ezusb-0");
  }
  void TearDown() override {
    EXPECT_FALSE(watchdog.Fired()) << "a play loop was still waiting after " << watchdog.Seconds() << " s";
    StopFlag = true;
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    RegisterPlayLoop(kPlayJobSegment, nullptr);
    RegisterPlayLoop(kPlayJobSelectedDrawing, nullptr);
    SetActiveUsbDriver(nullptr);
    ResetSegmentPlayState();
    ResetSharedState();
  }
  // Bulk writes since the last call: (device, bytes).
  std::vector<std::pair<std::string, size_t>> Writes() {
    std::vector<std::pair<std::string, size_t>> out;
    for (const auto& p : sim->Packets())
      if (p.kind == TSimPacket::Bulk) out.emplace_back(p.device, p.bytes.size());
    sim->ClearPackets();
    return out;
  }
  std::vector<size_t> FrameSizes() {
    std::vector<size_t> sizes;
    for (const auto& [device, size] : Writes())
      if (device == "ezusb-0") sizes.push_back(size);
    return sizes;
  }
  // Steps until the loop ends (at most `limit` steps), raising a tick before every `every`-th step.
  int StepToEnd(TSegmentPlayLoop& loop, int every, int limit = 1000) {
    int steps = 0;
    while (steps < limit) {
      if (every > 0 && steps % every == 0) PlayTickFlag.Raise();
      ++steps;
      if (!loop.Step()) break;
    }
    return steps;
  }
  std::shared_ptr<TSimUsbDriver> sim;
  kavri_test::StopWatchdog watchdog;
};

TEST_F(SegmentPlayLoop, SettingsPacketGoesToEveryOutputFirstAndAgainOnlyOnChange) {
  SegmentPlayRows.push_back(Row(1000, LineDrawing(3)));
  MultiDeviceFlag = true;
  SetSelectedDevices({"Usb-4", "Usb-1"});
  BlankingDelay = 90;
  ScanDelay = 60;
  TSegmentPlayLoop loop;
  loop.Start();
  auto packets = sim->Packets();
  ASSERT_EQ(packets.size(), 3u);
  for (const auto& p : packets) EXPECT_EQ(p.bytes, (std::vector<uint8_t>{90, 60}));
  EXPECT_EQ(packets[0].device, "ezusb-0");  // master, then the extras in their order
  EXPECT_EQ(packets[1].device, "ezusb-4");
  EXPECT_EQ(packets[2].device, "ezusb-1");
  sim->ClearPackets();
  loop.Step();  // the row begins
  loop.Step();
  loop.Step();
  EXPECT_EQ(Writes(), (std::vector<std::pair<std::string, size_t>>{
                          {"ezusb-0", 24}, {"ezusb-4", 24}, {"ezusb-1", 24}, {"ezusb-0", 24}, {"ezusb-4", 24}, {"ezusb-1", 24}}));
  ScanDelay = 61;
  loop.Step();
  packets = sim->Packets();
  ASSERT_EQ(packets.size(), 6u);
  EXPECT_EQ(packets[0].bytes, (std::vector<uint8_t>{90, 61}));
}

TEST_F(SegmentPlayLoop, RowsLastTheirTicksAndTheLastPassIsDropped) {
  SegmentPlayRows.push_back(Row(2, LineDrawing(4)));
  SegmentPlayRows.push_back(Row(-1, LineDrawing(4)));  // skipped without a frame
  SegmentPlayRows.push_back(Row(0, LineDrawing(4)));
  TSegmentPlayLoop loop;
  loop.Start();
  sim->ClearPackets();
  // A tick before every pass: the row of A = 2 sends two passes; the third pass sees its third
  // tick and is dropped. A = 0 ends at its first tick, here in its first pass.
  loop.Step();  // row 1 begins
  for (int pass = 0; pass < 3; ++pass) {
    PlayTickFlag.Raise();
    EXPECT_TRUE(loop.Step());
  }
  EXPECT_EQ(FrameSizes(), (std::vector<size_t>{32, 32}));
  EXPECT_EQ(SegmentRowIndex, 0);
  EXPECT_EQ(StepToEnd(loop, 1), 5);  // row 2 begins and ends, row 3 begins, one pass, then the end
  EXPECT_EQ(SegmentRowIndex, 2);
  EXPECT_EQ(FrameSizes(), std::vector<size_t>{});
}

// Ticks that arrive at chosen points: the n-th look at the source (counting from 1) sees one.
class PointTicks : public TTickSource {
 public:
  explicit PointTicks(std::vector<int> at) : at_(std::move(at)) {}
  int64_t Owed() const override {
    ++looks_;
    for (int n : at_)
      if (n == looks_) ++owed_;
    return owed_;
  }
  void Take(int64_t n) override { owed_ -= n; }
  void WaitOwedOrStop() override {}

 private:
  std::vector<int> at_;
  mutable int looks_ = 0;
  mutable int64_t owed_ = 0;
};

TEST_F(SegmentPlayLoop, APassInWhichTheRowTimeRunsOutIsDroppedEvenHalfWritten) {
  SegmentPlayRows.push_back(Row(1, LineDrawing(4)));
  PointTicks ticks({1, 7});  // the first point of pass one, the third point of pass two
  TSegmentPlayLoop loop(ticks);
  loop.Start();
  sim->ClearPackets();
  EXPECT_TRUE(loop.Step());   // the row begins
  EXPECT_TRUE(loop.Step());   // pass one: tick 1 of A = 1, sent whole
  EXPECT_TRUE(loop.Step());   // pass two: tick 2 after two points, dropped
  EXPECT_FALSE(loop.Step());  // no more rows
  EXPECT_EQ(FrameSizes(), std::vector<size_t>{32});
}

TEST_F(SegmentPlayLoop, PauseHoldsTheRowTimeAndTheFrameAndLoopRepeats) {
  SegmentPlayRows.push_back(Row(1, LineDrawing(4)));
  SegmentPlayRows[0]->B = 100;  // an effect step at every point
  SegmentPlayRows[0]->I = 50;
  TSegmentPlayLoop loop;
  loop.Start();
  loop.Step();
  PauseFlag = true;
  for (int i = 0; i < 20; ++i) {
    PlayTickFlag.Raise();  // used up while paused
    ASSERT_TRUE(loop.Step());
  }
  EXPECT_EQ(PlayTickFlag.Owed(), 0);
  std::vector<std::vector<uint8_t>> frames;
  for (const auto& p : sim->Packets())
    if (p.kind == TSimPacket::Bulk && p.bytes.size() == 32) frames.push_back(p.bytes);
  ASSERT_EQ(frames.size(), 20u);
  for (const auto& f : frames) EXPECT_EQ(f, frames[0]);  // still: no effect step, no row end
  PauseFlag = false;
  LoopFlag = true;
  sim->ClearPackets();
  // A tick for each step that finds none owed: they come no faster than the passes. The tick that
  // ends the row is the next round's first.
  for (int i = 0; i < 12; ++i) {
    if (PlayTickFlag.Owed() == 0) PlayTickFlag.Raise();
    ASSERT_TRUE(loop.Step());
  }
  EXPECT_EQ(FrameSizes().size(), 4u);  // the one row again: begin, one pass, the dropped pass
  LoopFlag = false;
  EXPECT_LE(StepToEnd(loop, 1), 4);
}

TEST_F(SegmentPlayLoop, ARowWithoutPointsEndsAfterItsTicksAndSendsNoFrame) {
  SegmentPlayRows.push_back(Row(3, LineDrawing(0)));
  SegmentPlayRows.push_back(Row(0, LineDrawing(2)));
  TSegmentPlayLoop loop;
  loop.Start();
  sim->ClearPackets();
  loop.Step();
  for (int tick = 0; tick < 4; ++tick) {
    EXPECT_EQ(SegmentRowIndex, 0);
    PlayTickFlag.Raise();
    loop.Step();
  }
  EXPECT_EQ(FrameSizes(), std::vector<size_t>{});
  loop.Step();
  EXPECT_EQ(SegmentRowIndex, 1);
}

TEST_F(SegmentPlayLoop, SegmentSendsXAsStoredWhilePlayDrawingMirrorsIt) {
  SegmentPlayRows.push_back(Row(10, LineDrawing(2)));
  TSegmentPlayLoop segment;
  segment.Start();
  segment.Step();
  sim->ClearPackets();
  segment.Step();
  auto packets = sim->Packets();
  ASSERT_EQ(packets.size(), 1u);
  ASSERT_GE(packets[0].bytes.size(), 16u);
  EXPECT_EQ(packets[0].bytes[0], 0);    // x as stored
  EXPECT_EQ(packets[0].bytes[2], 245);  // 255 - y
  EXPECT_EQ(packets[0].bytes[8], 1);

  PlayDrawingList = LineDrawing(2);
  SegmentLiveEffects.Q = 5;
  TSelectedDrawingLoop drawing;
  drawing.Start();
  sim->ClearPackets();
  ASSERT_TRUE(drawing.Step());
  packets = sim->Packets();
  ASSERT_EQ(packets.size(), 1u);
  ASSERT_GE(packets[0].bytes.size(), 16u);
  EXPECT_EQ(packets[0].bytes[0], 250);  // 255 - x - Q
  EXPECT_EQ(packets[0].bytes[8], 249);
  StopFlag = true;
  EXPECT_FALSE(drawing.Step());
}

TEST_F(SegmentPlayLoop, RowsLastTheirTicksHoweverLongTheirPassesTakeToWrite) {
  struct Case {
    int ticksPerPass;
    int firstRowPasses, secondRowPasses;
  };
  // Two rows of A = 30. One tick per pass: 31 passes, the tick that ends the row being the second
  // row's first. Passes of 3 ticks begin at 0, 3 .. 30; passes of 4 at 0 .. 28, and the 2 ticks
  // beyond A start the second row. Either way the segment lasts its 60 ticks and a pass.
  for (const Case& c : {Case{1, 31, 30}, Case{3, 11, 10}, Case{4, 8, 8}}) {
    SCOPED_TRACE(std::to_string(c.ticksPerPass) + " ticks a pass");
    ResetSegmentPlayState();
    int ticks = 0;
    auto slow = std::make_shared<kavri_test::TickingInterface>("0", [&] {
      ++ticks;
      PlayTickFlag.Raise();
    });
    slow->ticksPerFrame = c.ticksPerPass;
    SetActiveUsbDriver(slow);
    auto first = Row(30, LineDrawing(1));
    auto second = Row(30, LineDrawing(2));
    SegmentPlayRows.push_back(std::move(first));
    SegmentPlayRows.push_back(std::move(second));
    TSegmentPlayLoop loop;
    loop.Start();
    for (int steps = 0; loop.Step(); ++steps) ASSERT_LT(steps, 1000);
    loop.Finish();
    std::vector<size_t> passes;  // 8 bytes a point: 1 for the first row, 2 for the second
    for (const auto& p : slow->Packets())
      if (p.bytes.size() >= 8) passes.push_back(p.bytes.size() / 8);
    EXPECT_EQ(std::count(passes.begin(), passes.end(), 1u), c.firstRowPasses);
    EXPECT_EQ(std::count(passes.begin(), passes.end(), 2u), c.secondRowPasses);
    EXPECT_EQ(passes.size(), static_cast<size_t>(c.firstRowPasses + c.secondRowPasses));
    EXPECT_GT(ticks, 60);
    EXPECT_LE(ticks, 60 + c.ticksPerPass);
  }
}

TEST_F(SegmentPlayLoop, ThreadsAnEmptySegmentWithLoopWaitsForTicks) {
  LoopFlag = true;
  TSegmentPlayLoop loop;
  loop.Start();
  PlayTickFlag.Raise();
  EXPECT_TRUE(loop.Step());  // one round per tick
  EXPECT_EQ(PlayTickFlag.Owed(), 0);
  std::thread stopper([] {
    std::this_thread::sleep_for(20ms);
    StopFlag = true;
  });
  EXPECT_FALSE(loop.Step());  // waits for a tick until Stop
  stopper.join();
}

TEST_F(SegmentPlayLoop, ThreadsSegmentRunsOnTheWorkerUntilStop) {
  SegmentPlayRows.push_back(Row(1000000, LineDrawing(50)));
  SegmentPlayRows[0]->B = 100;
  SegmentPlayRows[0]->C = 3;
  RegisterSegmentPlayLoops();
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
  std::atomic<bool> done{false};
  std::thread timer([&] {
    while (!done) {
      PlayTickFlag.Raise();
      std::this_thread::sleep_for(kSegmentTickInterval);
    }
  });
  for (int i = 0; i < 2000 && sim->Packets().size() < 20; ++i) std::this_thread::sleep_for(1ms);
  EXPECT_GE(sim->Packets().size(), 20u);
  EXPECT_TRUE(WorkerRunningFlag);
  const auto preview = SegmentEffectState.Read();  // read while the loop moves it
  EXPECT_LT(preview.angle, 360);
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  done = true;
  timer.join();
  EXPECT_FALSE(WorkerRunningFlag);
}

}  // namespace
}  // namespace kavri
