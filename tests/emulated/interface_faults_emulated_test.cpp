// Interfaces that cannot be opened, through real libusb calls against emulated devices: the main
// window tells which one and why, and a show goes on through the others.
// The testbed's GLib headers name a member "signals", which Qt's headers define as a keyword.
#include "tests/emulated/emulated_usb.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLabel>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "editor/editor_playback.h"
#include "engine/device_packets.h"
#include "engine/interface_faults.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_driver.h"
#include "shell/device_detection.h"
#include "shell/main_window.h"
#include "tests/support/recording_dialogs.h"

namespace kavri {
namespace {

using kavri_test::TEmulatedBus;
using kavri_test::TEmulatedDevice;

// While it lives the process acts as a user other than root when it runs as root (as CI does):
// root opens any device node, whatever its mode.
class TAsOrdinaryUser {
 public:
  TAsOrdinaryUser() : wasRoot_(geteuid() == 0) {
    if (wasRoot_) {
      EXPECT_EQ(seteuid(65534), 0);
    }
  }
  ~TAsOrdinaryUser() {
    if (wasRoot_) {
      EXPECT_EQ(seteuid(0), 0);
    }
  }
  TAsOrdinaryUser(const TAsOrdinaryUser&) = delete;
  TAsOrdinaryUser& operator=(const TAsOrdinaryUser&) = delete;

