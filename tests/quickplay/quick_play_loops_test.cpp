#include "quickplay/quick_play_loops.h"

#include <gtest/gtest.h>

#include <thread>

#include "engine/colour_tables.h"
#include "engine/ilda_file.h"
#include "engine/shared_state.h"
#include "tests/quickplay/quick_play_fixture.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::Picture;
using kavri_test::PreparedFrames;

class QuickPlayLoops : public kavri_test::QuickPlayFixture {
 protected:
  // The frame one pass of a fresh loop sends.
  template <class Loop>
  std::vector<TDevicePoint> FirstPass() {
    Loop loop;
    loop.Start();
    Frames();
    EXPECT_TRUE(loop.Step());
    loop.Finish();
    auto frames = Frames();
    return frames.empty() ? std::vector<TDevicePoint>{} : frames[0];
  }
  // One pass over one point list: the drawing loop, or the ILDA loop on prepared frame copies.
  std::vector<TDevicePoint> OnePass(bool ilda, const std::vector<PointRecord>& points) {
    if (!ilda) {
      QuickPlayDrawingList = Picture(points);
      return FirstPass<TQuickDrawingLoop>();
    }
    QuickPlayIldaFrames = PreparedFrames({points});
    return FirstPass<TQuickIldaLoop>();
  }
  kavri_test::ScratchDir dir;
};

// Raises QuickPlayTickFlag every 5 ms while it lives, as the window's frame clock does.
class FrameClock {
 public:
  FrameClock()
      : thread_([this] {
          while (!done_) {
            QuickPlayTickFlag.Raise();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
          }
        }) {}
  ~FrameClock() {
    done_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

TColor ColourOf(const TDevicePoint& p) { return RGBToTColor(p.red, p.green, p.blue); }

// Ticks raised by hand; waiting for one only counts the waits.
struct HandTicks : TTickSource {
  bool raised = false;
  int waits = 0;
  bool Raised() const override { return raised; }
  void Clear() override { raised = false; }
  void WaitRaisedOrStop() override { ++waits; }
};

TEST_F(QuickPlayLoops, PointsLeaveInDeviceOrientationWithTheInverts) {
  struct Case {
    bool ilda;
    int32_t x, y;  // as stored: drawing 0..255, ILDA -128..127
    bool hInvert, vInvert;
    uint8_t deviceX, deviceY;
  };
  for (const Case& c : std::vector<Case>{{false, 0, 0, false, false, 255, 255},
                                         {false, 0, 0, true, false, 0, 255},
                                         {false, 10, 0, false, true, 245, 0},
                                         {true, -128, -128, false, false, 255, 0},
                                         {true, 127, 127, false, false, 0, 255},
                                         {true, -128, -128, true, true, 0, 255}}) {
    SCOPED_TRACE(testing::Message() << c.ilda << " " << c.x << "," << c.y);
    HInvertFlag = c.hInvert;
    VInvertFlag = c.vInvert;
    std::vector<TDevicePoint> frame;
    if (c.ilda) {
      TILDAimage image;
      image.frames.push_back(std::make_unique<TILDAframe>());
      image.frames[0]->points = {{c.x, c.y, 0, 1, 0, 0}};
      ASSERT_TRUE(WriteIldaFile(dir.Path("a.ild"), image));
      ASSERT_TRUE(PrepareIldaPlay(dir.Path("a.ild")).start);
      frame = FirstPass<TQuickIldaLoop>();
    } else {
      QuickPlayDrawingList = Picture({{c.x, c.y, 0, 1, 0, 0}});
      frame = FirstPass<TQuickDrawingLoop>();
    }
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].x, c.deviceX);
    EXPECT_EQ(frame[0].y, c.deviceY);
  }
}

