// The program's windows opened the way the program opens them, on the screen size the test runs with
// (see CMakeLists.txt): each lies inside the screen's available area with its frame, working windows
// larger than the area at the area's size with their content scrolling; dialogs centre on the window
// that opened them, the about box on the screen. A working window keeps its size whatever its lists
// and its message line come to hold.
#include <QApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
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
#include "engine/drawing.h"
#include "platform/program_folder.h"
#include "skin/colour_mode_strip.h"
#include "skin/content_scroller.h"
#include "skin/list_box.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// The frame lies inside the area.
void ExpectOnScreen(QWidget* window, const char* name) {
  SCOPED_TRACE(name);
  ASSERT_TRUE(window->isVisible());
  const QRect frame = window->frameGeometry(), area = Area();
  EXPECT_GT(frame.width(), window->width()) << "the frame is not counted";
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

  // The windows the main window's buttons open: the working windows, then "Select device".
  struct TOpener {
    TSkinButton* button;
    QWidget* window;
    const char* name;
  };
  std::vector<TOpener> Openers() const {
    return {{main_->BitBtn1, editor_.get(), "Picture Edit"}, {main_->BitBtn2, segments_.get(), "Segment Edit"},
            {main_->BitBtn5, quickPlay_.get(), "Quick Play"},  {main_->BitBtn4, shows_.get(), "Show Edit"},
            {main_->BitBtn3, converter_.get(), "Converter"},   {main_->BitBtn7, select_.get(), "Select Device"}};
  }
};

TEST_F(WindowPlacementTest, EveryWindowTheMainWindowOpensLiesOnTheScreen) {
  ExpectOnScreen(main_.get(), "main window");
  for (const TOpener& o : Openers()) {
    o.button->Click();
    ExpectOnScreen(o.window, o.name);
  }
  ExpectCentredOn(select_.get(), main_->frameGeometry(), "Select Device on the main window");
}

// Exactly as large as its content, so that a window manager gives it no resize strip and nothing
// empty shows below its last control; a device notice grows it, and it shrinks back after.
TEST_F(WindowPlacementTest, TheMainWindowIsAsLargeAsItsContent) {
  QCoreApplication::processEvents();
  const QSize opened = main_->size();
  EXPECT_EQ(main_->minimumSize(), main_->maximumSize());
  EXPECT_EQ(opened, main_->sizeHint());
  main_->ShowInterfaceFault(3, TUsbFault::NoAccess);
  QCoreApplication::processEvents();
  ASSERT_TRUE(main_->DeviceNotice->isVisible());
  EXPECT_GT(main_->height(), opened.height());
  EXPECT_EQ(main_->minimumSize(), main_->maximumSize());
  EXPECT_EQ(main_->size(), main_->sizeHint());
  main_->ShowInterfaceFault(3, TUsbFault::None);
  QCoreApplication::processEvents();
  EXPECT_EQ(main_->size(), opened);
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

// A name of 60 characters in every content folder: a valid drawing, and names only elsewhere.
void WriteLongNames() {
  const std::string stem(56, 'n');
  Drawing d;
  d.AddObject()->Add({10, 10, 0, 2, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(DrawingFolder() + stem + ".ddr", d, 1));
  for (const std::string& path : {SectionFolder() + stem + ".sec", IldaFolder() + stem + ".ild",
                                  SequenceFolder() + stem + ".seq", MusicFolder() + stem + ".wav"}) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
}

class WorkingWindowsTest : public WindowPlacementTest {
 protected:
  void SetUp() override {
    WindowPlacementTest::SetUp();
    EnsureContentFolders();
    segments_->FormCreate();
    quickPlay_->FormCreate();
    shows_->FormCreate();
    converter_->FormCreate();
    for (const TOpener& o : Openers()) {
      if (o.window == select_.get()) continue;
      o.button->Click();
      QCoreApplication::processEvents();
      working_.push_back({o.window, o.name, o.window->size()});
    }
  }

  struct TOpened {
    QWidget* window;
    const char* name;
    QSize size;
  };
  kavri_test::ScratchDir dir_;
  kavri_test::ProgramFolderScope scope_{dir_.Path()};
  std::vector<TOpened> working_;
};

TEST_F(WorkingWindowsTest, AWindowKeepsItsSizeWhenItsListsReReadLongNamesAndALongMessageComes) {
  WriteLongNames();
  for (const TOpened& o : working_)
    for (TFileListBox* box : o.window->findChildren<TFileListBox*>()) box->Files().Refresh();
  converter_->skinButton17->Click();  // "Refresh all list"
  TFileList& drawings = converter_->FileListBox1->Files();
  for (int i = 0; i < drawings.Count(); ++i) drawings.SetSelected(i, true);
  converter_->BitBtn2->Click();  // onto the convert list
  TFileList& ildas = converter_->FileListBox3->Files();
  for (int i = 0; i < ildas.Count(); ++i) ildas.SetSelected(i, true);
  converter_->skinButton10->Click();  // onto the merge list
  ASSERT_GT(converter_->ListBox1->count(), 0);
  ASSERT_GT(converter_->ListBox2->count(), 0);
  const QString message = "The media player ended with exit status 2: " + QString(157, 'e');
  for (QLabel* line : std::initializer_list<QLabel*>{editor_->Label1, segments_->Label18, quickPlay_->Label18,
                                                    shows_->Label18, converter_->Label18})
    line->setText(message);
  for (QLabel* name : {editor_->Label8, quickPlay_->Label94}) name->setText(QString(56, 'n') + ".ddr");
  // Until every layout has settled: a content that grew widens its scroll area's widget only once the
  // layouts between have been done again, one level a turn.
  for (int turn = 0; turn < 4; ++turn) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QCoreApplication::processEvents();
  }

  const bool largeScreen = Area().width() >= 1280;
  for (const TOpened& o : working_) {
    SCOPED_TRACE(o.name);
    EXPECT_EQ(o.window->size(), o.size) << "the window changed size";
    ExpectOnScreen(o.window, o.name);
    // On a large screen everything shows whole, with nothing to scroll to.
    const QScrollArea* scroller = ContentScroller(o.window);
    ASSERT_NE(scroller, nullptr);
    if (largeScreen) {
      EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), 0);
      EXPECT_EQ(scroller->verticalScrollBar()->maximum(), 0);
    }
  }
  // The names are there to be scrolled to in their lists.
  for (TSkinListBox* box : {static_cast<TSkinListBox*>(converter_->FileListBox1), converter_->ListBox1})
    EXPECT_EQ(box->item(box->count() - 1)->text(), QString(56, 'n') + ".ddr");
}

