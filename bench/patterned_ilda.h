#pragma once
// An ILDA image with a reproducible pattern of coordinates, colours and blanking, for the
// benchmarks that read, write and convert large ILDA files.
#include <sys/resource.h>

#include <fstream>
#include <memory>
#include <string>

#include "engine/ilda_file.h"

namespace kavri_bench {

inline std::unique_ptr<kavri::TILDAframe> PatternedIldaFrame(int f, int points) {
  auto frame = std::make_unique<kavri::TILDAframe>();
  frame->points.resize(static_cast<size_t>(points));
  for (int i = 0; i < points; ++i) {
    kavri::PointRecord& p = frame->points[static_cast<size_t>(i)];
    p.x = (i * 7 + f) % 256 - 128;
    p.y = (i * 13 + 3 * f) % 256 - 128;
    p.colour = static_cast<uint8_t>(i % 64);
    p.blanked = i % 17 == 0;
  }
  return frame;
}

inline kavri::TILDAimage PatternedIldaImage(int frames, int points) {
  kavri::TILDAimage image;
  for (int f = 0; f < frames; ++f) image.frames.push_back(PatternedIldaFrame(f, points));
  return image;
}

// The same image written a frame at a time, so that making even the largest file the reader takes
// costs one frame's memory and leaves a process's peak to what is measured after it.
inline bool WritePatternedIldaFile(const std::string& path, int frames, int points) {
  constexpr size_t kClosingHeader = 32;
  std::ofstream out(path, std::ios::binary);
  for (int f = 0; f < frames; ++f) {
    kavri::TILDAimage one;
    one.frames.push_back(PatternedIldaFrame(f, points));
    const std::vector<uint8_t> bytes = kavri::EncodeIldaImage(one);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size() - kClosingHeader));
  }
  const std::vector<uint8_t> end = kavri::EncodeIldaImage(kavri::TILDAimage{});
  out.write(reinterpret_cast<const char*>(end.data()), static_cast<std::streamsize>(end.size()));
  return static_cast<bool>(out);
}

// The largest image the reader takes in frames of the most points a frame holds.
constexpr int kMaximalFrames = static_cast<int>(kavri::kIldaMaxRecords / kavri::kIldaMaxFramePoints);
constexpr int kMaximalPoints = static_cast<int>(kavri::kIldaMaxFramePoints);

inline double PeakMegabytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace kavri_bench