// A file that is missing, unreadable or not chosen must not play what was played before.
TEST_F(QuickPlayLoops, PrepareEmptiesThePlayListWhenThereIsNothingToPlay) {
  Drawing d;
  d.AddObject()->Add({5, 6, 0, 1, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(dir.Path("one.dra"), d, 1));
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames[0]->points = {{5, 6, 0, 1, 0, 0}};
  ASSERT_TRUE(WriteIldaFile(dir.Path("one.ild"), image));
  kavri_test::WriteBytes(dir.Path("none.ild"), {});

  const TQuickPlayStart drawing = PrepareDrawingPlay(dir.Path("one.dra"));
  EXPECT_TRUE(drawing.start);
  EXPECT_EQ(drawing.status, "Drawing playing start...");
  EXPECT_EQ(QuickPlayDrawingList->PointCount(), 1u);
  const TQuickPlayStart ilda = PrepareIldaPlay(dir.Path("one.ild"));
  EXPECT_TRUE(ilda.start);
  EXPECT_EQ(ilda.status, "ILDAimage Playing start...");
  EXPECT_EQ(QuickPlayIldaFrames->frames[0]->points[0].x, 133);  // moved to 0..255

  for (const std::string& path : {std::string(), dir.Path("gone.dra")}) {
    QuickPlayDrawingList = Picture({{1, 1, 0, 1, 0, 0}});
    const TQuickPlayStart none = PrepareDrawingPlay(path);
    EXPECT_FALSE(none.start) << path;
    EXPECT_FALSE(none.status.empty());
    EXPECT_TRUE(QuickPlayDrawingList->Empty());
  }
  for (const std::string& path : {std::string(), dir.Path("gone.ild"), dir.Path("none.ild")}) {
    QuickPlayIldaFrames = PreparedFrames({{{1, 1, 0, 1, 0, 0}}});
    const TQuickPlayStart none = PrepareIldaPlay(path);
    EXPECT_FALSE(none.start) << path;
    EXPECT_FALSE(none.status.empty());
    EXPECT_TRUE(QuickPlayIldaFrames->frames.empty());
  }
}

TEST_F(QuickPlayLoops, GainsScaleEachChannelAndClampAt255) {
  struct Case {
    uint8_t red, green, blue, intensity;
    uint8_t r, g, b;
  };
  ASSERT_EQ(ColorIndexToTColor(1), RGBToTColor(255, 255, 255));
  for (const Case& c : std::vector<Case>{{100, 100, 100, 100, 255, 255, 255},
                                         {50, 200, 0, 100, 127, 255, 0},
                                         {150, 100, 200, 50, 191, 127, 255}}) {
    RedSaturation = c.red;
    GreenSaturation = c.green;
    BlueSaturation = c.blue;
    Intensity = c.intensity;
    const auto frame = OnePass(false, {{0, 0, 0, 1, 0, 0}});
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].red, c.r);
    EXPECT_EQ(frame[0].green, c.g);
    EXPECT_EQ(frame[0].blue, c.b);
  }
}

TEST_F(QuickPlayLoops, FlagsCarryBlankingAndKindAndPointDrawBlanksDrawingsOnly) {
  struct Case {
    bool ilda;
    int32_t kind;
    uint8_t blanked;
    int32_t pointDraw;
    uint8_t flags;
  };
  for (const Case& c : std::vector<Case>{{false, 2, 1, 0, 3},
                                         {false, 1, 0, 0, 0},
                                         {false, 1, 0, 1, 1},
                                         {false, 3, 0, 1, 3},
                                         {true, 2, 1, 0, 3},
                                         {true, 1, 0, 1, 0}}) {
    QuickPlayEffects.PointDraw = c.pointDraw;
    const auto frame = OnePass(c.ilda, {{0, 0, c.kind, 1, 0, c.blanked}});
    ASSERT_EQ(frame.size(), 1u);
    EXPECT_EQ(frame[0].flags, c.flags) << c.ilda << " kind " << c.kind << " pointDraw " << c.pointDraw;
  }
}

