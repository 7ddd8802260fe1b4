#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/device_packets.h"
#include "engine/play_threads.h"
#include "quickplay/quick_play_state.h"
#include "tests/engine/usb_output_fixture.h"
#include "tests/support/stop_watchdog.h"

namespace kavri_test {

// The quick-play state at its opening values, simulated interfaces with "ezusb-0" as the master.
class QuickPlayFixture : public SimulatedInterfaces {
 protected:
  void SetUp() override {
    SimulatedInterfaces::SetUp();
    kavri::ResetQuickPlayState();
    kavri::SetCurrentDeviceName("ezusb-0");
  }
  void TearDown() override {
    EXPECT_FALSE(watchdog_.Fired()) << "a play loop was still waiting after " << watchdog_.Seconds() << " s";
    kavri::StopFlag = true;
    EXPECT_EQ(kavri::PlayController().StopAndWait(), kavri::TStopResult::Stopped);
    kavri::RegisterPlayLoop(kavri::kPlayJobDrawing, nullptr);
    kavri::RegisterPlayLoop(kavri::kPlayJobIlda, nullptr);
    kavri::ResetQuickPlayState();
    SimulatedInterfaces::TearDown();
  }
  // The frames the master received since the last call (settings packets left out).
  std::vector<std::vector<kavri::TDevicePoint>> Frames() {
    std::vector<std::vector<kavri::TDevicePoint>> frames;
    for (const auto& p : sim->Packets()) {
      // Settings (2 bytes) and colour gain (4 bytes) packets are not frames.
      if (p.kind != kavri::TSimPacket::Bulk || p.device != "ezusb-0" ||
          p.bytes.size() % sizeof(kavri::TDevicePoint) != 0)
        continue;
      frames.emplace_back(p.bytes.size() / sizeof(kavri::TDevicePoint));
      std::memcpy(frames.back().data(), p.bytes.data(), frames.back().size() * sizeof(kavri::TDevicePoint));
    }
    sim->ClearPackets();
    return frames;
  }

 private:
  StopWatchdog watchdog_;
};

// A picture of one point list.
inline kavri::TPlayDrawingPtr Picture(const std::vector<kavri::PointRecord>& points) {
  kavri::Drawing d;
  auto* object = d.AddObject();
  for (const auto& p : points) object->Add(p);
  return std::make_shared<const kavri::TPlayDrawing>(kavri::TPlayDrawing::FromDrawing(d));
}

// ILDA frames as the ILDA prepare step leaves them (0..255, y up).
inline kavri::TIldaPlayFramesPtr PreparedFrames(const std::vector<std::vector<kavri::PointRecord>>& frames) {
  auto prepared = std::make_shared<kavri::TIldaPlayFrames>();
  for (const auto& points : frames) prepared->Add(points);
  return prepared;
}

}  // namespace kavri_test
