#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <utility>

#include "platform/usb/usb_sim_driver.h"

namespace kavri_test {

// A simulated interface whose frame writes take clock time, so a single-threaded test sees the
// clock move as a play loop writes: after every `framesPerTick`-th frame it takes (a write of whole
// device points), it calls `tick` `ticksPerFrame` times. Settings and gain packets take no time.
class TickingInterface : public kavri::TSimUsbDriver {
 public:
  TickingInterface(const std::string& devices, std::function<void()> tick)
      : TSimUsbDriver(devices), tick_(std::move(tick)) {
    SetRecordLimit(1 << 20);
  }
  bool BulkWrite(int n, uint32_t pipe, const uint8_t* data, size_t length, kavri::TUsbStop stop) override {
    const bool ok = TSimUsbDriver::BulkWrite(n, pipe, data, length, stop);
    const bool frame = length > 0 && length % 8 == 0;
    if (frame && ticking && ++frames_ % framesPerTick == 0)
      for (int i = 0; i < ticksPerFrame; ++i) tick_();
    if (frame && onFrame) onFrame();
    return ok;
  }
  std::atomic<bool> ticking{true};
  int ticksPerFrame = 1;
  int framesPerTick = 1;
  std::function<void()> onFrame;  // after each frame and its ticks

 private:
  std::function<void()> tick_;
  int frames_ = 0;
};

}  // namespace kavri_test
