// Reading and writing a large ILDA file: 2,000 frames of 3,000 points (about 46 MB).
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

}  // namespace

BENCHMARK_MAIN();
