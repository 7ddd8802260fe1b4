// Points per second through the output stage with every setting in play: rotation, offsets,
// output sizes, a cycling colour mode and colour gains. Goal: at least 5 million a second on one
// core (a USB 2.0 bulk pipe carries no more at 8 bytes a point).
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/colour_modes.h"
#include "engine/output_stage.h"
#include "engine/shared_state.h"

namespace {

kavri::Drawing MakeDrawing(int objects, int pointsPerObject) {
  kavri::Drawing drawing;
  for (int o = 0; o < objects; ++o) {
    auto* object = drawing.AddObject();
    for (int i = 0; i < pointsPerObject; ++i) {
      kavri::PointRecord p;
      p.x = (o * 37 + i * 13) % 256;
      p.y = (o * 11 + i * 29) % 256;
      p.colour = static_cast<uint8_t>((i * 7) % 256);
      p.kind = i == 0 ? 2 : 1;
      p.blanked = i == 0;
      object->Add(p);
    }
  }
  return drawing;
}

void BM_OutputStageFullFrame(benchmark::State& state) {
  kavri::ResetSharedState();
  kavri::LocateAngle = 33;
  kavri::HOffset = 7;
  kavri::VOffset = -12;
  kavri::HSize = 27;
  kavri::VSize = 15;
  kavri::HInvertFlag = true;
  kavri::RedSaturation = 150;
  kavri::GreenSaturation = 80;
  kavri::BlueSaturation = 120;
  kavri::Intensity = 90;
  const kavri::Drawing drawing = MakeDrawing(64, 128);  // 8192 points: one full frame
  auto frame = std::make_unique<kavri::TFrameBuffer>();
  kavri::TFrameColouring colouring;
  int step = 0;
  for (auto _ : state) {
    frame->Clear();
    colouring.StartFrame(kavri::ColourModeRnd3, step);
    step = (step + 1) % kavri::ColourCycleLength;
    kavri::BuildDrawingFrame(drawing, kavri::TOutputSettings::Live(), *frame, &colouring);
    benchmark::DoNotOptimize(frame->Bytes());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(frame->Count()));
}
BENCHMARK(BM_OutputStageFullFrame);

}  // namespace

BENCHMARK_MAIN();
