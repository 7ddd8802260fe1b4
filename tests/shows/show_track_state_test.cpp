#include <gtest/gtest.h>

#include "shows/show_track_state.h"
#include "tests/shows/show_track_fixture.h"

namespace kavri {
namespace {

using namespace kavri_test;
using ShowTrackState = ShowTracks;

TEST_F(ShowTrackState, PreviewReadsGiveNothingForIndexesOutsideTheContent) {
  const auto segment = OneItem(MakeDrawing({}), [](TSectionRecord&) {});
  AddRow(1, "s.SEC", 10).rows = segment;
  AddRow(2, "i.ild", 10).ilda = MakeImage({{}, {}});
  AddRow(3, "a.ddr", 10);
  SetShowTrackRows(show);
  for (auto& running : ShowTrackRunning) running = true;
  EXPECT_EQ(ShowPreviewRow(1), show.track1[0].get());
  EXPECT_EQ(ShowPreviewItem(1), (*segment)[0].get());
  EXPECT_EQ(ShowPreviewIldaFrame(2), show.track2[0]->ilda->frames[0].get());
  EXPECT_EQ(ShowPreviewItem(3), nullptr);  // not a segment row
  EXPECT_EQ(ShowPreviewIldaFrame(1), nullptr);
  for (int32_t outside : {1, -1}) {
    ShowTrackItem[0] = outside;
    ShowTrackIldaFrame[1] = outside + 1;
    ShowTrackRow[2] = outside;
    EXPECT_EQ(ShowPreviewItem(1), nullptr);
    EXPECT_EQ(ShowPreviewIldaFrame(2), outside < 0 ? show.track2[0]->ilda->frames[0].get() : nullptr);
    EXPECT_EQ(ShowPreviewRow(3), nullptr);
  }
  ShowTrackRunning[0] = false;
  EXPECT_EQ(ShowPreviewRow(1), nullptr);
  EXPECT_EQ(ShowPreviewRow(0), nullptr);
  EXPECT_EQ(ShowPreviewRow(4), nullptr);
  ClearShowTrackRows();
  EXPECT_EQ(ShowPreviewRow(2), nullptr);
}

}  // namespace
}  // namespace kavri
