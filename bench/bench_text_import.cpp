// Text import of 200 characters, as the auto preview runs it on every key press (goal: well under
// 50 ms). The font is opened once, as the window keeps it; outlines are then read from its cache.
// And a paste of many short lines into the window's text, as its auto preview takes it: what it
// builds must stay bounded however long the paste.
#include <benchmark/benchmark.h>

#include <QImage>

#include "bench/qt_bench_main.h"
#include "editor/editor_window.h"
#include "editor/import_text_window.h"
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

void BM_PasteOfShortLines(benchmark::State& state) {
  auto glyphs = kavri::OpenFontGlyphSource({"DejaVu Sans", 10, false, false});
  if (!glyphs) {
    state.SkipWithError("DejaVu Sans is not installed");
    return;
  }
  kavri::TForm1 editor;
  editor.FormCreate(kavri::TSettingsLines(44));
  kavri::TForm6 form(&editor);
  form.SetGlyphSource(std::move(glyphs));
  form.TrackBar1->SetPosition(0);  // fine 0: every point of every glyph is kept
  QString text;
  for (int64_t i = 0; i < state.range(0); ++i) text += "ab\n";
  for (auto _ : state) {
    form.skinMemo1->setPlainText(text);  // the auto preview builds
    benchmark::DoNotOptimize(form.Outlines().PointCount());
  }
  state.counters["points"] = static_cast<double>(form.Outlines().PointCount());
}
BENCHMARK(BM_PasteOfShortLines)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
