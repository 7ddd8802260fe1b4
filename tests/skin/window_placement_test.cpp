#include "skin/window_placement.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include "skin/skin_dialogs.h"
#include "tests/skin/modal_answer.h"

using namespace kavri;

namespace {

// Work areas of 1280x1024 and 1024x768 screens with a 30-pixel panel at the top, and one at the
// right of a second screen.
const QRect kLarge(0, 30, 1280, 994), kSmall(0, 30, 1024, 738), kRightScreen(1280, 0, 1024, 768);

TEST(WindowPlacement, FramesAreMovedInsideTheAreaOrToItsTopLeftWhenLarger) {
  struct Case {
    const char* what;
    QRect frame, area;
    QPoint expected;
  } cases[] = {
      {"inside stays", {100, 100, 400, 300}, kLarge, {100, 100}},
      {"touching the bottom-right corner stays", {880, 724, 400, 300}, kLarge, {880, 724}},
      {"bottom edge below the screen moves up", {200, 500, 600, 540}, kLarge, {200, 484}},
      {"under the panel moves down", {10, 0, 200, 100}, kLarge, {10, 30}},
      {"off the left and right edges", {-40, 100, 200, 100}, kSmall, {0, 100}},
      {"off the right edge", {1000, 100, 200, 100}, kSmall, {824, 100}},
      {"taller than the area: top-left", {100, 300, 600, 800}, kSmall, {0, 30}},
      {"wider than the area: top-left", {100, 300, 1100, 300}, kSmall, {0, 30}},
      {"wider and taller: top-left", {300, 300, 1100, 800}, kSmall, {0, 30}},
      {"exactly the area", {5, 5, 1024, 738}, kSmall, {0, 30}},
      {"on a screen to the right", {100, 100, 300, 200}, kRightScreen, {1280, 100}},
  };
  for (const Case& c : cases) EXPECT_EQ(FitInside(c.frame, c.area), c.expected) << c.what;
}

TEST(WindowPlacement, EachPlacementStartsFromItsOwnCentre) {
  const QRect opener(100, 100, 300, 200);  // centre (249, 199)
  struct Case {
    const char* what;
    TWindowPlacement placement;
    bool placedBefore;
    QRect frame, openerFrame, area;
    QPoint expected;
  } cases[] = {
      {"first opening: centred on the screen", TWindowPlacement::KeepOnScreen, false, {900, 900, 400, 300}, {}, kLarge,
       {440, 377}},
      {"opened again: where it stood", TWindowPlacement::KeepOnScreen, true, {900, 500, 100, 100}, {}, kLarge,
       {900, 500}},
      {"opened again half off the screen: inside", TWindowPlacement::KeepOnScreen, true, {1200, 1000, 200, 100}, {},
       kLarge, {1080, 924}},
      {"dialog centred on its opener", TWindowPlacement::CentreOnOpener, true, {0, 0, 100, 50}, opener, kLarge,
       {200, 175}},
      {"dialog on an opener at the edge: inside", TWindowPlacement::CentreOnOpener, false, {0, 0, 400, 300},
       {0, 30, 100, 100}, kLarge, {0, 30}},
      {"dialog without an opener: screen centre", TWindowPlacement::CentreOnOpener, false, {0, 0, 400, 300}, {},
       kSmall, {312, 249}},
      {"centred on the screen each time", TWindowPlacement::CentreOnScreen, true, {10, 10, 640, 480}, opener, kLarge,
       {320, 287}},
      {"larger than the screen: top-left", TWindowPlacement::CentreOnScreen, false, {0, 0, 1100, 900}, {}, kSmall,
       {0, 30}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlacedFrameTopLeft(c.frame, c.area, c.placement, c.placedBefore, c.openerFrame), c.expected) << c.what;
}

TEST(WindowPlacement, AFramelessWindowIsPlacedByItsOwnRectangle) {
  // The offscreen platform gives normal windows a frame; a frameless one has none to count.
  QWidget framed, frameless(nullptr, Qt::FramelessWindowHint);
  framed.resize(200, 100);
  framed.show();
  ASSERT_GT(framed.frameGeometry().width(), framed.width());
  frameless.resize(200, 100);
  PlaceWindow(&frameless, TWindowPlacement::CentreOnScreen, nullptr);
  frameless.show();
  EXPECT_EQ(frameless.frameGeometry(), frameless.geometry());
  const QRect area = frameless.screen()->availableGeometry();
  EXPECT_EQ(frameless.geometry().center(), area.center());
}

}  // namespace

namespace {

// The skinned dialogs are frameless and open at the screen's centre, whatever window is active.
TEST(WindowPlacement, SkinnedDialogsOpenAtTheScreensCentre) {
  QWidget active;
  active.setGeometry(10, 10, 200, 100);
  active.show();
  active.activateWindow();
  for (int kind = 0; kind < 2; ++kind) {
    QRect shown;
    kavri_test::WhenModal([&](QDialog* form) {
      shown = form->frameGeometry();
      form->reject();
    });
    if (kind == 0) {
      TSkinMessageDialog dialog;
      dialog.ShowModal();
    } else {
      TSkinInputDialog dialog;
      dialog.ShowModal();
    }
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((shown.center() - centre).manhattanLength(), 1) << kind;
  }
}

}  // namespace
