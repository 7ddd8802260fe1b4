#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/interface_faults.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"
#include "shell/device_detection.h"
#include "shell/device_reset.h"
#include "shell/interface_notices.h"
#include "shell/main_window.h"
#include "shell/select_device_window.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

namespace {

class SimulatedDetectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSharedState();
    sim = std::make_shared<TSimUsbDriver>("0,3,5:1234");
    SetActiveUsbDriver(sim);
  }
  void TearDown() override {
    SetActiveUsbDriver(nullptr);
    ResetSharedState();
  }
  std::shared_ptr<TSimUsbDriver> sim;
};

std::string Describe(const TSimPacket& p) {
  switch (p.kind) {
    case TSimPacket::Abort: return "abort " + p.device + " " + std::to_string(p.pipe);
    case TSimPacket::Vendor:
      return "vendor " + p.device + " " + std::to_string(p.vendor.request) + " " + std::to_string(p.vendor.value) +
             " " + std::to_string(p.vendor.data);
    case TSimPacket::Bulk: break;
  }
  return "bulk " + p.device;
}

// The reset runs on a worker: these tests pump the window thread's events while it runs.
class DeviceResetThreads : public SimulatedDetectionTest {
 protected:
  // Pumps events until `done` or about ten seconds have passed.
  template <typename F>
  static bool PumpUntil(F done) {
    for (int i = 0; i < 10000 && !done(); ++i) {
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
  }
  static bool ButtonsEnabled(const TForm19& select) {
    return select.BitBtn2->isEnabled() && select.skinButton1->isEnabled() && select.skinButton2->isEnabled() &&
           select.skinButton3->isEnabled();
  }
  static bool ButtonsDisabled(const TForm19& select) {
    return !select.BitBtn2->isEnabled() && !select.skinButton1->isEnabled() && !select.skinButton2->isEnabled() &&
           !select.skinButton3->isEnabled();
  }
  static void ResetAndWait(TForm19& select) {
    select.BitBtn2->Click();
    ASSERT_TRUE(PumpUntil([&] { return ButtonsEnabled(select); }));
  }
};

}  // namespace

TEST_F(SimulatedDetectionTest, DetectionListsLaserInterfacesOnly) {
  const std::vector<TDetectedDevice> found = DetectDevices();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].name, "ezusb-0");
  EXPECT_EQ(found[0].label, "Usb-0");
  EXPECT_EQ(found[1].name, "ezusb-3");
  EXPECT_EQ(found[1].label, "Usb-3");

  sim->Unplug(0);
  sim->Plug(127);
  const std::vector<TDetectedDevice> later = DetectDevices();
  ASSERT_EQ(later.size(), 2u);
  EXPECT_EQ(later[0].name, "ezusb-3");
  EXPECT_EQ(later[1].name, "ezusb-127");
  EXPECT_TRUE(sim->Packets().empty());  // detection sends nothing to the interfaces
}

TEST_F(SimulatedDetectionTest, MainWindowDetectsThroughTheDeviceLayer) {
  TForm15 form;
  form.FormCreate();
  EXPECT_EQ(form.ComboBox1->count(), 2);
  EXPECT_EQ(CurrentDeviceName(), "ezusb-0");
  EXPECT_EQ(form.windowTitle(), "Kavri laser software-0");
  form.ComboBox1Change(1);
  EXPECT_EQ(CurrentDeviceName(), "ezusb-3");
  EXPECT_EQ(form.windowTitle(), "Kavri laser software-1");
  form.skinButton1Click();
  EXPECT_EQ(CurrentDeviceName(), "ezusb-3");  // the chosen master stays
}

TEST(InterfaceNoticesTest, OneLinePerInterfaceInNumberOrderUntilItOpens) {
  TInterfaceNotices notices;
  EXPECT_FALSE(notices.Take(3, TUsbFault::None));
  EXPECT_EQ(notices.Text(), "");
  EXPECT_TRUE(notices.Take(12, TUsbFault::Busy));
  EXPECT_TRUE(notices.Take(3, TUsbFault::NoAccess));
  EXPECT_FALSE(notices.Take(3, TUsbFault::NoAccess));
  EXPECT_EQ(notices.Text(), InterfaceFaultText(3, TUsbFault::NoAccess) + "\n" + InterfaceFaultText(12, TUsbFault::Busy));
  EXPECT_TRUE(notices.Take(12, TUsbFault::Gone));  // a new reason replaces the line
  EXPECT_TRUE(notices.Take(3, TUsbFault::None));
  EXPECT_EQ(notices.Text(), InterfaceFaultText(12, TUsbFault::Gone));

  // Each reason names the interface, why, and what to do about it.
  const struct {
    TUsbFault fault;
    const char* why;
    const char* todo;
  } reasons[] = {
      {TUsbFault::NoAccess, "no permission", "udev rule 70-kavri-laser.rules"},
      {TUsbFault::Busy, "another program is using it", "Close that program"},
      {TUsbFault::Gone, "no longer attached", "Plug it in again"},
      {TUsbFault::Failed, "cannot be opened", "plug it in again"},
  };
  for (const auto& r : reasons) {
    const std::string text = InterfaceFaultText(12, r.fault);
    EXPECT_EQ(text.rfind("Usb-12 cannot be opened", 0), 0u) << text;
    EXPECT_NE(text.find(r.why), std::string::npos) << text;
    EXPECT_NE(text.find(r.todo), std::string::npos) << text;
  }
  EXPECT_EQ(InterfaceFaultText(12, TUsbFault::None), "");
}

