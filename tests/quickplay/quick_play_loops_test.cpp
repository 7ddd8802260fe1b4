#include "quickplay/quick_play_loops.h"

#include <gtest/gtest.h>

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
  // The first frame one drawing pass sends.
  std::vector<TDevicePoint> DrawingPass() {
    TQuickDrawingLoop loop;
    loop.Start();
    Frames();
    EXPECT_TRUE(loop.Step());
    loop.Finish();
    auto frames = Frames();
    return frames.empty() ? std::vector<TDevicePoint>{} : frames[0];
  }
  std::vector<TDevicePoint> IldaPass() {
    TQuickIldaLoop loop;
    loop.Start();
    Frames();
    EXPECT_TRUE(loop.Step());
    loop.Finish();
    auto frames = Frames();
    return frames.empty() ? std::vector<TDevicePoint>{} : frames[0];
  }
  kavri_test::ScratchDir dir;
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
      frame = IldaPass();
    } else {
      QuickPlayDrawingList = Picture({{c.x, c.y, 0, 1, 0, 0}});
      frame = DrawingPass();
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

}  // namespace
}  // namespace kavri
