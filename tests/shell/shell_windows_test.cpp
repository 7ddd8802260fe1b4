#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "engine/shared_state.h"
#include "shell/about_box.h"
#include "platform/program_folder.h"
#include "shell/app_title.h"
#include "shell/device_labels.h"
#include "shell/settings_window.h"
#include "shell/splash_window.h"
#include "shell/main_window.h"
#include "shell/select_device_window.h"
#include "shell/window_menu_bar.h"
#include "shell/window_registry.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

using namespace kavri;

namespace {

// The attached interfaces as a test wants them, changeable between detections.
struct FakeInterfaces {
  std::vector<int> numbers;
  int detections = 0;
  TDeviceDetector Detector() {
    return [this] {
      ++detections;
      std::vector<TDetectedDevice> found;
      for (int n : numbers) found.push_back({UsbDeviceName(n), DeviceLabelOf(n)});
      return found;
    };
  }
};

class ShellWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    SetApplicationTitle(kProductTitle);
  }
  void TearDown() override {
    delete form19;
    delete form15;
    ResetSharedState();
  }
  void Create(std::vector<int> numbers) {
    interfaces.numbers = std::move(numbers);
    form15 = new TForm15(interfaces.Detector());
    Form15 = form15;
    form15->FormCreate();
    form19 = new TForm19(form15);
    Form19 = form19;
    form19->FormCreate();
  }

  FakeInterfaces interfaces;
  TForm15* form15 = nullptr;
  TForm19* form19 = nullptr;
};

void SaveShot(QWidget* window, const std::string& name) {
  window->adjustSize();
  ASSERT_TRUE(window->grab().save(QString::fromStdString(kavri_test::ArtifactPath(name))));
}

}  // namespace

TEST_F(ShellWindowsTest, MainWindowListsInterfacesAndTitlesTheMaster) {
  Create({0, 3});
  EXPECT_EQ(form15->ComboBox1->count(), 2);
  EXPECT_EQ(form15->ComboBox1->itemText(1), "Usb-3");
  EXPECT_EQ(form15->windowTitle(), "Kavri laser software-0");
  EXPECT_EQ(ApplicationTitle(), "Kavri laser software-0");
  EXPECT_TRUE(form15->Timer1->isActive());
  EXPECT_EQ(form15->Timer1->interval(), 2000);

  form15->ComboBox1->SetItemIndex(1);
  form15->ComboBox1->OnChange();  // as the operator's choice reports it
  EXPECT_EQ(CurrentDeviceName(), "ezusb-3");
  EXPECT_EQ(form15->windowTitle(), "Kavri laser software-1");
  EXPECT_EQ(form19->ComboBox1->ItemIndex(), 1);

  // The timer looks again only while nothing is attached.
  const int before = interfaces.detections;
  form15->Timer1Timer();
  EXPECT_EQ(interfaces.detections, before);
  SaveShot(form15, "main_window.png");
}

TEST_F(ShellWindowsTest, TimerRetriesUntilAnInterfaceAppears) {
  Create({});
  EXPECT_EQ(form15->windowTitle(), "Kavri laser software");
  EXPECT_EQ(CurrentDeviceName(), "");
  const int before = interfaces.detections;
  form15->Timer1Timer();
  EXPECT_EQ(interfaces.detections, before + 1);
  interfaces.numbers = {4, 9};
  form15->Timer1Timer();
  EXPECT_EQ(CurrentDeviceName(), "ezusb-4");
  EXPECT_EQ(form15->windowTitle(), "Kavri laser software-0");
  EXPECT_EQ(form19->ComboBox1->count(), 2);
  EXPECT_TRUE(form19->CheckBox131->isEnabled());
  form15->Timer1Timer();
  EXPECT_EQ(interfaces.detections, before + 2);
}

TEST_F(ShellWindowsTest, MainButtonsOpenOnlyWindowsThatExist) {
  Create({0});
  QWidget dummy;
  RegisterWindow("Form9", &dummy);
  UnregisterWindow("Form1");
  form15->BitBtn1->Click();  // no editor in this program: nothing happens
  form15->BitBtn3->Click();
  EXPECT_TRUE(dummy.isVisible());
  RegisterWindow("Form19", form19);
  form15->BitBtn7->Click();
  EXPECT_TRUE(form19->isVisible());
  UnregisterWindow("Form9");
  UnregisterWindow("Form19");
}

