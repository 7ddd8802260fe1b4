// Text import of 200 characters, as the auto preview runs it on every key press (goal: well under
// 50 ms). The font is opened once, as the window keeps it; outlines are then read from its cache.
#include <benchmark/benchmark.h>

#include <QImage>

#include "editor/text_outlines.h"
#include "engine/render.h"
#include "platform/glyph_source.h"

namespace {

void BM_TextImport200Characters(benchmark::State& state) {
  auto glyphs = kavri::OpenFontGlyphSource({"DejaVu Sans", 10, false, false});
  if (!glyphs) {
    state.SkipWithError("DejaVu Sans is not installed");
    return;
  }
  // Ten lines of twenty characters.
  const std::vector<std::u32string> lines(10, U"Laser Show 2026 @kav");
  kavri::TTextImportSettings settings;
  settings.largeSize = true;
  QImage preview(256, 256, QImage::Format_RGB32);
  kavri::TCanvas canvas(preview);
  for (auto _ : state) {
    preview.fill(0);
    kavri::Drawing outlines = kavri::BuildTextOutlines(lines, settings, *glyphs, 4);
    for (const auto& outline : outlines.Objects()) kavri::DrawPointLists(canvas, *outline, 0, 1);
    benchmark::DoNotOptimize(outlines.PointCount());
  }
}
BENCHMARK(BM_TextImport200Characters)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
