// Loading segments and shows whose rows name the same large content many times, or many names
// that are not there: each should take well under a second and hold each file once.
//   10,000 segment rows naming one 65,535-point drawing;
//   a show of 3 x 100 rows naming such a segment (and the drawing itself);
//   100,000 segment rows naming drawings that do not exist, in a folder of 2,000 drawings.
// Run with /usr/bin/time -v to see the peak memory of one case (--benchmark_filter).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "engine/show_file.h"

using namespace kavri;

namespace {

constexpr int kBigPoints = 65535;

std::string Rows(const std::string& row, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += row + "\r\n";
  return text;
}

struct BenchFolder {
  QTemporaryDir dir;
  std::string root = dir.path().toStdString() + "/";

  BenchFolder() {
    for (const char* sub : {"Drawing", "Section", "ILDAimage", "Sequence"})
      QDir().mkpath(QString::fromStdString(root + sub));
    std::vector<uint8_t> big;
    for (int i = 0; i < kBigPoints; ++i)
      big.insert(big.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8), 0, 1,
                             static_cast<uint8_t>(i % 100 == 99 ? 0x80 : 0)});
    Put("Drawing/Big.ddr", big);
    for (int i = 0; i < 2000; ++i) Put("Drawing/Other" + std::to_string(i) + ".ddr", std::vector<uint8_t>{1, 2, 0, 1, 0x80});
    const std::string row = "|100|0|0|0|0|0|0|0|0|0|257|20|0|30|0|30000|0|0";
    Put("Section/big.sec", Rows("big.ddr" + row, 10000));
    std::string missing;
    for (int i = 0; i < 100000; ++i) missing += "missing" + std::to_string(i) + ".ddr" + row + "\r\n";
    Put("Section/missing.sec", missing);
    std::string show = "[Music]\r\nsong.mp3\r\n";
    for (int t = 1; t <= 3; ++t) show += "[Track" + std::to_string(t) + "]\r\n" + Rows("big.sec|100\r\nbig.ddr|5", 50);
    Put("Sequence/nested.seq", show);
  }
  void Put(const std::string& name, const std::string& text) { Put(name, std::vector<uint8_t>(text.begin(), text.end())); }
  void Put(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::ofstream out(root + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
  }
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

void BM_SegmentNamingOneBigDrawing(benchmark::State& state) {
  Folder();  // made before the timing starts
  for (auto _ : state) {
    TSectionList rows;
    if (!LoadSectionFile(Folder().root + "Section/big.sec", rows, Folder().root)) state.SkipWithError("refused");
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_SegmentNamingOneBigDrawing)->Unit(benchmark::kMillisecond);

void BM_ShowNestingBigSegments(benchmark::State& state) {
  Folder();  // made before the timing starts
  for (auto _ : state) {
    TSequence show;
    if (!LoadShowFileWithContent(Folder().root + "Sequence/nested.seq", Folder().root, show))
      state.SkipWithError("refused");
    benchmark::DoNotOptimize(show.track1.data());
  }
}
BENCHMARK(BM_ShowNestingBigSegments)->Unit(benchmark::kMillisecond);

void BM_SegmentOfMissingNames(benchmark::State& state) {
  Folder();  // made before the timing starts
  for (auto _ : state) {
    TSectionList rows;
    LoadSectionFile(Folder().root + "Section/missing.sec", rows, Folder().root);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_SegmentOfMissingNames)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
