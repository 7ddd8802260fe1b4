// Opening and playing segment and show files that hold what no row of ours is: 64 MiB of one line,
// 64 MiB of line breaks, and beside them a segment (and a show) of 100,000 ordinary rows, one of
// 64 MiB of the longest lines the rule takes, and one of as many rows as the rule takes, each as
// long as 64 MiB leaves them (the most text in the most rows). Each is
// opened in Segment Edit or Show Edit, or loaded for play. Goal: each refused or opened in under
// 1 s, with a peak under 300 MB. The peak is the process's, so run one case per process:
//   bench_long_lines --benchmark_filter='BM_SegmentEditOpen/0/'
// The counter `opened` is 1 when the file was taken, 0 when it was refused.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "bench/qt_bench_main.h"
#include "engine/section_file.h"
#include "engine/show_file.h"
#include "platform/program_folder.h"
#include "platform/text_lines.h"
#include "segments/segment_edit_window.h"
#include "shows/show_edit_window.h"

using namespace kavri;

namespace {

enum TKind { kOneLine, kLineBreaks, kRows, kLongestLines, kFullRows };
const char* const kNames[] = {"one_line", "line_breaks", "rows", "longest_lines", "full_rows"};

double PeakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Writes `count` copies of `piece` a block at a time, so making the file costs no memory worth
// counting against the peak.
void Fill(std::ofstream& out, const std::string& piece, size_t count) {
  std::string block;
  const size_t perBlock = std::max<size_t>(1, (1u << 20) / piece.size());
  for (size_t i = 0; i < perBlock; ++i) block += piece;
  for (size_t done = 0; done < count; done += perBlock)
    out.write(block.data(), static_cast<std::streamsize>(std::min(perBlock, count - done) * piece.size()));
}

void WriteKind(const std::string& path, TKind kind, bool show) {
  std::ofstream out(path, std::ios::binary);
  switch (kind) {
    case kOneLine:
      Fill(out, "a", kMaxTextFileBytes);
      break;
    case kLineBreaks:
      Fill(out, "\n", kMaxTextFileBytes);
      break;
    case kLongestLines: {
      // 64 MiB of lines as long as the rule takes: the most text a file can hold in rows.
      const size_t length = show ? kShowFileRule.maxLineBytes : kSegmentFileRule.maxLineBytes;
      if (show) out << "[Music]\r\n\r\n[Track1]\r\n";
      Fill(out, std::string(length - 4, 'n') + "|100\r\n", kMaxTextFileBytes / (length + 2) - 1);
      break;
    }
    case kFullRows: {
      // As many rows as the rule takes, their names as long as 64 MiB leaves them.
      const size_t rows = show ? kShowFileRule.maxLines - 3 : kSegmentFileRule.maxLines;
      const size_t length = kMaxTextFileBytes / kSegmentFileRule.maxLines - 2;
      if (show) out << "[Music]\r\n\r\n[Track1]\r\n";
      Fill(out, std::string(length - 4, 'n') + "|100\r\n", rows);
      break;
    }
    case kRows:
      if (show) {
        out << "[Music]\r\n\r\n[Track1]\r\n";
        Fill(out, "drawing07.ddr|100\r\n", kShowFileRule.maxLines - 3);
      } else {
        Fill(out, "drawing07.ddr|100|50|12|0|0|0|0|0|0|0|257|20|90|30|0|30000|0|0\r\n", kSegmentFileRule.maxLines);
      }
      break;
  }
  if (!out) std::abort();
}

// A program folder holding the kind as "<kind>.sec" and "<kind>.seq", made before timing starts.
struct Folder {
  QTemporaryDir dir;
  std::string root = dir.path().toStdString() + "/";
  explicit Folder(TKind kind) {
    ::setenv("KAVRI_HOME", root.c_str(), 1);
    ResetProgramFolderForTests();
    EnsureContentFolders();
    WriteKind(SectionFolder() + kNames[kind] + ".sec", kind, false);
    WriteKind(SequenceFolder() + kNames[kind] + ".seq", kind, true);
  }
};

Folder& Content(TKind kind) {
  static std::unique_ptr<Folder> folders[5];
  if (!folders[kind]) folders[kind] = std::make_unique<Folder>(kind);
  ::setenv("KAVRI_HOME", folders[kind]->root.c_str(), 1);
  ResetProgramFolderForTests();
  return *folders[kind];
}

void Report(benchmark::State& state, bool opened) {
  state.counters["opened"] = opened ? 1 : 0;
  state.counters["peak_rss_MB"] = PeakMegabytes();
  state.SetLabel(kNames[state.range(0)]);
}

void BM_SegmentEditOpen(benchmark::State& state) {
  const TKind kind = static_cast<TKind>(state.range(0));
  Content(kind);
  bool opened = false;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<TForm5>();
    form->FormCreate();
    TFileList& segments = form->FileListBox2->Files();
    segments.SetItemIndex(segments.IndexOf(std::string(kNames[kind]) + ".sec"));
    state.ResumeTiming();
    form->BitBtn17->Click();
    state.PauseTiming();
    opened = form->Segment().SegmentName() == kNames[kind];
    form.reset();
    state.ResumeTiming();
  }
  Report(state, opened);
}
BENCHMARK(BM_SegmentEditOpen)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ShowEditOpen(benchmark::State& state) {
  const TKind kind = static_cast<TKind>(state.range(0));
  Content(kind);
  bool opened = false;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<TForm8>();
    form->FormCreate();
    TFileList& shows = form->FileListBox4->Files();
    shows.SetItemIndex(shows.IndexOf(std::string(kNames[kind]) + ".seq"));
    state.ResumeTiming();
    form->BitBtn17->Click();
    state.PauseTiming();
    opened = form->skinEdit1->text().toStdString() == kNames[kind];
    form.reset();
    state.ResumeTiming();
  }
  Report(state, opened);
}
BENCHMARK(BM_ShowEditOpen)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// As Segment Edit's Play and the converter's Segment->ILD load it.
void BM_SegmentPlayLoad(benchmark::State& state) {
  const TKind kind = static_cast<TKind>(state.range(0));
  Folder& folder = Content(kind);
  bool opened = false;
  for (auto _ : state) {
    TSectionList rows;
    opened = LoadSectionFile(SectionFolder() + kNames[kind] + ".sec", rows, folder.root);
    benchmark::DoNotOptimize(rows.data());
  }
  Report(state, opened);
}
BENCHMARK(BM_SegmentPlayLoad)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// As a show plays: the show file itself, and a show whose one row names the segment.
void BM_ShowPlayLoad(benchmark::State& state) {
  const TKind kind = static_cast<TKind>(state.range(0));
  Folder& folder = Content(kind);
  bool opened = false;
  for (auto _ : state) {
    TSequence show;
    opened = LoadShowFileWithContent(SequenceFolder() + kNames[kind] + ".seq", folder.root, show);
    benchmark::DoNotOptimize(show.track1.data());
  }
  Report(state, opened);
}
BENCHMARK(BM_ShowPlayLoad)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ShowNamingTheSegmentPlayLoad(benchmark::State& state) {
  const TKind kind = static_cast<TKind>(state.range(0));
  Folder& folder = Content(kind);
  const std::string show = SequenceFolder() + "names_" + kNames[kind] + ".seq";
  WriteTextLines(show, {"[Music]", "", "[Track1]", std::string(kNames[kind]) + ".sec|100"});
  bool opened = false;
  for (auto _ : state) {
    TSequence loaded;
    opened = LoadShowFileWithContent(show, folder.root, loaded);
    benchmark::DoNotOptimize(loaded.track1.data());
  }
  Report(state, opened);
}
BENCHMARK(BM_ShowNamingTheSegmentPlayLoad)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
