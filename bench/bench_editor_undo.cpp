// One undo snapshot and one restore of a 100,000-point drawing. Goal: each under 2 ms, and a
// snapshot of at most 16 bytes a point. And the history of many edits of a million-point drawing:
// what it holds must stay within the history's byte budget.
#include <benchmark/benchmark.h>

#include "editor/undo_history.h"

using namespace kavri;

namespace {

Drawing LargeDrawing() {
  Drawing drawing;
  for (int o = 0; o < 1000; ++o) {
    DrawingObject* object = drawing.AddObject();
    for (int i = 0; i < 100; ++i)
      object->Add(PointRecord{(o * 7 + i) % 511, (o * 13 + i * 3) % 511, i == 0 ? 2 : 0,
                              static_cast<uint8_t>(o % 200), 0, static_cast<uint8_t>(i == 0)});
  }
  return drawing;
}

void BM_Snapshot(benchmark::State& state) {
  const Drawing drawing = LargeDrawing();
  size_t bytes = 0;
  for (auto _ : state) {
    DrawingSnapshot s = DrawingSnapshot::Of(drawing);
    bytes = s.MemoryBytes();
    benchmark::DoNotOptimize(s);
  }
  state.counters["bytes_per_point"] = static_cast<double>(bytes) / drawing.PointCount();
}
BENCHMARK(BM_Snapshot)->Unit(benchmark::kMillisecond);

// The usual undo: the drawing already holds about as many objects and points.
void BM_RestoreOverSimilarDrawing(benchmark::State& state) {
  Drawing drawing = LargeDrawing();
  const DrawingSnapshot s = DrawingSnapshot::Of(drawing);
  for (auto _ : state) {
    s.RestoreInto(drawing);
    benchmark::DoNotOptimize(drawing);
  }
}
BENCHMARK(BM_RestoreOverSimilarDrawing)->Unit(benchmark::kMillisecond);

// The worst case: every object and point is built anew and the old ones freed.
void BM_RestoreIntoEmptyDrawing(benchmark::State& state) {
  const DrawingSnapshot s = DrawingSnapshot::Of(LargeDrawing());
  for (auto _ : state) {
    Drawing drawing;
    s.RestoreInto(drawing);
    benchmark::DoNotOptimize(drawing);
  }
}
BENCHMARK(BM_RestoreIntoEmptyDrawing)->Unit(benchmark::kMillisecond);

// Edits of a drawing of a million points, each recorded as an undo step: the bytes the history
// holds afterwards and the steps it keeps.
void BM_HistoryOfMillionPointEdits(benchmark::State& state) {
  Drawing drawing;
  for (int o = 0; o < 10000; ++o) {
    DrawingObject* object = drawing.AddObject();
    for (int i = 0; i < 100; ++i)
      object->Add(PointRecord{(o + i) % 511, (o * 3 + i) % 511, i == 0 ? 2 : 0, 4, 0, static_cast<uint8_t>(i == 0)});
  }
  const int edits = static_cast<int>(state.range(0));
  size_t held = 0;
  size_t steps = 0;
  for (auto _ : state) {
    UndoHistory history;
    for (int e = 0; e < edits; ++e) {
      drawing[0][0].x = e % 511;
      history.Push(drawing);
    }
    held = 0;
    for (size_t n = 0; n < history.Count(); ++n) held += history.At(n).MemoryBytes();
    steps = history.Count();
  }
  state.counters["history_MB"] = static_cast<double>(held) / (1 << 20);
  state.counters["steps_kept"] = static_cast<double>(steps);
}
BENCHMARK(BM_HistoryOfMillionPointEdits)->Arg(40)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
BENCHMARK_MAIN();
