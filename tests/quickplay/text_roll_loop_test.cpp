#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/text_roll_loop.h"
#include "quickplay/text_roll_outlines.h"
#include "quickplay/text_roll_state.h"
#include "tests/engine/ticking_interface.h"
#include "tests/quickplay/quick_play_fixture.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;
using TBytes = std::vector<uint8_t>;
constexpr auto H = TTextRollDirection::Horizontal;
constexpr auto V = TTextRollDirection::Vertical;

// `count` characters (or lines), each one stroke from (x, y) to (x + 10, y).
void SetText(int count, int x = 100, int y = 10) {
  auto text = std::make_shared<TPlayDrawing>();
  for (int i = 0; i < count; ++i) {
    text->BeginObject();
    text->Append({x, y, 2, TextColourIndex, 0, 1});
    text->Append({x + 10, y, 2, TextColourIndex, 0, 0});
  }
  TextCharOutlines = std::move(text);
}

// The first point of the frame the loop left; one at (-1, -1), which no check expects, when it left none.
PointRecord FirstPoint() {
  const TPlayDrawingPtr frame = TextRollFrameSnapshot();
  if (!frame || frame->ObjectCount() == 0 || frame->Object(0).empty()) return PointRecord{-1, -1};
  return frame->Object(0)[0];
}
int FirstX() { return FirstPoint().x; }

class TextRollLoop : public kavri_test::QuickPlayFixture {
 protected:
  void SetUp() override {
    QuickPlayFixture::SetUp();
    QuickPlayLargeSize = 1;  // the window's lists as they are, only lowered to the middle
    QuickPlayEffects.StayTime = 0;
  }
  void TearDown() override {
    QuickPlayFixture::TearDown();
    RegisterPlayLoop(kPlayJobRollText, nullptr);
    RegisterPlayLoop(kPlayJobRollTextVertical, nullptr);
    ResetTextRollState();
  }
  // (device, bytes) of the writes of `size` bytes (0: frames) since the last call.
  std::vector<std::pair<std::string, TBytes>> Sent(size_t size = 0) {
    std::vector<std::pair<std::string, TBytes>> out;
    for (const auto& p : sim->Packets())
      if (size == 0 ? p.bytes.size() % 8 == 0 : p.bytes.size() == size) out.emplace_back(p.device, p.bytes);
    sim->ClearPackets();
    return out;
  }
};

TEST_F(TextRollLoop, StayTimeZeroMovesTheTextOnEveryPassAndRollStepZeroFreezesIt) {
  SetText(1);
  QuickPlayEffects.RollStep = 16;
  TTextRollLoop loop(H);
  loop.Start();
  Sent();
  std::vector<int> xs;
  while (loop.Step()) xs.push_back(FirstX());
  EXPECT_EQ(xs, (std::vector<int>{100, 84, 68, 52}));  // offsets 0 .. 48, below 256 div 4
  const auto frames = Sent();
  ASSERT_EQ(frames.size(), 4u);
  // Device x = 255 - x; the line is lowered by 128 - 128 div 4 to y = 106.
  EXPECT_EQ(frames[0].second, (TBytes{155, 0, 149, 0, 0, 255, 0, 3, 145, 0, 149, 0, 0, 255, 0, 2}));
  QuickPlayEffects.RollStep = 0;
  loop.Start();
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(loop.Step() && FirstX() == 100);
}

TEST_F(TextRollLoop, APositionIsHeldForStayTimeTicksWhichPauseDoesNotCount) {
  SetText(1);
  QuickPlayEffects.StayTime = 2;
  QuickPlayEffects.RollStep = 16;
  TTextRollLoop loop(H);
  loop.Start();
  std::vector<int> xs;
  // A pass per letter: '.' without a tick, 'T' after a tick, 'P' after a tick while paused.
  for (const char* ticks : {"..T.T.", "PPPP", "TT."}) {
    for (const char* t = ticks; *t; ++t) {
      PauseFlag = *t == 'P';
      if (*t != '.') QuickPlayTickFlag.Raise();
      ASSERT_TRUE(loop.Step());
      xs.push_back(FirstX());
    }
  }
  EXPECT_EQ(xs, (std::vector<int>{100, 100, 100, 100, 100, 84, 84, 84, 84, 84, 84, 84, 68}));
  EXPECT_EQ(Sent().size(), xs.size());  // every pass is sent
}

