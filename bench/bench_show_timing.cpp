// A show keeping time with its music: track 1 plays two drawings for 400 ticks each (4 s at 5 ms a
// tick), on the real clock thread and track workers, through simulated interfaces that take each
// frame at a real interface's pace (points / scan rate, the outputs one after the other).
// - BM_ShowKeepsTime/points/interfaces/rate/busy: the show's length from the clock's start to the
//   track's end, less the clock's 100 ms start, over its nominal 4 s ("ratio"; goal: at most 1.03
//   in every case), the frames each row sent, and the clock events raised late or lost. `busy`
//   threads spin beside the show to load the machine (they run on the cores the benchmark may use).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "engine/device_packets.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"
#include "shows/show_clock.h"
#include "shows/show_track_start.h"
#include "shows/show_track_state.h"

namespace {

using namespace kavri;
using namespace std::chrono;

constexpr int kRowTicks = 400;
constexpr uint8_t kFirstRowX = 10, kSecondRowX = 20;  // stored x of each drawing's first point

// Interfaces 0 and 1 at a fixed pace; counts the frames interface 0 takes of each row.
class PacedInterfaces : public TSimUsbDriver {
 public:
  explicit PacedInterfaces(double rate) : TSimUsbDriver("0,1") {
    SetRecordLimit(1);
    SetPointRate([rate] { return rate; });
  }
  bool BulkWrite(int number, uint32_t pipe, const uint8_t* data, size_t length, TUsbStop stop) override {
    if (number == 0 && length >= sizeof(TDevicePoint)) {
      // Shows send x mirrored: 255 - stored x.
      if (data[0] == 255 - kFirstRowX) ++firstRowFrames;
      if (data[0] == 255 - kSecondRowX) ++secondRowFrames;
    }
    return TSimUsbDriver::BulkWrite(number, pipe, data, length, stop);
  }
  std::atomic<int> firstRowFrames{0}, secondRowFrames{0};
};

// A closed figure of `points` points starting at (x0, 128).
TPlayDrawingPtr Figure(int points, int x0) {
  Drawing d;
  DrawingObject* object = d.AddObject();
  for (int i = 0; i < points; ++i) {
    const double a = 2 * M_PI * i / points;
    const int x = i == 0 ? x0 : 128 + static_cast<int>(100 * std::cos(a));
    object->Add({x, 128 + static_cast<int>(100 * std::sin(a)), i == 0 ? 2 : 1, 3, 0, static_cast<uint8_t>(i == 0)});
  }
  const auto bytes = EncodeDrawing(d, 1);
  return std::make_shared<TPlayDrawing>(TPlayDrawing::Decode(bytes.data(), bytes.size()));
}

TSequence TwoRowShow(int points) {
  TSequence show;
  for (const auto& [name, x0] : {std::pair{"a.ddr", kFirstRowX}, std::pair{"b.ddr", kSecondRowX}}) {
    show.track1.push_back(std::make_unique<TSequenceRecord>());
    show.track1.back()->name = name;
    show.track1.back()->time = kRowTicks;
    show.track1.back()->drawing = Figure(points, x0);
  }
  return show;
}

void BM_ShowKeepsTime(benchmark::State& state) {
  const int points = static_cast<int>(state.range(0));
  const bool twoOutputs = state.range(1) == 2;
  const double rate = static_cast<double>(state.range(2));
  const int busy = static_cast<int>(state.range(3));
  ResetSharedState();
  ResetShowTrackState();
  SetCurrentDeviceName("ezusb-0");
  MultiDeviceFlag = twoOutputs;
  SetSelectedDevices(twoOutputs ? std::vector<std::string>{"Usb-1"} : std::vector<std::string>{});
  auto interfaces = std::make_shared<PacedInterfaces>(rate);
  SetActiveUsbDriver(interfaces);
  const TSequence show = TwoRowShow(points);

  std::atomic<bool> stopBusy{false};
  std::vector<std::thread> loads;
  for (int i = 0; i < busy; ++i)
    loads.emplace_back([&stopBusy] {
      volatile uint64_t spin = 0;
      while (!stopBusy.load(std::memory_order_relaxed)) spin = spin + 1;
    });

  for (auto _ : state) {
    TShowClock clock;
    TShowClockThread ticking(clock);
    if (!StartShowTracks(show)) {
      state.SkipWithError("the tracks did not start");
      break;
    }
    const auto start = steady_clock::now();
    ticking.Start();
    while (AnyShowTrackRunning()) std::this_thread::sleep_for(microseconds(500));
    const double seconds = duration<double>(steady_clock::now() - start).count();
    ticking.Stop();
    PlayController().StopAndWait();
    const double nominal = 2 * kRowTicks * duration<double>(kShowClockInterval).count();
    state.SetIterationTime(seconds);
    state.counters["seconds"] = seconds;
    state.counters["ratio"] = (seconds - duration<double>(kShowClockFirstTick).count()) / nominal;
    state.counters["row1_frames"] = interfaces->firstRowFrames.exchange(0);
    state.counters["row2_frames"] = interfaces->secondRowFrames.exchange(0);
    // Frames a row's 2 s allow at the interface's pace, the outputs written one after the other.
    state.counters["frames_allowed"] = kRowTicks * duration<double>(kShowClockInterval).count() /
                                       (points * (twoOutputs ? 2 : 1) / rate);
    state.counters["clock_late"] = static_cast<double>(ticking.Late());
    state.counters["clock_missed"] = static_cast<double>(ticking.Missed());
  }
  stopBusy = true;
  for (auto& t : loads) t.join();
  SetActiveUsbDriver(nullptr);
  ResetShowTrackState();
  ResetSharedState();
}
// 190-point frames on one and on two interfaces, 600-point frames on one; each alone and beside
// four busy loops.
BENCHMARK(BM_ShowKeepsTime)
    ->ArgNames({"points", "interfaces", "rate", "busy"})
    ->Args({190, 1, 34200, 0})
    ->Args({190, 2, 34200, 0})
    ->Args({600, 1, 30000, 0})
    ->Args({190, 1, 34200, 4})
    ->Args({190, 2, 34200, 4})
    ->Args({600, 1, 30000, 4})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
