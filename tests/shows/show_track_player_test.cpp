#include <gtest/gtest.h>

#include "engine/colour_tables.h"
#include "shows/show_track_player.h"
#include "tests/shows/show_track_fixture.h"

namespace kavri {
namespace {

using namespace kavri_test;

Bytes Cat(const Bytes& a, const Bytes& b) {
  Bytes out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

// Raises a tick whenever a track waits for one, and counts the waits.
class WaitCountingTicks : public TTickSource {
 public:
  int64_t Owed() const override { return owed_; }
  void Take(int64_t n) override { owed_ -= n; }
  void WaitOwedOrStop() override {
    ++waits;
    ++owed_;
  }
  int waits = 0;

 private:
  int64_t owed_ = 0;
};

// One call of track `track`'s builder for its first row, on a still clock.
class ShowTrackPlayer : public ShowTracks {
 protected:
  std::vector<Bytes> PlayOnce(int track) {
    SetShowTrackRows(show);
    ClearTicks();
    TShowTrackPlayer player(track);
    player.Start();
    player.Step();
    return Writes();
  }
};

TEST_F(ShowTrackPlayer, DrawingFrameBytesFollowTheInvertsAndOffsets) {
  AddRow(1, "a.ddr", 100).drawing = MakeDrawing({{10, 20, 2, 3, 0, 1}, {100, 200, 1, 5, 0, 0}});
  struct Case {
    bool hInvert, vInvert;
    int hOffset, vOffset, x0, y0, x1, y1;
  };
  for (const Case& c : {Case{false, false, 0, 0, 245, 235, 155, 55}, Case{true, true, 0, 0, 10, 20, 100, 200},
                        Case{false, false, 5, -7, 240, 242, 150, 62}, Case{true, false, -3, 0, 13, 235, 103, 55}}) {
    HInvertFlag = c.hInvert;
    VInvertFlag = c.vInvert;
    HOffset = c.hOffset;
    VOffset = c.vOffset;
    EXPECT_EQ(PlayOnce(1), (std::vector<Bytes>{{100, 0x15},
                                               Cat(PointBytes(c.x0, c.y0, ColorIndexToTColor(3), 3),
                                                   PointBytes(c.x1, c.y1, ColorIndexToTColor(5), 0))}))
        << c.hInvert << c.vInvert << " " << c.hOffset << "," << c.vOffset;
  }
}

TEST_F(ShowTrackPlayer, SettingsPacketsCarry0x15ForDrawingsAndSegmentsAnd0ForImages) {
  const auto drawing = MakeDrawing({{1, 1, 1, 1, 0, 0}});
  AddRow(1, "a.ddr", 100).drawing = drawing;
  AddRow(2, "b.sec", 100).rows = OneItem(drawing, [](TSectionRecord& r) { r.A = 1; });
  AddRow(3, "c.ild", 100).ilda = MakeImage({{{1, 1, 0, 1, 0, 0}}});
  sim->ticking = true;
  BlankingDelay = 42;
  for (const auto& [track, second] : {std::pair{1, 0x15}, std::pair{2, 0x15}, std::pair{3, 0}}) {
    const std::vector<Bytes> writes = PlayOnce(track);
    ASSERT_FALSE(writes.empty()) << "track " << track;
    EXPECT_EQ(writes.front(), (Bytes{42, static_cast<uint8_t>(second)})) << "track " << track;
  }
  // A drawing frame goes without the packet while both delays are 1.
  ScanDelay = 1;
  BlankingDelay = 1;
  EXPECT_EQ(PlayOnce(1).size(), 1u);
}

TEST_F(ShowTrackPlayer, SegmentItemsSendMirroredXAndOBlanksEveryPoint) {
  AddRow(1, "s.sec", 100).rows = OneItem(MakeDrawing({{10, 20, 1, 3, 0, 0}}), [](TSectionRecord& r) {
    r.A = 1;
    r.O = 1;
  });
  sim->ticking = true;
  // The item's packet, the pass before its tick, and the pass in which its time ran out.
  const Bytes frame = PointBytes(245, 235, ColorIndexToTColor(3), 1);
  EXPECT_EQ(PlayOnce(1), (std::vector<Bytes>{{100, 0x15}, frame, frame}));
}

TEST_F(ShowTrackPlayer, SegmentEffectsStepEvery101MinusBPointsAndTheItemsNOnlyUnderAuto) {
  struct Case {
    int32_t B, N, mode, angle, cycle, colourStep;
  };
  // Four points, two passes: eight points counted.
  for (const Case& c : {Case{100, 38, ColourModeAuto, 8, 2, 2}, Case{99, 38, ColourModeAuto, 4, 1, 1},
                        Case{98, 39, ColourModeAuto, 2, 1, 0}, Case{100, 38, ColourModeRnd1, 8, 0, 8}}) {
    show.ClearTracks();
    AddRow(2, "s.sec", 100).rows =
        OneItem(MakeDrawing({{10, 20, 2, 3, 0, 0}, {30, 20, 1, 3, 0, 0}, {30, 40, 1, 3, 0, 0}, {10, 40, 1, 3, 0, 0}}),
                [&](TSectionRecord& r) {
                  r.A = 1;
                  r.B = c.B;
                  r.C = 1;
                  r.N = c.N;
                });
    ShowColourMode = c.mode;
    sim->ticking = true;
    EXPECT_EQ(PlayOnce(2).size(), 3u);
    EXPECT_EQ(ShowTrackEffects[1][kShowAngle], c.angle) << "B " << c.B;
    EXPECT_EQ(ShowColourCycle[1], c.cycle) << "B " << c.B << " mode " << c.mode;
    EXPECT_EQ(ShowColourStep[1], c.colourStep) << "B " << c.B << " mode " << c.mode;
  }
}

TEST_F(ShowTrackPlayer, IldaFramesAdvanceOnePerFrameTick) {
  AddRow(1, "i.ild", 100).ilda = MakeImage({{{0, 0, 0, 1, 0, 0}}, {{10, -20, 0, 1, 0, 0}}, {{-128, 127, 0, 1, 0, 1}}});
  sim->ticking = true;
  const TColor c = IldaColorToTColor(1);
  EXPECT_EQ(PlayOnce(1), (std::vector<Bytes>{{100, 0}, PointBytes(127, 128, c, 0), PointBytes(117, 108, c, 0),
                                             PointBytes(255, 255, c, 1)}));
  EXPECT_EQ(ShowTrackIldaFrame[0], 2);
}

TEST_F(ShowTrackPlayer, Track1KeepsAnImagesOwnColoursUnderTheAutomaticModesWhileTracks2And3Cycle) {
  const auto image = MakeImage({{{0, 0, 0, 40, 0, 0}, {1, 0, 0, 40, 0, 0}}});
  const uint8_t fixed = ColorIndexToIldaColor(2);
  struct Case {
    int track;
    int32_t mode;
    uint8_t first, second;
  };
  for (const Case& c : {Case{1, ColourModeRnd3, 40, 40}, Case{2, ColourModeRnd3, 0, 1}, Case{3, ColourModeRnd3, 0, 1},
                        Case{1, ColourModeRnd2, 40, 40}, Case{3, ColourModeRnd2, 0, 0}, Case{1, 2, fixed, fixed},
                        Case{2, 2, fixed, fixed}}) {
    show.ClearTracks();
    AddRow(c.track, "i.ild", 100).ilda = image;
    ShowColourMode = c.mode;
    sim->ticking = true;
    const Bytes frame = PlayOnce(c.track).at(1);
    EXPECT_EQ(Cat(Bytes(frame.begin() + 4, frame.begin() + 7), Bytes(frame.begin() + 12, frame.begin() + 15)),
              Cat(ColourBytes(IldaColorToTColor(c.first)), ColourBytes(IldaColorToTColor(c.second))))
        << "track " << c.track << " mode " << c.mode;
  }
}

TEST_F(ShowTrackPlayer, DrawingColourCycleAdvancesEvery121PointsAndPersistsAcrossFrames) {
  AddRow(1, "a.ddr", 1000).drawing = MakeDrawing(std::vector<PointRecord>(11, PointRecord{5, 5, 1, 9, 0, 0}));
  SetShowTrackRows(show);
  ShowColourMode = ColourModeRnd2;
  TShowTrackPlayer player(1);
  player.Start();
  std::vector<Bytes> colours;  // of every point played, under Rnd2 the cycle's colour
  for (int frame = 0; frame < 23; ++frame) {
    player.Step();
    const Bytes f = Writes().at(1);
    for (size_t p = 0; p < f.size(); p += 8) colours.push_back(Bytes(f.begin() + p + 4, f.begin() + p + 7));
  }
  // The colour steps come at points 12, 23, 34...: the eleventh, at point 122, advances the cycle.
  ASSERT_GE(colours.size(), 243u);
  EXPECT_EQ(colours[120], ColourBytes(ColorIndexToTColor(1)));
  EXPECT_EQ(colours[121], ColourBytes(ColorIndexToTColor(2)));
  EXPECT_EQ(colours[241], ColourBytes(ColorIndexToTColor(2)));
  EXPECT_EQ(colours[242], ColourBytes(ColorIndexToTColor(3)));
}

TEST_F(ShowTrackPlayer, PauseFreezesRowTimeAndIldaFramesWhileTheSameFrameIsSent) {
  AddRow(1, "a.ddr", 2).drawing = MakeDrawing({{1, 2, 1, 1, 0, 0}});
  AddRow(1, "i.ild", 100).ilda = MakeImage({{{0, 0, 0, 1, 0, 0}}, {{5, 5, 0, 1, 0, 0}}});
  SetShowTrackRows(show);
  sim->ticking = true;
  PauseFlag = true;
  TShowTrackPlayer player(1);
  player.Start();
  for (int i = 0; i < 5; ++i) player.Step();
  EXPECT_EQ(ShowTrackRowTime[0], 0);
  EXPECT_EQ(Writes().size(), 10u);
  PauseFlag = false;
  for (int i = 0; i < 3; ++i) player.Step();  // two ticks end the drawing row; the image plays once
  EXPECT_EQ(ShowTrackRow[0], 1);
  Writes();
  // Paused during the image: frame 0 repeats with its row time still until play goes on.
  PauseFlag = true;
  std::vector<int32_t> rowTimes;
  sim->onFrame = [&] {
    rowTimes.push_back(ShowTrackRowTime[0]);
    if (rowTimes.size() == 4) PauseFlag = false;
  };
  player.Step();
  const auto writes = Writes();
  ASSERT_GE(writes.size(), 6u);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(writes[i], PointBytes(127, 128, IldaColorToTColor(1), 0)) << i;
  EXPECT_EQ(writes[5], PointBytes(122, 133, IldaColorToTColor(1), 0));
  ASSERT_GE(rowTimes.size(), 4u);
  EXPECT_EQ(rowTimes[0], rowTimes[3]);
}

TEST_F(ShowTrackPlayer, RowsWithNothingToSendWaitForTheClockAndSendNoFrame) {
  const auto untimed = OneItem(MakeDrawing({{1, 1, 1, 1, 0, 0}}), [](TSectionRecord&) {});  // A = 0
  for (const char* name : {"pause.xyz", "empty.ddr", "empty.ild", "empty.sec", "untimed.sec"}) {
    show.ClearTracks();
    const bool untimedItem = AddRow(1, name, 3).name == "untimed.sec";
    if (untimedItem) show.track1[0]->rows = untimed;
    SetShowTrackRows(show);
    WaitCountingTicks ticks;
    TShowTrackPlayer player(1, ticks);
    player.Start();
    int calls = 0;
    while (player.Step() && calls < 100) ++calls;
    // Each call waits for one row tick: the row lasts its three ticks.
    EXPECT_EQ(calls, 3) << name;
    EXPECT_EQ(ticks.waits, 3) << name;
    // An item without time plays no pass, but begins as every item does, with its settings packet.
    EXPECT_EQ(Writes(), untimedItem ? std::vector<Bytes>(3, Bytes{100, 0x15}) : std::vector<Bytes>{}) << name;
  }
}

TEST_F(ShowTrackPlayer, ASegmentItemWithoutTimeSendsItsSettingsPacketAndNoPass) {
  auto items = OneItem(MakeDrawing({{10, 20, 1, 3, 0, 0}}), [](TSectionRecord& r) { r.A = -2; });
  items->push_back(std::move(OneItem(MakeDrawing({{30, 20, 1, 3, 0, 0}}), [](TSectionRecord& r) { r.A = 1; })->front()));
  AddRow(1, "s.sec", 100).rows = items;
  sim->ticking = true;
  BlankingDelay = 42;
  // Both items' packets; the timed one's pass before its tick and the pass in which its time ran out.
  const Bytes frame = PointBytes(225, 235, ColorIndexToTColor(3), 0);
  EXPECT_EQ(PlayOnce(1), (std::vector<Bytes>{{42, 0x15}, {42, 0x15}, frame, frame}));
}

TEST_F(ShowTrackPlayer, Track1sColourCycleRunsOnAcrossAnIldaRowAsIfItWereNotThere) {
  // Under Rnd2 a drawing's points take the cycle's colour, cycle + 1. Two drawing rows of 65-point
  // frames with an image row between them: the cycle advances at the 122nd point the drawings
  // send and again 121 points on, at the 243rd; the image neither restarts it nor counts towards it.
  const auto drawing = MakeDrawing(std::vector<PointRecord>(65, PointRecord{5, 5, 1, 9, 0, 0}));
  AddRow(1, "a.ddr", 1).drawing = drawing;
  AddRow(1, "i.ild", 2).ilda = MakeImage({{{0, 0, 0, 1, 0, 0}}, {{1, 0, 0, 1, 0, 0}}});
  AddRow(1, "b.ddr", 3).drawing = drawing;
  ShowColourMode = ColourModeRnd2;
  SetShowTrackRows(show);
  sim->ticking = true;
  TShowTrackPlayer player(1);
  player.Start();
  for (int calls = 0; player.Step(); ++calls) ASSERT_LT(calls, 100);
  std::vector<Bytes> colours;  // of every drawing point sent, in order
  size_t imageFrames = 0;      // of one point each
  for (const Bytes& w : Writes()) {
    if (w.size() == 8) ++imageFrames;
    if (w.size() == 65 * 8)
      for (size_t p = 0; p < w.size(); p += 8) colours.push_back(Bytes(w.begin() + p + 4, w.begin() + p + 7));
  }
  ASSERT_GT(colours.size(), 242u);
  ASSERT_GT(imageFrames, 0u);  // the image did play between the drawings
  std::vector<Bytes> expected;
  for (size_t i = 0; i < colours.size(); ++i)
    expected.push_back(ColourBytes(ColorIndexToTColor(i < 121 ? 1 : i < 242 ? 2 : 3)));
  EXPECT_EQ(colours, expected);
}

TEST_F(ShowTrackPlayer, ATrackStartingLeavesTheMarkOfAnotherTracksRowForThePreview) {
  AddRow(1, "a.ddr", 10).drawing = MakeDrawing({{1, 1, 1, 1, 0, 0}});
  SetShowTrackRows(show);
  TShowTrackPlayer first(1), second(2);
  first.Start();
  first.Step();
  ASSERT_TRUE(PreviewDirtyFlag);
  second.Start();
  EXPECT_TRUE(PreviewDirtyFlag);
}

TEST_F(ShowTrackPlayer, RowsWithoutTimeArePassedAtOnce) {
  const auto drawing = MakeDrawing({{1, 1, 1, 1, 0, 0}});
  AddRow(1, "a.ddr", 0).drawing = drawing;
  AddRow(1, "pause.xyz", -5);
  AddRow(1, "b.ddr", 1).drawing = drawing;
  SetShowTrackRows(show);
  WaitCountingTicks ticks;
  TShowTrackPlayer player(1, ticks);
  player.Start();
  EXPECT_TRUE(player.Step());
  EXPECT_EQ(ShowTrackRow[0], 2);
  EXPECT_EQ(Writes().size(), 2u);
  EXPECT_EQ(ticks.waits, 0);
}

}  // namespace
}  // namespace kavri
