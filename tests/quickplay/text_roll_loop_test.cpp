#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/text_roll_loop.h"
#include "quickplay/text_roll_outlines.h"
#include "quickplay/text_roll_state.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;
using TLists = std::vector<std::vector<PointRecord>>;

PointRecord Pt(int x, int y, uint8_t blanked = 0) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.kind = 2;
  p.colour = TextColourIndex;
  p.blanked = blanked;
  return p;
}

// `count` characters (or lines), each one stroke from (x, y) to (x + 10, y).
void SetText(int count, int x = 100, int y = 10) {
  auto text = std::make_shared<TPlayDrawing>();
  for (int i = 0; i < count; ++i) {
    text->BeginObject();
    text->Append(Pt(x, y, 1));
    text->Append(Pt(x + 10, y));
  }
  TextCharOutlines = std::move(text);
}

class TextRollLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    ResetQuickPlayState();
    ResetTextRollState();
    sim = std::make_shared<TSimUsbDriver>("0,1,4");
    SetActiveUsbDriver(sim);
    SetCurrentDeviceName("ezusb-0");
    QuickPlayLargeSize = 1;  // the window's lists as they are, only lowered to the middle
  }
  void TearDown() override {
    StopFlag = true;
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    RegisterPlayLoop(kPlayJobRollText, nullptr);
    RegisterPlayLoop(kPlayJobRollTextVertical, nullptr);
    SetActiveUsbDriver(nullptr);
    ResetTextRollState();
    ResetQuickPlayState();
    ResetSharedState();
  }
  // Bulk writes of `size` bytes (0: frames, any multiple of 8) since the last call.
  std::vector<std::pair<std::string, std::vector<uint8_t>>> Sent(size_t size = 0) {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    for (const auto& p : sim->Packets()) {
      const bool frame = p.bytes.size() % 8 == 0;
      if (p.kind == TSimPacket::Bulk && (size == 0 ? frame : p.bytes.size() == size)) out.emplace_back(p.device, p.bytes);
    }
    return out;
  }
  static int FirstX() { return TextRollFrameSnapshot()->Object(0)[0].x; }
  static int FirstY() { return TextRollFrameSnapshot()->Object(0)[0].y; }
  std::shared_ptr<TSimUsbDriver> sim;
};

TEST_F(TextRollLoop, StayTimeZeroMovesTheTextByRollStepOnEveryPass) {
  SetText(1);
  QuickPlayEffects.StayTime = 0;
  QuickPlayEffects.RollStep = 16;
  TTextRollLoop loop(TTextRollDirection::Horizontal);
  loop.Start();
  sim->ClearPackets();
  std::vector<int> xs;
  for (int pass = 0; pass < 4; ++pass) {
    ASSERT_TRUE(loop.Step());
    xs.push_back(FirstX());
  }
  EXPECT_EQ(xs, (std::vector<int>{100, 84, 68, 52}));  // offsets 0 .. 48, below 256 div 4
  EXPECT_FALSE(loop.Step());                            // no more characters, no Loop
  const auto frames = Sent();
  ASSERT_EQ(frames.size(), 4u);
  // The first pass: device x = 255 - x, and the line lowered by 128 - 128 div 4 to y = 106.
  EXPECT_EQ(frames[0].second, (std::vector<uint8_t>{155, 0, 149, 0, 0, 255, 0, 3, 145, 0, 149, 0, 0, 255, 0, 2}));
  EXPECT_EQ(QuickPlayPointTotal, 2);
}

TEST_F(TextRollLoop, APositionIsHeldForStayTimeTicksAndPauseHoldsItLonger) {
  SetText(1);
  QuickPlayEffects.StayTime = 2;
  QuickPlayEffects.RollStep = 16;
  TTextRollLoop loop(TTextRollDirection::Horizontal);
  loop.Start();
  auto passAt = [&](bool tick) {
    if (tick) QuickPlayTickFlag.Raise();
    EXPECT_TRUE(loop.Step());
    return FirstX();
  };
  for (int i = 0; i < 5; ++i) EXPECT_EQ(passAt(false), 100);
  EXPECT_EQ(passAt(true), 100);
  EXPECT_EQ(passAt(false), 100);
  EXPECT_EQ(passAt(true), 100);  // the second tick ends the position after this pass
  EXPECT_EQ(passAt(false), 84);
  PauseFlag = true;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(passAt(true), 84);
  EXPECT_FALSE(QuickPlayTickFlag.Raised());  // ticks are used up while paused
  PauseFlag = false;
  EXPECT_EQ(passAt(true), 84);
  EXPECT_EQ(passAt(true), 84);
  EXPECT_EQ(passAt(false), 68);
  EXPECT_EQ(Sent().size(), 17u);  // every pass was sent
}

