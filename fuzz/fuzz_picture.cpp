// Pictures for the editor's background: any bytes give either an image or an error, never both.
#include <QImage>

#include "fuzz/fuzz_support.h"
#include "platform/picture_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QImage image;
  std::string error;
  const bool ok = kavri::DecodePicture(data, size, &image, &error);
  KAVRI_FUZZ_CHECK(ok == !image.isNull());
  KAVRI_FUZZ_CHECK(ok || !error.empty());
  return 0;
}
