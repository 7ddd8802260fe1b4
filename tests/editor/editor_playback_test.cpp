#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <thread>

#include "editor/editor_playback.h"
#include "editor/editor_window.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;

class EditorPlaybackThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    sim = std::make_shared<TSimUsbDriver>("0,1,4");
    SetActiveUsbDriver(sim);
    SetCurrentDeviceName("ezusb-0");
  }
  void TearDown() override {
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    SetActiveUsbDriver(nullptr);
    ResetSharedState();
  }
  // Waits (pumping events) until the interfaces took at least `count` requests.
  bool WaitForPackets(size_t count) {
    for (int i = 0; i < 5000 && sim->Packets().size() < count; ++i) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(1ms);
    }
    return sim->Packets().size() >= count;
  }
  void Line(int x0, int y0, int x1, int y1, uint8_t colour) {
    Drawing d;
    DrawingObject* o = d.AddObject();
    o->Add({x0, y0, 2, colour, 0, 1});
    o->Add({x1, y1, 0, colour, 0, 0});
    form.Document().ReplaceDrawing(std::move(d));
  }
  std::shared_ptr<TSimUsbDriver> sim;
  TForm1 form;
};

TEST_F(EditorPlaybackThreads, PlaysTheDrawingAsTheExactFrameToEveryOutput) {
  sim->SetPointRate([] { return 200.0; });  // slow enough that the first packets stay recorded
  MultiDeviceFlag = true;
  SetSelectedDevices({"Usb-4", "Usb-1"});
  Line(0, 0, 510, 510, 4);
  form.Play();
  EXPECT_EQ(form.Label1->text(), "Start to play drawing...");
  ASSERT_TRUE(WaitForPackets(6));
  const auto packets = sim->Packets();
  const std::vector<uint8_t> settings{100, 75};
  const std::vector<uint8_t> frame{0xFF, 0, 0xFF, 0, 0, 0xFF, 0, 3, 0, 0, 0, 0, 0, 0xFF, 0, 0};
  const char* order[] = {"ezusb-0", "ezusb-4", "ezusb-1"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(packets[i].device, order[i % 3]) << i;
    EXPECT_EQ(packets[i].bytes, i < 3 ? settings : frame) << i;
  }
  form.Stop();
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  for (int i = 0; i < 100 && form.Label1->text() != "End to play drawing..."; ++i) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(form.Label1->text(), "End to play drawing...");
}

TEST_F(EditorPlaybackThreads, ADelayChangeSendsOnePacketAndAnInvertFlipsTheNextFrame) {
  sim->SetPointRate([] { return 2000.0; });
  Line(0, 0, 510, 510, 4);
  form.Play();
  ASSERT_TRUE(WaitForPackets(3));
  sim->ClearPackets();
  BlankingDelay = 42;
  form.ToolButton9->Click();  // H invert
  EXPECT_TRUE(HInvertFlag);
  ASSERT_TRUE(WaitForPackets(40));
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  int settingsPackets = 0;
  for (const auto& p : sim->Packets()) {
    if (p.bytes.size() == 2) {
      ++settingsPackets;
      EXPECT_EQ(p.bytes, (std::vector<uint8_t>{42, 75}));
    }
  }
  EXPECT_EQ(settingsPackets, 1);
  const auto last = sim->Packets().back();
  ASSERT_EQ(last.bytes.size(), 16u);
  EXPECT_EQ(last.bytes[0], 0x00);  // x flipped
  EXPECT_EQ(last.bytes[2], 0xFF);
}

TEST_F(EditorPlaybackThreads, AnEmptyDrawingSendsNothingAndLongFramesAreCut) {
  form.Play();
  std::this_thread::sleep_for(20ms);
  EXPECT_TRUE(sim->Packets().empty());
  EXPECT_FALSE(PlayController().AnyWorkerRunning());

  Drawing big;
  DrawingObject* o = big.AddObject();
  for (int i = 0; i < 9000; ++i) o->Add({i % 511, 7, 0, 4, 0, 0});
  form.Document().ReplaceDrawing(std::move(big));
  form.Play();
  ASSERT_TRUE(WaitForPackets(2));
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
  EXPECT_EQ(sim->Packets()[1].bytes.size(), 8192u * 8);
}

TEST(EditorPlayList, HalvesClampsAndBlanksAsZeroOrOne) {
  Drawing d;
  DrawingObject* o = d.AddObject();
  o->Add({511, -3, 3, 9, 1, 5});
  o->Add({-1, 520, 0, 2, 0, 0});
  const Drawing list = MakeEditorPlayList(d);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list[0][0], (PointRecord{255, 0, 3, 9, 0, 1}));
  EXPECT_EQ(list[0][1], (PointRecord{0, 255, 0, 2, 0, 0}));
}

}  // namespace
}  // namespace kavri
