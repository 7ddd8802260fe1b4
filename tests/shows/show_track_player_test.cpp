#include <gtest/gtest.h>

#include "engine/colour_tables.h"
#include "shows/show_track_player.h"
#include "tests/shows/show_track_fixture.h"

namespace kavri {
namespace {

using kavri_test::AddRow;
using kavri_test::MakeDrawing;
using kavri_test::MakeImage;
using kavri_test::PointBytes;
using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Raises its tick whenever a track waits for it, and counts the waits.
class WaitCountingTicks : public TTickSource {
 public:
  bool Raised() const override { return raised_; }
  void Clear() override { raised_ = false; }
  void WaitRaisedOrStop() override {
    ++waits;
    raised_ = true;
  }
  int waits = 0;

 private:
  bool raised_ = false;
};

class ShowTrackPlayer : public kavri_test::ShowTracks {
 protected:
  // Steps the track to its end (at most `limit` steps) and gives the number of steps.
  int StepToEnd(TShowTrackPlayer& player, int limit = 100) {
    int steps = 0;
    while (steps < limit) {
      ++steps;
      if (!player.Step()) break;
    }
    return steps;
  }
};

TEST_F(ShowTrackPlayer, DrawingFrameBytesFollowTheInvertsAndOffsets) {
  const PointRecord start{10, 20, 2, 3, 0, 1};
  const PointRecord lit{100, 200, 1, 5, 0, 0};
  AddRow(show, 1, "a.ddr", 100).drawing = MakeDrawing({start, lit});
  SetShowTrackRows(show);
  struct Case {
    bool hInvert, vInvert;
    int hOffset, vOffset;
    int x0, y0, x1, y1;
  };
  for (const Case& c : {Case{false, false, 0, 0, 245, 235, 155, 55}, Case{true, true, 0, 0, 10, 20, 100, 200},
                        Case{false, false, 5, -7, 240, 242, 150, 62}, Case{true, false, -3, 0, 13, 235, 103, 55}}) {
    SCOPED_TRACE(testing::Message() << c.hInvert << c.vInvert << " " << c.hOffset << "," << c.vOffset);
    HInvertFlag = c.hInvert;
    VInvertFlag = c.vInvert;
    HOffset = c.hOffset;
    VOffset = c.vOffset;
    TShowTrackPlayer player(1);
    player.Start();
    ASSERT_TRUE(player.Step());
    EXPECT_EQ(Writes(), (std::vector<Bytes>{{100, 0x15},
                                            Cat({PointBytes(c.x0, c.y0, ColorIndexToTColor(3), 3),
                                                 PointBytes(c.x1, c.y1, ColorIndexToTColor(5), 0)})}));
  }
}

TEST_F(ShowTrackPlayer, SettingsPacketsCarry0x15ForDrawingsAndSegmentsAnd0ForImages) {
  const auto drawing = MakeDrawing({{1, 1, 1, 1, 0, 0}});
  auto segment = std::make_shared<TSectionList>();
  segment->push_back(std::make_unique<TSectionRecord>());
  segment->back()->A = 1;
  segment->back()->L = 20;
  segment->back()->drawing = drawing;
  AddRow(show, 1, "a.ddr", 100).drawing = drawing;
  AddRow(show, 2, "b.sec", 100).rows = segment;
  AddRow(show, 3, "c.ild", 100).ilda = MakeImage({{{1, 1, 0, 1, 0, 0}}});
  SetShowTrackRows(show);
  clocked->every = 1;
  BlankingDelay = 42;
  for (const auto& [track, second] : {std::pair{1, 0x15}, std::pair{2, 0x15}, std::pair{3, 0}}) {
    ClearTicks();
    TShowTrackPlayer player(track);
    player.Start();
    player.Step();
    const auto writes = Writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front(), (Bytes{42, static_cast<uint8_t>(second)})) << "track " << track;
  }
  // A drawing frame goes without the packet while both delays are 1.
  ScanDelay = 1;
  BlankingDelay = 1;
  ClearTicks();
  TShowTrackPlayer player(1);
  player.Start();
  player.Step();
  EXPECT_EQ(Writes().size(), 1u);
}

TEST_F(ShowTrackPlayer, SegmentItemsSendMirroredXAndOBlanksEveryPoint) {
  auto segment = std::make_shared<TSectionList>();
  segment->push_back(std::make_unique<TSectionRecord>());
  TSectionRecord& item = *segment->back();
  item.A = 1;
  item.L = 20;
  item.K = ColourModeAuto;
  item.O = 1;
  item.drawing = MakeDrawing({{10, 20, 1, 3, 0, 0}});
  AddRow(show, 1, "s.sec", 100).rows = segment;
  SetShowTrackRows(show);
  clocked->every = 1;
  TShowTrackPlayer player(1);
  player.Start();
  player.Step();
  // The item's packet, the pass before its tick, and the pass in which its time ran out.
  const Bytes frame = PointBytes(245, 235, ColorIndexToTColor(3), 1);
  EXPECT_EQ(Writes(), (std::vector<Bytes>{{100, 0x15}, frame, frame}));
}

TEST_F(ShowTrackPlayer, SegmentEffectsStepEvery101MinusBPointsAndTheItemsNOnlyUnderAuto) {
  struct Case {
    int32_t B, N, mode;
    int32_t angle, cycle, colourStep;
  };
  // Four points, two passes: eight points counted.
  for (const Case& c : {Case{100, 38, ColourModeAuto, 8, 2, 2}, Case{99, 38, ColourModeAuto, 4, 1, 1},
                        Case{98, 39, ColourModeAuto, 2, 1, 0}, Case{100, 38, ColourModeRnd1, 8, 0, 8}}) {
    SCOPED_TRACE(testing::Message() << "B " << c.B << " N " << c.N << " mode " << c.mode);
    show.ClearTracks();
    auto segment = std::make_shared<TSectionList>();
    segment->push_back(std::make_unique<TSectionRecord>());
    TSectionRecord& item = *segment->back();
    item.A = 1;
    item.B = c.B;
    item.C = 1;
    item.N = c.N;
    item.L = 20;
    item.drawing = MakeDrawing({{10, 20, 2, 3, 0, 0}, {30, 20, 1, 3, 0, 0}, {30, 40, 1, 3, 0, 0}, {10, 40, 1, 3, 0, 0}});
    AddRow(show, 2, "s.sec", 100).rows = segment;
    SetShowTrackRows(show);
    ShowColourMode = c.mode;
    clocked->every = 1;
    ClearTicks();
    TShowTrackPlayer player(2);
    player.Start();
    player.Step();
    EXPECT_EQ(Writes().size(), 3u);
    EXPECT_EQ(ShowTrackEffects[1][kShowAngle], c.angle);
    EXPECT_EQ(ShowColourCycle[1], c.cycle);
    EXPECT_EQ(ShowColourStep[1], c.colourStep);
    EXPECT_EQ(ShowTrackItemPoints[1], 4);
  }
}

TEST_F(ShowTrackPlayer, IldaFramesAdvanceOnePerFrameTick) {
  AddRow(show, 1, "i.ild", 100).ilda =
      MakeImage({{{0, 0, 0, 1, 0, 0}}, {{10, -20, 0, 1, 0, 0}}, {{-128, 127, 0, 1, 0, 1}}});
  SetShowTrackRows(show);
  clocked->every = 1;
  TShowTrackPlayer player(1);
  player.Start();
  player.Step();
  const TColor c = IldaColorToTColor(1);
  EXPECT_EQ(Writes(), (std::vector<Bytes>{{100, 0}, PointBytes(127, 128, c, 0), PointBytes(117, 108, c, 0),
                                          PointBytes(255, 255, c, 1)}));
  EXPECT_EQ(ShowTrackIldaFrame[0], 2);
}

TEST_F(ShowTrackPlayer, Track1KeepsAnImagesOwnColoursUnderTheAutomaticModes) {
  const auto image = MakeImage({{{0, 0, 0, 40, 0, 0}, {1, 0, 0, 40, 0, 0}, {2, 0, 0, 40, 0, 0}}});
  struct Case {
    int track;
    int32_t mode;
    std::array<uint8_t, 3> indexes;
  };
  const uint8_t fixed = ColorIndexToIldaColor(2);
  for (const Case& c : {Case{1, ColourModeRnd3, {40, 40, 40}}, Case{2, ColourModeRnd3, {0, 1, 2}},
                        Case{3, ColourModeRnd3, {0, 1, 2}}, Case{1, ColourModeRnd2, {40, 40, 40}},
                        Case{3, ColourModeRnd2, {0, 0, 0}}, Case{1, 2, {fixed, fixed, fixed}},
                        Case{2, 2, {fixed, fixed, fixed}}}) {
    SCOPED_TRACE(testing::Message() << "track " << c.track << " mode " << c.mode);
    show.ClearTracks();
    AddRow(show, c.track, "i.ild", 100).ilda = image;
    SetShowTrackRows(show);
    ShowColourMode = c.mode;
    clocked->every = 1;
    ClearTicks();
    TShowTrackPlayer player(c.track);
    player.Start();
    player.Step();
    const auto writes = Writes();
    ASSERT_EQ(writes.size(), 2u);
    ASSERT_EQ(writes[1].size(), 24u);
    for (int i = 0; i < 3; ++i) {
      const TColor colour = IldaColorToTColor(c.indexes[i]);
      EXPECT_EQ(Bytes(writes[1].begin() + 8 * i + 4, writes[1].begin() + 8 * i + 7),
                (Bytes{GetRValue(colour), GetGValue(colour), GetBValue(colour)}))
          << "point " << i;
    }
  }
}

TEST_F(ShowTrackPlayer, DrawingColourCycleAdvancesEvery121PointsAndPersistsAcrossFrames) {
  // Eleven points a frame under Rnd2: every frame shows the cycle in force at its points.
  std::vector<PointRecord> points(11, PointRecord{5, 5, 1, 9, 0, 0});
  AddRow(show, 1, "a.ddr", 1000).drawing = MakeDrawing(points);
  SetShowTrackRows(show);
  ShowColourMode = ColourModeRnd2;
  TShowTrackPlayer player(1);
  player.Start();
  std::vector<int> cycles;
  for (int frame = 0; frame < 23; ++frame) {
    player.Step();
    cycles.push_back(ShowColourCycle[0]);
  }
  // The 122nd point is the first of the new cycle; the 243rd the next.
  EXPECT_EQ(cycles[10], 0);
  EXPECT_EQ(cycles[11], 1);
  EXPECT_EQ(cycles[21], 1);
  EXPECT_EQ(cycles[22], 2);
  const auto writes = Writes();
  const auto colourAt = [&](int frame, int point) { return writes[2 * frame + 1][8 * point + 4]; };
  EXPECT_EQ(colourAt(11, 0), GetRValue(ColorIndexToTColor(1)));  // point 122: still cycle 0 + 1
  EXPECT_EQ(colourAt(11, 1), GetRValue(ColorIndexToTColor(2)));
}

TEST_F(ShowTrackPlayer, PauseFreezesRowTimeAndIldaFramesWhileTheSameFrameIsSent) {
  AddRow(show, 1, "a.ddr", 2).drawing = MakeDrawing({{1, 2, 1, 1, 0, 0}});
  AddRow(show, 1, "i.ild", 100).ilda = MakeImage({{{0, 0, 0, 1, 0, 0}}, {{5, 5, 0, 1, 0, 0}}});
  SetShowTrackRows(show);
  clocked->every = 1;
  PauseFlag = true;
  TShowTrackPlayer player(1);
  player.Start();
  for (int i = 0; i < 5; ++i) player.Step();
  EXPECT_EQ(ShowTrackRow[0], 0);
  EXPECT_EQ(ShowTrackRowTime[0], 0);
  EXPECT_EQ(Writes().size(), 10u);
  PauseFlag = false;
  player.Step();
  player.Step();
  player.Step();  // the drawing row's time is up: the image plays once
  EXPECT_EQ(ShowTrackRow[0], 1);
  Writes();
  // Paused during the image: frame 0 repeats and its row time stands still until play goes on.
  PauseFlag = true;
  std::vector<int32_t> rowTimes;
  clocked->onFrame = [&](int) {
    rowTimes.push_back(ShowTrackRowTime[0]);
    if (rowTimes.size() == 4) PauseFlag = false;
  };
  player.Step();
  const auto writes = Writes();
  ASSERT_GE(writes.size(), 6u);
  const Bytes first = PointBytes(127, 128, IldaColorToTColor(1), 0);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(writes[i], first) << i;
  EXPECT_EQ(writes[5], PointBytes(122, 133, IldaColorToTColor(1), 0));
  EXPECT_EQ(rowTimes[0], rowTimes[3]);
}

TEST_F(ShowTrackPlayer, RowsWithNothingToSendWaitForTheClockAndSendNothing) {
  auto noTime = std::make_shared<TSectionList>();
  noTime->push_back(std::make_unique<TSectionRecord>());
  noTime->back()->drawing = MakeDrawing({{1, 1, 1, 1, 0, 0}});  // A = 0
  struct Case {
    const char* name;
    std::function<void(TSequenceRecord&)> content;
  };
  for (const Case& c : {Case{"pause.xyz", [](TSequenceRecord&) {}}, Case{"empty.ddr", [](TSequenceRecord&) {}},
                        Case{"empty.ild", [](TSequenceRecord&) {}}, Case{"empty.sec", [](TSequenceRecord&) {}},
                        Case{"untimed.sec", [&](TSequenceRecord& r) { r.rows = noTime; }}}) {
    SCOPED_TRACE(c.name);
    show.ClearTracks();
    c.content(AddRow(show, 1, c.name, 3));
    SetShowTrackRows(show);
    WaitCountingTicks rowTicks, frameTicks;
    TShowTrackPlayer player(1, rowTicks, frameTicks);
    player.Start();
    // Each call waits for one row tick: the row lasts its three ticks.
    EXPECT_EQ(StepToEnd(player), 4);
    EXPECT_EQ(rowTicks.waits, 3);
    EXPECT_EQ(Writes(), std::vector<Bytes>{});
  }
}

TEST_F(ShowTrackPlayer, RowsWithoutTimeArePassedAtOnce) {
  const auto drawing = MakeDrawing({{1, 1, 1, 1, 0, 0}});
  AddRow(show, 1, "a.ddr", 0).drawing = drawing;
  AddRow(show, 1, "pause.xyz", -5);
  AddRow(show, 1, "b.ddr", 1).drawing = drawing;
  SetShowTrackRows(show);
  WaitCountingTicks rowTicks, frameTicks;
  TShowTrackPlayer player(1, rowTicks, frameTicks);
  player.Start();
  EXPECT_TRUE(player.Step());
  EXPECT_EQ(ShowTrackRow[0], 2);
  EXPECT_EQ(Writes().size(), 2u);
  EXPECT_EQ(rowTicks.waits, 0);
}

}  // namespace
}  // namespace kavri
