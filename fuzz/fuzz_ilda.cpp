// ILDA files: any bytes decode without reading past them; what was read writes and reads back
// with the same positions, colours and blanking.
#include "engine/ilda_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kavri::TILDAimage image;
  kavri::DecodeIldaImage(data, size, image);
  kavri::IldaTotalFrames(data, size);
  const std::vector<uint8_t> bytes = kavri::EncodeIldaImage(image);
  kavri::TILDAimage again;
  KAVRI_FUZZ_CHECK(kavri::DecodeIldaImage(bytes.data(), bytes.size(), again) == kavri::TIldaReadResult::Ok);
  KAVRI_FUZZ_CHECK(again.frames.size() == image.frames.size());
  KAVRI_FUZZ_CHECK(kavri::IldaTotalFrames(bytes.data(), bytes.size()) == static_cast<int>(image.frames.size()));
  for (size_t f = 0; f < image.frames.size(); ++f) {
    const auto& want = image.frames[f]->points;
    const auto& got = again.frames[f]->points;
    KAVRI_FUZZ_CHECK(got.size() == (want.empty() ? 1 : want.size()));
    for (size_t i = 0; i < want.size(); ++i) {
      KAVRI_FUZZ_CHECK(got[i].x == want[i].x && got[i].y == want[i].y);
      KAVRI_FUZZ_CHECK(got[i].colour == want[i].colour && got[i].blanked == want[i].blanked);
    }
  }
  kavri::Drawing drawing;
  if (!image.frames.empty()) kavri::IldaFrameToDrawing(drawing, *image.frames[0]);
  return 0;
}
