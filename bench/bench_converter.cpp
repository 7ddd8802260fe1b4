// ILDA to segment of a 2,000-frame file: 2,000 drawing files and one segment, each replaced
// atomically. The conversion flushes every file; the second case writes the same files through a
// temporary file and rename without the flush, to show what the flush costs.
// BM_ConverterPreviewMaximalIlda: the largest ILDA file the reader takes (512 frames of 65,535
// points) selected in the window's ILDA list with the preview on. Goal: under 1 s and 300 MB; the
// peak is the process's, so run it alone:
//   bench_converter --benchmark_filter=BM_ConverterPreviewMaximalIlda
// BM_MergeMaximalIlda: that file merged alone into a new file, and BM_SegmentToIldaMaximal: a segment
// of 512 rows naming a drawing of 65,535 points converted to ILDA; the same goal, one per process.
// BM_IldaToSegmentMaximal: that file converted to a segment of 512 drawings; the peak is the one
// frame and drawing held at a time, one per process too.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "bench/patterned_ilda.h"
#include "bench/qt_bench_main.h"
#include "engine/drawing.h"
#include "engine/ilda_file.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/file_list.h"
#include "platform/program_folder.h"
#include "segments/converter_conversions.h"
#include "segments/converter_window.h"

using namespace kavri;

