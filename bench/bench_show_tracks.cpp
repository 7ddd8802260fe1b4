// The show's three tracks on the simulated interfaces: track 1 a drawing, track 2 a segment item
// with every effect on, track 3 an ILDA image, each of 8,192 points.
// - BM_ThreeShowTracks: points a second the three build and send together. Goal: at least 10
//   million, so a real show (45,000 points a second at the interface) costs well under a core.
// - BM_ShowClockWhileTracksPlay: the share of its 200 events a second that the clock thread
//   delivers over 10 s while the three tracks play, flat out and at a real interface's 45,000
//   points a second. Goal: at least 97%. Also how many were raised late (a whole interval or more)
//   and lost, and the cores the process used (goal at 45,000: well under one).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

#include "bench/patterned_ilda.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"
#include "shows/show_clock.h"
#include "shows/show_track_player.h"
#include "shows/show_track_start.h"
#include "shows/show_track_state.h"

namespace {

using namespace kavri;

constexpr int kPoints = 8192;

// Takes every write at once and counts the points of the frames; with a clock, moves it once per
// frame, so segment items and ILDA frames go on as fast as frames are built.
class CountingInterfaces : public TSimUsbDriver {
 public:
  CountingInterfaces(TShowClock* clock) : TSimUsbDriver("0"), clock_(clock) { SetRecordLimit(1); }
  bool BulkWrite(int number, uint32_t pipe, const uint8_t* data, size_t length, TUsbStop stop) override {
    const bool ok = TSimUsbDriver::BulkWrite(number, pipe, data, length, stop);
    if (length > 2) {
      points += length / sizeof(TDevicePoint);
      if (clock_) clock_->Tick();
    }
    return ok;
  }
  std::atomic<uint64_t> points{0};

 private:
  TShowClock* clock_;
};

TPlayDrawingPtr BigDrawing() {
  Drawing d;
  for (int o = 0; o < 32; ++o) {
    DrawingObject* object = d.AddObject();
    for (int i = 0; i < kPoints / 32; ++i)
      object->Add({(o * 37 + i * 13) % 256, (o * 11 + i * 29) % 256, i == 0 ? 2 : 1, static_cast<uint8_t>(1 + i % 200),
                   0, static_cast<uint8_t>(i == 0)});
  }
  const auto bytes = EncodeDrawing(d, 1);
  return std::make_shared<TPlayDrawing>(TPlayDrawing::Decode(bytes.data(), bytes.size()));
}

// A show whose rows never end by themselves.
TSequence BigShow() {
  TSequence show;
  const auto add = [&](int track, const char* name) -> TSequenceRecord& {
    show.Track(track).push_back(std::make_unique<TSequenceRecord>());
    TSequenceRecord& row = *show.Track(track).back();
    row.name = name;
    row.time = 1 << 30;
    return row;
  };
  add(0, "big.ddr").drawing = BigDrawing();
  auto item = std::make_unique<TSectionRecord>();
  // A to R: every effect moving at every point.
  const int32_t letters[] = {1, 100, 3, 0, 5, 7, 9, 11, 13, 15, ColourModeAuto, 25, 45, 30, 0, 0, 0, 0};
  for (int i = 0; i < TSectionRecord::kParameterCount; ++i) item->SetParameter(i, letters[i]);
  item->drawing = BigDrawing();
  auto segment = std::make_shared<TSectionList>();
  segment->push_back(std::move(item));
  add(1, "big.sec").rows = segment;
  add(2, "big.ild").ilda = std::make_shared<TILDAimage>(kavri_bench::PatternedIldaImage(4, kPoints));
  return show;
}

void Prepare() {
  ResetSharedState();
  ResetShowTrackState();
  SetCurrentDeviceName("ezusb-0");
  LocateAngle = 33;
  HOffset = 7;
  HSize = 27;
  ShowColourMode = ColourModeRnd1;
}

void BM_ThreeShowTracks(benchmark::State& state) {
  Prepare();
  TShowClock clock;
  auto interfaces = std::make_shared<CountingInterfaces>(&clock);
  SetActiveUsbDriver(interfaces);
  const TSequence show = BigShow();
  SetShowTrackRows(show);
  std::vector<std::unique_ptr<TShowTrackPlayer>> players;
  for (int track = 1; track <= kShowTracks; ++track) {
    players.push_back(std::make_unique<TShowTrackPlayer>(track));
    players.back()->Start();
  }
  for (auto _ : state) {
    std::vector<std::thread> threads;
    for (auto& player : players)
      threads.emplace_back([&player] {
        for (int step = 0; step < 10; ++step) player->Step();
      });
    for (auto& t : threads) t.join();
  }
  state.SetItemsProcessed(static_cast<int64_t>(interfaces->points.load()));
  SetActiveUsbDriver(nullptr);
  ResetShowTrackState();
}
// Over wall time (the three run side by side), and over the CPU time they took together.
BENCHMARK(BM_ThreeShowTracks)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ThreeShowTracks)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

// The argument is the interface's points a second; 0 takes every write at once.
void BM_ShowClockWhileTracksPlay(benchmark::State& state) {
  using namespace std::chrono;
  Prepare();
  auto interfaces = std::make_shared<CountingInterfaces>(nullptr);
  if (const double rate = static_cast<double>(state.range(0)); rate > 0)
    interfaces->SetPointRate([rate] { return rate; });
  SetActiveUsbDriver(interfaces);
  const TSequence show = BigShow();
  for (auto _ : state) {
    TShowClock clock;
    TShowClockThread ticking(clock);
    if (!StartShowTracks(show)) {
      state.SkipWithError("the tracks did not start");
      break;
    }
    ticking.Start();
    while (clock.Ticks() == 0) std::this_thread::sleep_for(milliseconds(1));
    const auto start = steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    const uint64_t first = clock.Ticks(), pointsFirst = interfaces->points.load();
    std::this_thread::sleep_for(seconds(10));
    const uint64_t delivered = clock.Ticks() - first, points = interfaces->points.load() - pointsFirst;
    const double seconds = duration<double>(steady_clock::now() - start).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    ticking.Stop();  // its counts stay readable
    PlayController().StopAndWait();
    const double due = seconds * 1000.0 / kShowClockInterval.count();
    state.counters["ticks_per_s"] = delivered / seconds;
    state.counters["delivered_share"] = delivered / due;
    state.counters["late"] = static_cast<double>(ticking.Late());
    state.counters["missed"] = static_cast<double>(ticking.Missed());
    state.counters["track_points_per_s"] = points / seconds;
    state.counters["cores"] = cpu / seconds;
  }
  SetActiveUsbDriver(nullptr);
  ResetShowTrackState();
}
BENCHMARK(BM_ShowClockWhileTracksPlay)->Arg(0)->Arg(45000)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
