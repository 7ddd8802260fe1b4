#include "quickplay/thumbnail_grid.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "engine/colour_tables.h"
#include "engine/drawing.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

// A drawing whose only object is a lit horizontal line at y = 128 in `colour`.
void WriteLine(const std::string& path, uint8_t colour) {
  Drawing d;
  DrawingObject* o = d.AddObject();
  o->Add({0, 128, 2, colour, 0, 1});
  o->Add({252, 128, 0, colour, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(path, d, 1));
}

std::string Numbered(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "d%04d.ddr", i);
  return name;
}

class ThumbnailGrid : public ::testing::Test {
 protected:
  void Fill(int count) {
    for (int i = 0; i < count; ++i) WriteLine(dir.Path(Numbered(i)), 2);
    list.SetMask("*.ddr");
    list.SetDirectory(dir.Path());
    grid.Reset();
  }
  bool AllGrey() {
    for (int t = 0; t < kTilesPerPage; ++t)
      if (grid.DrawingAt(t) >= 0 || grid.TilePicture(t).pixel(32, 32) != qRgb(0x80, 0x80, 0x80)) return false;
    return true;
  }

  kavri_test::ScratchDir dir;
  TFileList list;
  TThumbnailGrid grid{list};
};

TEST_F(ThumbnailGrid, PagesFollowTheDrawingCountDivThirty) {
  struct Case {
    int drawings, lastPage;
    bool lastPageGrey;
  };
  for (const Case& c : {Case{0, 0, true}, Case{29, 0, false}, Case{30, 1, true}, Case{31, 1, false}}) {
    SCOPED_TRACE(c.drawings);
    kavri_test::ScratchDir folder;
    for (int i = 0; i < c.drawings; ++i) WriteLine(folder.Path(Numbered(i)), 2);
    TFileList files;
    files.SetMask("*.ddr");
    files.SetDirectory(folder.Path());
    TThumbnailGrid pages(files);
    pages.Reset();
    EXPECT_EQ(pages.LastPageIndex(), c.lastPage);
    while (pages.NextPage()) {
    }
    EXPECT_EQ(pages.PageIndex(), c.lastPage);
    bool grey = true;
    for (int t = 0; t < kTilesPerPage; ++t) grey = grey && pages.DrawingAt(t) < 0;
    EXPECT_EQ(grey, c.lastPageGrey);
  }
}

TEST_F(ThumbnailGrid, ThumbnailShowsTheLineAtAQuarterOfItsSize) {
  WriteLine(dir.Path("line.ddr"), 2);
  const QImage thumb = DrawThumbnail(dir.Path("line.ddr"));
  ASSERT_EQ(thumb.size(), QSize(kThumbnailSide, kThumbnailSide));
  const TColor c = ColorIndexToTColor(2);
  const QRgb lineColour = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  for (int x = 0; x < 62; ++x) EXPECT_EQ(thumb.pixel(x, 32), lineColour) << x;
  EXPECT_EQ(thumb.pixel(63, 32), qRgb(0, 0, 0));
  EXPECT_EQ(thumb.pixel(10, 31), qRgb(0, 0, 0));
  EXPECT_EQ(thumb.pixel(10, 33), qRgb(0, 0, 0));
  // Counted from the size: two records of five bytes.
  EXPECT_EQ(DrawingFilePointCount(dir.Path("line.ddr")), 2);
}

TEST_F(ThumbnailGrid, AMissingFileGivesABlackThumbnailAndNoPoints) {
  const QImage thumb = DrawThumbnail(dir.Path("gone.ddr"));
  ASSERT_EQ(thumb.size(), QSize(kThumbnailSide, kThumbnailSide));
  for (int y = 0; y < kThumbnailSide; ++y)
    for (int x = 0; x < kThumbnailSide; ++x) ASSERT_EQ(thumb.pixel(x, y), qRgb(0, 0, 0));
  EXPECT_EQ(DrawingFilePointCount(dir.Path("gone.ddr")), std::nullopt);
}