TEST_F(ShellWindowsTest, SelectDeviceBoxesFollowMultipleOutputAndDetection) {
  Create({0, 1, 3});
  form19->show();
  EXPECT_FALSE(form19->DeviceBoxes[0]->isVisible());
  form19->CheckBox131->Click();
  EXPECT_TRUE(MultiDeviceFlag);
  int shown = 0;
  for (int n = 0; n < kDeviceSlots; ++n) shown += form19->DeviceBoxes[n]->isVisible() ? 1 : 0;
  EXPECT_EQ(shown, 3);
  EXPECT_TRUE(form19->DeviceBoxes[0]->Checked());
  EXPECT_EQ(form19->DeviceBoxes[3]->objectName(), "CheckBox3");
  EXPECT_EQ(form19->DeviceBoxes[3]->Caption(), "Usb-3");

  form19->DeviceBoxes[0]->Click();  // the master's own box
  EXPECT_TRUE(form19->DeviceBoxes[0]->Checked());
  EXPECT_TRUE(SelectedDevices().empty());

  form19->skinButton2->Click();
  EXPECT_EQ(SelectedDevices(), (std::vector<std::string>{"Usb-1", "Usb-3"}));
  SaveShot(form19, "select_device_window.png");
  form19->skinButton3->Click();
  EXPECT_TRUE(SelectedDevices().empty());
  form19->DeviceBoxes[3]->Click();
  EXPECT_EQ(SelectedDevices(), std::vector<std::string>{"Usb-3"});

  // Interface 3 unplugged, then only one left: multiple output goes off and its box is unticked.
  interfaces.numbers = {0, 1};
  form15->skinButton1->Click();
  EXPECT_TRUE(SelectedDevices().empty());
  EXPECT_FALSE(form19->DeviceBoxes[3]->isVisible());
  interfaces.numbers = {0};
  form15->skinButton1->Click();
  EXPECT_FALSE(MultiDeviceFlag);
  EXPECT_FALSE(form19->CheckBox131->Checked());
  EXPECT_FALSE(form19->CheckBox131->isEnabled());
  EXPECT_FALSE(form19->skinButton2->isVisible());

  form19->skinButton1->Click();
  EXPECT_FALSE(form19->isVisible());
}

TEST_F(ShellWindowsTest, SettingsWindowPadSlidersAndLock) {
  HOffset = 20;
  VOffset = -20;
  ScanDelay = 150;
  TForm13 form;
  form.FormCreate();
  EXPECT_EQ(form.TrackBar6->Position(), 75);
  EXPECT_EQ(form.Label6->text(), "15000");
  EXPECT_EQ(form.Model().Marker().x, 138);
  EXPECT_EQ(form.Label3->text(), "20");

  QTest::mouseClick(form.Image1, Qt::LeftButton, {}, QPoint(0, 255));
  EXPECT_EQ(HOffset, -256);
  EXPECT_EQ(VOffset, 254);
  EXPECT_EQ(form.Label3->text(), "-256");
  EXPECT_EQ(form.Label4->text(), "254");
  EXPECT_EQ(form.Image1->Picture().pixelColor(0, 252), QColor(255, 0, 0));  // the ring at the marker

  form.skinButton2->Click();
  EXPECT_EQ(HOffset, 0);
  EXPECT_EQ(form.Label4->text(), "0");

  form.TrackBar6->SetPosition(225);
  EXPECT_EQ(ScanDelay, 0);
  EXPECT_EQ(form.Label6->text(), "45000");

  form.skinTrackBar1->SetPosition(31);
  EXPECT_EQ(VSize, 20);
  form.skinCheckBox1->Click();
  EXPECT_EQ(form.skinTrackBar2->Position(), 31);
  EXPECT_EQ(VSize, 31);
  form.skinTrackBar2->SetPosition(8);
  EXPECT_EQ(form.skinTrackBar1->Position(), 8);
  EXPECT_EQ(HSize, 8);
  EXPECT_EQ(form.Label9->text(), "8");

  form.TrackBar7->SetPosition(42);
  EXPECT_EQ(BlankingDelay, 42);
  SaveShot(&form, "settings_window.png");
}

