// Editor redraw of a large drawing: the grid and DrawEditorPoints over 100,000 points on the
// 512 x 512 canvas, as the editor does on every change and every tool preview. Goal: < 20 ms.
#include <benchmark/benchmark.h>

#include <random>

#include "engine/render.h"

using namespace kavri;

namespace {

// 1000 objects of 100 points each: short random strokes the way the drawing tools lay them down
// (a blanked start of kind 2, then points a few pixels apart), spread over the whole canvas.
Drawing LargeDrawing() {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> where(0, 510), stepDist(-8, 8), colour(2, 139);
  Drawing drawing;
  for (int o = 0; o < 1000; ++o) {
    DrawingObject* object = drawing.AddObject();
    int x = where(random), y = where(random);
    const uint8_t c = static_cast<uint8_t>(colour(random));
    for (int i = 0; i < 100; ++i) {
      PointRecord p;
      p.x = x;
      p.y = y;
      p.colour = c;
      p.kind = i == 0 ? 2 : 0;
      p.blanked = i == 0 ? 1 : 0;
      p.state = (o % 50 == 0 && i < 10) ? 1 : 0;
      object->Add(p);
      x = std::clamp(x + stepDist(random), 0, 510);
      y = std::clamp(y + stepDist(random), 0, 510);
    }
  }
  return drawing;
}

void BM_DrawEditorPoints(benchmark::State& state) {
  const Drawing drawing = LargeDrawing();
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
