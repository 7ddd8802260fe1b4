// Points per second through one pass of the play kernel with every effect on: zoom, rotation,
// both squashes, scrolls and spreads, a fixed rotation, the locate angle, offsets, output sizes,
// a cycling colour mode, gains, and an effect step at every point. Goal: at least 10 million a
// second on one core, so three show tracks and a preview stay far under a core at any interface's
// rate.
#include <benchmark/benchmark.h>

#include <span>
#include <vector>

#include "engine/play_kernel.h"
#include "engine/shared_state.h"

namespace {

struct Lists {
  std::vector<std::vector<kavri::PointRecord>> lists;
  size_t ObjectCount() const { return lists.size(); }
  std::span<const kavri::PointRecord> Object(size_t i) const { return lists[i]; }
};

struct AllEffects {
  kavri::TEffectParams params;
  bool BeforeList() { return true; }
  bool BeforePoint() { return true; }
  const kavri::TEffectParams& Params() { return params; }
  int32_t ColourSpeed() { return params.N; }
  int32_t ColourMode() { return kavri::ColourModeRnd1; }
  bool Paused() { return false; }
  void EffectStepped(const kavri::TEffectValues&) {}
};

void BM_PlayKernelEveryEffect(benchmark::State& state) {
  kavri::ResetSharedState();
  kavri::LocateAngle = 33;
  kavri::HOffset = 7;
  kavri::HSize = 27;
  kavri::RedSaturation = 150;
  Lists lists;
  for (int o = 0; o < 40; ++o) {
    lists.lists.emplace_back();
    for (int i = 0; i < 200; ++i)
      lists.lists.back().push_back({(o * 37 + i * 13) % 256, (o * 11 + i * 29) % 256, i == 0 ? 2 : 1,
                                    static_cast<uint8_t>(i * 7), 0, static_cast<uint8_t>(i == 0)});
  }
  AllEffects hooks;
  auto& p = hooks.params;
  p.B = 100;
  p.C = 3;
  p.E = 5;
  p.F = 7;
  p.G = 9;
  p.H = 11;
  p.I = 13;
  p.J = 15;
  p.L = 25;
  p.M = 45;
  p.N = 30;
  p.Q = 3;
  p.R = -4;
  kavri::TEffectStepper stepper(kavri::TEffectWrap::Modulo510);
  kavri::TEffectValues values;
  kavri::TFrameBuffer frame;
  const kavri::TPassPolicy policy{kavri::TStartMap::Mirrored, kavri::TColourRule::Picture,
                                  kavri::TSlowDrawCut::AtListBoundary};
  const kavri::TOutputSettings settings = kavri::TOutputSettings::Live();
  for (auto _ : state) {
    kavri::WalkPass(lists, policy, settings, 8000, stepper, values, frame, hooks);
    benchmark::DoNotOptimize(frame.Bytes());
  }
  state.SetItemsProcessed(state.iterations() * 8000);
}
BENCHMARK(BM_PlayKernelEveryEffect);

}  // namespace

BENCHMARK_MAIN();