TEST_F(SimulatedDetectionTest, MainWindowTellsWhyAListedInterfaceCannotBeOpened) {
  sim->SetOpenFault(3, TUsbFault::NoAccess);
  kavri_test::RecordingDialogs dialogs;
  TForm15 form;
  form.FormCreate();
  EXPECT_EQ(form.ComboBox1->count(), 2);  // listed all the same
  QCoreApplication::processEvents();
  EXPECT_FALSE(form.DeviceNotice->isHidden());
  EXPECT_EQ(form.DeviceNotice->text().toStdString(), InterfaceFaultText(3, TUsbFault::NoAccess));
  for (const std::string& message : dialogs.messages) EXPECT_EQ(message.find("Usb-"), std::string::npos) << message;
  EXPECT_TRUE(sim->Packets().empty());  // opening sends nothing

  sim->SetOpenFault(3, TUsbFault::None);
  form.skinButton1Click();
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.DeviceNotice->isHidden());
}

TEST_F(DeviceResetThreads, ResetAbortsThePipesThenHoldsAndReleasesEachInterface) {
  sim->Plug(1);
  TForm15 main;
  main.FormCreate();  // detects 0, 1, 3
  TForm19 select(&main);
  select.FormCreate();
  select.CheckBox131->Click();
  select.DeviceBoxes[3]->Click();
  select.DeviceBoxes[1]->Click();
  ASSERT_EQ(SelectedDevices(), (std::vector<std::string>{"Usb-3", "Usb-1"}));

  kavri_test::RecordingDialogs dialogs;
  ResetAndWait(select);
  std::vector<std::string> seen;
  for (const TSimPacket& p : sim->Packets()) seen.push_back(Describe(p));
  // 160 = 0xA0 (firmware load), 32658 = 0x7F92 (CPU control): 1 holds the CPU, 0 lets it run.
  const std::vector<std::string> expected = {
      "abort ezusb-0 1", "abort ezusb-0 3", "abort ezusb-0 5", "vendor ezusb-0 160 32658 1", "vendor ezusb-0 160 32658 0",
      "abort ezusb-3 1", "abort ezusb-3 2", "abort ezusb-3 3", "vendor ezusb-3 160 32658 1", "vendor ezusb-3 160 32658 0",
      "abort ezusb-1 1", "abort ezusb-1 2", "abort ezusb-1 3", "vendor ezusb-1 160 32658 1", "vendor ezusb-1 160 32658 0",
  };
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(dialogs.messages.empty());

  // Two interfaces gone since the last detection: one message each, the others still reset.
  sim->ClearPackets();
  sim->Unplug(0);
  sim->Unplug(1);
  ResetAndWait(select);
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Failed to reset ezUsb-0", "Failed to reset ezUsb-1"}));
  int resetsOf3 = 0;
  for (const TSimPacket& p : sim->Packets()) resetsOf3 += p.kind == TSimPacket::Vendor && p.device == "ezusb-3";
  EXPECT_EQ(resetsOf3, 2);

  // Without multiple output only the master is reset.
  sim->ClearPackets();
  dialogs.messages.clear();
  select.CheckBox131->Click();
  ResetAndWait(select);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Failed to reset ezUsb-0"});
  for (const TSimPacket& p : sim->Packets()) EXPECT_EQ(p.device, "ezusb-0");
}

// Interfaces that take nothing: the window stays free while the reset waits on them, its
// buttons wait for the end, and the failures are shown then.
TEST_F(DeviceResetThreads, ResetWaitsOnAWorkerWithTheButtonsDisabled) {
  TForm15 main;
  main.FormCreate();
  TForm19 select(&main);
  select.FormCreate();
  kavri_test::RecordingDialogs dialogs;

  sim->SetStalled(true, std::chrono::milliseconds(100));  // each request gives up after 0.1 s
  select.BitBtn2->Click();
  EXPECT_TRUE(ButtonsDisabled(select));
  select.BitBtn2->Click();  // refused while the reset runs
  ASSERT_TRUE(PumpUntil([&] { return ButtonsEnabled(select); }));
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Failed to reset ezUsb-0"});

  // Taken once the interface answers again.
  dialogs.messages.clear();
  sim->SetStalled(true, std::chrono::minutes(1));
  select.BitBtn2->Click();
  ASSERT_TRUE(PumpUntil([&] { return sim->WaitingRequests() == 1; }));
  EXPECT_TRUE(ButtonsDisabled(select));
  sim->SetStalled(false);
  ASSERT_TRUE(PumpUntil([&] { return ButtonsEnabled(select); }));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(sim->Packets().size(), 5u);  // three aborts, two vendor requests
}

// Closing the program while a reset waits on an interface that takes nothing: the window's end
// cancels the requests and joins the worker, without a message.
TEST_F(DeviceResetThreads, AWindowDestroyedDuringAResetCancelsItAndJoins) {
  TForm15 main;
  main.FormCreate();
  kavri_test::RecordingDialogs dialogs;
  sim->SetStalled(true, std::chrono::minutes(1));
  auto select = std::make_unique<TForm19>(&main);
  select->FormCreate();
  select->BitBtn2->Click();
  ASSERT_TRUE(PumpUntil([&] { return sim->WaitingRequests() == 1; }));
  const auto start = std::chrono::steady_clock::now();
  select.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));  // not the minute of a request
  EXPECT_EQ(sim->WaitingRequests(), 0u);
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_TRUE(dialogs.messages.empty());
}
