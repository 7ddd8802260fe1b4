#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/colour_modes.h"
#include "engine/drawing.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/tcolor.h"
#include "platform/usb/usb_sim_driver.h"
#include "shows/show_clock.h"
#include "shows/show_track_state.h"
#include "tests/engine/ticking_interface.h"
#include "tests/support/stop_watchdog.h"

namespace kavri_test {

using Bytes = std::vector<uint8_t>;

// Simulated interface 0, raising show clock events as it takes frames while `ticking` (one after
// every frame unless told otherwise), so a single-threaded test sees the clock move as the tracks play.
class ClockedInterface : public TickingInterface {
 public:
  explicit ClockedInterface(kavri::TShowClock& clock) : TickingInterface("0", [&clock] { clock.Tick(); }) {
    ticking = false;
  }
};

class ShowTracks : public ::testing::Test {
 protected:
  void SetUp() override {
    kavri::ResetSharedState();
    kavri::ResetShowTrackState();
    kavri::SetActiveUsbDriver(sim);
    kavri::SetCurrentDeviceName("ezusb-0");
  }
  void TearDown() override {
    EXPECT_FALSE(watchdog.Fired()) << "a play loop was still waiting after " << watchdog.Seconds() << " s";
    EXPECT_EQ(kavri::PlayController().StopAndWait(), kavri::TStopResult::Stopped);
    kavri::SetActiveUsbDriver(nullptr);
    kavri::ResetShowTrackState();
    kavri::ResetSharedState();
  }
  // The bulk writes since the last call, oldest first.
  std::vector<Bytes> Writes() {
    std::vector<Bytes> out;
    for (const auto& p : sim->Packets()) out.push_back(p.bytes);
    sim->ClearPackets();
    return out;
  }
  // A track starts on a still clock, as StartShowTracks leaves it.
  static void ClearTicks() {
    for (auto& t : kavri::ShowClockTicks) t.Clear();
  }
  kavri::TSequenceRecord& AddRow(int track, const std::string& name, int32_t time) {
    show.Track(track - 1).push_back(std::make_unique<kavri::TSequenceRecord>());
    kavri::TSequenceRecord& row = *show.Track(track - 1).back();
    row.name = name;
    row.time = time;
    return row;
  }

  kavri::TShowClock clock;
  std::shared_ptr<ClockedInterface> sim = std::make_shared<ClockedInterface>(clock);
  kavri_test::StopWatchdog watchdog;
  kavri::TSequence show;
};

inline kavri::TPlayDrawingPtr MakeDrawing(const std::vector<kavri::PointRecord>& points) {
  kavri::Drawing d;
  if (!points.empty()) {
    auto* object = d.AddObject();
    for (const auto& p : points) object->Add(p);
  }
  const auto bytes = kavri::EncodeDrawing(d, 1);
  return std::make_shared<kavri::TPlayDrawing>(kavri::TPlayDrawing::Decode(bytes.data(), bytes.size()));
}

inline std::shared_ptr<kavri::TILDAimage> MakeImage(const std::vector<std::vector<kavri::PointRecord>>& frames) {
  auto image = std::make_shared<kavri::TILDAimage>();
  for (const auto& points : frames) {
    image->frames.push_back(std::make_unique<kavri::TILDAframe>());
    image->frames.back()->points = points;
  }
  return image;
}

// A segment of one item: its letters as set by `set`, zoom 1:1, playing `drawing`.
inline std::shared_ptr<kavri::TSectionList> OneItem(kavri::TPlayDrawingPtr drawing,
                                                     const std::function<void(kavri::TSectionRecord&)>& set) {
  auto rows = std::make_shared<kavri::TSectionList>();
  rows->push_back(std::make_unique<kavri::TSectionRecord>());
  rows->back()->L = 20;
  rows->back()->K = kavri::ColourModeAuto;
  rows->back()->drawing = std::move(drawing);
  set(*rows->back());
  return rows;
}

// A device point's bytes, and the colour bytes of a palette colour.
inline Bytes ColourBytes(kavri::TColor c) { return {kavri::GetRValue(c), kavri::GetGValue(c), kavri::GetBValue(c)}; }
inline Bytes PointBytes(int x, int y, kavri::TColor c, int flags) {
  return {static_cast<uint8_t>(x), 0, static_cast<uint8_t>(y), 0, kavri::GetRValue(c), kavri::GetGValue(c), kavri::GetBValue(c),
          static_cast<uint8_t>(flags)};
}

}  // namespace kavri_test
