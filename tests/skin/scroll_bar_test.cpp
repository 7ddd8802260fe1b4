#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

#include "skin/list_box.h"
#include "skin/memo.h"
#include "skin/scroll_bar.h"
#include "skin/skin_button.h"
#include "skin/track_bar.h"
#include "tests/skin/skin_mouse.h"

using namespace kavri;

TEST(ScrollBar, PartsAreLaidEndToEndInBothOrientations) {
  TSkinScrollBar bar;
  bar.SetUIStyle(TSkinUIStyle::Azure);
  bar.resize(bar.width(), 185);
  bar.show();
  const QRect dec = bar.BtnDec()->geometry(), inc = bar.BtnInc()->geometry(), track = bar.TrackBar()->geometry();
  ASSERT_GT(dec.height(), 0);
  EXPECT_EQ(bar.width(), dec.width());
  EXPECT_EQ(dec.topLeft(), QPoint(0, 0));
  EXPECT_EQ(track.top(), dec.height());
  EXPECT_EQ(track.height(), 185 - dec.height() - inc.height() - 1);
  EXPECT_EQ(inc.top(), 185 - inc.height());

  bar.SetOrientation(TSkinProgressBarOrientation::skinHorizontal);
  bar.resize(200, 50);
  const QRect hdec = bar.BtnDec()->geometry(), hinc = bar.BtnInc()->geometry(), htrack = bar.TrackBar()->geometry();
  EXPECT_EQ(bar.height(), hdec.height());
  EXPECT_EQ(htrack.left(), hdec.width());
  EXPECT_EQ(htrack.width(), 200 - hdec.width() - hinc.width());
  EXPECT_EQ(hinc.left(), 200 - hinc.width());
  // Arrows turned to point sideways: the horizontal pictures are the vertical ones laid down.
  EXPECT_EQ(bar.BtnDec()->PicNormal().width(), dec.height());
}

TEST(ScrollBar, ThumbLengthFollowsLineButtonOrPageSize) {
  TSkinScrollBar bar;
  bar.SetUIStyle(TSkinUIStyle::Navy);
  bar.resize(bar.width(), 200);
  bar.show();
  const int track = bar.TrackBar()->height();
  bar.SetLineButton(5);
  EXPECT_EQ(bar.LineButton(), 18);
  EXPECT_EQ(bar.ThumbLength(), 18);
  bar.SetLineButton(40);
  EXPECT_EQ(bar.ThumbLength(), 40);
  bar.SetLineButton(0);
  bar.SetPageSize(0);
  EXPECT_EQ(bar.ThumbLength(), track / 10);
  bar.SetPageSize(101);  // refused: stays 0
  EXPECT_EQ(bar.ThumbLength(), track / 10);
  bar.SetPageSize(50);
  EXPECT_EQ(bar.ThumbLength(), track / 2);
  EXPECT_EQ(bar.TrackBar()->Slider()->width(), bar.TrackBar()->width());
}

TEST(ScrollBar, ArrowClickStepsOnceAndHoldingRepeats) {
  TSkinScrollBar bar;
  bar.SetUIStyle(TSkinUIStyle::Navy);
  bar.SetMax(50);
  bar.show();
  std::vector<int> seen;
  QObject* sender = nullptr;
  bar.SetOnChange([&](QObject* s) {
    sender = s;
    seen.push_back(bar.Position());
  });
  // Short click: one step, at the press.
  kavri_test::Press(bar.BtnInc(), {3, 3});
  EXPECT_EQ(bar.Position(), 1);
  kavri_test::Release(bar.BtnInc(), {3, 3});
  EXPECT_EQ(bar.Position(), 1);
  EXPECT_EQ(sender, bar.TrackBar());

  bar.SetSmallChange(3);
  kavri_test::Press(bar.BtnInc(), {3, 3});
  QTRY_VERIFY_WITH_TIMEOUT(bar.Position() >= 10, 3000);
  kavri_test::Release(bar.BtnInc(), {3, 3});
  const int held = bar.Position();
  QTest::qWait(250);
  EXPECT_EQ(bar.Position(), held) << "release stops the repeat";

  kavri_test::Press(bar.BtnDec(), {3, 3});
  kavri_test::Release(bar.BtnDec(), {3, 3});
  EXPECT_EQ(bar.Position(), held - 3);
  // Never past the ends.
  bar.SetPosition(49);
  kavri_test::Press(bar.BtnInc(), {3, 3});
  kavri_test::Release(bar.BtnInc(), {3, 3});
  EXPECT_EQ(bar.Position(), 50);
}

namespace {

QString Lines(int n) {
  QStringList lines;
  for (int i = 0; i < n; ++i) lines << QString("line %1").arg(i);
  return lines.join('\n');
}

}  // namespace