// A count is shown only for a drawing the reader takes: one past its limit, or a missing one, shows none.
TEST_F(ThumbnailGrid, PointCountIsShownOnlyForADrawingThatIsRead) {
  struct Case {
    const char* name;
    uintmax_t bytes;  // 0: a two-point line
    const char* shown;
  };
  const uintmax_t most = kMaxDrawingPoints * kDrawingRecordSize + kDrawingRecordSize - 1;
  const Case cases[] = {{"a_line.ddr", 0, "2"},
                        {"b_full.ddr", most, "1048576"},
                        {"c_over.ddr", most + 1, ""},
                        {"d_huge.ddr", uintmax_t{1} << 32, ""}};
  for (const Case& c : cases) {
    if (c.bytes == 0) {
      WriteLine(dir.Path(c.name), 2);
    } else {
      kavri_test::WriteBytes(dir.Path(c.name), {});
      std::filesystem::resize_file(dir.Path(c.name), c.bytes);  // sparse: no disk space taken
    }
  }
  list.SetMask("*.ddr");
  list.SetDirectory(dir.Path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list.SetItemIndex(list.IndexOf(c.name));
    EXPECT_EQ(grid.PointCountText(), c.shown);
  }
  list.SetItemIndex(0);
  ASSERT_TRUE(std::filesystem::remove(dir.Path("a_line.ddr")));
  EXPECT_EQ(grid.PointCountText(), "");
}

TEST_F(ThumbnailGrid, FrameIsRedOnTheFramedTileOnly) {
  Fill(3);
  EXPECT_EQ(grid.TilePicture(0).pixel(0, 10), qRgb(255, 0, 0));
  EXPECT_EQ(grid.TilePicture(0).pixel(32, 0), qRgb(255, 0, 0));
  EXPECT_NE(grid.TilePicture(1).pixel(32, 0), qRgb(255, 0, 0));
  grid.ClickTile(1);
  EXPECT_EQ(grid.TilePicture(1).pixel(0, 10), qRgb(255, 0, 0));
  EXPECT_NE(grid.TilePicture(0).pixel(0, 10), qRgb(255, 0, 0));
}

TEST_F(ThumbnailGrid, AGreyTileTakesTheFrameButKeepsTheSelection) {
  Fill(3);
  grid.ClickTile(2);
  grid.ClickTile(20);
  EXPECT_EQ(grid.TileIndex(), 20);
  EXPECT_EQ(grid.SelectedNameText(), Numbered(2));
  EXPECT_EQ(grid.PointCountText(), "2");
}

// Paging to a position without a drawing leaves nothing selected: the labels say so.
TEST_F(ThumbnailGrid, PagingToAnEmptyPositionShowsNoneAndZeroPoints) {
  Fill(35);
  grid.ClickTile(10);
  EXPECT_EQ(grid.SelectedNameText(), Numbered(10));
  ASSERT_TRUE(grid.NextPage());
  EXPECT_EQ(grid.SelectedNameText(), "None");
  EXPECT_EQ(grid.PointCountText(), "00000");
  ASSERT_TRUE(grid.PreviousPage());
  EXPECT_EQ(grid.SelectedNameText(), Numbered(10));
  EXPECT_FALSE(grid.PreviousPage());
}

TEST_F(ThumbnailGrid, RefreshKeepsTheSelectedNameElseFramesTheFirstDrawing) {
  Fill(40);
  grid.ShowDrawing(35);
  std::remove(dir.Path(Numbered(0)).c_str());
  WriteLine(dir.Path("zz.ddr"), 3);
  grid.Refresh();
  EXPECT_EQ(grid.SelectedNameText(), Numbered(35));
  EXPECT_EQ(grid.PageIndex(), 1);
  EXPECT_EQ(grid.TileIndex(), 4);
  EXPECT_EQ(list.Count(), 40);

  // The selected drawing went: the first one is selected, and framed where it is shown.
  std::remove(dir.Path(Numbered(35)).c_str());
  grid.Refresh();
  EXPECT_EQ(grid.SelectedNameText(), Numbered(1));
  EXPECT_EQ(grid.PageIndex(), 0);
  EXPECT_EQ(grid.TileIndex(), 0);
  EXPECT_EQ(grid.DrawingAt(grid.TileIndex()), list.ItemIndex());
}

// Thumbnails are drawn only for pages shown and only so many are kept.
TEST_F(ThumbnailGrid, ThumbnailsAreDrawnPerPageShownAndTheCacheStaysBounded) {
  Fill(150);
  EXPECT_EQ(grid.CachedCount(), 0u);
  for (int t = 0; t < kTilesPerPage; ++t) grid.TilePicture(t);
  EXPECT_EQ(grid.CachedCount(), static_cast<size_t>(kTilesPerPage));
  while (grid.NextPage())
    for (int t = 0; t < kTilesPerPage; ++t) grid.TilePicture(t);
  EXPECT_EQ(grid.CachedCount(), static_cast<size_t>(4 * kTilesPerPage));
  // A thumbnail evicted long ago is drawn again, the same.
  grid.ShowDrawing(0);
  EXPECT_EQ(grid.TilePicture(1), DrawThumbnail(dir.Path(Numbered(1))));
}

}  // namespace
}  // namespace kavri
