// The program's windows opened the way the program opens them, on the screen size the test runs with
// (see CMakeLists.txt): each lies inside the screen's available area with its frame, or starts at the
// area's top-left when it is wider or taller; dialogs centre on the window that opened them, the about
// box on the screen.
#include <QApplication>
#include <QScreen>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "editor/editor_window.h"
#include "editor/import_plt_window.h"
#include "editor/import_text_window.h"
#include "editor/rotating_window.h"
#include "quickplay/quick_play_window.h"
#include "segments/converter_window.h"
#include "segments/segment_edit_window.h"
#include "shell/about_box.h"
#include "shell/main_window.h"
#include "shell/select_device_window.h"
#include "shell/settings_window.h"
#include "shell/window_registry.h"
#include "shows/show_edit_window.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

namespace {

QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// The frame lies inside the area, or starts at its top-left when it is wider or taller.
void ExpectOnScreen(QWidget* window, const char* name) {
  SCOPED_TRACE(name);
  ASSERT_TRUE(window->isVisible());
  const QRect frame = window->frameGeometry(), area = Area();
  EXPECT_GT(frame.width(), window->width()) << "the frame is not counted";
  if (frame.width() > area.width() || frame.height() > area.height())
    EXPECT_EQ(frame.topLeft(), area.topLeft());
  else
    EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
}

// Centred on `on` wherever the centred frame fits the area; moved inside it otherwise.
void ExpectCentredOn(QWidget* window, const QRect& on, const char* name) {
  ExpectOnScreen(window, name);
  SCOPED_TRACE(name);
  QRect centred = window->frameGeometry();
  centred.moveCenter(on.center());
  if (!Area().contains(centred)) return;
  EXPECT_LE(std::abs(window->frameGeometry().center().x() - on.center().x()), 1);
  EXPECT_LE(std::abs(window->frameGeometry().center().y() - on.center().y()), 1);
}

class WindowPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = std::make_unique<TForm15>([] { return std::vector<TDetectedDevice>{{"ezusb-0", "Usb-0"}}; });
    Form15 = main_.get();
    main_->FormCreate();
    editor_ = std::make_unique<TForm1>();
    editor_->FormCreate(main_->SettingsLines());
    settings_ = std::make_unique<TForm13>();
    plt_ = std::make_unique<TForm17>(editor_.get());
    select_ = std::make_unique<TForm19>(main_.get());
    select_->FormCreate();
    rotating_ = std::make_unique<TForm3>(editor_.get());
    text_ = std::make_unique<TForm6>(editor_.get());
    segments_ = std::make_unique<TForm5>();
    quickPlay_ = std::make_unique<TForm4>();
    shows_ = std::make_unique<TForm8>();
    converter_ = std::make_unique<TForm9>();
    about_ = std::make_unique<TAboutBox>();
    windows_ = {{"Form15", main_.get()},    {"Form1", editor_.get()},    {"Form13", settings_.get()},
                {"Form17", plt_.get()},     {"Form19", select_.get()},   {"Form3", rotating_.get()},
                {"Form6", text_.get()},     {"Form5", segments_.get()},  {"Form4", quickPlay_.get()},
                {"Form8", shows_.get()},    {"Form9", converter_.get()}, {"AboutBox", about_.get()}};
    // Every window starts out where the offscreen platform would not put it by itself: hanging
    // over the screen's bottom-right corner, as after standing there on a larger screen.
    for (const auto& [name, window] : windows_) {
      RegisterWindow(name, window);
      window->move(Area().bottomRight() - QPoint(100, 100));
    }
    ASSERT_TRUE(ShowRegisteredWindow("Form15"));
  }
  void TearDown() override {
    for (const auto& [name, window] : windows_) UnregisterWindow(name);
    main_->Timer1->stop();
    Form15 = nullptr;
  }

  kavri_test::RecordingDialogs dialogs_;
  std::unique_ptr<TForm15> main_;
  std::unique_ptr<TForm1> editor_;
  std::unique_ptr<TForm13> settings_;
  std::unique_ptr<TForm17> plt_;
  std::unique_ptr<TForm19> select_;
  std::unique_ptr<TForm3> rotating_;
  std::unique_ptr<TForm6> text_;
  std::unique_ptr<TForm5> segments_;
  std::unique_ptr<TForm4> quickPlay_;
  std::unique_ptr<TForm8> shows_;
  std::unique_ptr<TForm9> converter_;
  std::unique_ptr<TAboutBox> about_;
  std::vector<std::pair<const char*, QWidget*>> windows_;
};

