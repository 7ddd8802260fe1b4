#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "engine/colour_tables.h"
#include "engine/play_kernel.h"
#include "engine/shared_state.h"

namespace kavri {
namespace {

// Point lists as the kernel walks them.
struct TestLists {
  std::vector<std::vector<PointRecord>> lists;
  size_t ObjectCount() const { return lists.size(); }
  std::span<const PointRecord> Object(size_t i) const { return lists[i]; }
};

TestLists OneList(int points, uint8_t colour = 3) {
  TestLists l;
  l.lists.emplace_back();
  for (int i = 0; i < points; ++i) l.lists[0].push_back({i % 256, 2 * i % 256, 0, colour, 0, 0});
  return l;
}

// Hooks with fixed letters and no pacing.
struct FixedHooks {
  TEffectParams params;
  int32_t mode = ColourModeAuto;
  bool paused = false;
  int steps = 0;
  bool BeforeList() { return true; }
  bool BeforePoint() { return true; }
  const TEffectParams& Params() { return params; }
  int32_t ColourSpeed() { return params.N; }
  int32_t ColourMode() { return mode; }
  bool Paused() { return paused; }
  void EffectStepped(const TEffectValues&) { ++steps; }
};

std::pair<int, int> DeviceXY(TStartMap map, const TEffectParams& p, const PointRecord& point,
                             const TEffectValues& v = {}) {
  const TDevicePoint d = EffectDevicePoint(map, p, v, TOutputSettings::Live(), point, 0);
  return {d.x, d.y};
}

class PlayKernel : public ::testing::Test {
 protected:
  void SetUp() override { ResetSharedState(); }
  void TearDown() override { ResetSharedState(); }
};

TEST_F(PlayKernel, StartMapsInvertsAndTheFixedTransforms) {
  const PointRecord p{10, 20, 0, 1, 0, 0};
  const TEffectParams plain;
  struct Case {
    TStartMap map;
    PointRecord point;
    std::pair<int, int> expected;
  };
  for (const Case& c : std::vector<Case>{{TStartMap::StoredX, p, {10, 235}},
                                         {TStartMap::Mirrored, p, {245, 235}},
                                         {TStartMap::IldaPrepared, p, {245, 20}},
                                         {TStartMap::IldaRaw, {-128, -128, 0, 1, 0, 0}, {255, 0}},
                                         {TStartMap::IldaRaw, {127, 127, 0, 1, 0, 0}, {0, 255}}})
    EXPECT_EQ(DeviceXY(c.map, plain, c.point), c.expected) << static_cast<int>(c.map);

  HInvertFlag = true;
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, plain, p), std::make_pair(245, 235));
  VInvertFlag = true;
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, plain, p), std::make_pair(245, 20));
  HInvertFlag = VInvertFlag = false;

  TEffectParams zoom;
  zoom.L = 40;  // (10, 235) doubles away from the centre and meets both edges
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, zoom, p), std::make_pair(0, 255));
  TEffectParams offsets;
  offsets.Q = 5;
  offsets.R = -3;
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, offsets, p), std::make_pair(5, 238));
  TEffectParams turned;
  turned.M = 180;  // 245.99999.. and 20.99999.. with the loops' pi, truncated
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, turned, p), std::make_pair(245, 20));
  turned.M = 0;
  LocateAngle = 90;
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, turned, p), std::make_pair(20, 10));
  LocateAngle = 0;
  HOffset = 4;
  HSize = 10;  // (10 - 4) halves its distance to 128: 128 - 61
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, plain, p).first, 67);
}

TEST_F(PlayKernel, EffectTransformsActOnlyWhileTheirLetterIsAboveZero) {
  const PointRecord p{100, 155, 0, 1, 0, 0};  // starts at (100, 100) with StoredX
  TEffectValues v;
  v.hScroll = 30;
  v.angle = 180;
  TEffectParams idle;
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, idle, p, v), std::make_pair(100, 100));
  TEffectParams scrolling;
  scrolling.I = 1;
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, scrolling, p, v), std::make_pair(70, 100));
  TEffectParams turning;
  turning.C = 1;
  EXPECT_EQ(DeviceXY(TStartMap::StoredX, turning, p, v), std::make_pair(156, 155));  // 156.0000015, 155.9999985
}

