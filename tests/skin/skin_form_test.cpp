#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <stdexcept>

#include "skin/form_geometry.h"
#include "skin/skin_button.h"
#include "skin/skin_form.h"
#include "skin/skin_menu.h"
#include "skin/skin_title_bar.h"
#include "skin/title_bar_layout.h"
#include "tests/skin/skin_mouse.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;
using kavri_test::RecordingDialogs;
using B = TSkinTitleBarBtnType;
using A = TSkinTitleBarAlign;

namespace {

bool operator==(const TPixelRect& a, const TPixelRect& b) {
  return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}
QPoint Centre(const TPixelRect& r) { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

}  // namespace

TEST(FormGeometry, PanelAndBorderStripsForEachBorderWidth) {
  struct Case {
    int bw;
    bool title;
    TPixelRect panel;
    int topRows;
  } cases[] = {
      {1, true, {1, 0, 299, 199}, 1},
      {1, false, {1, 1, 299, 199}, 1},
      {3, true, {3, 0, 297, 197}, 2},  // Azure
      {3, false, {3, 3, 297, 197}, 2},
      {0, true, {0, 0, 300, 200}, 0},
  };
  for (const Case& c : cases) {
    const TFormFrame f = FormFrameLayout(QSize(300, 200), c.bw, c.title);
    EXPECT_TRUE(f.Panel == c.panel) << c.bw << c.title << " " << f.Panel.Left << "," << f.Panel.Top << ","
                                    << f.Panel.Right << "," << f.Panel.Bottom;
    EXPECT_TRUE((f.Left == TPixelRect{0, 0, c.bw, 200})) << c.bw;
    EXPECT_TRUE((f.Bottom == TPixelRect{0, 200 - c.bw, 300, 200})) << c.bw;
    EXPECT_TRUE((f.Right == TPixelRect{300 - c.bw, 0, 300, 200})) << c.bw;
    EXPECT_EQ(f.Top.Height(), c.topRows) << c.bw;
    // Fitting the window round the panel gives back the same window.
    EXPECT_EQ(FormWidthFor(f.Panel.Width(), c.bw), 300);
    EXPECT_EQ(FormHeightFor(f.Panel.Height(), c.bw, c.title), 200) << c.bw << c.title;
  }
}

TEST(SkinForm, EachStyleFitsTheWindowRoundThePanelAndDrawsItsBorder) {
  for (TSkinUIStyle style : kThemedStyles) {
    QWidget form;
    form.resize(320, 240);
    TSkinForm skin(&form);
    skin.SetUIStyle(style);
    const int bw = GetThemeInt(style, 4);
    EXPECT_EQ(skin.BorderWidth(), bw);
    EXPECT_EQ(skin.BorderColor(), GetThemeColor(style, 2));
    skin.SetWidth(280);  // Frost keeps its windows at least 270 wide
    skin.SetHeight(150);
    EXPECT_EQ(form.size(), QSize(280 + 2 * bw, 150 + bw)) << int(style);
    EXPECT_EQ(skin.geometry(), QRect(bw, 0, 280, 150)) << int(style);
    // Setting the style again must not creep the window.
    skin.SetUIStyle(style);
    EXPECT_EQ(form.size(), QSize(280 + 2 * bw, 150 + bw)) << int(style);

    const QImage shot = form.grab().toImage();
    EXPECT_EQ(FromQRgb(shot.pixel(0, 100)), GetThemeColor(style, 2)) << int(style);
    EXPECT_EQ(FromQRgb(shot.pixel(shot.width() - 1, 100)), GetThemeColor(style, 2)) << int(style);
    EXPECT_EQ(FromQRgb(shot.pixel(100, shot.height() - 1)), GetThemeColor(style, 2)) << int(style);
    // The title bar is the first section's picture high and spans the panel.
    ASSERT_FALSE(skin.TitleBar()->Sections().empty()) << int(style);
    EXPECT_EQ(skin.TitleBar()->geometry(), QRect(0, 0, 280, skin.TitleBar()->Sections().front().Picture.height()));

    skin.SetTitleBarVisible(false);
    EXPECT_EQ(skin.geometry().topLeft(), QPoint(bw, bw));
  }
}

TEST(SkinForm, SecondFormPanelOnOneWindowIsRefused) {
  QWidget form;
  form.show();
  TSkinForm first(&form);
  EXPECT_TRUE(form.isVisible());  // skinning a shown window keeps it shown
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_THROW(TSkinForm second(&form), std::runtime_error);
  EXPECT_EQ(GetSkinFormStyle(&form), TSkinUIStyle::Navy);
}

TEST(SkinForm, SetPanelRefusesTheFormItselfAndFillsTheRestOtherwise) {
  RecordingDialogs dialogs;
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  skin.SetPanel(&skin);
  EXPECT_EQ(skin.FormPanel(), nullptr);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "Sorry, you can't select the Form assign to FormPanel property");