TEST_F(TextRollLoop, RollStepZeroFreezesTheRoll) {
  SetText(2);
  QuickPlayEffects.StayTime = 0;
  QuickPlayEffects.RollStep = 0;
  TTextRollLoop loop(TTextRollDirection::Horizontal);
  loop.Start();
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(loop.Step());
    ASSERT_EQ(FirstX(), 100);
  }
}

TEST_F(TextRollLoop, TheHorizontalWindowHoldsRowsPlusOneCharactersUntilTheTextRunsOut) {
  SetText(7);
  QuickPlayEffects.StayTime = 0;
  QuickPlayEffects.RollStep = 32;  // two positions per window
  TTextRollLoop loop(TTextRollDirection::Horizontal);
  loop.Start();
  std::vector<size_t> lists;
  while (loop.Step()) lists.push_back(TextRollFrameSnapshot()->ObjectCount());
  EXPECT_EQ(lists, (std::vector<size_t>{5, 5, 5, 5, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1}));
  LoopFlag = true;
  loop.Start();
  for (int i = 0; i < 15; ++i) ASSERT_TRUE(loop.Step());
  EXPECT_EQ(TextRollFrameSnapshot()->ObjectCount(), 5u);  // round two
}

TEST_F(TextRollLoop, TheVerticalRollMovesLinesUpFromBelowAndHoldsRowsLines) {
  SetText(6, 50, 100);
  QuickPlayEffects.StayTime = 0;
  QuickPlayEffects.RollStep = 32;
  QuickPlayEffects.RowsOrColumns = 4;
  TTextRollLoop loop(TTextRollDirection::Vertical);
  loop.Start();
  std::vector<std::pair<size_t, int>> seen;
  while (loop.Step()) seen.emplace_back(TextRollFrameSnapshot()->ObjectCount(), FirstY());
  // Offsets 64, 32, 0, -32 (above -64); windows of lines 0..3, 1..4, 2..5, 3..5, 4..5, 5.
  std::vector<std::pair<size_t, int>> expected;
  for (size_t lines : {4, 4, 4, 3, 2, 1})
    for (int offset : {64, 32, 0, -32}) expected.emplace_back(lines, 100 + offset);
  EXPECT_EQ(seen, expected);
}

TEST_F(TextRollLoop, TheVerticalRollSendsColourGainsAtStartAndOnChangeOnly) {
  SetText(1, 50, 100);
  QuickPlayEffects.StayTime = 0;
  QuickPlayEffects.RollStep = 1;
  MultiDeviceFlag = true;
  SetSelectedDevices({"Usb-4"});
  RedSaturation = 90;
  Intensity = 80;
  for (auto direction : {TTextRollDirection::Vertical, TTextRollDirection::Horizontal}) {
    const bool vertical = direction == TTextRollDirection::Vertical;
    sim->ClearPackets();
    TTextRollLoop loop(direction);
    loop.Start();
    const auto start = sim->Packets();
    ASSERT_EQ(start.size(), vertical ? 4u : 2u);
    EXPECT_EQ(start[0].bytes.size(), 2u);  // the settings packet first, to every output
    EXPECT_EQ(start[1].device, "ezusb-4");
    if (vertical) {
      EXPECT_EQ(start[2].device, "ezusb-0");
      EXPECT_EQ(start[2].bytes, (std::vector<uint8_t>{90, 100, 100, 80}));
      EXPECT_EQ(start[3].device, "ezusb-4");
    }
    sim->ClearPackets();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(loop.Step());
    EXPECT_TRUE(Sent(4).empty());
    BlueSaturation = static_cast<uint8_t>(BlueSaturation + 10);
    ASSERT_TRUE(loop.Step());
    ASSERT_TRUE(loop.Step());
    const auto gains = Sent(4);
    ASSERT_EQ(gains.size(), vertical ? 2u : 0u);
    if (vertical) {
      EXPECT_EQ(gains[0].second, (std::vector<uint8_t>{90, 100, 110, 80}));
      EXPECT_EQ(gains[1].first, "ezusb-4");
    }
    EXPECT_EQ(Sent().size(), 10u);  // five passes to two outputs
  }
}

TEST_F(TextRollLoop, WithoutTextTheRollEndsOrWaitsForTicksWhileLoopIsSet) {
  SetText(0);
  TTextRollLoop loop(TTextRollDirection::Horizontal);
  loop.Start();
  EXPECT_FALSE(loop.Step());
  LoopFlag = true;
  loop.Start();
  for (int i = 0; i < 3; ++i) {
    QuickPlayTickFlag.Raise();
    EXPECT_TRUE(loop.Step());
  }
  EXPECT_TRUE(Sent().empty());
  StopFlag = true;
  EXPECT_FALSE(loop.Step());
}

