#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "skin/slider_geometry.h"
#include "skin/track_bar.h"
#include "tests/skin/skin_mouse.h"

using namespace kavri;
using kavri_test::Move;
using kavri_test::Press;
using kavri_test::Release;

namespace {

struct ChangeLog {
  std::vector<int> values;
  void Attach(TSkinTrackBar& bar) {
    bar.OnChange = [this](QObject* sender) { values.push_back(static_cast<TSkinTrackBar*>(sender)->Position()); };
  }
};

// Centre of the thumb, in bar coordinates.
QPoint ThumbCentre(TSkinTrackBar& bar) { return bar.Slider()->geometry().center(); }

}  // namespace

TEST(TrackBar, ClampsAndReportsEachRealChangeFromCode) {
  TSkinTrackBar bar;
  bar.resize(200, bar.height());
  ChangeLog log;
  log.Attach(bar);
  bar.SetPosition(105);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(110);  // clamps to the value already reported
  bar.SetPosition(-1);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(0);
  bar.SetPosition(42);
  EXPECT_EQ(log.values, (std::vector<int>{100, 0, 42}));

  bar.SetPageSize(101);
  bar.SetPageSize(-1);
  EXPECT_EQ(bar.PageSize(), 10);
  bar.SetPageSize(0);
  EXPECT_EQ(bar.PageSize(), 0);
}

TEST(TrackBar, ThumbFollowsRangeSizeAndOrientationWithoutSpuriousChanges) {
  TSkinTrackBar bar;
  bar.show();  // resizes of a shown control take effect at once
  bar.resize(200, bar.height());
  bar.SetPosition(50);
  ChangeLog log;
  log.Attach(bar);
  const int sw = bar.Slider()->width();
  ASSERT_GT(sw, 0);
  EXPECT_EQ(bar.Slider()->x(), (200 - sw) * 50 / 100);

  bar.SetMax(200);  // same value, new place
  EXPECT_EQ(bar.Slider()->x(), (200 - sw) * 50 / 200);
  bar.SetMin(50);
  EXPECT_EQ(bar.Slider()->x(), 0);
  bar.resize(300, bar.height());
  bar.SetPosition(200);
  EXPECT_EQ(bar.Slider()->x(), 300 - sw);
  EXPECT_EQ(log.values, (std::vector<int>{200}));

  // A range that excludes the value moves it in and reports it once.
  bar.SetMax(120);
  EXPECT_EQ(bar.Position(), 120);
  EXPECT_EQ(bar.Slider()->x(), 300 - sw);
  EXPECT_EQ(log.values, (std::vector<int>{200, 120}));

  bar.SetOrientation(TSkinProgressBarOrientation::skinVertical);
  bar.resize(bar.width(), 250);
  const int sh = bar.Slider()->height();
  EXPECT_EQ(bar.Slider()->y(), 250 - sh);
  EXPECT_GE(bar.width(), bar.Slider()->width());
  bar.SetPosition(50);
  EXPECT_EQ(bar.Slider()->y(), 0);  // the minimum sits at the top
  EXPECT_EQ(log.values, (std::vector<int>{200, 120, 50}));
}

TEST(TrackBar, MinEqualToMaxGivesOneValueForEveryGesture) {
  TSkinTrackBar bar;
  bar.resize(200, bar.height());
  bar.SetMax(30);
  bar.SetMin(30);
  EXPECT_EQ(bar.Position(), 30);
  EXPECT_EQ(bar.Slider()->x(), 0);
  ChangeLog log;
  log.Attach(bar);
  Press(&bar, {180, 2});
  Release(&bar, {180, 2});
  Press(&bar, ThumbCentre(bar));
  Move(&bar, {150, 2});
  Release(&bar, {150, 2});
  EXPECT_EQ(bar.Position(), 30);
  EXPECT_TRUE(log.values.empty());
}

TEST(TrackBar, ATrackAsLongAsTheThumbMapsEveryPointToZeroClamped) {
  TSkinTrackBar bar;
  bar.resize(bar.Slider()->width(), bar.height());
  bar.SetMin(-20);
  bar.SetMax(20);
  bar.SetPosition(20);
  Press(&bar, ThumbCentre(bar));
  Move(&bar, {0, 2});
  Release(&bar, {0, 2});
  EXPECT_EQ(bar.Position(), 0);
}

TEST(TrackBar, PageStepsOnPressNeverPassThePressPoint) {
  TSkinTrackBar bar;
  bar.resize(400, bar.height());
  const int sw = bar.Slider()->width();
  ChangeLog log;
  log.Attach(bar);
  const QPoint far(400 - 1, 2);
  Press(&bar, far);
  EXPECT_EQ(bar.Position(), 10);
  Release(&bar, far);
  EXPECT_FALSE(bar.PageRepeating());

  // A press just past the thumb goes only as far as the value under it.
  const int x = bar.Slider()->x() + sw + 3;
  const int under = ClampPosition(PositionAtPoint(x, 400, sw, 0, 100), 0, 100);
  ASSERT_LT(under, 20);
  Press(&bar, {x, 2});
  Release(&bar, {x, 2});
  EXPECT_EQ(bar.Position(), under);

  // Backwards, by the page size.
  bar.SetPosition(90);
  log.values.clear();
  Press(&bar, {1, 2});
  Release(&bar, {1, 2});
  EXPECT_EQ(log.values, (std::vector<int>{80}));

  bar.SetPageSize(0);
  Press(&bar, {1, 2});
  Release(&bar, {1, 2});
  EXPECT_EQ(bar.Position(), 80);
}

