#pragma once
// An ILDA image with a reproducible pattern of coordinates, colours and blanking, for the
// benchmarks that read, write and convert large ILDA files.
#include <memory>

#include "engine/ilda_file.h"

namespace kavri_bench {

inline kavri::TILDAimage PatternedIldaImage(int frames, int points) {
  kavri::TILDAimage image;
  for (int f = 0; f < frames; ++f) {
    auto frame = std::make_unique<kavri::TILDAframe>();
    frame->points.resize(static_cast<size_t>(points));
    for (int i = 0; i < points; ++i) {
      kavri::PointRecord& p = frame->points[static_cast<size_t>(i)];
      p.x = (i * 7 + f) % 256 - 128;
      p.y = (i * 13 + 3 * f) % 256 - 128;
      p.colour = static_cast<uint8_t>(i % 64);
      p.blanked = i % 17 == 0;
    }
    image.frames.push_back(std::move(frame));
  }
  return image;
}

}  // namespace kavri_bench
