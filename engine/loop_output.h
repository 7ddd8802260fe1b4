#pragma once
// What every effect loop does around its passes: the change test that marks the preview, the
// settings packet at start and whenever the scan or blanking delay changes, and the frame write to
// the master and the extra interfaces.
#include <cstdint>
#include <optional>

#include "engine/device_packets.h"

namespace kavri {

class TLoopOutput {
 public:
  // `fixedScanByte`: the packet's second byte when the loop sends a fixed one instead of ScanDelay.
  explicit TLoopOutput(std::optional<uint8_t> fixedScanByte = std::nullopt)
      : packet_(fixedScanByte ? TSettingsPacketSender(*fixedScanByte) : TSettingsPacketSender()) {}

  // Loop start: the change-test copies take the live values, the preview is clean, the packet goes out.
  void Start();
  // Before each pass: the change test, and the packet again when its values changed.
  void BeforePass();
  // One frame as one transfer to every output; an empty frame is not sent (the loop pauses briefly).
  void SendFrame(const TFrameBuffer& frame);

 private:
  TSettingsPacketSender packet_;
};

}  // namespace kavri
