#include "quickplay/quick_play_loops.h"

#include <gtest/gtest.h>

#include <thread>

#include "engine/colour_tables.h"
#include "engine/ilda_file.h"
#include "engine/shared_state.h"
#include "quickplay/quick_play_preview.h"
#include "tests/engine/ticking_interface.h"
#include "tests/quickplay/quick_play_fixture.h"
#include "tests/support/shrinking_ilda_reads.h"
#include "tests/support/child_run.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::Picture;
using kavri_test::PreparedFrames;
using Sizes = std::vector<size_t>;

// Ticks raised by hand; waiting for one only counts the waits.
struct HandTicks : TTickSource {
  int64_t owed = 0;
  int waits = 0;
  int64_t Owed() const override { return owed; }
  void Take(int64_t n) override { owed -= n; }
  void WaitOwedOrStop() override { ++waits; }
};

class QuickPlayLoops : public kavri_test::QuickPlayFixture {
 protected:
  // The frame one pass sends: the drawing loop, or the ILDA loop on prepared frame copies. No
  // clock runs here, so the ILDA loop's ticks are raised by hand: a frame that came out empty would
  // wait for ever for a tick of the real clock.
  std::vector<TDevicePoint> OnePass(bool ilda, const std::vector<PointRecord>& points) {
    QuickPlayDrawingList = Picture(points);
    QuickPlayIldaFrames = PreparedFrames({points});
    TQuickDrawingLoop drawing;
    HandTicks ticks;
    TQuickIldaLoop frames(ticks);
    ilda ? frames.Start() : drawing.Start();
    Frames();
    EXPECT_TRUE(ilda ? frames.Step() : drawing.Step());
    ilda ? frames.Finish() : drawing.Finish();
    auto sent = Frames();
    return sent.empty() ? std::vector<TDevicePoint>{} : sent[0];
  }
  // Frame sizes of `passes` drawing passes.
  Sizes DrawingPasses(TQuickDrawingLoop& loop, int passes) {
    Sizes sizes;
    for (int i = 0; i < passes && loop.Step(); ++i)
      for (const auto& f : Frames()) sizes.push_back(f.size());
    return sizes;
  }
};