TEST(TrackBar, HeldPressRepeatsUntilThePressPointAndStops) {
  TSkinTrackBar bar;
  bar.resize(400, bar.height());
  bar.SetPageSize(40);
  const int sw = bar.Slider()->width();
  const QPoint at(300, 2);
  const int under = ClampPosition(PositionAtPoint(300, 400, sw, 0, 100), 0, 100);
  ASSERT_GT(under, 40);
  ASSERT_LT(under, 100);
  ChangeLog log;
  log.Attach(bar);
  Press(&bar, at);
  EXPECT_EQ(bar.Position(), 40);
  EXPECT_TRUE(bar.PageRepeating());
  QTRY_COMPARE_WITH_TIMEOUT(bar.Position(), under, 5000);
  QTest::qWait(TSkinTrackBar::kPageRepeatMs + 200);
  EXPECT_EQ(bar.Position(), under);
  for (int v : log.values) EXPECT_LE(v, under);
  // Leaving the control ends the repeat.
  Move(&bar, {500, 2});
  EXPECT_FALSE(bar.PageRepeating());
  Release(&bar, {500, 2});
}

TEST(TrackBar, DragReportsTheValueUnderTheThumbAtEveryMoveAndAtRelease) {
  TSkinTrackBar bar;
  bar.resize(300, bar.height());
  const int sw = bar.Slider()->width();
  std::vector<std::pair<int, int>> seen;  // reported value, thumb offset at that moment
  bar.OnChange = [&](QObject*) { seen.emplace_back(bar.Position(), bar.Slider()->x()); };
  const QPoint grab = ThumbCentre(bar) + QPoint(sw / 2 - 1, 0);  // grabbed near its right edge
  Press(&bar, grab);
  EXPECT_TRUE(bar.Dragging());
  int lastShown = -1;
  for (int dx : {7, 40, 41, 90, 150}) {
    Move(&bar, grab + QPoint(dx, 0));
    const int offset = bar.Slider()->x();
    const int shown = ClampPosition(PositionAtPoint(offset + sw / 2, 300, sw, 0, 100), 0, 100);
    EXPECT_EQ(bar.Position(), shown) << dx;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().first, shown) << "each move reports its own value, not the previous one";
    lastShown = shown;
  }
  const size_t before = seen.size();
  Release(&bar, grab + QPoint(150, 0));
  EXPECT_FALSE(bar.Dragging());
  EXPECT_EQ(bar.Position(), lastShown);
  EXPECT_EQ(seen.size(), before) << "the final value was already reported";
  EXPECT_EQ(bar.Slider()->x(), SliderOffsetForPosition(300, sw, lastShown, 0, 100));

  // Dragging past the end gives Max, reported.
  Press(&bar, ThumbCentre(bar));
  Move(&bar, {1000, 2});
  Release(&bar, {1000, 2});
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_EQ(seen.back().first, 100);
}

TEST(TrackBar, TwoLockedBarsSettleWithoutRecursion) {
  TSkinTrackBar a, b;
  a.resize(300, a.height());
  b.resize(300, b.height());
  int aCalls = 0, bCalls = 0;
  a.OnChange = [&](QObject*) {
    ++aCalls;
    ASSERT_LT(aCalls, 100);
    b.SetPosition(a.Position());
  };
  b.OnChange = [&](QObject*) {
    ++bCalls;
    ASSERT_LT(bCalls, 100);
    a.SetPosition(b.Position());
  };
  a.SetPosition(40);
  EXPECT_EQ(b.Position(), 40);
  EXPECT_EQ(aCalls, 1);
  EXPECT_EQ(bCalls, 1);

  Press(&a, ThumbCentre(a));
  for (int x = 0; x < 300; x += 13) Move(&a, {x, 2});
  Release(&a, {299, 2});
  EXPECT_EQ(a.Position(), 100);
  EXPECT_EQ(b.Position(), 100);
  EXPECT_EQ(aCalls, bCalls);

  // A partner that refuses values above 70 pulls the dragged bar back, and both settle.
  b.OnChange = [&](QObject*) {
    ++bCalls;
    if (b.Position() > 70) b.SetPosition(70);
    a.SetPosition(b.Position());
  };
  a.SetPosition(90);
  EXPECT_EQ(a.Position(), 70);
  EXPECT_EQ(b.Position(), 70);
}

TEST(TrackBar, ScrollTrackThumbCanBeHidden) {
  TSkinScrollTrackBar track;
  EXPECT_TRUE(track.GetSliderVisible());
  track.SetSliderVisible(false);
  EXPECT_FALSE(track.GetSliderVisible());
  // A hidden thumb cannot be grabbed: a press there is a page step.
  track.resize(200, track.height());
  track.SetPosition(50);
  Press(&track, ThumbCentre(track));
  EXPECT_FALSE(track.Dragging());
  Release(&track, ThumbCentre(track));
}
