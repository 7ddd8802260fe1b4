// Drawing files: any bytes decode; writing the picture and decoding it again gives the same picture.
#include "engine/drawing.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kavri::Drawing drawing;
  kavri::DecodeDrawing(data, size, drawing, 1);
  KAVRI_FUZZ_CHECK(drawing.PointCount() == size / 5);
  const std::vector<uint8_t> image = kavri::EncodeDrawing(drawing, 1);
  kavri::Drawing again;
  kavri::DecodeDrawing(image.data(), image.size(), again, 1);
  KAVRI_FUZZ_CHECK(again.Count() == drawing.Count());
  for (size_t o = 0; o < drawing.Count(); ++o) {
    KAVRI_FUZZ_CHECK(again[o].Count() == drawing[o].Count());
    for (size_t i = 0; i < drawing[o].Count(); ++i) KAVRI_FUZZ_CHECK(again[o][i] == drawing[o][i]);
  }
  return 0;
}
