// Importing the largest plotter file the reader takes (64 MiB): short pen-down lines spread over the
// plotter's range, imported with thinning off (every point kept) and at its default distance. Goal:
// under 1 s and 300 MB, or refused before the points are built. The peak is the process's, so run
// one case per process:
//   bench_plotter_import --benchmark_filter='BM_ImportLargestPlotterFile/0$'
// The counter `imported` is 1 when the import was taken, 0 when it was refused.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "bench/patterned_ilda.h"
#include "engine/hpgl_import.h"
#include "platform/text_lines.h"

using namespace kavri;

namespace {

// The shortest pen-down lines, alternating between two points far enough apart that thinning keeps
// both: about 9.6 million points. Written a block at a time so that making the file costs little memory.
bool WriteLargestPlotterFile(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  const std::string head = "IN;\nLT;\nPU0 0;\n";
  out << head;
  std::string block;
  for (int i = 0; i < 1 << 16; ++i) block += i % 2 ? "PD9 9;\n" : "PD0 0;\n";
  size_t written = head.size();
  while (written + block.size() <= kMaxTextFileBytes - 8) {
    out << block;
    written += block.size();
  }
  out << "SP0;\n";
  return static_cast<bool>(out);
}

void BM_ImportLargestPlotterFile(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/largest.plt";
  if (!WriteLargestPlotterFile(path)) state.SkipWithError("cannot write the file");
  bool imported = false;
  size_t points = 0;
  for (auto _ : state) {
    THpglImport result = ImportPltFile(path, {static_cast<int>(state.range(0)), 0, 4});
    imported = result.ok;
    points = result.objects.PointCount();
    state.PauseTiming();
    result = THpglImport{};
    state.ResumeTiming();
  }
  state.counters["imported"] = imported ? 1 : 0;
  state.counters["points"] = static_cast<double>(points);
  state.counters["peak_rss_MB"] = kavri_bench::PeakMegabytes();
}
BENCHMARK(BM_ImportLargestPlotterFile)->Arg(0)->Arg(5)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