namespace {

constexpr int kFrames = 2000;
constexpr int kPoints = 300;
constexpr int kFilesPerConversion = kFrames + 1;

// Names the segment and replaces what the previous round wrote.
class AnsweringDialogs : public NonInteractiveDialogService {
 public:
  TDialogAnswer Confirm(const std::string&, TConfirmButtons, const std::string&) override {
    return TDialogAnswer::Yes;
  }
  bool InputQuery(const std::string&, const std::string&, std::string& value) override {
    value = "bench";
    return true;
  }
};

struct Folder {
  QTemporaryDir dir;
  std::string root = dir.path().toStdString() + "/";
  Folder() {
    ::setenv("KAVRI_HOME", root.c_str(), 1);
    ResetProgramFolderForTests();
    EnsureContentFolders();
    const TILDAimage image = kavri_bench::PatternedIldaImage(kFrames, kPoints);
    if (!WriteIldaFile(IldaFolder() + "source.ild", image)) std::fprintf(stderr, "cannot write the source\n");
  }
};

Folder& Content() {
  static Folder folder;
  return folder;
}

void SetCounters(benchmark::State& state) {
  state.counters["files_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFilesPerConversion, benchmark::Counter::kIsRate);
}

void BM_IldaToSegment(benchmark::State& state) {
  Content();
  AnsweringDialogs dialogs;
  DialogService* previous = SetDialogService(&dialogs);
  TFileList drawings, segments, ildas;
  drawings.SetDirectory(DrawingFolder());
  segments.SetDirectory(SectionFolder());
  ildas.SetMask("*.ild");
  ildas.SetDirectory(IldaFolder());
  ildas.SetItemIndex(ildas.IndexOf("source.ild"));
  TConverterConversions convert(drawings, segments, ildas);
  for (auto _ : state)
    if (!convert.IldaToSegment("10")) state.SkipWithError("the conversion failed");
  SetCounters(state);
  SetDialogService(previous);
}
BENCHMARK(BM_IldaToSegment)->Unit(benchmark::kMillisecond)->UseRealTime();

// Temporary file and rename as the writers do, without the flush before the rename.
bool ReplaceWithoutFlush(const std::string& path, const std::vector<uint8_t>& bytes) {
  const std::string temp = path + ".tmp";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return ::close(fd) == 0 && written && ::rename(temp.c_str(), path.c_str()) == 0;
}

void BM_IldaToSegmentWithoutFlush(benchmark::State& state) {
  Content();
  for (auto _ : state) {
    TILDAimage image;
    ReadIldaFile(IldaFolder() + "source.ild", image);
    Drawing work;
    std::string segment;
    for (size_t i = 0; i < image.frames.size(); ++i) {
      IldaFrameToDrawing(work, *image.frames[i]);
      const std::string name = TConverterConversions::FrameDrawingName("bench.sec", static_cast<int>(i + 1));
      if (!ReplaceWithoutFlush(DrawingFolder() + name, EncodeDrawing(work, 1))) state.SkipWithError("write failed");
      segment += name + "|10|0|0|0|0|0|0|0|0|0|0|20|0|30|0|0|0|0\r\n";
    }
    if (!ReplaceWithoutFlush(SectionFolder() + "bench.sec", {segment.begin(), segment.end()}))
      state.SkipWithError("write failed");
  }
  SetCounters(state);
}
BENCHMARK(BM_IldaToSegmentWithoutFlush)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ConverterPreviewMaximalIlda(benchmark::State& state) {
  QTemporaryDir dir;
  ::setenv("KAVRI_HOME", (dir.path().toStdString() + "/").c_str(), 1);
  ResetProgramFolderForTests();
  EnsureContentFolders();
  if (!kavri_bench::WritePatternedIldaFile(IldaFolder() + "maximal.ild", kavri_bench::kMaximalFrames,
                                           kavri_bench::kMaximalPoints))
    state.SkipWithError("cannot write the file");
  int frames = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<TForm9>();
    form->FormCreate();
    state.ResumeTiming();
    form->skinCheckBox1->Click();  // the preview on: the selected file is read
    frames = form->IldaPreview().FrameCount();
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
  state.counters["frames"] = frames;
  state.counters["peak_rss_MB"] = kavri_bench::PeakMegabytes();
}
BENCHMARK(BM_ConverterPreviewMaximalIlda)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// A program folder holding the largest ILDA file and a segment that converts to one as large.
struct MaximalFolder {
  QTemporaryDir dir;
  std::string root = dir.path().toStdString() + "/";
  MaximalFolder() {
    ::setenv("KAVRI_HOME", root.c_str(), 1);
    ResetProgramFolderForTests();
    EnsureContentFolders();
    if (!kavri_bench::WritePatternedIldaFile(IldaFolder() + "maximal.ild", kavri_bench::kMaximalFrames,
                                             kavri_bench::kMaximalPoints))
      std::fprintf(stderr, "cannot write the file\n");
    Drawing drawing;
    IldaFrameToDrawing(drawing, *kavri_bench::PatternedIldaFrame(0, kavri_bench::kMaximalPoints));
    if (!SaveDrawingFile(DrawingFolder() + "full.ddr", drawing, 1)) std::fprintf(stderr, "cannot write the drawing\n");
    std::string rows;
    for (int i = 0; i < kavri_bench::kMaximalFrames; ++i) rows += "full.ddr|1\r\n";
    const std::vector<uint8_t> bytes(rows.begin(), rows.end());
    if (!ReplaceFileAtomically(SectionFolder() + "maximal.sec", bytes)) std::fprintf(stderr, "cannot write the segment\n");
  }
};

// The maximal folder, the converter's three lists on it with the given segment and ILDA file
// selected, and dialogs that name and replace; the peak is measured when it ends.
struct MaximalConversion {
  MaximalFolder folder;
  AnsweringDialogs dialogs;
  DialogService* previous = SetDialogService(&dialogs);
  TFileList drawings, segments, ildas;
  TConverterConversions convert{drawings, segments, ildas};
  benchmark::State& state;
  MaximalConversion(benchmark::State& s, const std::string& segment, const std::string& ilda) : state(s) {
    drawings.SetDirectory(DrawingFolder());
    segments.SetDirectory(SectionFolder());
    ildas.SetMask("*.ild");
    ildas.SetDirectory(IldaFolder());
    if (!segment.empty()) segments.SetItemIndex(segments.IndexOf(segment));
    if (!ilda.empty()) ildas.SetItemIndex(ildas.IndexOf(ilda));
  }
  ~MaximalConversion() {
    state.counters["peak_rss_MB"] = kavri_bench::PeakMegabytes();
    SetDialogService(previous);
  }
};

void BM_MergeMaximalIlda(benchmark::State& state) {
  MaximalConversion c(state, "", "");
  for (auto _ : state)
    if (!c.convert.MergeIlda({IldaFolder() + "maximal.ild"}, "merged")) state.SkipWithError("the merge failed");
}
BENCHMARK(BM_MergeMaximalIlda)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_SegmentToIldaMaximal(benchmark::State& state) {
  MaximalConversion c(state, "maximal.sec", "");
  for (auto _ : state)
    if (!c.convert.SegmentToIlda()) state.SkipWithError("the conversion failed");
}
BENCHMARK(BM_SegmentToIldaMaximal)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_IldaToSegmentMaximal(benchmark::State& state) {
  MaximalConversion c(state, "", "maximal.ild");
  for (auto _ : state)
    if (!c.convert.IldaToSegment("10")) state.SkipWithError("the conversion failed");
}
BENCHMARK(BM_IldaToSegmentMaximal)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