TEST(AttachedScrollBar, MemoScrollsByItsBarAndTheBarFollowsTheText) {
  QWidget form;
  form.resize(300, 300);
  auto* memo = new TSkinMemo(&form);
  memo->setGeometry(10, 10, 200, 150);
  auto* bar = new TSkinScrollBar(&form);
  memo->SetVScrollBar(bar);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(bar->Orientation(), TSkinProgressBarOrientation::skinVertical);
  EXPECT_EQ(bar->geometry(), QRect(10 + 200 - bar->width() - 2, 11, bar->width(), 149));

  // Text that fits: bar disabled, no thumb.
  memo->setPlainText("short");
  QApplication::processEvents();
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_FALSE(bar->GetSliderVisible());

  memo->setPlainText(Lines(200));
  QApplication::processEvents();
  QScrollBar* native = memo->verticalScrollBar();
  ASSERT_GT(native->maximum(), 0);
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_TRUE(bar->GetSliderVisible());
  EXPECT_EQ(bar->Max(), native->maximum());
  EXPECT_GE(bar->LineButton(), 18);

  // The skinned bar scrolls the memo, once, without the memo's answer scrolling back.
  QSignalSpy nativeMoves(native, &QScrollBar::valueChanged);
  bar->SetPosition(50);
  EXPECT_EQ(native->value(), 50);
  EXPECT_EQ(nativeMoves.count(), 1);
  EXPECT_EQ(memo->cursorForPosition(QPoint(1, 1)).blockNumber(), 50);
  EXPECT_EQ(bar->Position(), 50);

  // The memo scrolled its own way: the bar follows without scrolling anything itself.
  native->setValue(120);
  EXPECT_EQ(bar->Position(), 120);
  EXPECT_EQ(nativeMoves.count(), 2);
  // Scrolled by the caret (the memo moves its bar quietly then).
  memo->moveCursor(QTextCursor::End);
  QApplication::processEvents();
  EXPECT_GT(native->value(), 120);
  EXPECT_EQ(bar->Position(), native->value());
  memo->moveCursor(QTextCursor::Start);
  QApplication::processEvents();
  EXPECT_EQ(bar->Position(), 0);

  // Dragging the thumb to the end shows the last lines.
  TSkinScrollTrackBar* track = bar->TrackBar();
  kavri_test::Press(track, track->Slider()->geometry().center());
  kavri_test::Move(track, {track->width() / 2, track->height() + 50});
  kavri_test::Release(track, {track->width() / 2, track->height() + 50});
  EXPECT_EQ(native->value(), native->maximum());

  // A moved memo takes its bar along.
  memo->move(40, 20);
  EXPECT_EQ(bar->geometry().topLeft(), QPoint(40 + 200 - bar->width() - 2, 21));

  // Detaching gives the bar back in its plain state.
  memo->SetVScrollBar(nullptr);
  EXPECT_EQ(bar->Max(), 100);
  EXPECT_EQ(bar->LineButton(), 0);
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_FALSE(bar->HasOnChange());
  EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST(AttachedScrollBar, MemoWithBothBarsAndAListBoxThatHidesItsBar) {
  QWidget form;
  form.resize(400, 400);
  auto* memo = new TSkinMemo(&form);
  memo->setGeometry(0, 0, 200, 150);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* v = new TSkinScrollBar(&form);
  auto* h = new TSkinScrollBar(&form);
  memo->SetVScrollBar(v);
  memo->SetHScrollBar(h);
  EXPECT_EQ(h->Orientation(), TSkinProgressBarOrientation::skinHorizontal);
  EXPECT_EQ(v->height(), 150 - 1 - h->height());
  EXPECT_EQ(h->width(), 200 - 1 - v->width());

  auto* list = new TSkinListBox(&form);
  list->setGeometry(210, 0, 150, 120);
  auto* lbar = new TSkinScrollBar(&form);
  list->SetVScrollBar(lbar);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  list->addItem("one");
  QApplication::processEvents();
  EXPECT_FALSE(lbar->isVisible());
  for (int i = 0; i < 60; ++i) list->addItem(QString("item %1").arg(i));
  QApplication::processEvents();
  EXPECT_TRUE(lbar->isVisible());
  EXPECT_EQ(lbar->Max(), list->verticalScrollBar()->maximum());
  lbar->SetPosition(10);
  EXPECT_EQ(list->verticalScrollBar()->value(), 10);

  // A destroyed bar is forgotten.
  delete lbar;
  EXPECT_EQ(list->VScrollBar(), nullptr);
  list->addItem("after");
  QApplication::processEvents();
}

TEST(AttachedScrollBar, ABarThatOutlivesItsControlIsReleased) {
  QWidget form;
  form.resize(400, 400);
  auto* bar = new TSkinScrollBar(&form);
  auto* hbar = new TSkinScrollBar(&form);
  auto* memo = new TSkinMemo(&form);
  memo->setGeometry(0, 0, 200, 150);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo->SetVScrollBar(bar);
  memo->SetHScrollBar(hbar);
  auto* lbar = new TSkinScrollBar(&form);
  auto* list = new TSkinListBox(&form);
  list->SetVScrollBar(lbar);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  memo->setPlainText(Lines(200) + QString(500, 'x'));
  for (int i = 0; i < 60; ++i) list->addItem(QString("item %1").arg(i));
  QApplication::processEvents();
  ASSERT_NE(bar->Max(), 100);

  delete memo;
  delete list;
  // The bars stay on the form, handed back as a detach leaves them; moving them reaches nothing.
  for (TSkinScrollBar* b : {bar, hbar, lbar}) {
    EXPECT_FALSE(b->HasOnChange());
    EXPECT_EQ(b->Max(), 100);
    EXPECT_EQ(b->LineButton(), 0);
    EXPECT_TRUE(b->isEnabled());
    b->SetPosition(30);
    EXPECT_EQ(b->Position(), 30);
  }
}
