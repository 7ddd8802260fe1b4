// One full frame (8192 points) through the per-point transforms and colour look-ups of the
// output stage, and the edge intersections of a frame's lines.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/colour_modes.h"
#include "engine/transforms.h"

namespace {

constexpr int kFramePoints = 8192;

struct TPoint {
  double x, y;
  uint8_t colour;
};

std::vector<TPoint> MakeFrame() {
  std::vector<TPoint> frame(kFramePoints);
  for (int i = 0; i < kFramePoints; ++i) frame[i] = {double(i * 37 % 256), double(i * 101 % 256), uint8_t(i % 256)};
  return frame;
}

void BM_FrameTransformsAndColours(benchmark::State& state) {
  const std::vector<TPoint> frame = MakeFrame();
  kavri::TFrameColouring colouring;
  for (auto _ : state) {
    colouring.StartFrame(kavri::ColourModeRnd3, 17);
    uint32_t sum = 0;
    for (const TPoint& p : frame) {
      double x = 255 - p.x, y = 255 - p.y;
      kavri::SpreadX(20, x);
      kavri::RotatePoint(30, x, y);
      const int sx = kavri::ScaleX(static_cast<int>(x) - 3, 18);
      const int sy = kavri::ScaleY(static_cast<int>(y) + 5, 22);
      sum += static_cast<uint32_t>(sx + sy) + colouring.PictureColour(p.colour);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kFramePoints);
}
BENCHMARK(BM_FrameTransformsAndColours);

void BM_EdgeClips(benchmark::State& state) {
  const std::vector<TPoint> frame = MakeFrame();
  for (auto _ : state) {
    int sum = 0;
    for (int i = 1; i < kFramePoints; ++i) {
      int x, y;
      const int x0 = int(frame[i - 1].x) - 64, y0 = int(frame[i - 1].y) - 64;
      const int x1 = int(frame[i].x) + 64, y1 = int(frame[i].y) + 64;
      kavri::ClipToLeftEdge(x0, y0, x1, y1, x, y);
      sum += x + y;
      kavri::ClipToBottomEdge(x0, y0, x1, y1, x, y);
      sum += x + y;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * (kFramePoints - 1));
}
BENCHMARK(BM_EdgeClips);

}  // namespace

BENCHMARK_MAIN();