  auto* menu = new TSkinMainMenu(&skin);
  menu->AddMenu("&File");
  skin.SetMenu(menu);
  auto* panel = new QWidget(&skin);
  skin.SetPanel(panel);
  const int titleHeight = skin.TitleBar()->height();
  EXPECT_EQ(menu->geometry(), QRect(0, titleHeight, skin.width(), 22));
  EXPECT_EQ(panel->geometry(), QRect(0, titleHeight + 22, skin.width(), skin.height() - titleHeight - 22));
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST(SkinForm, MenuShortcutsWorkInTheSkinnedWindow) {
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  auto* menu = new TSkinMainMenu(&skin);
  int opened = 0;
  menu->AddMenu("&File")->AddItem("Open", [&] { ++opened; }, QKeySequence("Ctrl+O"));
  skin.SetMenu(menu);
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(skin.TitleBar()->FormActive());
}

TEST(SkinForm, RimOfASizeableWindowResizesItUnlessMaximised) {
  auto rimCursor = [] {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
  };
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  auto* button = new TSkinButton(&skin);
  button->setGeometry(0, 100, 60, 25);  // one pixel in from the window's left edge
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  kavri_test::Move(button, QPoint(1, 10));
  EXPECT_EQ(rimCursor(), Qt::SizeHorCursor);
  kavri_test::Press(button, QPoint(1, 10));  // the window system takes it, not the button
  EXPECT_FALSE(button->Pressed());
  kavri_test::Move(button, QPoint(20, 10));
  EXPECT_EQ(rimCursor(), Qt::ArrowCursor);
  form.showMaximized();
  kavri_test::Move(button, QPoint(1, 10));
  EXPECT_EQ(rimCursor(), Qt::ArrowCursor);

  QDialog dialog;  // a dialog keeps its size
  dialog.resize(300, 200);
  TSkinForm dialogSkin(&dialog);
  auto* inner = new TSkinButton(&dialogSkin);
  inner->setGeometry(0, 100, 60, 25);
  kavri_test::Move(inner, QPoint(1, 10));
  EXPECT_EQ(rimCursor(), Qt::ArrowCursor);
}

TEST(SkinForm, TheRimCursorEndsWhenTheMouseLeavesOrTheWindowHides) {
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  auto* button = new TSkinButton(&skin);
  button->setGeometry(0, 100, 60, 25);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  kavri_test::Move(button, QPoint(1, 10));
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  QEvent leave(QEvent::Leave);  // out over the rim, onto another window
  QCoreApplication::sendEvent(&form, &leave);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  kavri_test::Move(button, QPoint(1, 10));
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  form.hide();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(FormGeometry, ResizeEdgesWithinFivePixelsCornersFirst) {
  const QSize size(200, 100);
  struct Case {
    QPoint p;
    Qt::Edges edges;
  } cases[] = {
      {{0, 0}, Qt::TopEdge | Qt::LeftEdge},       {{199, 4}, Qt::TopEdge | Qt::RightEdge},
      {{195, 99}, Qt::BottomEdge | Qt::RightEdge}, {{4, 95}, Qt::BottomEdge | Qt::LeftEdge},
      {{2, 50}, Qt::LeftEdge},                     {{100, 4}, Qt::TopEdge},
      {{197, 50}, Qt::RightEdge},                  {{100, 96}, Qt::BottomEdge},
      {{5, 5}, {}},                                {{194, 94}, {}},
      {{-1, 50}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FormResizeEdges(c.p, size), c.edges) << c.p.x() << "," << c.p.y();
}

TEST(FormGeometry, OnlyTheTopCornersAreRound) {
  const QRegion r = RoundCornerRegion(QSize(100, 60), 13);  // Azure
  EXPECT_FALSE(r.contains(QPoint(0, 0)));
  EXPECT_FALSE(r.contains(QPoint(100, 0)));
  EXPECT_TRUE(r.contains(QPoint(50, 0)));
  EXPECT_TRUE(r.contains(QPoint(0, 7)));
  EXPECT_TRUE(r.contains(QPoint(0, 60)));    // square bottom corners, one pixel past the client area
  EXPECT_TRUE(r.contains(QPoint(100, 60)));
  EXPECT_TRUE(RoundCornerRegion(QSize(100, 60), 0).isEmpty());
}

TEST(TitleBarLayout, SectionsPileFromBothEdgesAndTheClientFillsBetween) {
  using V = std::vector<TTitleSectionShape>;
  struct Case {
    V sections;
    int width;
    std::vector<TPixelRect> rects;
  } cases[] = {
      // the theme's three pieces
      {V{{6, A::skinLeft}, {6, A::skinRight}, {10, A::skinClient}}, 300, {{0, 0, 6, 24}, {294, 0, 300, 24}, {6, 0, 294, 24}}},
      // two left pieces and a right piece that no longer fits
      {V{{6, A::skinLeft}, {10, A::skinLeft}, {20, A::skinRight}}, 20, {{0, 0, 6, 24}, {6, 0, 16, 24}, {0, 0, 0, 0}}},
      // client given first still comes last
      {V{{10, A::skinClient}, {4, A::skinRight}}, 50, {{0, 0, 46, 24}, {46, 0, 50, 24}}},
  };
  for (const Case& c : cases) {
    const std::vector<TPixelRect> got = PlaceTitleSections(c.sections, c.width, 24);
    ASSERT_EQ(got.size(), c.rects.size());
    for (size_t i = 0; i < got.size(); ++i)
      EXPECT_TRUE(got[i] == c.rects[i] || (got[i].IsEmpty() && c.rects[i].IsEmpty()))
          << i << ": " << got[i].Left << "," << got[i].Right;
  }
}

TEST(TitleBarLayout, ButtonsFromTheRightControlBoxAtTheLeft) {
  // As a new bar holds them: control box, close, max, min.
  const std::vector<TTitleButtonShape> b = {
      {B::skinControlBox, 18, 16, 4}, {B::skinClose, 20, 20, 2}, {B::skinMax, 20, 20, 2}, {B::skinMin, 20, 20, 2}};
  TTitleButtonsPlace p = PlaceTitleButtons(b, 300, 3, -2, 0, false);
  EXPECT_TRUE((p.Buttons[0] == TPixelRect{3, 4, 21, 20}));
  EXPECT_TRUE((p.Buttons[1] == TPixelRect{278, 2, 298, 22}));  // 300 + 1 - 2 - 21
  EXPECT_TRUE((p.Buttons[2] == TPixelRect{257, 2, 277, 22}));
  EXPECT_TRUE((p.Buttons[3] == TPixelRect{236, 2, 256, 22}));
  EXPECT_EQ(p.CaptionLeft, 3 + 18 + 5);
  EXPECT_EQ(p.CaptionRight, 236);

  p = PlaceTitleButtons(b, 300, 0, 0, 4, true);  // program icon, wider gaps
  EXPECT_TRUE((p.Buttons[0] == TPixelRect{3, 4, 19, 20}));
  EXPECT_EQ(p.Buttons[2].Left, 301 - 2 * 25);
  EXPECT_EQ(p.CaptionLeft, 21);

  p = PlaceTitleButtons({b[1]}, 300, 0, 0, 0, false);  // no control box: the caption starts at 6
  EXPECT_EQ(p.CaptionLeft, 6);
}

TEST(TitleBarLayout, TooLongCaptionShowsTwoCharactersAndDots) {
  auto width = [](const QString& t) { return static_cast<int>(t.size()) * 7; };
  EXPECT_EQ(FitTitleCaption("Options", 49, width), "Options");
  EXPECT_EQ(FitTitleCaption("Options", 48, width), "Op...");
}

TEST(SkinTitleBar, ThemeSectionsAndButtonsPerStyleAndNoneForCustom) {
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  TSkinTitleBar* bar = skin.TitleBar();
  for (TSkinUIStyle style : kThemedStyles) {
    skin.SetUIStyle(style);
    ASSERT_EQ(bar->Sections().size(), 3u);
    EXPECT_EQ(bar->height(), bar->Sections()[0].Picture.height());
    EXPECT_EQ(form.minimumWidth(), GetThemeInt(style, 6));
    const std::vector<TPixelRect> r = bar->ButtonRects();
    ASSERT_TRUE(bar->Buttons().size() >= 3 && r.size() >= 3) << int(style);
    const int closeWidth = bar->Buttons()[1].PicNormal.width();
    EXPECT_EQ(r[1].Right, bar->width() + 1 + GetThemeInt(style, 68) - 1) << int(style);
    EXPECT_EQ(r[1].Right - r[1].Left, closeWidth);
    EXPECT_EQ(r[1].Top, GetThemeInt(style, 69));
    EXPECT_EQ(r[0].Left, GetThemeInt(style, 67));
    EXPECT_EQ(bar->ButtonAt(Centre(r[2])), 2);
  }
  bar->SetUIStyle(TSkinUIStyle::Custom);
  EXPECT_TRUE(bar->Sections().empty());
}

TEST(SkinTitleBar, OnlyOneClientSectionAndOneControlBox) {
  RecordingDialogs dialogs;
  TSkinTitleBar bar;
  bar.SetUIStyle(TSkinUIStyle::Navy);
  EXPECT_EQ(bar.AddSection({10, A::skinClient, {}, false, false}), -1);
  EXPECT_EQ(bar.AddButton(B::skinControlBox), -1);
  EXPECT_FALSE(bar.SetButtonType(1, B::skinControlBox));
  ASSERT_GE(bar.Buttons().size(), 2u);
  EXPECT_EQ(bar.Buttons()[1].ButtonType, B::skinClose);
  const std::string client = "Sorry, only one section's Align property can be \"skinClient\"";
  const std::string box = "Sorry, only one button's ButtonType property can be \"skinControlBox\"";
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{client, box, box}));
}

TEST(SkinTitleBar, EachButtonDoesItsJobWhenClicked) {
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  TSkinTitleBar* bar = skin.TitleBar();
  TSkinPopupMenu controlMenu(&form);
  controlMenu.AddItem("Restore");
  bar->Button(0).ControlBoxMenu = &controlMenu;
  std::vector<int> help, custom;
  bar->OnHelpBtnClick = [&](TSkinTitleBar*, int i) { help.push_back(i); };
  bar->OnCustomBtnsClick = [&](TSkinTitleBar*, int i) { custom.push_back(i); };
  const int helpIndex = bar->AddButton(B::skinHelp);
  const int customIndex = bar->AddButton(B::skinCustom);
  bar->Button(customIndex).PicNormal = bar->Buttons()[helpIndex].PicNormal;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  auto click = [&](int index) {
    const QPoint at = Centre(bar->ButtonRects()[index]);
    kavri_test::Press(bar, at);
    kavri_test::Release(bar, at);
  };

  click(2);
  EXPECT_TRUE(form.isMaximized());
  click(2);
  EXPECT_FALSE(form.isMaximized());
  click(3);
  EXPECT_TRUE(form.isMinimized());
  form.showNormal();
  click(0);
  EXPECT_TRUE(controlMenu.isVisible());
  controlMenu.hide();
  click(helpIndex);
  click(customIndex);
  EXPECT_EQ(help, std::vector<int>{helpIndex});
  EXPECT_EQ(custom, std::vector<int>{customIndex});
  click(1);
  EXPECT_FALSE(form.isVisible());
}

TEST(SkinTitleBar, AControlBoxMenuThatIsGoneIsNotPoppedUp) {
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  TSkinTitleBar* bar = skin.TitleBar();
  auto* controlMenu = new TSkinPopupMenu(&form);
  bar->Button(0).ControlBoxMenu = controlMenu;
  delete controlMenu;
  ASSERT_FALSE(bar->Buttons()[0].ControlBoxMenu);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_FALSE(bar->ButtonRects().empty());
  const QPoint at = Centre(bar->ButtonRects()[0]);
  kavri_test::Press(bar, at);
  kavri_test::Release(bar, at);
  EXPECT_TRUE(form.isVisible());
}

TEST(SkinTitleBar, DoubleClickOnTheBarMaximisesAndRestores) {
  QWidget form;
  form.resize(300, 200);
  TSkinForm skin(&form);
  skin.SetUIStyle(TSkinUIStyle::Azure);
  TSkinTitleBar* bar = skin.TitleBar();
  ASSERT_GE(bar->Buttons().size(), 3u);
  const QImage maxPicture = bar->Buttons()[2].PicNormal;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(100, 8));
  EXPECT_TRUE(form.isMaximized());
  // Azure has its own restore picture for a maximised window.
  EXPECT_NE(bar->Buttons()[2].PicNormal, maxPicture);
  QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(100, 8));
  EXPECT_FALSE(form.isMaximized());
  EXPECT_EQ(bar->Buttons()[2].PicNormal, maxPicture);
}
