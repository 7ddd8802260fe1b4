#pragma once
// Frames whose every point says which writer sent it and which of its frames it belongs to, so
// a receiver can tell whether frames of concurrent writers arrived whole.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "engine/device_packets.h"

namespace kavri_test {

// Point i of frame f of writer w: x = w, y = f, red = i (low byte).
inline void FillPatternedFrame(kavri::TFrameBuffer& frame, uint8_t writer, int frameNumber, size_t points) {
  frame.Clear();
  kavri::TDevicePoint p;
  p.x = writer;
  p.y = static_cast<uint8_t>(frameNumber);
  for (size_t i = 0; i < points; ++i) {
    p.red = static_cast<uint8_t>(i);
    frame.Append(p);
  }
}

// Writers 1..3 on their own threads, each sending `frames` patterned frames of
// pointsOf(writer) points through SendToAllOutputs; returns when all have finished.
inline void SendPatternedFramesFromThreeThreads(int frames, const std::function<size_t(uint8_t)>& pointsOf) {
  std::vector<std::thread> writers;
  for (uint8_t writer = 1; writer <= 3; ++writer)
    writers.emplace_back([=] {
      kavri::TFrameBuffer frame;
      for (int f = 0; f < frames; ++f) {
        FillPatternedFrame(frame, writer, f, pointsOf(writer));
        kavri::SendToAllOutputs(frame.Bytes(), frame.ByteCount());
      }
    });
  for (auto& t : writers) t.join();
}

}  // namespace kavri_test