TEST_F(WindowPlacementTest, EveryWindowTheMainWindowOpensLiesOnTheScreen) {
  ExpectOnScreen(main_.get(), "main window");
  const struct {
    TSkinButton* button;
    QWidget* window;
    const char* name;
  } opened[] = {{main_->BitBtn1, editor_.get(), "Picture Edit"}, {main_->BitBtn2, segments_.get(), "Segment Edit"},
                {main_->BitBtn5, quickPlay_.get(), "Quick Play"},  {main_->BitBtn4, shows_.get(), "Show Edit"},
                {main_->BitBtn3, converter_.get(), "Converter"},   {main_->BitBtn7, select_.get(), "Select Device"}};
  for (const auto& o : opened) {
    o.button->Click();
    ExpectOnScreen(o.window, o.name);
  }
  ExpectCentredOn(select_.get(), main_->frameGeometry(), "Select Device on the main window");
}

TEST_F(WindowPlacementTest, DialogsCentreOnTheWindowThatOpenedThemAndTheAboutBoxOnTheScreen) {
  main_->BitBtn1->Click();
  const QRect editor = editor_->frameGeometry();
  editor_->BitBtn5->Click();
  ExpectCentredOn(plt_.get(), editor, "Import plt");
  editor_->BitBtn9->Click();
  ExpectCentredOn(rotating_.get(), editor, "Rotating");
  editor_->ToolButton2->Click();
  ExpectCentredOn(settings_.get(), editor, "Settings");
  // Its texts filled in as it opened, the layout settled: still centred.
  QApplication::processEvents();
  ExpectCentredOn(settings_.get(), editor, "Settings, settled");
  ShowRegisteredWindow("Form6", editor_.get());
  ExpectCentredOn(text_.get(), editor, "Import Text");
  ShowRegisteredWindow("AboutBox", editor_.get());
  ExpectCentredOn(about_.get(), Area(), "About");

  // Opened again from another window, a dialog centres on that one.
  settings_->hide();
  main_->BitBtn2->Click();
  segments_->move(Area().topLeft());
  ShowRegisteredWindow("Form13", segments_.get());
  ExpectCentredOn(settings_.get(), segments_->frameGeometry(), "Settings from Segment Edit");
}

TEST_F(WindowPlacementTest, AWindowKeepsItsPlaceButComesBackOnTheScreen) {
  main_->BitBtn3->Click();
  // Left where the person put it, inside the area.
  const QPoint inside = Area().topLeft() + QPoint(10, 20);
  converter_->move(inside);
  converter_->hide();
  main_->BitBtn3->Click();
  if (converter_->frameGeometry().width() < Area().width() - 10 &&
      converter_->frameGeometry().height() < Area().height() - 20) {
    EXPECT_EQ(converter_->frameGeometry().topLeft(), inside);
  }
  // Dragged half off the screen (or the screen got smaller): back inside on the next opening.
  converter_->move(Area().bottomRight() - QPoint(50, 50));
  converter_->hide();
  main_->BitBtn3->Click();
  ExpectOnScreen(converter_.get(), "Converter dragged off");
  // Already open, it stays where it is.
  converter_->move(Area().topLeft() + QPoint(5, 5));
  main_->BitBtn3->Click();
  EXPECT_EQ(converter_->frameGeometry().topLeft(), Area().topLeft() + QPoint(5, 5));
}

class WindowPlacementTwoScreensTest : public WindowPlacementTest {};

TEST_F(WindowPlacementTwoScreensTest, AWindowStaysOnTheScreenItWasLeftOn) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  ASSERT_EQ(screens.size(), 2);
  const QRect right = screens[1]->availableGeometry();
  ASSERT_FALSE(right.intersects(main_->frameGeometry()));
  main_->BitBtn1->Click();
  ASSERT_TRUE(editor_->frameGeometry().width() < right.width() - 20);
  ASSERT_TRUE(editor_->frameGeometry().height() < right.height() - 10);
  const QPoint there = right.topLeft() + QPoint(20, 10);
  editor_->move(there);
  editor_->hide();
  main_->BitBtn1->Click();  // opened again from the main window on the other screen
  EXPECT_EQ(editor_->frameGeometry().topLeft(), there);
  // Most of it off the right-hand screen's bottom-right: back inside that screen, not the opener's.
  editor_->move(right.bottomRight() - QPoint(60, 60));
  editor_->hide();
  main_->BitBtn1->Click();
  EXPECT_TRUE(right.contains(editor_->frameGeometry()));
  // Wider than the right-hand screen: at its top-left.
  main_->BitBtn4->Click();
  ASSERT_GT(shows_->frameGeometry().width(), right.width());
  shows_->move(right.topLeft() + QPoint(20, 10));
  shows_->hide();
  main_->BitBtn4->Click();
  EXPECT_EQ(shows_->frameGeometry().topLeft(), right.topLeft());
  // A dialog opens on its opener's screen.
  main_->BitBtn7->Click();
  EXPECT_TRUE(screens[0]->availableGeometry().contains(select_->frameGeometry()));
}

}  // namespace