TEST_F(TextRollLoop, APassCountsOneTickHoweverManyCameSoSlowPassesRollThroughEveryPosition) {
  SetText(1);
  QuickPlayEffects.RollStep = 16;  // four positions: x 100, 84, 68, 52
  struct Case {
    int stayTime, ticksPerPass;
    std::vector<int> xs;  // of the passes sent
  };
  // However long a pass takes, a position is held for StayTime passes and the next is the one a
  // roll step on.
  for (const Case& c : {Case{2, 1, {100, 100, 84, 84, 68, 68, 52, 52}}, Case{1, 3, {100, 84, 68, 52}},
                        Case{2, 6, {100, 100, 84, 84, 68, 68, 52, 52}},
                        Case{3, 9, {100, 100, 100, 84, 84, 84, 68, 68, 68, 52, 52, 52}}}) {
    SCOPED_TRACE("stay " + std::to_string(c.stayTime) + ", " + std::to_string(c.ticksPerPass) + " ticks a pass");
    QuickPlayEffects.StayTime = c.stayTime;
    auto slow = std::make_shared<kavri_test::TickingInterface>("0", [] { QuickPlayTickFlag.Raise(); });
    slow->ticksPerFrame = c.ticksPerPass;
    sim = slow;
    SetActiveUsbDriver(sim);
    QuickPlayTickFlag.Clear();
    TTextRollLoop loop(H);
    loop.Start();
    std::vector<int> xs;
    Sent();
    while (loop.Step()) {
      ASSERT_LT(xs.size(), 100u);
      for (const auto& [device, frame] : Sent()) xs.push_back(255 - frame[0]);
    }
    loop.Finish();
    EXPECT_EQ(xs, c.xs);
  }
}

TEST_F(TextRollLoop, TheWindowHoldsRowsPlusOneCharactersOrRowsLines) {
  SetText(7, 100, 100);
  QuickPlayEffects.RollStep = 32;
  std::vector<size_t> lists;
  std::vector<int> ys;
  for (auto direction : {H, V}) {
    TTextRollLoop loop(direction);
    loop.Start();
    while (loop.Step()) {
      lists.push_back(TextRollFrameSnapshot()->ObjectCount());
      if (direction == V) ys.push_back(FirstPoint().y);
    }
  }
  // Horizontal offsets 0, 32; vertical 64, 32, 0, -32 (above -64).
  ASSERT_GE(ys.size(), 5u);
  EXPECT_EQ(std::vector<int>(ys.begin(), ys.begin() + 5), (std::vector<int>{164, 132, 100, 68, 164}));
  const std::vector<size_t> expected{5, 5, 5, 5, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1,  // horizontal
                                     4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2, 2, 1, 1, 1, 1};
  EXPECT_EQ(lists, expected);
}

TEST_F(TextRollLoop, WithoutTextTheRollEndsOrUnderLoopWaitsForATick) {
  SetText(0);
  TTextRollLoop loop(H);
  loop.Start();
  EXPECT_FALSE(loop.Step());
  LoopFlag = true;  // a new round at each end
  QuickPlayTickFlag.Raise();
  EXPECT_TRUE(loop.Step());
  EXPECT_EQ(QuickPlayTickFlag.Owed(), 0);  // taken by the wait
  EXPECT_TRUE(Sent().empty());
}

