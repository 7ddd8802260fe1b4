#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/tcolor.h"
#include "platform/usb/usb_sim_driver.h"
#include "shows/show_clock.h"
#include "shows/show_track_state.h"

namespace kavri_test {

// Simulated interfaces that raise one show clock event after every `every`-th frame they take, so
// a single-threaded test sees the clock move as the tracks play.
class ClockedInterfaces : public kavri::TUsbDriver {
 public:
  ClockedInterfaces(std::shared_ptr<kavri::TSimUsbDriver> sim, kavri::TShowClock& clock) : sim_(sim), clock_(clock) {}
  int every = 0;  // 0: the clock stays still
  std::function<void(int)> onFrame;  // told the number of each frame taken, after its tick
  bool Open(int n) override { return sim_->Open(n); }
  bool ReadDeviceDescriptor(int n, kavri::TUsbDeviceDescriptor& out) override { return sim_->ReadDeviceDescriptor(n, out); }
  bool VendorRequest(int n, const kavri::TVendorRequest& r, kavri::TUsbStop stop) override {
    return sim_->VendorRequest(n, r, stop);
  }
  bool AbortPipe(int n, uint32_t pipe, kavri::TUsbStop stop) override { return sim_->AbortPipe(n, pipe, stop); }
  bool BulkWrite(int n, uint32_t pipe, const uint8_t* data, size_t length, kavri::TUsbStop stop) override {
    const bool ok = sim_->BulkWrite(n, pipe, data, length, stop);
    if (length <= 2) return ok;
    const int taken = ++frames_;
    if (every > 0 && taken % every == 0) clock_.Tick();
    if (onFrame) onFrame(taken);
    return ok;
  }

 private:
  std::shared_ptr<kavri::TSimUsbDriver> sim_;
  kavri::TShowClock& clock_;
  std::atomic<int> frames_{0};  // three tracks write at once
};

// A show of loaded content on interface 0, the shared state at its start values.
class ShowTracks : public ::testing::Test {
 protected:
  void SetUp() override {
    kavri::ResetSharedState();
    kavri::ResetShowTrackState();
    sim = std::make_shared<kavri::TSimUsbDriver>("0");
    sim->SetRecordLimit(1 << 20);
    clocked = std::make_shared<ClockedInterfaces>(sim, clock);
    kavri::SetActiveUsbDriver(clocked);
    kavri::SetCurrentDeviceName("ezusb-0");
  }
  void TearDown() override {
    EXPECT_EQ(kavri::PlayController().StopAndWait(), kavri::TStopResult::Stopped);
    for (uint8_t t = 1; t <= 3; ++t) kavri::RegisterTrackLoop(t, nullptr);
    kavri::SetActiveUsbDriver(nullptr);
    kavri::ResetShowTrackState();
    kavri::ResetSharedState();
  }

  // A new player in the same test starts on a still clock, as StartShowTracks leaves it.
  void ClearTicks() {
    for (auto& t : kavri::ShowClockTicks) {
      t.row.Clear();
      t.frame.Clear();
    }
  }
  // The bulk writes since the last call, oldest first.
  std::vector<std::vector<uint8_t>> Writes() {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& p : sim->Packets())
      if (p.kind == kavri::TSimPacket::Bulk) out.push_back(p.bytes);
    sim->ClearPackets();
    return out;
  }

  kavri::TShowClock clock;
  std::shared_ptr<kavri::TSimUsbDriver> sim;
  std::shared_ptr<ClockedInterfaces> clocked;
  kavri::TSequence show;
};

// Content for show rows.
kavri::TPlayDrawingPtr MakeDrawing(const std::vector<kavri::PointRecord>& points);
std::shared_ptr<kavri::TILDAimage> MakeImage(const std::vector<std::vector<kavri::PointRecord>>& frames);
kavri::TSequenceRecord& AddRow(kavri::TSequence& show, int track, const std::string& name, int32_t time);

// The device bytes of one point.
std::vector<uint8_t> PointBytes(int x, int y, kavri::TColor colour, int flags);

}  // namespace kavri_test