TEST_F(ShellWindowsTest, SettingsWindowShowsTheScanRateSetElsewhereWhenActivatedAgain) {
  ScanDelay = 75;
  TForm13 form;
  form.FormCreate();
  form.show();
  ASSERT_EQ(form.TrackBar6->Position(), 150);
  form.Image1MouseDown(10, 10);
  ASSERT_TRUE(form.Model().Dragging());
  // Another window (quick play's scan-rate slider) changes the settings while this one is open.
  ScanDelay = 100;
  BlankingDelay = 7;
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&form, &activate);
  EXPECT_EQ(form.TrackBar6->Position(), 125);
  EXPECT_EQ(form.Label6->text(), "25000");
  EXPECT_EQ(form.TrackBar7->Position(), 7);
  EXPECT_EQ(form.Label41->text(), "7");
  EXPECT_FALSE(form.Model().Dragging());
  EXPECT_EQ(ScanDelay, 100);
}

TEST_F(ShellWindowsTest, SettingsWindowFindsOnlyAnExistingProgram) {
  kavri_test::ScratchDir dir;
  const std::string player = dir.Path("player");
  kavri_test::WriteBytes(player, {'#', '!'});
  QFile(QString::fromStdString(player)).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  TForm13 form;
  form.FormCreate();
  kavri_test::RecordingDialogs dialogs;
  dialogs.fileAnswers.push_back(dir.Path("gone"));
  form.skinButton12->Click();
  EXPECT_EQ(MediaPlayerPath(), "");
  dialogs.fileAnswers.push_back(std::nullopt);
  form.skinButton12->Click();
  EXPECT_EQ(MediaPlayerPath(), "");
  dialogs.fileAnswers.push_back(player);
  form.skinButton12->Click();
  EXPECT_EQ(MediaPlayerPath(), player);
  EXPECT_EQ(form.skinEdit4->text().toStdString(), player);
}

// What is typed stops at the bytes a path may have; a longer path from elsewhere is not taken.
TEST_F(ShellWindowsTest, SettingsWindowTakesAPlayerPathOnlyAsLongAsAPathMayBe) {
  TForm13 form;
  form.FormCreate();
  const std::string start(kMaxPlayerPathBytes - 2, 'p');
  form.skinEdit4->setText(QString::fromStdString(start));
  form.skinEdit4->end(false);
  form.skinEdit4->insert(QString::fromUtf8("\xc3\xa9"));  // pasted: "é" fills the line's last two bytes
  QTest::keyClick(form.skinEdit4, 'x');
  EXPECT_EQ(MediaPlayerPath(), start + "\xc3\xa9");
  form.skinEdit4->setText(QString::fromStdString(start + "xyz"));
  EXPECT_EQ(MediaPlayerPath(), start + "\xc3\xa9");
}

TEST_F(ShellWindowsTest, AboutBoxHidesOnOkAndShowsAgain) {
  TAboutBox box;
  box.show();
  EXPECT_EQ(box.windowTitle(), "About");
  EXPECT_EQ(box.Version->text(), "Version:1.3 (2008-Aug-24)");
  SaveShot(&box, "about_box.png");
  box.OKButton->Click();
  EXPECT_FALSE(box.isVisible());
  box.show();
  EXPECT_TRUE(box.isVisible());
}

