#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include "skin/pixel_ops.h"
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_pictures.h"

using namespace kavri;
using S = TSkinUIStyle;

namespace {

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  if (type == QEvent::MouseMove) held = Qt::LeftButton;
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void Enter(QWidget* w) {
  QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(w, &e);
}

void Leave(QWidget* w) {
  QEvent e(QEvent::Leave);
  QApplication::sendEvent(w, &e);
}

void Key(QWidget* w, QEvent::Type type, int key, bool autoRepeat = false) {
  QKeyEvent e(type, key, Qt::NoModifier, QString(), autoRepeat);
  QApplication::sendEvent(w, &e);
}

// A shown, active window so that focus behaves as for a user.
struct TWindow {
  QWidget form;
  TWindow() {
    form.resize(400, 300);
    form.show();
    QApplication::setActiveWindow(&form);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
  }
};

}  // namespace

TEST(SkinButton, MouseClickNeedsPressAndReleaseOverTheButton) {
  QWidget form;
  TSkinButton b(&form);
  int clicks = 0;
  b.OnClick = [&](TSkinCustomButton* sender) {
    EXPECT_EQ(sender, &b);
    ++clicks;
  };
  Enter(&b);
  EXPECT_TRUE(b.MouseOn());
  Mouse(&b, QEvent::MouseButtonPress, {5, 5});
  EXPECT_TRUE(b.Pressed());
  Mouse(&b, QEvent::MouseButtonRelease, {5, 5});
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b.Pressed());

  // Press, leave, release outside: back to normal, no click.
  Mouse(&b, QEvent::MouseButtonPress, {5, 5});
  Leave(&b);
  EXPECT_FALSE(b.Pressed());
  EXPECT_FALSE(b.MouseOn());
  Mouse(&b, QEvent::MouseButtonRelease, {200, 5});
  EXPECT_EQ(clicks, 1);

  // While the button is held the mouse moves off it: the pressed look ends at once.
  Enter(&b);
  Mouse(&b, QEvent::MouseButtonPress, {5, 5});
  Mouse(&b, QEvent::MouseMove, {b.width() + 3, 5});
  EXPECT_FALSE(b.Pressed());
  Mouse(&b, QEvent::MouseButtonRelease, {b.width() + 3, 5});
  EXPECT_EQ(clicks, 1);
  // The rectangle's far edge counts as inside for moves but not for the click.
  Mouse(&b, QEvent::MouseButtonPress, {5, 5});
  Mouse(&b, QEvent::MouseMove, {b.width(), b.height()});
  EXPECT_TRUE(b.Pressed());
  Mouse(&b, QEvent::MouseButtonRelease, {b.width(), 5});
  EXPECT_EQ(clicks, 1);

  // Right button: no click.
  Mouse(&b, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton);
  Mouse(&b, QEvent::MouseButtonRelease, {5, 5}, Qt::RightButton);
  EXPECT_EQ(clicks, 1);
}

