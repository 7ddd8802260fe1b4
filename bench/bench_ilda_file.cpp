// Reading and writing a large ILDA file: 2,000 frames of 3,000 points (about 46 MB); and reading the
// largest file the reader takes (512 frames of 65,535 points, 268 MB). Goal for the largest: read
// in under 1 s within 300 MB. The peak is the process's, so run that case alone:
//   bench_ilda_file --benchmark_filter=BM_ReadMaximalIldaFile
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdio>

#include "bench/patterned_ilda.h"
#include "engine/ilda_file.h"
#include "platform/file_io.h"

using namespace kavri;

namespace {

constexpr int kFrames = 2000;
constexpr int kPoints = 3000;

TILDAimage MakeImage() { return kavri_bench::PatternedIldaImage(kFrames, kPoints); }

struct BenchFile {
  QTemporaryDir dir;
  std::string path = dir.path().toStdString() + "/large.ild";
  size_t size = 0;
  BenchFile() {
    std::vector<uint8_t> bytes = EncodeIldaImage(MakeImage());
    size = bytes.size();
    if (!ReplaceFileAtomically(path, bytes)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  }
};

BenchFile& File() {
  static BenchFile file;
  return file;
}

// File to TILDAimage: reading the file and decoding every section.
void BM_ReadIldaFile(benchmark::State& state) {
  BenchFile& file = File();
  TILDAimage image;
  for (auto _ : state) {
    ReadIldaFile(file.path, image);
    benchmark::DoNotOptimize(image.frames.data());
  }
  if (image.frames.size() != kFrames) state.SkipWithError("wrong frame count");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size));
}
BENCHMARK(BM_ReadIldaFile)->Unit(benchmark::kMillisecond)->UseRealTime();

// Decoding alone, from memory.
void BM_DecodeIldaImage(benchmark::State& state) {
  BenchFile& file = File();
  std::optional<Bytes> bytes = ReadWholeFile(file.path, file.size);
  TILDAimage image;
  for (auto _ : state) {
    DecodeIldaImage(bytes->data(), bytes->size(), image);
    benchmark::DoNotOptimize(image.frames.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes->size()));
}
BENCHMARK(BM_DecodeIldaImage)->Unit(benchmark::kMillisecond)->UseRealTime();

// TILDAimage to file: encoding and the atomic replace.
void BM_WriteIldaFile(benchmark::State& state) {
  BenchFile& file = File();
  const TILDAimage image = MakeImage();
  const std::string out = file.path + ".out";
  for (auto _ : state) {
    if (!WriteIldaFile(out, image)) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size));
}
BENCHMARK(BM_WriteIldaFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadMaximalIldaFile(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/maximal.ild";
  if (!kavri_bench::WritePatternedIldaFile(path, kavri_bench::kMaximalFrames, kavri_bench::kMaximalPoints))
    state.SkipWithError("cannot write the file");
  size_t frames = 0;
  for (auto _ : state) {
    TILDAimage image;
    ReadIldaFile(path, image);
    frames = image.frames.size();
    state.PauseTiming();
    image.Clear();
    state.ResumeTiming();
  }
  if (frames != static_cast<size_t>(kavri_bench::kMaximalFrames)) state.SkipWithError("wrong frame count");
  state.counters["peak_rss_MB"] = kavri_bench::PeakMegabytes();
}
BENCHMARK(BM_ReadMaximalIldaFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
