#include <gtest/gtest.h>

#include "shows/show_track_state.h"
#include "tests/shows/show_track_fixture.h"

namespace kavri {
namespace {

using kavri_test::AddRow;
using kavri_test::MakeDrawing;
using kavri_test::MakeImage;

using ShowTrackState = kavri_test::ShowTracks;

TEST_F(ShowTrackState, RowKindsByExtensionInAnyCase) {
  for (const auto& [name, kind] : {std::pair{"a.ddr", TShowRowKind::Drawing}, std::pair{"B.DDR", TShowRowKind::Drawing},
                                   std::pair{"c.Sec", TShowRowKind::Segment}, std::pair{"d.ild", TShowRowKind::Ilda},
                                   std::pair{"e.ilda", TShowRowKind::Other}, std::pair{"ddr", TShowRowKind::Other},
                                   std::pair{"f.ddr.txt", TShowRowKind::Other}})
    EXPECT_EQ(ShowRowKind(name), kind) << name;
}

TEST_F(ShowTrackState, PreviewReadsGiveNothingForIndexesOutsideTheContent) {
  auto segment = std::make_shared<TSectionList>();
  segment->push_back(std::make_unique<TSectionRecord>());
  AddRow(show, 1, "s.sec", 10).rows = segment;
  AddRow(show, 2, "i.ild", 10).ilda = MakeImage({{}, {}});
  AddRow(show, 3, "a.ddr", 10).drawing = MakeDrawing({{1, 1, 1, 1, 0, 0}});
  SetShowTrackRows(show);
  for (auto& running : ShowTrackRunning) running = true;
  EXPECT_EQ(ShowPreviewRow(1), show.track1[0].get());
  EXPECT_EQ(ShowPreviewItem(1), (*segment)[0].get());
  EXPECT_EQ(ShowPreviewIldaFrame(2), show.track2[0]->ilda->frames[0].get());
  EXPECT_EQ(ShowPreviewItem(3), nullptr);  // not a segment row
  EXPECT_EQ(ShowPreviewIldaFrame(1), nullptr);
  ShowTrackItem[0] = 1;
  EXPECT_EQ(ShowPreviewItem(1), nullptr);
  ShowTrackItem[0] = -1;
  EXPECT_EQ(ShowPreviewItem(1), nullptr);
  ShowTrackIldaFrame[1] = 2;
  EXPECT_EQ(ShowPreviewIldaFrame(2), nullptr);
  ShowTrackRow[2] = 1;
  EXPECT_EQ(ShowPreviewRow(3), nullptr);
  ShowTrackRow[2] = -3;
  EXPECT_EQ(ShowPreviewRow(3), nullptr);
  ShowTrackRunning[0] = false;
  EXPECT_EQ(ShowPreviewRow(1), nullptr);
  EXPECT_EQ(ShowPreviewRow(0), nullptr);
  EXPECT_EQ(ShowPreviewRow(4), nullptr);
  ClearShowTrackRows();
  EXPECT_EQ(ShowPreviewRow(2), nullptr);
}

}  // namespace
}  // namespace kavri
