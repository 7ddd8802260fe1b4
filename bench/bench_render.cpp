// Editor redraw of a large drawing: the grid and DrawEditorPoints over 100,000 points on the
// 512 x 512 canvas, as the editor does on every change and every tool preview. Goal: < 20 ms.
#include <benchmark/benchmark.h>

#include "bench/large_drawing.h"
#include "engine/render.h"

using namespace kavri;

namespace {

void BM_DrawEditorPoints(benchmark::State& state) {
  const Drawing drawing = kavri_bench::LargeDrawing();
  QImage image(kEditorCanvasSize, kEditorCanvasSize, QImage::Format_RGB32);
  TCanvas canvas(image);
  const bool markers = state.range(0) != 0;
  for (auto _ : state) {
    DrawEditorGrid(canvas, false, "", 16, 16, 0);
    for (const auto& object : drawing.Objects()) DrawEditorPoints(canvas, *object, true, markers, 245);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["points"] = static_cast<double>(drawing.PointCount());
}
BENCHMARK(BM_DrawEditorPoints)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_DrawEditorGridOnly(benchmark::State& state) {
  QImage image(kEditorCanvasSize, kEditorCanvasSize, QImage::Format_RGB32);
  TCanvas canvas(image);
  for (auto _ : state) {
    DrawEditorGrid(canvas, false, "", 16, 16, 0);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_DrawEditorGridOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