TEST_F(ShellWindowsTest, SplashLoadsStartPictureFromTheCurrentFolder) {
  kavri_test::ScratchDir dir, upperDir, emptyDir;
  QImage picture(64, 48, QImage::Format_RGB32);
  picture.fill(QColor(10, 200, 30));
  ASSERT_TRUE(picture.save(QString::fromStdString(dir.Path("Start1.bmp")), "BMP"));
  // A picture copied from a case-blind file system under another case is found all the same.
  picture.fill(QColor(200, 20, 90));
  ASSERT_TRUE(picture.save(QString::fromStdString(upperDir.Path("START1.BMP")), "BMP"));

  const QString previous = QDir::currentPath();
  auto splashIn = [](const kavri_test::ScratchDir& folder) {
    QDir::setCurrent(QString::fromStdString(folder.Path()));
    auto splash = std::make_unique<TForm14>();
    splash->FormCreate();
    return splash;
  };
  const auto blank = splashIn(emptyDir);
  const auto splash = splashIn(dir);
  const auto upper = splashIn(upperDir);
  QDir::setCurrent(previous);
  EXPECT_TRUE(blank->Image1->pixmap().isNull());
  ASSERT_FALSE(splash->Image1->pixmap().isNull());
  EXPECT_EQ(splash->Image1->pixmap().toImage().pixelColor(5, 5), QColor(10, 200, 30));
  ASSERT_FALSE(upper->Image1->pixmap().isNull());
  EXPECT_EQ(upper->Image1->pixmap().toImage().pixelColor(5, 5), QColor(200, 20, 90));
}

namespace {

// An editor stand-in whose close can be refused, as an unsaved drawing's question would.
class RefusingEditor : public QWidget {
 public:
  bool allowClose = false;
  int asked = 0;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++asked;
    if (allowClose) {
      event->accept();
    } else {
      event->ignore();
    }
  }
};

}  // namespace

TEST_F(ShellWindowsTest, ExitAsksTheEditorFirstThenWritesTheSettingsFile) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  std::string text = "My laser\r\n";
  for (int line = 1; line < 44; ++line) {
    text += line % 2 ? "7\r\n" : "label " + std::to_string(line) + "\r\n";
  }
  const std::string ini = dir.Path("Kavri.ini");
  kavri_test::WriteBytes(ini, std::vector<uint8_t>(text.begin(), text.end()));

  Create({0, 1});
  TForm13 settings;
  Form13 = &settings;
  settings.FormCreate();
  EXPECT_EQ(ScanDelay, 7);  // line 19
  EXPECT_EQ(settings.TrackBar6->Position(), 218);
  settings.TrackBar7->SetPosition(42);

  RefusingEditor editor;
  RegisterWindow("Form1", &editor);
  QSignalSpy closed(form15, &TForm15::Closed);
  form15->show();
  EXPECT_FALSE(form15->close());
  EXPECT_EQ(editor.asked, 1);
  EXPECT_EQ(closed.count(), 0);
  EXPECT_FALSE(StopFlag);
  EXPECT_EQ(kavri_test::ReadBytes(ini), std::vector<uint8_t>(text.begin(), text.end()));

  editor.allowClose = true;
  EXPECT_TRUE(form15->close());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_TRUE(StopFlag);
  EXPECT_FALSE(form15->Timer1->isActive());
  UnregisterWindow("Form1");
  Form13 = nullptr;

  const std::vector<uint8_t> bytes = kavri_test::ReadBytes(ini);
  const QStringList lines = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), bytes.size())
                                .split("\r\n");
  ASSERT_GE(lines.size(), 44);
  EXPECT_EQ(lines[0], "My laser");
  EXPECT_EQ(lines[2], "label 2");
  EXPECT_EQ(lines[25], "42");  // the blanking delay changed in "Settings"
  EXPECT_EQ(lines[19], "7");
}

namespace {

// An editor stand-in whose close puts a question: its own event loop runs while `whileAsked`
// answers it (true: the editor may close).
class AskingEditor : public QWidget {
 public:
  int asked = 0;
  std::function<bool()> whileAsked;

 protected:
  void closeEvent(QCloseEvent* event) override {
    ++asked;
    bool allow = false;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&] {
      allow = whileAsked();
      loop.quit();
    });
    loop.exec();
    event->setAccepted(allow);
  }
};

}  // namespace

