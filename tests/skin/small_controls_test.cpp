#include <gtest/gtest.h>

#include <QCursor>
#include <QPointer>
#include <QTest>
#include <QToolButton>
#include <climits>

#include "skin/image_panel.h"
#include "skin/progress_bar.h"
#include "skin/side_channel.h"
#include "skin/url_label.h"
#include "tests/skin/skin_mouse.h"

using namespace kavri;

TEST(ProgressBar, PercentageAndFillInSixtyFourBits) {
  EXPECT_EQ(ProgressPercent(50, 0, 100), 50);
  EXPECT_EQ(ProgressPercent(150, 0, 100), 150);
  EXPECT_EQ(ProgressPercent(7, 7, 7), 0);
  // A 32-bit product would wrap here: 30 000 000 * 100.
  EXPECT_EQ(ProgressPercent(30000000, 0, 40000000), 75);
  EXPECT_EQ(ProgressPercent(INT_MAX, INT_MIN, INT_MAX), 100);
  EXPECT_EQ(ProgressPercent(0, INT_MIN, INT_MAX), 50);

  EXPECT_EQ(ProgressFillLength(0, 0, 100, 149), 1);
  EXPECT_EQ(ProgressFillLength(100, 0, 100, 149), 149);
  EXPECT_EQ(ProgressFillLength(150, 0, 100, 149), 149);
  EXPECT_EQ(ProgressFillLength(50, 0, 100, 149), 74);
  EXPECT_EQ(ProgressFillLength(30000000, 0, 40000000, 1000), 750);
  EXPECT_EQ(ProgressFillLength(5, 5, 5, 149), 1);
}

TEST(ProgressBar, CaptionSizeAndDrawing) {
  TSkinProgressBar bar;
  EXPECT_EQ(bar.Text(), "50%");
  EXPECT_EQ(bar.height(), 12);
  bar.SetPosition(150);
  EXPECT_EQ(bar.Text(), "150%");
  bar.SetMin(10);
  bar.SetMax(10);
  EXPECT_EQ(bar.Text(), "0%");
  bar.SetMin(0);
  bar.SetMax(100);

  bar.resize(150, 20);
  EXPECT_EQ(bar.height(), 12) << "a horizontal bar stays 12 high";
  EXPECT_FALSE(bar.CanResize(150, 20));
  EXPECT_TRUE(bar.CanResize(300, 12));

  // Empty part in Color, a full bar leaves none of it.
  QImage red(10, 10, QImage::Format_RGB32);
  red.fill(QColor(255, 0, 0));
  bar.SetPicture(red);
  bar.SetColor(0x00FF00);
  bar.SetShowCaption(false);
  bar.SetPosition(0);
  QImage img = bar.Render();
  EXPECT_EQ(img.pixel(100, 6) & 0xFFFFFF, 0x00FF00u);
  bar.SetPosition(150);
  img = bar.Render();
  EXPECT_EQ(img.pixel(100, 6) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(img.pixel(148, 6) & 0xFFFFFF, 0xFF0000u);
  // The frame is drawn in BorderColor.
  bar.SetBorderColor(0x0000FF);
  img = bar.Render();
  EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);

  // SmartShowCaption hides the caption at Min only.
  bar.SetShowCaption(true);
  bar.SetSmartShowCaption(true);
  bar.SetCaptionColor(0x000000);
  bar.SetPosition(0);
  const QImage noCaption = bar.Render();
  bar.SetSmartShowCaption(false);
  EXPECT_NE(bar.Render(), noCaption);

  bar.SetOrientation(TSkinProgressBarOrientation::skinVertical);
  EXPECT_EQ(bar.width(), 12);
  EXPECT_EQ(bar.height(), 150);
}