TEST_F(PlayKernel, EffectCadenceCouplingsAndWraps) {
  TEffectValues v;
  TEffectParams every;
  every.B = 100;
  TEffectStepper stepper(TEffectWrap::Modulo510);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(stepper.CountPoint(every, 0, false, 10, v));
  TEffectParams rare;  // B = 0: every 101st point
  int steps = 0;
  for (int i = 0; i < 303; ++i) steps += stepper.CountPoint(rare, 0, false, 10, v) ? 1 : 0;
  EXPECT_EQ(steps, 3);
  for (int i = 0; i < 500; ++i) ASSERT_FALSE(stepper.CountPoint(every, 0, true, 10, v));  // paused: no count

  TEffectParams coupled;
  coupled.E = coupled.F = 7;
  coupled.G = coupled.H = 9;
  coupled.I = coupled.J = 11;
  TEffectValues c;
  c.vSpread = 100;
  c.vSquash = 50;
  c.vScroll = 20;
  stepper.Step(coupled, 0, 10, c);
  EXPECT_EQ(c.vSpread, c.hSpread);
  EXPECT_EQ(c.vSquash, c.hSquash);
  EXPECT_EQ(c.hScroll, 11);
  EXPECT_EQ(c.vScroll, 31);  // scrolls never couple

  struct WrapCase {
    TEffectWrap wrap;
    int32_t from, by, expected;
  };
  for (const WrapCase& w : std::vector<WrapCase>{{TEffectWrap::Modulo510, 500, 20, 10},
                                                 {TEffectWrap::Modulo510, 500, 10, 0},
                                                 {TEffectWrap::ZeroAbove510, 500, 10, 510},
                                                 {TEffectWrap::ZeroAbove510, 500, 20, 0},
                                                 {TEffectWrap::Modulo510, 2147483600, 2147483600, 2147483600 % 510 * 2 % 510},
                                                 {TEffectWrap::Modulo510, 0, -20, 490}}) {
    TEffectStepper s(w.wrap);
    TEffectParams p;
    p.I = w.by;
    TEffectValues x;
    x.hScroll = w.from;
    s.Step(p, 0, 10, x);
    EXPECT_EQ(x.hScroll, w.expected) << w.from << " + " << w.by;
  }

  TEffectParams huge;  // hand-edited values at the integer limits stay in range
  huge.B = INT32_MIN;
  huge.C = INT32_MAX;
  huge.D = INT32_MAX;
  TEffectValues h;
  h.angle = 359;
  h.slowDraw = 5;
  TEffectStepper s(TEffectWrap::Modulo510);
  s.Step(huge, INT32_MIN, 10, h);
  EXPECT_GE(h.angle, 0);
  EXPECT_LT(h.angle, 360);
  EXPECT_EQ(h.slowDraw, 0);
  EXPECT_FALSE(s.CountPoint(huge, 0, false, 10, h));
}

TEST_F(PlayKernel, ColourCycleAdvancesAfter41MinusNSteps) {
  for (const auto& [speed, stepsPerAdvance] : std::vector<std::pair<int, int>>{{40, 1}, {0, 41}, {30, 11}}) {
    TEffectStepper s(TEffectWrap::Modulo510);
    TEffectValues v;
    for (int i = 0; i < stepsPerAdvance * 3; ++i) s.Step({}, speed, 1, v);
    EXPECT_EQ(v.colourCycle, 3) << speed;
  }
}