TEST(SkinButton, SpaceAndEnterClickOncePerKeyPressOnlyWhenFocused) {
  TWindow w;
  TSkinButton b(&w.form);
  TSkinButton other(&w.form);
  b.show();
  other.show();
  int clicks = 0;
  b.OnClick = [&](TSkinCustomButton*) { ++clicks; };
  b.setFocus();
  ASSERT_TRUE(b.hasFocus());
  Key(&b, QEvent::KeyPress, Qt::Key_Space);
  EXPECT_TRUE(b.Pressed());
  Key(&b, QEvent::KeyPress, Qt::Key_Space, true);  // held: the platform repeats press and release
  Key(&b, QEvent::KeyRelease, Qt::Key_Space, true);
  EXPECT_EQ(clicks, 0);
  Key(&b, QEvent::KeyRelease, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
  Key(&b, QEvent::KeyPress, Qt::Key_Return);
  Key(&b, QEvent::KeyRelease, Qt::Key_Return);
  EXPECT_EQ(clicks, 2);
  // A release without the press (focus came with the key held) does not click.
  Key(&b, QEvent::KeyRelease, Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
  other.setFocus();
  Key(&b, QEvent::KeyPress, Qt::Key_Space);
  Key(&b, QEvent::KeyRelease, Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
}

TEST(SkinButton, DefaultAndCancelTakeEnterAndEscapeOfTheWindow) {
  TWindow w;
  QLineEdit edit(&w.form);
  TSkinButton ok(&w.form), cancel(&w.form), plain(&w.form);
  for (QWidget* x : std::initializer_list<QWidget*>{&edit, &ok, &cancel, &plain}) x->show();
  int okClicks = 0, cancelClicks = 0, plainClicks = 0;
  ok.OnClick = [&](TSkinCustomButton*) { ++okClicks; };
  cancel.OnClick = [&](TSkinCustomButton*) { ++cancelClicks; };
  plain.OnClick = [&](TSkinCustomButton*) { ++plainClicks; };
  ok.SetDefault(true);
  cancel.SetCancel(true);
  edit.setFocus();
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
  QTest::keyClick(&edit, Qt::Key_Escape);
  EXPECT_EQ(cancelClicks, 1);
  // Enter on another focused button goes to the default button.
  plain.setFocus();
  QTest::keyClick(&plain, Qt::Key_Return);
  EXPECT_EQ(okClicks, 2);
  EXPECT_EQ(plainClicks, 0);
  // A disabled default button takes nothing.
  ok.setEnabled(false);
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(okClicks, 2);
}

TEST(SkinButton, AcceleratorFocusesAndClicksOnce) {
  TWindow w;
  TSkinButton b(&w.form);
  TSkinCheckBox box(&w.form);
  b.show();
  box.show();
  b.SetCaption("&Open");
  box.SetCaption("&Loop");
  int clicks = 0, boxClicks = 0;
  b.OnClick = [&](TSkinCustomButton*) { ++clicks; };
  box.OnClick = [&](TSkinCustomButton*) { ++boxClicks; };
  QTest::keyClick(&w.form, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(b.hasFocus());
  QTest::keyClick(&w.form, Qt::Key_L, Qt::AltModifier);
  EXPECT_EQ(boxClicks, 1);
  EXPECT_TRUE(box.Checked());
  EXPECT_TRUE(box.hasFocus());
  box.setEnabled(false);
  QTest::keyClick(&w.form, Qt::Key_L, Qt::AltModifier);
  EXPECT_EQ(boxClicks, 1);
}

TEST(SkinButton, ClickSetsTheModalResultOfAModalDialog) {
  QDialog dialog;
  dialog.setModal(true);
  TSkinButton b(&dialog);
  b.SetModalResult(QDialog::Accepted);
  dialog.show();
  b.Click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(SkinButton, RepeatTimerFiresWhileHeldAndZeroMeansOff) {
  QWidget form;
  TSkinButton b(&form);
  int ticks = 0;
  b.OnMouseContinuouslyDown = [&](TSkinCustomButton*) { ++ticks; };
  b.SetMouseContinuouslyDownInterval(5);
  Mouse(&b, QEvent::MouseButtonPress, {3, 3});
  EXPECT_TRUE(b.RepeatTimerActive());
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
  Mouse(&b, QEvent::MouseButtonRelease, {3, 3});
  EXPECT_FALSE(b.RepeatTimerActive());
  const int after = ticks;
  QTest::qWait(30);
  EXPECT_EQ(ticks, after);

  // Leaving ends it too.
  Mouse(&b, QEvent::MouseButtonPress, {3, 3});
  EXPECT_TRUE(b.RepeatTimerActive());
  Leave(&b);
  EXPECT_FALSE(b.RepeatTimerActive());
  Mouse(&b, QEvent::MouseButtonRelease, {3, 3});

  b.SetMouseContinuouslyDownInterval(0);
  Mouse(&b, QEvent::MouseButtonPress, {3, 3});
  EXPECT_FALSE(b.RepeatTimerActive());
  const int before = ticks;
  for (int i = 0; i < 20; ++i) QApplication::processEvents();
  EXPECT_EQ(ticks, before);
  Mouse(&b, QEvent::MouseButtonRelease, {3, 3});
}

TEST(SkinButton, StylePicturesSizesAndCustomNames) {
  QWidget form;
  TSkinButton b(&form);
  EXPECT_EQ(b.UIStyle(), S::Navy);  // no themed form panel
  EXPECT_EQ(b.size(), QSize(80, 27));
  EXPECT_EQ(b.GetPicNormal(), "");  // names read empty unless Custom
  EXPECT_FALSE(b.Transparent());

  b.SetUIStyle(S::Graphite);
  b.resize(80, 40);
  EXPECT_EQ(b.height(), 23);
  b.SetUIStyle(S::Frost);
  EXPECT_TRUE(b.Transparent());
  b.resize(80, 40);
  EXPECT_EQ(b.height(), 40);

  b.SetPicNormal("SIDECHANNEL_BAR_NORMAL");
  EXPECT_EQ(b.UIStyle(), S::Custom);
  EXPECT_TRUE(b.AutoSize());
  EXPECT_EQ(b.GetPicNormal(), "SIDECHANNEL_BAR_NORMAL");
  EXPECT_EQ(b.size(), LoadSkinPicture("SIDECHANNEL_BAR_NORMAL").size());
  // Container restyling leaves a Custom button alone.
  ContainerApplyUIStyle(&form, S::Azure);
  EXPECT_EQ(b.UIStyle(), S::Custom);
  TSkinButton themed(&form);
  ContainerApplyUIStyle(&form, S::Azure);
  EXPECT_EQ(themed.UIStyle(), S::Azure);
}

TEST(SkinButton, MissingPicturesPaintBackgroundAndCaptionWithoutThrowing) {
  QWidget form;
  TSkinButton b(&form);
  b.SetPicNormal("NO_SUCH_PICTURE");
  b.resize(50, 20);
  b.SetColor(0x123456);
  QImage face;
  EXPECT_NO_THROW(face = b.RenderFace());
  EXPECT_EQ(PixelAt(face, 0, 0), 0x123456u);
  b.SetResHandle(77);  // a module we do not have: nothing to load either
  EXPECT_NO_THROW(face = b.RenderFace());
  EXPECT_EQ(b.ResHandle(), 77u);
}

TEST(SkinButton, GlyphLayoutTwoImagesAndPressedOffset) {
  QWidget form;
  TSkinButton b(&form);
  b.SetUIStyle(S::Azure);
  b.resize(80, 27);
  QImage glyph = NewSkinBitmap(32, 16, 0x00FF00);           // right half: disabled image (green)
  FillPixels(glyph, {0, 0, 16, 16}, 0x0000FF);              // left half: normal image (red)
  SetPixelAt(glyph, 0, 0, 0xFF0000);                        // top-left: the mask colour
  b.SetGlyph(glyph);
  // No caption: glyph x = (80 - (0 + 16 + 4)) / 2 = 30, y = (27 - 16) / 2 = 5.
  QImage face = b.RenderFace();
  EXPECT_EQ(PixelAt(face, 30 + 5, 5 + 5), 0x0000FFu);
  EXPECT_NE(PixelAt(face, 30, 5), 0xFF0000u);  // masked
  EXPECT_NE(PixelAt(face, 29, 10), 0x0000FFu);
  Mouse(&b, QEvent::MouseButtonPress, {3, 3});
  face = b.RenderFace();
  EXPECT_EQ(PixelAt(face, 31, 10), 0x0000FFu);
  EXPECT_NE(PixelAt(face, 30, 10), 0x0000FFu);
  Mouse(&b, QEvent::MouseButtonRelease, {3, 3});
  b.setEnabled(false);
  face = b.RenderFace();
  EXPECT_EQ(PixelAt(face, 35, 10), 0x00FF00u);

  b.setEnabled(true);
  b.SetLayout(TButtonLayout::blGlyphTop);
  b.resize(80, 60);
  face = b.RenderFace();
  // top layout without caption text: x = (80 - 16) / 2 = 32, y = (60 - (th + 16 + 4)) / 2
  const int th = QFontMetrics(b.font()).height();
  const int gy = (60 - (th + 16 + 4)) / 2;
  EXPECT_EQ(PixelAt(face, 32 + 1, gy + 1), 0x0000FFu);
  EXPECT_NE(PixelAt(face, 32 + 1, gy - 1), 0x0000FFu);
}

TEST(SkinCheckBox, ClickTogglesBeforeOnClickAndSetCheckedIsSilent) {
  QWidget form;
  TSkinCheckBox box(&form);
  EXPECT_EQ(box.Caption(), "skinCheckBox");
  EXPECT_EQ(box.size(), QSize(93, 17));
  EXPECT_EQ(box.UIStyle(), S::Navy);
  std::vector<bool> seen;
  box.OnClick = [&](TSkinCustomButton*) { seen.push_back(box.Checked()); };
  Mouse(&box, QEvent::MouseButtonPress, {3, 3});
  Mouse(&box, QEvent::MouseButtonRelease, {3, 3});
  EXPECT_EQ(seen, std::vector<bool>{true});
  box.SetChecked(false);
  box.SetChecked(true);
  box.SetChecked(true);
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(box.GetState(), cbChecked);
  box.SetState(cbGrayed);
  EXPECT_FALSE(box.Checked());
}

TEST(SkinCheckBox, PicturesFollowStateStyleAndEnabled) {
  QWidget form;
  TSkinCheckBox box(&form);
  box.SetUIStyle(S::Azure);
  EXPECT_EQ(box.GetPicNormal(), "AZURE_CHECKBOX_NORMAL_UNCHECK");
  EXPECT_EQ(box.GetPicMouseOn(), "AZURE_CHECKBOX_MOUSEON_UNCHECK");
  box.SetChecked(true);
  EXPECT_EQ(box.GetPicNormal(), "AZURE_CHECKBOX_NORMAL_CHECK");
  EXPECT_EQ(box.GetPicMouseDown(), "AZURE_CHECKBOX_MOUSEDOWN_CHECK");
  box.setEnabled(false);
  EXPECT_EQ(box.GetPicNormal(), "AZURE_CHECKBOX_DISABLE_CHECK");
  box.SetUIStyle(S::Navy);
  EXPECT_EQ(box.GetPicNormal(), "NAVY_CHECKBOX_DISABLE_CHECK");
  EXPECT_EQ(box.GetPicMouseOn(), "NAVY_CHECKBOX_CHECK");
  EXPECT_FALSE(box.Transparent());
  box.SetUIStyle(S::Pearl);
  EXPECT_TRUE(box.Transparent());
  EXPECT_FALSE(box.PicTransparent());
  box.SetUIStyle(S::Custom);  // keeps its names and its transparency
  EXPECT_EQ(box.GetPicNormal(), "PEARL_CHECKBOX_DISABLE_CHECK");
  EXPECT_TRUE(box.Transparent());

  TSkinRadioButton radio(&form);
  EXPECT_EQ(radio.Caption(), "skinRadioButton");
  EXPECT_TRUE(radio.PicTransparent());
  radio.SetUIStyle(S::Azure);
  EXPECT_EQ(radio.GetPicNormal(), "AZURE_RADIOBUTTON_NORMAL_UNCHECK");
  radio.SetTransparent(false);
  EXPECT_TRUE(radio.PicTransparent());
}

TEST(SkinCheckBox, AutoSizeFromPictureFontAndCaption) {
  TWindow w;
  TSkinCheckBox box(&w.form);
  box.show();
  box.SetUIStyle(S::Azure);
  box.SetCaption("Loop");
  box.SetAutoSize(true);
  const int pw = LoadSkinPicture("AZURE_CHECKBOX_NORMAL_UNCHECK").width();
  const int ph = LoadSkinPicture("AZURE_CHECKBOX_NORMAL_UNCHECK").height();
  const int lh = QFontInfo(box.font()).pixelSize() + 2;
  EXPECT_EQ(box.width(), pw + 8 + QFontMetrics(box.font()).horizontalAdvance("Loop"));
  EXPECT_EQ(box.height(), std::max(lh, ph) + 4);
  box.SetCaption("A much longer caption");
  EXPECT_EQ(box.width(), pw + 8 + QFontMetrics(box.font()).horizontalAdvance("A much longer caption"));
  box.resize(10, 10);  // auto size holds against resizing
  EXPECT_EQ(box.height(), std::max(lh, ph) + 4);
}

TEST(SkinCheckBox, SpaceTogglesOnceAndPaintsPictureAtLeft) {
  TWindow w;
  TSkinCheckBox box(&w.form);
  box.show();
  box.SetUIStyle(S::Azure);
  int clicks = 0;
  box.OnClick = [&](TSkinCustomButton*) { ++clicks; };
  box.setFocus();
  Key(&box, QEvent::KeyPress, Qt::Key_Space);
  Key(&box, QEvent::KeyRelease, Qt::Key_Space);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(clicks, 1);
  // The picture sits at x = 1, vertically centred.
  Leave(&box);  // the offscreen cursor may rest on the box
  EXPECT_FALSE(box.MouseOn());
  EXPECT_FALSE(box.Pressed());
  QImage pic = LoadSkinPicture(box.GetPicNormal().toStdString());
  QImage face = box.RenderFace();
  const int y0 = (box.height() - pic.height()) / 2;
  EXPECT_EQ(PixelAt(face, 1 + 7, y0 + 7), PixelAt(pic, 7, 7));
  EXPECT_EQ(PixelAt(face, 1, y0 + 7), PixelAt(pic, 0, 7));
}

namespace {
class TRedParent : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(255, 0, 0)); }
};
}  // namespace

TEST(SkinCheckBox, TransparentStylesShowTheParentUnderTheCaption) {
  TRedParent parent;
  parent.resize(200, 50);
  TSkinCheckBox box(&parent);
  box.SetCaption("");
  box.SetUIStyle(S::Graphite);
  ASSERT_TRUE(box.Transparent());
  EXPECT_EQ(PixelAt(box.RenderFace(), 60, 8), 0x0000FFu);  // red from the parent's paint
  box.SetUIStyle(S::Navy);
  EXPECT_NE(PixelAt(box.RenderFace(), 60, 8), 0x0000FFu);
}

TEST(SkinRadioButton, GroupsByParentAndGroupIndex) {
  QWidget form, otherParent;
  TSkinRadioButton a(&form), b(&form), c(&form), d(&otherParent);
  c.SetGroupIndex(1);
  a.SetChecked(true);
  c.SetChecked(true);
  d.SetChecked(true);
  int clicks = 0;
  b.OnClick = [&](TSkinCustomButton*) { ++clicks; };
  b.Click();
  EXPECT_TRUE(b.Checked());
  EXPECT_FALSE(a.Checked());
  EXPECT_TRUE(c.Checked());  // other group index
  EXPECT_TRUE(d.Checked());  // other parent
  b.Click();  // clicking a checked radio button changes nothing but still reports the click
  EXPECT_TRUE(b.Checked());
  EXPECT_EQ(clicks, 2);
  a.SetChecked(true);  // from code: the group still follows
  EXPECT_FALSE(b.Checked());
  EXPECT_EQ(clicks, 2);
  TSkinRadioButton orphan;
  orphan.SetChecked(true);  // no parent: nothing else to uncheck
  EXPECT_TRUE(orphan.Checked());
}

TEST(SkinImageButton, StatePicturesFallBackToNormalAndStretch) {
  QWidget form;
  TSkinImageButton b(&form);
  QImage normal = NewSkinBitmap(4, 4, 0x00FF00), hover = NewSkinBitmap(4, 4, 0x0000FF);
  SetPixelAt(normal, 0, 0, 0xFF00FF);
  SetPixelAt(hover, 0, 0, 0xFF00FF);
  b.SetAutoSize(true);
  b.SetPicNormal(normal);
  EXPECT_EQ(b.size(), QSize(4, 4));
  b.SetColor(0x111111);
  EXPECT_EQ(PixelAt(b.RenderFace(), 0, 0), 0x111111u);  // top-left colour is transparent
  EXPECT_EQ(PixelAt(b.RenderFace(), 2, 2), 0x00FF00u);
  Enter(&b);
  EXPECT_EQ(PixelAt(b.RenderFace(), 2, 2), 0x00FF00u);  // no mouse-on picture: the normal one
  b.SetPicMouseOn(hover);
  EXPECT_EQ(PixelAt(b.RenderFace(), 2, 2), 0x0000FFu);
  b.SetAutoSize(false);
  b.resize(8, 8);
  EXPECT_EQ(PixelAt(b.RenderFace(), 7, 7), 0x111111u);
  b.SetStretch(true);
  EXPECT_EQ(PixelAt(b.RenderFace(), 7, 7), 0x0000FFu);
}