TEST_F(QuickPlayLoops, ColourModesOnDrawingsAndIldaFrames) {
  struct Case {
    bool ilda;
    int32_t mode;
    std::vector<uint8_t> index;  // of the points with own colours 0, 5, 100, 231
  };
  // Every point makes an effect step and each step a colour step: point j sees step j + 1, while
  // Rnd3 counts on from the step the pass started with (0).
  QuickPlayEffects.AllSpeed = 100;
  QuickPlayEffects.ColourSpeed = 40;
  const uint8_t fixedIlda = ColorIndexToIldaColor(2);
  for (const Case& c : std::vector<Case>{{false, 5, {0, 5, 5, 5}},
                                         {false, ColourModeAuto, {0, 5, 100, 231}},
                                         {false, ColourModeRnd1, {0, 8, 104, 4}},
                                         {false, ColourModeRnd2, {0, 3, 4, 5}},
                                         {false, ColourModeRnd3, {0, 2, 3, 4}},
                                         {true, 2, {fixedIlda, fixedIlda, fixedIlda, fixedIlda}},
                                         {true, ColourModeAuto, {0, 5, 100, 231}},
                                         {true, ColourModeRnd1, {1, 7, 39, 43}},
                                         {true, ColourModeRnd2, {1, 2, 3, 4}},
                                         {true, ColourModeRnd3, {0, 1, 2, 3}}}) {
    QuickPlayColourMode = c.mode;
    const auto frame = OnePass(c.ilda, {{0, 0, 0, 0, 0, 0}, {1, 0, 0, 5, 0, 0}, {2, 0, 0, 100, 0, 0}, {3, 0, 0, 231, 0, 0}});
    ASSERT_EQ(frame.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
      EXPECT_EQ(ColourOf(frame[i]), c.ilda ? IldaColorToTColor(c.index[i]) : ColorIndexToTColor(c.index[i]))
          << (c.ilda ? "ILDA" : "drawing") << " mode " << c.mode << " point " << i;
  }
}

TEST_F(QuickPlayLoops, Rnd3RunsAlongThePassAndWrapsAfter232) {
  QuickPlayColourMode = ColourModeRnd3;
  std::vector<PointRecord> points(234, PointRecord{0, 0, 0, 7, 0, 0});
  points[1].colour = 0;  // stays black but still counts
  const auto frame = OnePass(false, points);
  ASSERT_EQ(frame.size(), 234u);
  EXPECT_EQ(ColourOf(frame[0]), ColorIndexToTColor(1));
  EXPECT_EQ(ColourOf(frame[1]), ColorIndexToTColor(0));
  EXPECT_EQ(ColourOf(frame[2]), ColorIndexToTColor(3));
  EXPECT_EQ(ColourOf(frame[231]), ColorIndexToTColor(232));
  EXPECT_EQ(ColourOf(frame[232]), ColorIndexToTColor(1));
}

TEST_F(QuickPlayLoops, EffectsAdvanceOncePer101MinusAllSpeedPointsAndNotWhilePaused) {
  struct Case {
    int32_t allSpeed;
    bool paused;
    int32_t angle;  // after one pass of 202 points at Rotation 1
  };
  QuickPlayEffects.Rotation = 1;
  for (const Case& c : std::vector<Case>{{100, false, 202}, {50, false, 3}, {0, false, 2}, {100, true, 0}}) {
    QuickPlayEffects.AllSpeed = c.allSpeed;
    PauseFlag = c.paused;
    OnePass(false, std::vector<PointRecord>(202, PointRecord{}));
    EXPECT_EQ(QuickPlayEffectState.Read().angle, c.angle) << "AllSpeed " << c.allSpeed;
  }
}

TEST_F(QuickPlayLoops, EqualStretchesAndSquashesCoupleScrollsDoNotAndPhasesWrap) {
  QuickPlayDrawingList = Picture({{0, 0, 0, 1, 0, 0}});
  QuickPlayEffects.AllSpeed = 100;  // one effect step per pass
  auto& e = QuickPlayEffects;
  e.HStretch = e.HRotate = e.HMove = 5;
  e.VStretch = e.VRotate = e.VMove = 3;
  TQuickDrawingLoop loop;
  loop.Start();
  for (int i = 0; i < 3; ++i) loop.Step();
  e.HStretch = e.VStretch = e.HRotate = e.VRotate = e.HMove = e.VMove = 4;
  loop.Step();
  TEffectValues v = QuickPlayEffectState.Read();
  EXPECT_EQ(v.hSpread, 19);
  EXPECT_EQ(v.vSpread, 19);
  EXPECT_EQ(v.vSquash, 19);
  EXPECT_EQ(v.hScroll, 19);
  EXPECT_EQ(v.vScroll, 13);
  // Spreads and scrolls reach 510 and go to 0 above it; squashes run modulo 256.
  e.HMove = 30;
  e.HRotate = e.VRotate = 40;
  std::vector<int32_t> scrolls;
  for (int i = 0; i < 18; ++i) {
    loop.Step();
    scrolls.push_back(QuickPlayEffectState.Read().hScroll);
  }
  EXPECT_EQ(scrolls[15], 499);
  EXPECT_EQ(scrolls[16], 0);
  EXPECT_EQ(QuickPlayEffectState.Read().hSquash, (19 + 18 * 40) % 256);
  for (int i = 0; i < 16; ++i) loop.Step();
  EXPECT_EQ(QuickPlayEffectState.Read().hScroll, 510);
  loop.Step();
  EXPECT_EQ(QuickPlayEffectState.Read().hScroll, 0);
  loop.Finish();
}

TEST_F(QuickPlayLoops, SlowDrawGrowsByItsStepAndRestartsAtOnePointAfterTheWhole) {
  QuickPlayDrawingList = Picture(std::vector<PointRecord>(100, PointRecord{}));
  QuickPlayEffects.SlowDraw = 10;
  QuickPlayEffects.AllSpeed = 0;
  TQuickDrawingLoop loop;
  loop.Start();
  Frames();
  // Each pass draws one point more than the slow-draw position, which moves by 10 per effect step.
  std::vector<size_t> firstSeen;
  bool restarted = false;
  for (int pass = 0; pass < 400 && !restarted; ++pass) {
    loop.Step();
    const auto frames = Frames();
    ASSERT_EQ(frames.size(), 1u);
    const size_t size = frames[0].size();
    const bool passedWhole = !firstSeen.empty() && firstSeen.back() == 100;
    if (passedWhole && QuickPlaySlowDrawCount == 0)
      restarted = size == 1;  // the pass in which the position went back ends where it was
    else if (std::find(firstSeen.begin(), firstSeen.end(), size) == firstSeen.end())
      firstSeen.push_back(size);
  }
  loop.Finish();
  EXPECT_EQ(firstSeen, (std::vector<size_t>{1, 11, 21, 31, 41, 51, 61, 71, 81, 91, 100}));
  EXPECT_TRUE(restarted);
}

TEST_F(QuickPlayLoops, SettingsPacketGoesOutAtStartAndAgainOnlyWhenItChanges) {
  QuickPlayDrawingList = Picture({{0, 0, 0, 1, 0, 0}});
  QuickPlayIldaFrames = PreparedFrames({{{0, 0, 0, 1, 0, 0}}, {{0, 0, 0, 1, 0, 0}}});
  const auto packets = [&] {
    std::vector<std::vector<uint8_t>> out;
    for (const auto& p : sim->Packets())
      if (p.bytes.size() == 2) out.push_back(p.bytes);
    sim->ClearPackets();
    return out;
  };
  using Packets = std::vector<std::vector<uint8_t>>;
  HandTicks ticks;
  TQuickDrawingLoop drawing;
  TQuickIldaLoop ilda(ticks);
  for (bool isIlda : {false, true}) {
    SCOPED_TRACE(isIlda ? "ILDA" : "drawing");
    BlankingDelay = 90;
    ScanDelay = 60;
    isIlda ? ilda.Start() : drawing.Start();
    const auto step = [&] { return isIlda ? ilda.Step() : drawing.Step(); };
    EXPECT_EQ(packets(), (Packets{{90, 60}}));
    step();
    step();
    EXPECT_EQ(packets(), Packets{});
    ScanDelay = 61;
    step();
    // The ILDA loop looks once per frame, the drawing loop before every pass.
    if (isIlda) {
      EXPECT_EQ(packets(), Packets{});
      ticks.raised = true;
      step();
    }
    EXPECT_EQ(packets(), (Packets{{90, 61}}));
    step();
    EXPECT_EQ(packets(), Packets{});
    isIlda ? ilda.Finish() : drawing.Finish();
  }
}

TEST_F(QuickPlayLoops, IldaFramesLastOneTickEachPauseHoldsThemLoopRepeatsStopEnds) {
  // Frames of 1, 2 and 3 points, so a frame's size tells which one was sent.
  const PointRecord p{};
  QuickPlayIldaFrames = PreparedFrames({{p}, {p, p}, {p, p, p}});
  HandTicks ticks;
  TQuickIldaLoop loop(ticks);
  const auto sizes = [&](const std::vector<bool>& tickBefore) {
    std::vector<size_t> out;
    for (bool tick : tickBefore) {
      ticks.raised = tick;
      if (!loop.Step()) break;
      for (const auto& f : Frames()) out.push_back(f.size());
    }
    return out;
  };
  loop.Start();
  EXPECT_EQ(sizes({false, false, true, false}), (std::vector<size_t>{1, 1, 2, 2}));
  PauseFlag = true;
  EXPECT_EQ(sizes({true, false, true}), (std::vector<size_t>{2, 2, 2}));
  EXPECT_FALSE(ticks.raised);  // a tick while paused is used up
  PauseFlag = false;
  LoopFlag = true;
  EXPECT_EQ(sizes({true, true, true, false}), (std::vector<size_t>{3, 1, 2, 2}));
  EXPECT_EQ(QuickPlayFrameIndex, 1);
  LoopFlag = false;
  EXPECT_EQ(sizes({true, true, true}), (std::vector<size_t>{3}));  // ends after the last frame
  loop.Finish();
  EXPECT_FALSE(WorkerRunningFlag);

  // Stop: the remaining frame indexes are run through without a frame being sent.
  loop.Start();
  Frames();
  EXPECT_TRUE(loop.Step());
  StopFlag = true;
  EXPECT_FALSE(loop.Step());
  loop.Finish();
  EXPECT_EQ(QuickPlayFrameIndex, 2);
  EXPECT_EQ(Frames().size(), 1u);
}

TEST_F(QuickPlayLoops, WithNothingToSendTheIldaLoopWaitsForATickInsteadOfSpinning) {
  HandTicks ticks;
  TQuickIldaLoop loop(ticks);
  LoopFlag = true;
  loop.Start();  // no frames at all
  EXPECT_TRUE(loop.Step());
  EXPECT_TRUE(loop.Step());
  EXPECT_EQ(ticks.waits, 2);
  loop.Finish();
  LoopFlag = false;
  loop.Start();
  EXPECT_FALSE(loop.Step());  // without Loop it ends at once
  loop.Finish();

  QuickPlayIldaFrames = PreparedFrames({{}});  // one frame of no points
  loop.Start();
  ticks.waits = 0;
  EXPECT_TRUE(loop.Step());
  EXPECT_EQ(ticks.waits, 1);
  EXPECT_EQ(Frames().size(), 0u);
  loop.Finish();
}

TEST_F(QuickPlayLoops, AFrameIsCutAt8192Points) {
  const std::vector<PointRecord> points(kMaxFramePoints + 100, PointRecord{});
  EXPECT_EQ(OnePass(false, points).size(), kMaxFramePoints);
  EXPECT_EQ(OnePass(true, points).size(), kMaxFramePoints);
}

TEST_F(QuickPlayLoops, ThreadsBothLoopsRunOnTheWorkerUntilStop) {
  using namespace std::chrono_literals;
  RegisterQuickPlayLoops();
  QuickPlayDrawingList = Picture(std::vector<PointRecord>(50, PointRecord{}));
  QuickPlayIldaFrames = PreparedFrames({{PointRecord{}}, {PointRecord{}, PointRecord{}}});
  QuickPlayEffects.Rotation = 3;
  LoopFlag = true;
  for (uint8_t job : {kPlayJobDrawing, kPlayJobIlda}) {
    SCOPED_TRACE(int{job});
    ASSERT_TRUE(PlayController().StartPlayJob(job));
    FrameClock clock;
    size_t sent = 0;
    for (int i = 0; i < 3000 && sent < 20; ++i) {
      std::this_thread::sleep_for(1ms);
      sent += Frames().size();
    }
    EXPECT_GE(sent, 20u);
    EXPECT_TRUE(WorkerRunningFlag);
    EXPECT_LT(QuickPlayEffectState.Read().angle, 360);  // read while the loop moves it
    EXPECT_LT(QuickPlayFrameIndex, 2);
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    EXPECT_FALSE(WorkerRunningFlag);
  }
}

}  // namespace
}  // namespace kavri
