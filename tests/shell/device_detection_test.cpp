#include <gtest/gtest.h>

#include <memory>

#include "engine/shared_state.h"
#include "platform/usb/usb_sim_driver.h"
#include "shell/device_detection.h"
#include "shell/device_reset.h"
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

TEST_F(SimulatedDetectionTest, ResetAbortsThePipesThenHoldsAndReleasesEachInterface) {
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
  select.BitBtn2->Click();
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
  select.BitBtn2->Click();
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Failed to reset ezUsb-0", "Failed to reset ezUsb-1"}));
  int resetsOf3 = 0;
  for (const TSimPacket& p : sim->Packets()) resetsOf3 += p.kind == TSimPacket::Vendor && p.device == "ezusb-3";
  EXPECT_EQ(resetsOf3, 2);

  // Without multiple output only the master is reset.
  sim->ClearPackets();
  dialogs.messages.clear();
  select.CheckBox131->Click();
  select.BitBtn2->Click();
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Failed to reset ezUsb-0"});
  for (const TSimPacket& p : sim->Packets()) EXPECT_EQ(p.device, "ezusb-0");
}