TEST_F(WorkingWindowsTest, EveryControlOfAWorkingWindowCanBeScrolledTo) {
  for (const TOpened& o : working_) {
    SCOPED_TRACE(o.name);
    ExpectOnScreen(o.window, o.name);
    QScrollArea* scroller = ContentScroller(o.window);
    ASSERT_NE(scroller, nullptr);
    const QRect view(scroller->viewport()->mapTo(o.window, QPoint(0, 0)), scroller->viewport()->size());
    for (QWidget* control : scroller->widget()->findChildren<QWidget*>()) {
      if (!control->isVisible() || !control->findChildren<QWidget*>().isEmpty()) continue;  // shown controls, innermost
      // A control larger than the view is reached at its top-left corner.
      const bool fits = control->width() <= view.width() && control->height() <= view.height();
      const QPoint corner = control->mapTo(scroller->widget(), QPoint(0, 0));
      if (fits)
        scroller->ensureWidgetVisible(control, 0, 0);
      else
        scroller->ensureVisible(corner.x(), corner.y(), 0, 0);
      const QRect at(control->mapTo(o.window, QPoint(0, 0)), control->size());
      EXPECT_TRUE(view.contains(fits ? at : QRect(at.topLeft(), QSize(1, 1)))) << control->objectName().toStdString() << " out of reach at " << at.x()
                                          << "," << at.y();
    }
  }
  // The controls at the far right and bottom, named.
  for (QWidget* control : {static_cast<QWidget*>(converter_->skinButton16), static_cast<QWidget*>(shows_->ColourPanels),
                           static_cast<QWidget*>(quickPlay_->ColourPanels), static_cast<QWidget*>(quickPlay_->Label18)}) {
    QScrollArea* scroller = ContentScroller(control->window());
    ASSERT_NE(scroller, nullptr);
    scroller->ensureWidgetVisible(control, 0, 0);
    const QRect view(scroller->viewport()->mapTo(control->window(), QPoint(0, 0)), scroller->viewport()->size());
    EXPECT_TRUE(view.intersects(QRect(control->mapTo(control->window(), QPoint(0, 0)), control->size())))
        << control->objectName().toStdString();
  }
}

}  // namespace