 private:
  bool wasRoot_;
};

// Pumps the window thread's events until `done` or about ten seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 10000 && !done(); ++i) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return done();
}

std::string Shown(const TForm15& form) {
  return !form.DeviceNotice->isHidden() ? form.DeviceNotice->text().toStdString() : std::string();
}

bool Mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class EmulatedInterfaceFaults : public ::testing::Test {
 protected:
  // Interfaces 0 and 1 work; 2's node may be opened by nobody but root (who opens anything);
  // another program has claimed 3.
  static void SetUpTestSuite() {
    bus_ = new TEmulatedBus;
    const std::pair<int, TEmulatedDevice*> devices[] = {{2, &first_}, {3, &second_}, {4, &denied_}, {5, &held_}};
    for (const auto& [devnum, dev] : devices) {
      dev->Reset();
      std::string error;
      const std::string name = "1-" + std::to_string(devnum);
      ASSERT_TRUE(bus_->Add(name.c_str(), devnum, kLaserVendorId, dev, &error)) << error;
    }
    held_.SetHeldElsewhere(true);
    // The testbed is root's own; an ordinary user must reach the nodes and the sockets that answer
    // their requests, so that only the node itself refuses.
    chmod(bus_->Root().c_str(), 0755);
    for (int devnum : {2, 3, 4, 5}) {
      chmod(bus_->NodeFileOf(devnum).c_str(), devnum == 4 ? 0000 : 0666);
      chmod((bus_->Root() + "/ioctl" + TEmulatedBus::NodeOf(devnum)).c_str(), 0666);
    }
    SetActiveUsbDriver(MakeLibusbDriver());
  }
  static void TearDownTestSuite() {
    SetActiveUsbDriver(nullptr);
    delete bus_;
    bus_ = nullptr;
  }
  void SetUp() override {
    ResetSharedState();
    ForgetInterfaceFaults();
  }
  void TearDown() override {
    // A worker left writing when a check failed would wait on the testbed once it is gone.
    EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    RegisterPlayLoop(kPlayJobEditorDrawing, nullptr);
    ResetSharedState();
  }

  static TEmulatedBus* bus_;
  static TEmulatedDevice first_, second_, denied_, held_;
};

TEmulatedBus* EmulatedInterfaceFaults::bus_ = nullptr;
TEmulatedDevice EmulatedInterfaceFaults::first_;
TEmulatedDevice EmulatedInterfaceFaults::second_;
TEmulatedDevice EmulatedInterfaceFaults::denied_;
TEmulatedDevice EmulatedInterfaceFaults::held_;

TEST_F(EmulatedInterfaceFaults, TheWindowTellsWhyEachInterfaceCannotBeOpenedOnceAndUntilItOpens) {
  kavri_test::RecordingDialogs dialogs;
  TForm15 form([] {
    TAsOrdinaryUser user;
    return DetectDevices();
  });
  form.skinButton1Click();
  // Every interface is listed from its descriptor, which needs no permission.
  ASSERT_EQ(form.Choice().Names(), (std::vector<std::string>{"ezusb-0", "ezusb-1", "ezusb-2", "ezusb-3"}));
  ASSERT_TRUE(PumpUntil([&] { return Mentions(Shown(form), "Usb-3"); })) << Shown(form);
  const std::string told = Shown(form);
  EXPECT_TRUE(Mentions(told, "Usb-2 cannot be opened: no permission")) << told;
  EXPECT_TRUE(Mentions(told, "udev rule 70-kavri-laser.rules")) << told;
  EXPECT_TRUE(Mentions(told, "unplug the interface and plug it in again")) << told;
  EXPECT_TRUE(Mentions(told, "Usb-3 cannot be opened: another program is using it")) << told;
  EXPECT_FALSE(Mentions(told, "Usb-0")) << told;
  EXPECT_FALSE(Mentions(told, "Usb-1")) << told;

  // Playing to the refused interfaces says nothing more, and does not knock on them every frame;
  // the working one takes the frames.
  SetCurrentDeviceName("ezusb-2");
  SetSelectedDevices({"Usb-3", "Usb-0"});
  MultiDeviceFlag = true;
  const size_t before = first_.BulkCount();
  const uint8_t packet[] = {1, 2, 3, 4, 5, 6, 7, 8};
  {
    TAsOrdinaryUser user;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(SendToAllOutputs(packet, sizeof packet), 1);
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(Shown(form), told);
  EXPECT_EQ(first_.BulkCount(), before + 20);
  EXPECT_EQ(denied_.BulkCount(), 0u);
  EXPECT_EQ(held_.BulkCount(), 0u);
  EXPECT_LE(held_.Claims(), 3);  // detection's, and at most a retry or two, not one a frame

  // Given access and let go by the other program, both take frames again soon and their lines go.
  chmod(bus_->NodeFileOf(4).c_str(), 0666);
  held_.SetHeldElsewhere(false);
  EXPECT_TRUE(PumpUntil([&] {
    TAsOrdinaryUser user;
    return SendToAllOutputs(packet, sizeof packet) == 3;
  }));
  EXPECT_TRUE(PumpUntil([&] { return Shown(form).empty(); })) << Shown(form);
  EXPECT_GE(denied_.BulkCount(), 1u);
  EXPECT_GE(held_.BulkCount(), 1u);
  EXPECT_TRUE(dialogs.shown.empty());  // told in the window, never in a box that waits
}

// Last: interface 0 stays unplugged. The drawing editor's loop plays to interfaces 0 and 1 on its
// worker; 0 is pulled out while it plays.
TEST_F(EmulatedInterfaceFaults, UnpluggingOneOfTwoWhilePlayingKeepsTheOtherPlayingThreads) {
  kavri_test::RecordingDialogs dialogs;
  TForm15 form([] { return std::vector<TDetectedDevice>{}; });
  Drawing drawing;
  auto* object = drawing.AddObject();
  for (int i = 0; i < 4; ++i) object->Add(PointRecord{i * 40, i * 20, 1, 2, 0, 0});
  EditorPlayList = MakeEditorPlayList(drawing);
  RegisterPlayLoop(kPlayJobEditorDrawing, PlayEditorDrawingLoop);
  SetCurrentDeviceName("ezusb-0");
  SetSelectedDevices({"Usb-1"});
  MultiDeviceFlag = true;
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobEditorDrawing));

  const size_t start = second_.BulkCount();
  ASSERT_TRUE(PumpUntil([&] { return first_.BulkCount() > 10 && second_.BulkCount() > start + 10; }));
  first_.Unplug();
  ASSERT_TRUE(PumpUntil([&] { return Mentions(Shown(form), "Usb-0"); })) << Shown(form);
  const size_t afterNotice = second_.BulkCount();
  EXPECT_TRUE(PumpUntil([&] { return second_.BulkCount() > afterNotice + 10; }));
  EXPECT_TRUE(PlayController().AnyWorkerRunning());
  EXPECT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);

  const std::string told = Shown(form);
  EXPECT_TRUE(Mentions(told, "Usb-0 cannot be opened: it is no longer attached")) << told;
  EXPECT_FALSE(Mentions(told, "Usb-1")) << told;
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace kavri