TEST_F(TextRollLoop, OnlyTheVerticalRollSendsColourGainsAtStartAndOnChange) {
  SetText(1, 50, 100);
  QuickPlayEffects.RollStep = 1;
  MultiDeviceFlag = true;
  SetSelectedDevices({"Usb-4"});
  RedSaturation = 90;
  for (auto direction : {V, H}) {
    TTextRollLoop loop(direction);
    loop.Start();
    auto gains = Sent(4);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(loop.Step());
    EXPECT_TRUE(Sent(4).empty());
    BlueSaturation = static_cast<uint8_t>(BlueSaturation + 10);
    ASSERT_TRUE(loop.Step() && loop.Step());
    for (auto& sent : Sent(4)) gains.push_back(sent);
    using TGain = std::pair<std::string, TBytes>;
    const std::vector<TGain> expected{{"ezusb-0", {90, 100, 100, 100}}, {"ezusb-4", {90, 100, 100, 100}},
                                      {"ezusb-0", {90, 100, 110, 100}}, {"ezusb-4", {90, 100, 110, 100}}};
    EXPECT_EQ(gains, direction == V ? expected : std::vector<TGain>{});
    BlueSaturation = 100;
  }
}

TEST_F(TextRollLoop, RealTextRollsInsideTheWindow) {
  TFontChoice font;
  font.family = "DejaVu Sans";
  QuickPlayEffects.RollStep = 4;
  for (auto direction : {H, V}) {
    ASSERT_TRUE((direction == H ? PrepareTextRoll("Kavri", font) : PrepareVerticalTextRoll("Kavri\nroll", font)).start);
    TTextRollLoop loop(direction);
    loop.Start();
    Sent();
    size_t points = 0;
    while (loop.Step()) {
      const TPlayDrawingPtr frame = TextRollFrameSnapshot();
      const auto sent = Sent();
      ASSERT_EQ(sent.size(), frame->PointCount() > 0 ? 1u : 0u);  // an empty frame is not sent
      if (sent.empty()) continue;
      ASSERT_EQ(sent[0].second.size(), 8 * frame->PointCount());
      // Every point of the cut lists is inside, so it reaches the interface unclamped.
      for (size_t list : {size_t{0}, frame->ObjectCount() - 1}) {
        const size_t at = frame->Object(list).data() - frame->Object(0).data();
        for (size_t i = 0; i < frame->Object(list).size(); ++i) {
          const PointRecord& p = frame->Object(list)[i];
          ASSERT_TRUE(direction == H ? p.x >= 0 && p.x <= 255 : p.y >= 0 && p.y <= 255) << p.x << "," << p.y;
          ASSERT_EQ(sent[0].second[8 * (at + i)], 255 - p.x);
          ASSERT_EQ(sent[0].second[8 * (at + i) + 2], 255 - p.y);
        }
      }
      points += frame->PointCount();
    }
    EXPECT_GT(points, 1000u);
  }
}

TEST_F(TextRollLoop, ThreadsThePreviewReadsFramesWhileTheWorkerRollsThem) {
  RegisterTextRollLoops();
  QuickPlayEffects.StayTime = 1;
  QuickPlayEffects.RollStep = 3;
  LoopFlag = true;
  for (uint8_t job : {kPlayJobRollText, kPlayJobRollTextVertical}) {
    SetText(6, 20, 20);
    ASSERT_TRUE(PlayController().StartPlayJob(job));
    TPlayDrawingPtr last;
    int changes = 0;
    for (const auto deadline = std::chrono::steady_clock::now() + 10s;
         changes < 40 && std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(1ms)) {
      QuickPlayTickFlag.Raise();
      const TPlayDrawingPtr frame = TextRollFrameSnapshot();
      changes += frame != last;
      for (size_t list = 0; list < frame->ObjectCount(); ++list)
        for (const PointRecord& p : frame->Object(list)) ASSERT_EQ(p.colour, TextColourIndex);
      last = frame;
      QuickPlayEffects.RowsOrColumns = 3 + changes % 3;  // the slider moves while it rolls
    }
    EXPECT_GE(changes, 40);
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    EXPECT_FALSE(WorkerRunningFlag);
  }
}

}  // namespace
}  // namespace kavri