TEST_F(PlayKernel, ColourRules) {
  const TEffectParams row = [] {
    TEffectParams p;
    p.K = 2;
    return p;
  }();
  TEffectParams wild;
  wild.K = 300;
  EXPECT_EQ(PointColour(TColourRule::Picture, 5, row, 0, 0, 0), ColorIndexToTColor(0));  // black stays black
  EXPECT_EQ(PointColour(TColourRule::Picture, 5, row, 9, 0, 0), ColorIndexToTColor(5));
  EXPECT_EQ(PointColour(TColourRule::Picture, ColourModeAuto, row, 9, 0, 0), ColorIndexToTColor(9));
  EXPECT_EQ(PointColour(TColourRule::PictureRowAuto, ColourModeAuto, row, 9, 0, 0), ColorIndexToTColor(2));
  EXPECT_EQ(PointColour(TColourRule::PictureRowAuto, ColourModeAuto, wild, 9, 0, 0), ColorIndexToTColor(9));
  EXPECT_EQ(PointColour(TColourRule::PictureRowAuto, 4, row, 9, 0, 0), ColorIndexToTColor(4));
  EXPECT_EQ(PointColour(TColourRule::Picture, ColourModeRnd3, row, 9, 7, 233), ColorIndexToTColor(2));
  EXPECT_EQ(PointColour(TColourRule::Ilda, 2, row, 0, 0, 0), IldaColorToTColor(ColorIndexToIldaColor(2)));
  EXPECT_EQ(PointColour(TColourRule::Ilda, ColourModeRnd1, row, 60, 10, 0), IldaColorToTColor(6));
  EXPECT_EQ(PointColour(TColourRule::IldaOwnUnlessFixed, ColourModeRnd1, row, 60, 10, 0), IldaColorToTColor(60));
  EXPECT_EQ(PointColour(TColourRule::IldaOwnUnlessFixed, 2, row, 60, 10, 0),
            IldaColorToTColor(ColorIndexToIldaColor(2)));
}

// The lengths of `passes` passes over one ten-point list with D = 1 and B = 0.
std::vector<size_t> SlowDrawLengths(TSlowDrawCut cut, int passes) {
  const TestLists lists = OneList(10);
  FixedHooks hooks;
  hooks.params.D = 1;
  TEffectStepper stepper(TEffectWrap::Modulo510);
  TEffectValues values;
  values.slowDraw = 10;  // a run starts with the whole drawing
  TFrameBuffer frame;
  std::vector<size_t> lengths;
  TPassPolicy policy;
  policy.cut = cut;
  for (int i = 0; i < passes; ++i) {
    EXPECT_EQ(WalkPass(lists, policy, TOutputSettings::Live(), 10, stepper, values, frame, hooks), TPassEnd::Complete);
    lengths.push_back(frame.Count());
  }
  return lengths;
}

TEST_F(PlayKernel, SlowDrawGrowsOnePointPerStepAndCutsAsThePolicySays) {
  // Whole passes until the first step at the 101st point; then one point per pass. An immediate
  // cut stops counting points with the pass (2 a pass), the list-boundary cut counts all ten.
  auto expected = [](int whole, int single, int longer) {
    std::vector<size_t> v(whole, 10);
    v.insert(v.end(), single, 1);
    v.insert(v.end(), longer, 2);
    return v;
  };
  EXPECT_EQ(SlowDrawLengths(TSlowDrawCut::Immediate, 61), expected(10, 50, 1));
  EXPECT_EQ(SlowDrawLengths(TSlowDrawCut::AtListBoundary, 21), expected(10, 10, 1));
}

TEST_F(PlayKernel, PassPacksGainsFlagsAndCutsAt8192PointsWithoutChangingTheCadence) {
  TestLists lists = OneList(kMaxFramePoints + 1, 2);
  lists.lists[0][1].blanked = 1;
  lists.lists[0][2].kind = 2;
  FixedHooks hooks;
  hooks.params.B = 100;
  RedSaturation = 50;
  Intensity = 200;
  TEffectStepper stepper(TEffectWrap::Modulo510);
  TEffectValues values;
  TFrameBuffer frame;
  WalkPass(lists, TPassPolicy{}, TOutputSettings::Live(), kMaxFramePoints + 1, stepper, values, frame, hooks);
  EXPECT_EQ(frame.Count(), kMaxFramePoints);
  EXPECT_EQ(hooks.steps, static_cast<int>(kMaxFramePoints) + 1);
  const TColor red = ColorIndexToTColor(2);
  EXPECT_EQ(frame[0].red, std::min(255u, GetRValue(red) * 50u * 200u / 10000u));
  EXPECT_EQ(frame[0].green, std::min(255u, GetGValue(red) * 100u * 200u / 10000u));
  EXPECT_EQ(frame[0].flags, 0);
  EXPECT_EQ(frame[1].flags, 1);
  EXPECT_EQ(frame[2].flags, 2);
  EXPECT_EQ(frame[0].x, 255);  // Mirrored: 255 - 0
}

}  // namespace
}  // namespace kavri