TEST(ImagePanel, AutoSizeDrawStylesAndCaption) {
  TSkinImagePanel panel;
  panel.resize(40, 30);
  QImage pic(10, 5, QImage::Format_RGB32);
  pic.fill(QColor(0, 0, 255));
  panel.SetColor(0x00FF00);
  panel.SetPicture(pic);
  EXPECT_EQ(panel.size(), QSize(40, 30));
  panel.SetAutoSize(true);
  EXPECT_EQ(panel.size(), QSize(10, 5));
  panel.SetAutoSize(false);
  panel.resize(40, 30);

  QImage img = panel.Render();
  EXPECT_EQ(img.pixel(2, 2) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(img.pixel(30, 20) & 0xFFFFFF, 0x00FF00u);
  panel.SetDrawStyle(TSkinDrawStyle::skinStretch);
  EXPECT_EQ(panel.Render().pixel(30, 20) & 0xFFFFFF, 0x0000FFu);
  panel.SetDrawStyle(TSkinDrawStyle::skinTile);
  EXPECT_EQ(panel.Render().pixel(35, 27) & 0xFFFFFF, 0x0000FFu);

  panel.SetDrawStyle(TSkinDrawStyle::skinNormal);
  const QImage plain = panel.Render();
  panel.SetCaption("   ");
  EXPECT_EQ(panel.Render(), plain) << "a blank caption draws nothing";
  panel.SetCaption("Hi");
  EXPECT_NE(panel.Render(), plain);
}

TEST(SideChannel, SlidesOpenAndClosedFromATimerWithoutReentry) {
  QWidget form;
  form.resize(400, 300);
  auto* channel = new TSkinSideChannel(&form);
  channel->SetWidth(120);
  channel->SetCaption("Tools");
  form.show();
  EXPECT_FALSE(channel->IsOpen());
  EXPECT_EQ(channel->height(), 300);
  int pops = 0, pushes = 0;
  channel->OnPop = [&](QObject*) { ++pops; };
  channel->OnPush = [&](QObject*) { ++pushes; };

  channel->Pop(false);
  // Pop returned without running the slide: it happens on timer ticks.
  EXPECT_TRUE(channel->Moving());
  EXPECT_EQ(pops, 0);
  EXPECT_LT(channel->width(), 120);
  QTRY_COMPARE_WITH_TIMEOUT(pops, 1, 5000);
  EXPECT_EQ(channel->width(), 120);
  EXPECT_EQ(channel->TopCaption(), "Tools");
  EXPECT_TRUE(channel->PinButton()->isVisible());

  // Closing half way and opening again turns the slide round.
  channel->Push(false);
  QTest::qWait(30);
  channel->Pop(false);
  QTRY_COMPARE_WITH_TIMEOUT(pops, 2, 5000);
  EXPECT_EQ(pushes, 0);
  EXPECT_EQ(channel->width(), 120);

  // Deleting it mid-slide is safe: nothing runs on it afterwards.
  channel->Push(false);
  QPointer<TSkinSideChannel> gone(channel);
  delete channel;
  QTest::qWait(50);
  EXPECT_TRUE(gone.isNull());
}

TEST(SideChannel, ClosesWhenTheMouseLeavesUnlessPinned) {
  QWidget form;
  form.resize(400, 300);
  auto* channel = new TSkinSideChannel(&form);
  channel->SetWidth(120);
  channel->QuickMove = true;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  // The mouse over the bar opens it.
  kavri_test::Move(channel->SideBar(), {3, 50});
  EXPECT_TRUE(channel->IsOpen());
  EXPECT_TRUE(channel->CloseCheckRunning());

  QCursor::setPos(channel->mapToGlobal(QPoint(60, 100)));
  QTest::qWait(TSkinSideChannel::kCloseCheckMs + 150);
  EXPECT_TRUE(channel->IsOpen()) << "the cursor is inside";
  QCursor::setPos(form.mapToGlobal(QPoint(350, 100)));
  QTRY_VERIFY_WITH_TIMEOUT(!channel->IsOpen(), 3000);

  channel->SetStayOn(true);
  EXPECT_TRUE(channel->IsOpen());
  EXPECT_FALSE(channel->CloseCheckRunning());
  QTest::qWait(TSkinSideChannel::kCloseCheckMs + 150);
  EXPECT_TRUE(channel->IsOpen());
  channel->SetStayOn(false);
  EXPECT_FALSE(channel->IsOpen());

  // An open channel refuses a width below 50 and remembers a wider one.
  channel->Pop(true);
  channel->resize(30, channel->height());
  EXPECT_EQ(channel->width(), 120);
  channel->resize(160, channel->height());
  EXPECT_EQ(channel->OpenWidth(), 160);
}

TEST(URLLabel, ClickOpensOnlyANonBlankURLAndHoverRecolours) {
  std::vector<QString> opened;
  TUrlOpener saved = UrlOpener();
  UrlOpener() = [&](const QString& url) { opened.push_back(url); };
  TSkinURLLabel label;
  int clicks = 0;
  label.OnClick = [&](QObject*) { ++clicks; };
  label.SetURL("   ");
  label.Click();
  EXPECT_TRUE(opened.empty());
  label.SetURL(" https://example.org/kavri ");
  label.Click();
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], "https://example.org/kavri");
  UrlOpener() = saved;

  EXPECT_TRUE(label.font().underline());
  EXPECT_EQ(label.FontColor(), 0xFF0000u);
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&label, &enter);
  EXPECT_EQ(label.FontColor(), 0x0000FFu);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&label, &leave);
  EXPECT_EQ(label.FontColor(), 0xFF0000u);
}