TEST_F(QuickPlayLoops, OnePointThroughTheLoops) {
  struct Case {
    bool ilda = false;
    PointRecord p{0, 0, 1, 1, 0, 0};  // ILDA: as the prepare step left it, (-128, -128) at (0, 0)
    bool hInvert = false, vInvert = false;
    uint8_t redSat = 100, greenSat = 100, blueSat = 100, intensity = 100;
    int32_t pointDraw = 0;
    uint8_t x = 255, y = 255;
    TColor colour = ColorIndexToTColor(1);
    uint8_t flags = 0;
  };
  const TColor ildaWhite = IldaColorToTColor(1);
  for (const Case& c : std::vector<Case>{
           {},
           {.hInvert = true, .x = 0},
           {.p = {10, 0, 1, 1, 0, 0}, .vInvert = true, .x = 245, .y = 0},
           {.ilda = true, .y = 0, .colour = ildaWhite},
           {.ilda = true, .p = {255, 255, 1, 1, 0, 0}, .hInvert = true, .vInvert = true, .y = 0, .colour = ildaWhite},
           // gains: saturation x intensity / 10000, each channel held at 255
           {.redSat = 50, .greenSat = 200, .blueSat = 0, .colour = RGBToTColor(127, 255, 0)},
           {.redSat = 150, .blueSat = 200, .intensity = 50, .colour = RGBToTColor(191, 127, 255)},
           // flags: 1 blanked (drawings: or PointDraw), 2 for a kind above 1
           {.p = {0, 0, 2, 1, 0, 1}, .flags = 3},
           {.pointDraw = 1, .flags = 1},
           {.ilda = true, .p = {0, 0, 2, 1, 0, 1}, .y = 0, .colour = ildaWhite, .flags = 3},
           {.ilda = true, .pointDraw = 1, .y = 0, .colour = ildaWhite}}) {
    HInvertFlag = c.hInvert;
    VInvertFlag = c.vInvert;
    RedSaturation = c.redSat;
    GreenSaturation = c.greenSat;
    BlueSaturation = c.blueSat;
    Intensity = c.intensity;
    QuickPlayEffects.PointDraw = c.pointDraw;
    const auto frame = OnePass(c.ilda, {c.p});
    ASSERT_EQ(frame.size(), 1u);
    const TDevicePoint& d = frame[0];
    EXPECT_EQ((std::vector<uint32_t>{d.x, d.y, RGBToTColor(d.red, d.green, d.blue), d.flags}),
              (std::vector<uint32_t>{c.x, c.y, c.colour, c.flags}))
        << (c.ilda ? "ILDA " : "drawing ") << c.p.x << "," << c.p.y;
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
      EXPECT_EQ(RGBToTColor(frame[i].red, frame[i].green, frame[i].blue),
                c.ilda ? IldaColorToTColor(c.index[i]) : ColorIndexToTColor(c.index[i]))
          << (c.ilda ? "ILDA" : "drawing") << " mode " << c.mode << " point " << i;
  }
  // Rnd3 wraps after 232; a black point stays black but counts.
  QuickPlayEffects.AllSpeed = 0;
  std::vector<PointRecord> points(234, PointRecord{0, 0, 0, 7, 0, 0});
  points[1].colour = 0;
  const auto frame = OnePass(false, points);
  ASSERT_EQ(frame.size(), 234u);
  for (size_t i : {0, 1, 2, 231, 232})
    EXPECT_EQ(frame[i].red, GetRValue(ColorIndexToTColor(i == 1 ? 0 : i % 232 + 1))) << i;
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
  QuickPlayDrawingList = Picture({PointRecord{}});
  QuickPlayEffects.AllSpeed = 100;  // one effect step per pass
  auto& e = QuickPlayEffects;
  e.HStretch = e.HRotate = e.HMove = 5;
  e.VStretch = e.VRotate = e.VMove = 3;
  TQuickDrawingLoop loop;
  loop.Start();
  DrawingPasses(loop, 3);
  e.HStretch = e.VStretch = e.HRotate = e.VRotate = e.HMove = e.VMove = 4;
  DrawingPasses(loop, 1);
  const TEffectValues v = QuickPlayEffectState.Read();
  EXPECT_EQ((std::vector<int32_t>{v.hSpread, v.vSpread, v.vSquash, v.hScroll, v.vScroll}),
            (std::vector<int32_t>{19, 19, 19, 19, 13}));
  // Spreads and scrolls reach 510 and go to 0 above it; squashes run modulo 256.
  e.HMove = 30;
  e.HRotate = e.VRotate = 40;
  DrawingPasses(loop, 16);
  EXPECT_EQ(QuickPlayEffectState.Read().hScroll, 499);
  DrawingPasses(loop, 1);
  EXPECT_EQ(QuickPlayEffectState.Read().hScroll, 0);
  EXPECT_EQ(QuickPlayEffectState.Read().hSquash, (19 + 17 * 40) % 256);
  DrawingPasses(loop, 17);
  EXPECT_EQ(QuickPlayEffectState.Read().hScroll, 510);
  loop.Finish();
}

TEST_F(QuickPlayLoops, SlowDrawGrowsByItsStepRestartsAtOnePointAndCarriesToTheNextRun) {
  QuickPlayDrawingList = Picture(std::vector<PointRecord>(100, PointRecord{}));
  QuickPlayEffects.SlowDraw = 10;
  QuickPlayEffects.AllSpeed = 0;
  TQuickDrawingLoop loop;
  loop.Start();
  Frames();
  // Each pass draws one point more than the slow-draw position, which moves by 10 per effect step.
  Sizes firstSeen;
  bool restarted = false;
  for (int pass = 0; pass < 400 && !restarted; ++pass) {
    const size_t size = DrawingPasses(loop, 1).at(0);
    if (!firstSeen.empty() && firstSeen.back() == 100 && QuickPlaySlowDrawCount == 0)
      restarted = size == 1;  // the pass in which the position went back ends where it was
    else if (std::find(firstSeen.begin(), firstSeen.end(), size) == firstSeen.end())
      firstSeen.push_back(size);
  }
  EXPECT_EQ(firstSeen, (Sizes{1, 11, 21, 31, 41, 51, 61, 71, 81, 91, 100}));
  EXPECT_TRUE(restarted);
  while (QuickPlaySlowDrawCount < 30) DrawingPasses(loop, 1);
  loop.Finish();
  TQuickDrawingLoop next;
  next.Start();
  EXPECT_EQ(DrawingPasses(next, 1), Sizes{31});
}