TEST_F(ShellWindowsTest, ACloseWhileTheQuitIsAskedIsTakenIntoItAndALaterQuitAsksAgain) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  Create({0});
  AskingEditor editor;
  RegisterWindow("Form1", &editor);
  TWindowMenuBar bar(&editor, EditorMenuTexts());
  QSignalSpy closed(form15, &TForm15::Closed);
  form15->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form15));
  bool closedWhileAsked = true;
  editor.whileAsked = [&] {
    // The window manager's close of the main window, as the platform hands it to its window.
    QCloseEvent managerClose;
    QCoreApplication::sendEvent(form15->windowHandle(), &managerClose);
    closedWhileAsked = managerClose.isAccepted();
    bar.ExitItem()->trigger();  // asked for again by the operator
    return false;               // Cancel
  };
  bar.ExitItem()->trigger();
  EXPECT_EQ(editor.asked, 1);
  EXPECT_FALSE(closedWhileAsked);
  EXPECT_EQ(closed.count(), 0);
  EXPECT_TRUE(form15->isVisible());
  ASSERT_NE(form15->windowHandle(), nullptr);
  EXPECT_NE(form15->windowHandle()->handle(), nullptr) << "the main window's platform window was taken away";

  editor.whileAsked = [] { return true; };
  bar.ExitItem()->trigger();
  EXPECT_EQ(editor.asked, 2);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(form15->isVisible());
  UnregisterWindow("Form1");
}

TEST_F(ShellWindowsTest, FirstStartWithoutSettingsFileWritesACompleteOne) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  Create({});
  EXPECT_EQ(ScanDelay, 75);
  EXPECT_TRUE(form15->close());
  const std::vector<uint8_t> bytes = kavri_test::ReadBytes(dir.Path("Kavri.ini"));
  const QStringList lines = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), bytes.size())
                                .split("\r\n");
  ASSERT_GE(lines.size(), 44);
  EXPECT_EQ(lines[19], "75");
  EXPECT_EQ(lines[21], "20");
}

namespace {

std::string SettingsText(int line, const std::string& value) {
  std::string text;
  for (int n = 0; n < 44; ++n) {
    const TSettingLine* setting = FindSettingLine(n);
    text += (n == line ? value : setting ? std::to_string(setting->initial) : std::string()) + "\r\n";
  }
  return text;
}

}  // namespace

TEST_F(ShellWindowsTest, StartTellsOnceWhichSettingsLinesWereReplaced) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  kavri_test::WriteBytes(dir.Path("Kavri.ini"), kavri_test::TextBytes(SettingsText(19, "fast")));
  kavri_test::RecordingDialogs dialogs;
  Create({0});
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_NE(dialogs.messages[0].find("line 20 (ScanDelay) held \"fast\": 75 is used instead"), std::string::npos)
      << dialogs.messages[0];
}

TEST_F(ShellWindowsTest, MediaPlayerPathKeepsItsBytesUnlessTheOperatorEditsIt) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  const std::string latin1Path = "/opt/pl\xe4yer/run";  // not UTF-8: the edit cannot hold it as it is
  kavri_test::WriteBytes(dir.Path("Kavri.ini"), kavri_test::TextBytes(SettingsText(kMediaPlayerPathLine, latin1Path)));
  Create({});
  TForm13 settings;
  Form13 = &settings;
  settings.FormCreate();
  EXPECT_EQ(MediaPlayerPath(), latin1Path);
  EXPECT_TRUE(form15->close());
  EXPECT_EQ(LoadSettingsLines(dir.Path("Kavri.ini"))[kMediaPlayerPathLine], latin1Path);

  settings.skinEdit4->setText("/usr/bin/mpv");
  EXPECT_EQ(MediaPlayerPath(), "/usr/bin/mpv");
  Form13 = nullptr;
}

TEST_F(ShellWindowsTest, ExitSaysTheSettingsWereNotSavedToAProtectedFileAndLeavesIt) {
  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  const std::string ini = dir.Path("Kavri.ini");
  const std::string text = SettingsText(19, "80");
  kavri_test::WriteBytes(ini, kavri_test::TextBytes(text));
  ASSERT_EQ(QFile::setPermissions(QString::fromStdString(ini), QFileDevice::ReadOwner | QFileDevice::ReadGroup), true);
  kavri_test::RecordingDialogs dialogs;
  Create({});
  ScanDelay = 90;
  EXPECT_TRUE(form15->close());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0], "The settings were not saved. Cannot write " + ini + ": the file is read-only");
  EXPECT_EQ(kavri_test::ReadBytes(ini), kavri_test::TextBytes(text));
}
