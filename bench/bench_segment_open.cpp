// Opening a segment file of 10,000 and of 100,000 rows into "Segment Edit" (the most the window
// takes). Goal at 100,000 rows: under 1 s, and under 200 MB for the whole process. The counters
// give the process's resident size after the open and its peak so far; run one benchmark at a time
// (--benchmark_filter) for a peak of its own. A row command on the opened segment (Add) shows that
// the time stays in proportion to the rows.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <unistd.h>

#include "bench/qt_bench_main.h"
#include "platform/program_folder.h"
#include "segments/segment_edit_window.h"

using namespace kavri;

namespace {

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double PeakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// A program folder whose segment folder holds "big.sec" of `rows` ordinary rows over 50 drawings.
struct Folder {
  QTemporaryDir dir;
  std::string root = dir.path().toStdString() + "/";
  explicit Folder(int rows) {
    ::setenv("KAVRI_HOME", root.c_str(), 1);
    ResetProgramFolderForTests();
    EnsureContentFolders();
    std::ofstream file(SectionFolder() + "big.sec", std::ios::binary);
    for (int i = 0; i < rows; ++i) {
      char line[160];
      std::snprintf(line, sizeof line, "drawing%02d.ddr|%d|50|%d|0|0|0|0|0|0|0|257|20|%d|30|0|30000|0|0\r\n", i % 50,
                    100 + i % 900, i % 180, i % 360);
      file << line;
    }
  }
};

Folder& Content(int rows) {
  static std::map<int, std::unique_ptr<Folder>> folders;
  auto& folder = folders[rows];
  if (!folder) folder = std::make_unique<Folder>(rows);
  ::setenv("KAVRI_HOME", folder->root.c_str(), 1);
  ResetProgramFolderForTests();
  return *folder;
}

std::unique_ptr<TForm5> WindowOnBigSegment() {
  auto form = std::make_unique<TForm5>();
  form->FormCreate();
  TFileList& segments = form->FileListBox2->Files();
  segments.SetItemIndex(segments.IndexOf("big.sec"));
  return form;
}

// Open in a window that holds the creation row, as after start-up.
void BM_OpenSegmentInSegmentEdit(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  Content(rows);
  double resident = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<TForm5> form = WindowOnBigSegment();
    state.ResumeTiming();
    form->BitBtn17->Click();
    state.PauseTiming();
    if (form->Segment().LastRow() != rows) state.SkipWithError("the segment was not opened whole");
    resident = ResidentMegabytes();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["rss_MB"] = resident;
  state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_OpenSegmentInSegmentEdit)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Open over a segment of the same size: the old rows, and the grid showing them, stay until the new
// ones are all read, so that a file that fails keeps them; the peak holds both.
void BM_ReopenSegmentInSegmentEdit(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  Content(rows);
  std::unique_ptr<TForm5> form = WindowOnBigSegment();
  form->BitBtn17->Click();
  double resident = 0;
  for (auto _ : state) {
    form->BitBtn17->Click();
    state.PauseTiming();
    if (form->Segment().LastRow() != rows) state.SkipWithError("the segment was not opened whole");
    resident = ResidentMegabytes();
    state.ResumeTiming();
  }
  state.counters["rss_MB"] = resident;
  state.counters["peak_rss_MB"] = PeakMegabytes();
}
BENCHMARK(BM_ReopenSegmentInSegmentEdit)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Add on an opened segment: the new last row becomes current and the grid scrolls down to it.
void BM_AddRowToOpenedSegment(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  Content(rows);
  std::unique_ptr<TForm5> form = WindowOnBigSegment();
  form->BitBtn17->Click();
  for (auto _ : state) {
    form->BitBtn1->Click();
    state.PauseTiming();
    form->BitBtn17->Click();  // back to the file's rows, row 1 current
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AddRowToOpenedSegment)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
