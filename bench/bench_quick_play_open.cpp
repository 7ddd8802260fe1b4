// Opening the "Quick play" window on a drawing folder of 500 and of 5,000 drawings.
// BM_QuickPlayMaximalIlda: the window opened on an ILDA folder holding the largest file the reader
// takes (512 frames of 65,535 points), the file read for its preview and made ready to play. Goal:
// under 1 s and 300 MB; the peak is the process's, so run it alone:
//   bench_quick_play_open --benchmark_filter=BM_QuickPlayMaximalIlda Goal: under
// 200 ms at 5,000, and the window holding no more per drawing than its name: only the first
// page's thumbnails are drawn, so the time and the thumbnails kept stay flat as the folder grows.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>

#include "bench/patterned_ilda.h"
#include "bench/qt_bench_main.h"
#include "engine/drawing.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "quickplay/quick_play_loops.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/quick_play_window.h"

using namespace kavri;

namespace {

constexpr int kPointsPerDrawing = 200;

// A program folder whose drawing folder holds `count` drawings of a zigzag each.
struct Folder {
  QTemporaryDir dir;
  std::string root = dir.path().toStdString() + "/";
  explicit Folder(int count) {
    ::setenv("KAVRI_HOME", root.c_str(), 1);
    ResetProgramFolderForTests();
    EnsureContentFolders();
    std::string records;
    for (int i = 0; i < kPointsPerDrawing; ++i) {
      const char record[kDrawingRecordSize] = {static_cast<char>(i), static_cast<char>(i % 2 ? 40 : 200), 0, 2,
                                               static_cast<char>(i + 1 == kPointsPerDrawing ? 0x80 : 0)};
      records.append(record, kDrawingRecordSize);
    }
    for (int i = 0; i < count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "d%05d.ddr", i);
      std::ofstream(DrawingFolder() + name, std::ios::binary) << records;
    }
  }
};

Folder& Content(int count) {
  static std::map<int, std::unique_ptr<Folder>> folders;
  auto& folder = folders[count];
  if (!folder) folder = std::make_unique<Folder>(count);
  ::setenv("KAVRI_HOME", folder->root.c_str(), 1);
  ResetProgramFolderForTests();
  return *folder;
}

void BM_OpenQuickPlay(benchmark::State& state) {
  Content(static_cast<int>(state.range(0)));
  size_t thumbnails = 0;
  for (auto _ : state) {
    auto form = std::make_unique<TForm4>();
    form->FormCreate();
    thumbnails = form->Grid().CachedCount();
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["thumbnails_drawn"] = static_cast<double>(thumbnails);
}
BENCHMARK(BM_OpenQuickPlay)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QuickPlayMaximalIlda(benchmark::State& state) {
  Folder& folder = Content(1);
  (void)folder;
  const std::string path = IldaFolder() + "maximal.ild";
  if (!FileExists(path) &&
      !kavri_bench::WritePatternedIldaFile(path, kavri_bench::kMaximalFrames, kavri_bench::kMaximalPoints))
    state.SkipWithError("cannot write the file");
  bool ready = false;
  for (auto _ : state) {
    auto form = std::make_unique<TForm4>();
    form->FormCreate();  // reads the selected ILDA file for its preview
    ready = PrepareIldaPlay(path).start;
    state.PauseTiming();
    QuickPlayIldaFrames = EmptyIldaPlayFrames();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["ready"] = ready ? 1 : 0;
  state.counters["peak_rss_MB"] = kavri_bench::PeakMegabytes();
}
BENCHMARK(BM_QuickPlayMaximalIlda)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
