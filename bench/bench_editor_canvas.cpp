// The editor canvas's full redraw of 100,000 points over grid step 1 and a background picture, as
// the editor does after every change. Goal: < 20 ms. The grid layer is cached; the second case
// shows what a change of background colour, grid or picture costs once.
#include <benchmark/benchmark.h>

#include "bench/large_drawing.h"
#include "bench/qt_bench_main.h"
#include "editor/editor_canvas.h"
#include "engine/render.h"

using namespace kavri;

namespace {

QImage BackPicture() {
  QImage picture(kEditorCanvasSize, kEditorCanvasSize, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x / 2, y / 2, 60));
  return picture;
}

void Prepare(TEditorCanvas& canvas) {
  canvas.SetBackColor(0);
  canvas.SetGridSteps(1, 1);
  canvas.SetBackPicture(BackPicture());
}

void BM_EditorCanvasRedraw(benchmark::State& state) {
  Drawing drawing = kavri_bench::LargeDrawing();
  TEditorCanvas canvas;
  Prepare(canvas);
  const bool showPoints = state.range(0) != 0;
  canvas.Redraw(drawing, showPoints, 245);
  for (auto _ : state) benchmark::DoNotOptimize(canvas.Redraw(drawing, showPoints, 245));
  state.counters["points"] = static_cast<double>(drawing.PointCount());
}
BENCHMARK(BM_EditorCanvasRedraw)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_EditorCanvasRedrawWithNewLayer(benchmark::State& state) {
  Drawing drawing = kavri_bench::LargeDrawing();
  TEditorCanvas canvas;
  Prepare(canvas);
  int colour = 0;
  for (auto _ : state) {
    canvas.SetBackColor(colour ^= 1);
    benchmark::DoNotOptimize(canvas.Redraw(drawing, true, 245));
  }
}
BENCHMARK(BM_EditorCanvasRedrawWithNewLayer)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