TEST_F(QuickPlayLoops, SettingsPacketGoesOutAtStartAndAgainOnlyWhenItChanges) {
  QuickPlayDrawingList = Picture({PointRecord{}});
  QuickPlayIldaFrames = PreparedFrames({{PointRecord{}}, {PointRecord{}}});
  using Packets = std::vector<std::vector<uint8_t>>;
  const auto packets = [&] {
    Packets out;
    for (const auto& p : sim->Packets())
      if (p.bytes.size() == 2) out.push_back(p.bytes);
    sim->ClearPackets();
    return out;
  };
  HandTicks ticks;
  TQuickDrawingLoop drawing;
  TQuickIldaLoop ilda(ticks);
  for (bool isIlda : {false, true}) {
    SCOPED_TRACE(isIlda ? "ILDA" : "drawing");
    const auto step = [&] { return isIlda ? ilda.Step() : drawing.Step(); };
    BlankingDelay = 90;
    ScanDelay = 60;
    isIlda ? ilda.Start() : drawing.Start();
    EXPECT_EQ(packets(), (Packets{{90, 60}}));
    step();
    step();
    ScanDelay = 61;
    step();
    if (isIlda) {  // the ILDA loop looks once per frame, the drawing loop before every pass
      EXPECT_EQ(packets(), Packets{});
      ticks.owed = 1;
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
    Sizes out;
    for (bool tick : tickBefore) {
      ticks.owed = tick ? 1 : 0;
      if (!loop.Step()) break;
      for (const auto& f : Frames()) out.push_back(f.size());
    }
    return out;
  };
  loop.Start();
  EXPECT_EQ(sizes({false, false, true, false}), (Sizes{1, 1, 2, 2}));
  PauseFlag = true;
  EXPECT_EQ(sizes({true, false, true}), (Sizes{2, 2, 2}));
  EXPECT_EQ(ticks.owed, 0);  // a tick while paused is used up
  PauseFlag = false;
  LoopFlag = true;
  EXPECT_EQ(sizes({true, true, true, false}), (Sizes{3, 1, 2, 2}));
  LoopFlag = false;
  EXPECT_EQ(sizes({true, true, true}), Sizes{3});  // ends after the last frame
  loop.Finish();
  EXPECT_FALSE(WorkerRunningFlag);
  // Stop: the remaining frame indexes are run through without a frame being sent.
  loop.Start();
  EXPECT_EQ(sizes({false}), Sizes{1});
  StopFlag = true;
  EXPECT_FALSE(loop.Step());
  loop.Finish();
  EXPECT_EQ(QuickPlayFrameIndex, 2);
  EXPECT_EQ(Frames().size(), 0u);
}

TEST_F(QuickPlayLoops, IldaFramesWrittenSlowerThanTicksComeAreEachSentInOrderAndTheImagePlaysSlower) {
  // Three frames, frame i of i + 1 points, so a frame's size tells which one was sent.
  std::vector<std::vector<PointRecord>> frames;
  for (int i = 0; i < 3; ++i) frames.emplace_back(i + 1, PointRecord{});
  struct Case {
    int ticksPerFrame;
    bool loop;
    Sizes sent;  // with Loop: the first six frames, then Stop
  };
  for (const Case& c : {Case{1, false, {1, 2, 3}}, Case{5, false, {1, 2, 3}}, Case{1, true, {1, 2, 3, 1, 2, 3}},
                        Case{5, true, {1, 2, 3, 1, 2, 3}}}) {
    SCOPED_TRACE(std::to_string(c.ticksPerFrame) + " ticks a frame" + (c.loop ? ", Loop" : ""));
    auto slow = std::make_shared<kavri_test::TickingInterface>("0", [] { QuickPlayTickFlag.Raise(); });
    slow->ticksPerFrame = c.ticksPerFrame;
    int sentFrames = 0;
    slow->onFrame = [&] {
      if (++sentFrames == 6) StopFlag = true;
    };
    sim = slow;
    SetActiveUsbDriver(sim);
    QuickPlayTickFlag.Clear();
    LoopFlag = c.loop;
    QuickPlayIldaFrames = PreparedFrames(frames);
    TQuickIldaLoop loop;
    loop.Start();
    for (int steps = 0; loop.Step(); ++steps) ASSERT_LT(steps, 100);
    loop.Finish();
    Sizes sizes;
    for (const auto& f : Frames()) sizes.push_back(f.size());
    EXPECT_EQ(sizes, c.sent);
    slow->onFrame = nullptr;
    StopFlag = false;
  }
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
  QuickPlayIldaFrames = PreparedFrames({{}});  // one frame of no points
  loop.Start();
  EXPECT_TRUE(loop.Step());
  EXPECT_EQ(ticks.waits, 3);
  loop.Finish();
  EXPECT_EQ(Frames().size(), 0u);
  LoopFlag = false;
  QuickPlayIldaFrames = PreparedFrames({});
  loop.Start();
  EXPECT_FALSE(loop.Step());  // without Loop it ends at once
  loop.Finish();
}

TEST_F(QuickPlayLoops, AFrameIsCutAt8192Points) {
  const std::vector<PointRecord> points(kMaxFramePoints + 100, PointRecord{});
  EXPECT_EQ(OnePass(false, points).size(), kMaxFramePoints);
  EXPECT_EQ(OnePass(true, points).size(), kMaxFramePoints);
}

// A file that is missing, unreadable or not chosen must not play what was played before.
TEST_F(QuickPlayLoops, PrepareEmptiesThePlayListWhenThereIsNothingToPlay) {
  kavri_test::ScratchDir dir;
  Drawing d;
  d.AddObject()->Add({5, 6, 0, 1, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(dir.Path("one.dra"), d, 1));
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames[0]->points = {{-128, -128, 0, 1, 0, 0}, {127, 127, 0, 1, 0, 0}};
  ASSERT_TRUE(WriteIldaFile(dir.Path("one.ild"), image));
  kavri_test::WriteBytes(dir.Path("none.ild"), {});

  const TQuickPlayStart drawing = PrepareDrawingPlay(dir.Path("one.dra"));
  EXPECT_TRUE(drawing.start);
  EXPECT_EQ(drawing.status, "Drawing playing start...");
  EXPECT_EQ(QuickPlayDrawingList->PointCount(), 1u);
  const TQuickPlayStart ilda = PrepareIldaPlay(dir.Path("one.ild"));
  EXPECT_TRUE(ilda.start);
  EXPECT_EQ(ilda.status, "ILDAimage Playing start...");
  ASSERT_EQ(QuickPlayIldaFrames->FrameCount(), 1u);
  std::vector<PointRecord> moved;
  QuickPlayIldaFrames->Expand(0, moved);
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ((std::vector<int32_t>{moved[0].x, moved[0].y, moved[1].x, moved[1].y}),
            (std::vector<int32_t>{0, 0, 255, 255}));

  for (const std::string& path : {std::string(), dir.Path("gone.dra")}) {
    QuickPlayDrawingList = Picture({PointRecord{}});
    const TQuickPlayStart none = PrepareDrawingPlay(path);
    EXPECT_FALSE(none.start) << path;
    EXPECT_FALSE(none.status.empty());
    EXPECT_TRUE(QuickPlayDrawingList->Empty());
  }
  for (const std::string& path : {std::string(), dir.Path("gone.ild"), dir.Path("none.ild")}) {
    QuickPlayIldaFrames = PreparedFrames({{PointRecord{}}});
    const TQuickPlayStart none = PrepareIldaPlay(path);
    EXPECT_FALSE(none.start) << path;
    EXPECT_FALSE(none.status.empty());
    EXPECT_EQ(QuickPlayIldaFrames->FrameCount(), 0u);
  }
}

// A file that is cut, or fails to read, after it was measured is no file of shorter frames: the
// play does not start, and the message names the file.
TEST_F(QuickPlayLoops, PrepareStopsAtAFrameThatFailsToReadAndNamesTheFile) {
  using kavri_test::ShrinkingIldaReads;
  kavri_test::ScratchDir dir;
  const std::string path = dir.Path("two.ild");
  for (const ShrinkingIldaReads::Mode mode : {ShrinkingIldaReads::Mode::Cut, ShrinkingIldaReads::Mode::Fail}) {
    TILDAimage image;
    for (int f = 0; f < 2; ++f) {
      image.frames.push_back(std::make_unique<TILDAframe>());
      image.frames.back()->points = {{f, f, 0, 1, 0, 0}};
    }
    ASSERT_TRUE(WriteIldaFile(path, image));  // two frames of 40 bytes
    QuickPlayIldaFrames = PreparedFrames({{PointRecord{}}});
    ShrinkingIldaReads shrinking(40 + 39, mode);
    const TQuickPlayStart start = PrepareIldaPlay(path);
    EXPECT_FALSE(start.start);
    EXPECT_EQ(start.status.rfind("Cannot read " + path + ": ", 0), 0u) << start.status;
    EXPECT_EQ(QuickPlayIldaFrames->FrameCount(), 0u);
  }
}

// The frames are read one at a time into five bytes a point: a file whose frames would take 67 MB
// as the reader holds them is made ready in about 21 MB, and plays its frames as read.
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limit leaves
TEST_F(QuickPlayLoops, PrepareHoldsALargeFileInFiveBytesAPoint) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  kavri_test::ScratchDir dir;
  {
    TILDAimage image;
    for (int f = 0; f < 64; ++f) {
      image.frames.push_back(std::make_unique<TILDAframe>());
      image.frames.back()->points.resize(kIldaMaxFramePoints);
      PointRecord& last = image.frames.back()->points.back();
      last.x = f - 128;
      last.y = 127;
      last.colour = static_cast<uint8_t>(f);
      last.blanked = 1;
    }
    ASSERT_TRUE(WriteIldaFile(dir.Path("large.ild"), image));
  }
  EXPECT_EQ(kavri_test::RunInChild(30, [&] {
              if (!kavri_test::LimitAddressSpaceGrowth(40u << 20)) return false;
              if (!PrepareIldaPlay(dir.Path("large.ild")).start || QuickPlayIldaFrames->FrameCount() != 64) return false;
              std::vector<PointRecord> frame;
              for (size_t f = 0; f < 64; ++f) {
                QuickPlayIldaFrames->Expand(f, frame);
                const PointRecord& last = frame.back();
                if (frame.size() != kIldaMaxFramePoints || last.x != static_cast<int>(f) || last.y != 255 ||
                    last.colour != f || last.blanked != 1)
                  return false;
              }
              return true;
            }),
            "");
}
#endif

TEST_F(QuickPlayLoops, ThreadsBothLoopsRunOnTheWorkerWhileThePreviewReadsUntilStop) {
  using namespace std::chrono_literals;
  RegisterQuickPlayLoops();
  QuickPlayDrawingList = Picture(std::vector<PointRecord>(50, PointRecord{}));
  QuickPlayIldaFrames = PreparedFrames({{PointRecord{}}, {PointRecord{}, PointRecord{}}});
  QuickPlayEffects.Rotation = 3;
  QuickPlayEffects.SlowDraw = 2;
  LoopFlag = true;
  for (uint8_t job : {kPlayJobDrawing, kPlayJobIlda}) {
    SCOPED_TRACE(int{job});
    std::atomic<bool> done{false};
    std::thread frameClock([&] {
      for (; !done; std::this_thread::sleep_for(5ms)) QuickPlayTickFlag.Raise();
    });
    ASSERT_TRUE(PlayController().StartPlayJob(job));
    size_t sent = 0;
    for (int i = 0; i < 3000 && sent < 20; ++i) {
      std::this_thread::sleep_for(1ms);
      sent += Frames().size();
      const TQuickPreview preview = QuickPlayPreview(job == kPlayJobDrawing ? QuickPlayDrawing : QuickPlayIld);
      EXPECT_LE(preview.points.size(), 50u);
    }
    EXPECT_GE(sent, 20u);
    EXPECT_TRUE(WorkerRunningFlag);
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    done = true;
    frameClock.join();
    EXPECT_FALSE(WorkerRunningFlag);
  }
}

}  // namespace
}  // namespace kavri
