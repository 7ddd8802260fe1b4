#include <gtest/gtest.h>

#include <vector>

#include "skin/skin_button.h"
#include "skin/up_down.h"
#include "tests/skin/skin_mouse.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

struct StepCase {
  int min, max, start, increment;
  TUDBtnType button;
  int expected;
};

TEST(UpDown, ClickStepsByIncrementAndStopsAtTheLimits) {
  const std::vector<StepCase> cases = {
      {1, 100, 5, 1, TUDBtnType::btNext, 6},    {1, 100, 5, 1, TUDBtnType::btPrev, 4},
      {1, 100, 1, 1, TUDBtnType::btPrev, 1},    {3, 10, 10, 1, TUDBtnType::btNext, 10},
      {0, 100, 98, 5, TUDBtnType::btNext, 100}, {0, 100, 2, 5, TUDBtnType::btPrev, 0},
      {-2147483647 - 1, 2147483647, 2147483647, 1, TUDBtnType::btNext, 2147483647},
  };
  for (const StepCase& c : cases) {
    TUpDown upDown;
    upDown.SetMin(c.min);
    upDown.SetMax(c.max);
    upDown.SetIncrement(c.increment);
    upDown.SetPosition(c.start);
    int clicks = 0;
    int seen = -1;
    upDown.OnClick = [&](TUpDown* sender, TUDBtnType button) {
      ++clicks;
      seen = sender->Position();
      EXPECT_EQ(button, c.button);
    };
    upDown.Click(c.button);
    EXPECT_EQ(upDown.Position(), c.expected) << c.min << ".." << c.max << " from " << c.start;
    // The handler reads the new position, and runs at the limit too (the field shows it again).
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(seen, c.expected);
  }
}

TEST(UpDown, PositionAndRangeStayConsistent) {
  TUpDown upDown;
  EXPECT_EQ(upDown.Min(), 0);
  EXPECT_EQ(upDown.Max(), 100);
  upDown.SetPosition(250);
  EXPECT_EQ(upDown.Position(), 100);
  upDown.SetMin(3);
  upDown.SetPosition(0);
  EXPECT_EQ(upDown.Position(), 3);
  upDown.SetMax(50);
  upDown.SetPosition(50);
  upDown.SetMax(20);  // the position follows into the smaller range
  EXPECT_EQ(upDown.Position(), 20);
  upDown.SetMin(30);  // a minimum above the maximum carries the maximum along
  EXPECT_EQ(upDown.Max(), 30);
  EXPECT_EQ(upDown.Position(), 30);
}

TEST(UpDown, MousePressOnEachArrowStepsOnceAndDisabledDoesNot) {
  TUpDown upDown;
  upDown.SetUIStyle(TSkinUIStyle::Azure);
  upDown.resize(16, 24);
  upDown.SetPosition(10);
  std::vector<TUDBtnType> clicks;
  upDown.OnClick = [&](TUpDown*, TUDBtnType button) { clicks.push_back(button); };
  upDown.show();
  // The upper half steps up, the lower half down; each half is one arrow button.
  EXPECT_EQ(upDown.BtnUp()->geometry(), QRect(0, 0, 16, 12));
  EXPECT_EQ(upDown.BtnDown()->geometry(), QRect(0, 12, 16, 12));
  kavri_test::Press(upDown.BtnUp(), {8, 5});
  kavri_test::Release(upDown.BtnUp(), {8, 5});
  EXPECT_EQ(upDown.Position(), 11);
  kavri_test::Press(upDown.BtnDown(), {8, 5});
  kavri_test::Release(upDown.BtnDown(), {8, 5});
  kavri_test::Press(upDown.BtnDown(), {8, 5});
  kavri_test::Release(upDown.BtnDown(), {8, 5});
  EXPECT_EQ(upDown.Position(), 9);
  EXPECT_EQ(clicks, (std::vector<TUDBtnType>{TUDBtnType::btNext, TUDBtnType::btPrev, TUDBtnType::btPrev}));
  kavri_test::Press(upDown.BtnUp(), {8, 5}, Qt::RightButton);
  upDown.setEnabled(false);
  kavri_test::Press(upDown.BtnUp(), {8, 5});
  EXPECT_EQ(upDown.Position(), 9);
  EXPECT_EQ(clicks.size(), 3u);
}

TEST(UpDown, ThemedStyleGivesBothArrowsTheirPictures) {
  TUpDown upDown;
  upDown.SetUIStyle(TSkinUIStyle::Azure);
  ASSERT_FALSE(upDown.BtnUp()->PicNormal().isNull());
  ASSERT_FALSE(upDown.BtnDown()->PicNormal().isNull());
  EXPECT_NE(upDown.BtnUp()->PicNormal(), upDown.BtnDown()->PicNormal());
  EXPECT_FALSE(upDown.BtnUp()->PicMouseDown().isNull());
  // Magnified for a person to look at: the arrows must point up above and down below.
  upDown.resize(16, 22);
  const QImage shot = upDown.grab().toImage().scaled(64, 88);
  ASSERT_TRUE(shot.save(QString::fromStdString(kavri_test::ArtifactPath("up_down_azure.png"))));
}

}  // namespace
