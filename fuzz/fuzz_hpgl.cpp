// Plotter files: any text parses or stops with a conversion error; a parsed picture fits the
// canvas (a 512-pixel box, y flipped about 510) and every object starts with a blanked point.
#include "engine/hpgl_import.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the thinning distance and the size.
  const kavri::THpglSettings settings{data[0] % 41, data[1] % 21, 4};
  const kavri::TextLines lines = kavri::SplitTextLines(kavri_fuzz::AsText(data + 2, size - 2));
  const kavri::THpglImport result = kavri::ImportPlt(lines, settings);
  if (!result.ok) {
    KAVRI_FUZZ_CHECK(!result.error.empty());
    return 0;
  }
  for (const auto& object : result.objects.Objects()) {
    KAVRI_FUZZ_CHECK(!object->Empty());
    KAVRI_FUZZ_CHECK((*object)[0].blanked == 1);
    for (const auto& p : object->Points()) {
      KAVRI_FUZZ_CHECK(p->x >= 0 && p->x <= 1024);
      KAVRI_FUZZ_CHECK(p->y <= 510 && p->y >= 510 - 1024);
    }
  }
  return 0;
}
