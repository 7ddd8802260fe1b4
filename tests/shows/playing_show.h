#pragma once
// A show ready to play: one drawing row of time 100 on each track, each track's drawing a short line
// of its own, music in the music folder, a fake media player named in the settings, and a
// simulated interface that takes the frames at a real interface's pace.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include "engine/drawing.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/media_player.h"
#include "platform/usb/usb_sim_driver.h"
#include "shows/show_track_state.h"
#include "tests/engine/content_folder.h"
#include "tests/support/fake_player.h"
#include "tests/support/program_folder_scope.h"

namespace kavri_test {

// Pumps the window thread's events until `done` or the limit.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline bool IsEndText(const std::string& text) { return text == "Show play end." || text == "Show Playing end."; }

class PlayingShow : public ::testing::Test {
 protected:
  void SetUp() override {
    using namespace kavri;
    ResetSharedState();
    ResetShowTrackState();
    ASSERT_TRUE(EnsureContentFolders());
    sim_ = std::make_shared<TSimUsbDriver>("0");
    sim_->SetPointRate([] { return 20000.0; });
    SetActiveUsbDriver(sim_);
    SetCurrentDeviceName("ezusb-0");
    for (int t = 0; t < 3; ++t) {
      Drawing d;
      DrawingObject* line = d.AddObject();
      line->Add({kTrackX[t], 50, 0, 2, 0, 0});
      line->Add({kTrackX[t], 100, 0, 2, 0, 0});
      ASSERT_TRUE(SaveDrawingFile(folder_.root + "Drawing/track" + std::to_string(t + 1) + ".ddr", d, 1));
    }
    folder_.Write("Music/song one.wav", "music");
    show_ = folder_.Write("Sequence/show.seq",
                          "[Music]\r\nsong one.wav\r\n[Track1]\r\ntrack1.ddr|100\r\n[Track2]\r\ntrack2.ddr|100\r\n"
                          "[Track3]\r\ntrack3.ddr|100\r\n");
    mkdir(player_.Path("bin").c_str(), 0755);
    fake_ = std::make_unique<FakePlayer>(player_.Path("bin"));
    SetMediaPlayerPath(fake_->Path());
  }
  void TearDown() override {
    using namespace kavri;
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    RegisterPlayLoop(kPlayJobSegment, nullptr);
    MediaPlayer().End();
    SetActiveUsbDriver(nullptr);
    ResetShowTrackState();
    ResetSharedState();
  }

  // The fake player's record of its latest start, taken away so the next start makes a new one.
  FakePlayerStart PlayerStart() {
    FakePlayerStart start;
    EXPECT_TRUE(fake_->WaitForStart(&start));
    std::remove(player_.Path("bin/started.txt").c_str());
    return start;
  }
  // Which tracks' points reached the interface (the drawing builder mirrors x).
  std::set<int> TracksSent() const {
    std::set<int> tracks;
    for (const kavri::TSimPacket& p : sim_->Packets())
      for (int t = 0; t < 3; ++t)
        if (p.kind == kavri::TSimPacket::Bulk && p.bytes.size() == 16 && p.bytes[0] == 255 - kTrackX[t])
          tracks.insert(t + 1);
    return tracks;
  }
  void ExpectNothingLeft(const FakePlayerStart& player) {
    EXPECT_EQ(kavri::MediaPlayer().Pid(), 0);
    EXPECT_TRUE(ProcessEnds(player.pid));
    EXPECT_TRUE(ProcessEnds(player.childPid));
  }

  static constexpr int kTrackX[3] = {10, 20, 30};
  ContentFolder folder_;
  ProgramFolderScope scope_{folder_.dir.Path()};
  ScratchDir player_;
  std::shared_ptr<kavri::TSimUsbDriver> sim_;
  std::unique_ptr<FakePlayer> fake_;
  std::string show_;
};

}  // namespace kavri_test