TEST_F(TextRollLoop, APublishedFrameStaysAsItWasWhileTheRollMovesOn) {
  SetText(3);
  QuickPlayEffects.StayTime = 0;
  QuickPlayEffects.RollStep = 40;
  TTextRollLoop loop(TTextRollDirection::Horizontal);
  loop.Start();
  ASSERT_TRUE(loop.Step());
  const TPlayDrawingPtr held = TextRollFrameSnapshot();
  const std::vector<PointRecord> before(held->Object(0).begin(), held->Object(0).end());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(loop.Step());  // a new position and a new window
  EXPECT_EQ(std::vector<PointRecord>(held->Object(0).begin(), held->Object(0).end()), before);
  EXPECT_NE(TextRollFrameSnapshot(), held);
  EXPECT_EQ(FirstX(), 100 - 40);
}

TEST_F(TextRollLoop, RealTextRollsInsideTheWindow) {
  TFontChoice font;
  font.family = "DejaVu Sans";
  QuickPlayEffects.StayTime = 0;
  QuickPlayEffects.RollStep = 4;
  for (bool vertical : {false, true}) {
    const TQuickPlayStart start = vertical ? PrepareVerticalTextRoll("Kavri\nroll", font) : PrepareTextRoll("Kavri", font);
    ASSERT_TRUE(start.start) << start.status;
    TTextRollLoop loop(vertical ? TTextRollDirection::Vertical : TTextRollDirection::Horizontal);
    loop.Start();
    sim->ClearPackets();
    int passes = 0;
    size_t points = 0;
    while (loop.Step()) {
      ++passes;
      const TPlayDrawingPtr frame = TextRollFrameSnapshot();
      const auto sent = Sent();
      sim->ClearPackets();
      ASSERT_EQ(sent.size(), frame->PointCount() > 0 ? 1u : 0u);
      if (sent.empty()) continue;
      const std::vector<uint8_t>& bytes = sent[0].second;
      ASSERT_EQ(bytes.size(), 8 * frame->PointCount());
      size_t i = 0;
      for (size_t list = 0; list < frame->ObjectCount(); ++list) {
        for (const PointRecord& p : frame->Object(list)) {
          // The cut lists stay inside the window, so the device sees them unclamped.
          const bool cutX = !vertical && (list == 0 || list + 1 == frame->ObjectCount());
          const bool cutY = vertical && (list == 0 || list + 1 == frame->ObjectCount());
          if (cutX) ASSERT_TRUE(p.x >= 0 && p.x <= 255) << passes << " " << p.x;
          if (cutY) ASSERT_TRUE(p.y >= 0 && p.y <= 255) << passes << " " << p.y;
          if (cutX || cutY) {
            EXPECT_EQ(bytes[8 * i], 255 - p.x);
            EXPECT_EQ(bytes[8 * i + 2], 255 - p.y);
          }
          ++i;
        }
      }
      points += frame->PointCount();
    }
    EXPECT_GT(passes, 10);
    EXPECT_GT(points, 1000u);
  }
}

TEST(TextRollThreads, ThePreviewReadsFramesWhileTheLoopRollsThem) {
  ResetSharedState();
  ResetQuickPlayState();
  ResetTextRollState();
  auto sim = std::make_shared<TSimUsbDriver>("0");
  SetActiveUsbDriver(sim);
  SetCurrentDeviceName("ezusb-0");
  RegisterTextRollLoops();
  QuickPlayLargeSize = 1;
  QuickPlayEffects.StayTime = 1;
  QuickPlayEffects.RollStep = 3;
  LoopFlag = true;
  for (uint8_t job : {kPlayJobRollText, kPlayJobRollTextVertical}) {
    SetText(6, 20, 20);
    ASSERT_TRUE(PlayController().StartPlayJob(job));
    TPlayDrawingPtr last;
    int changes = 0;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (changes < 40 && std::chrono::steady_clock::now() < deadline) {
      QuickPlayTickFlag.Raise();
      const TPlayDrawingPtr frame = TextRollFrameSnapshot();
      if (frame != last) ++changes;
      for (size_t list = 0; list < frame->ObjectCount(); ++list)
        for (const PointRecord& p : frame->Object(list)) ASSERT_EQ(p.colour, TextColourIndex);
      last = frame;
      QuickPlayEffects.RowsOrColumns = 3 + changes % 3;  // the slider moves while it rolls
      std::this_thread::sleep_for(1ms);
    }
    EXPECT_GE(changes, 40);
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    EXPECT_FALSE(WorkerRunningFlag);
  }
  RegisterPlayLoop(kPlayJobRollText, nullptr);
  RegisterPlayLoop(kPlayJobRollTextVertical, nullptr);
  SetActiveUsbDriver(nullptr);
  ResetTextRollState();
  ResetQuickPlayState();
  ResetSharedState();
}

}  // namespace
}  // namespace kavri
