// The libusb backend, through real libusb calls, against USB devices emulated by libumockdev
// (tests/emulated/emulated_usb.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "engine/device_packets.h"
#include "engine/shared_state.h"
#include "engine/usb_device.h"
#include "platform/usb/usb_driver.h"
#include "shell/device_detection.h"
#include "tests/emulated/emulated_usb.h"
#include "tests/engine/patterned_frames.h"

namespace kavri {
namespace {

using kavri_test::Bytes;
using kavri_test::TEmulatedBus;
using kavri_test::TEmulatedDevice;
using kavri_test::TRequest;

class EmulatedUsb : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bus_ = new TEmulatedBus;
    laser_.Reset();
    foreign_.Reset();
    AddDevice("1-1", 2, kLaserVendorId, &laser_);
    AddDevice("1-2", 3, 0x04B4, &foreign_);
    // A long request timeout: a write that ends soon after its stop flag was cancelled.
    SetActiveUsbDriver(MakeLibusbDriver(std::chrono::minutes(1)));
  }
  static void TearDownTestSuite() {
    SetActiveUsbDriver(nullptr);
    delete bus_;  // a repeated run sets the suite up again
    bus_ = nullptr;
  }
  void SetUp() override { ResetSharedState(); }

  static void AddDevice(const char* name, int devnum, uint16_t vendor, TEmulatedDevice* dev) {
    std::string error;
    ASSERT_TRUE(bus_->Add(name, devnum, vendor, dev, &error)) << error;
  }

  static TEmulatedBus* bus_;
  static TEmulatedDevice laser_;
  static TEmulatedDevice foreign_;
};

TEmulatedBus* EmulatedUsb::bus_ = nullptr;
TEmulatedDevice EmulatedUsb::laser_;
TEmulatedDevice EmulatedUsb::foreign_;

TEST_F(EmulatedUsb, DetectionFindsTheLaserInterfaceAndSkipsTheOther) {
  std::vector<std::string> found;
  for (int n = 0; n <= kMaxUsbDeviceNumber; ++n) {
    TUsbHandle h;
    if (!OpenUsbDevice(h, UsbDeviceName(n))) continue;
    TUsbDeviceDescriptor d{};
    if (GetUsbDeviceDescriptor(h, d) && DescriptorVendorId(d) == kLaserVendorId) found.push_back(UsbDeviceName(n));
    CloseUsbDevice(h);
  }
  EXPECT_EQ(found, std::vector<std::string>{"ezusb-0"});
  EXPECT_TRUE(foreign_.Requests().empty());
}

TEST_F(EmulatedUsb, ResetSendsTheTwoVendorRequests) {
  const size_t before = laser_.Requests().size();
  ASSERT_TRUE(ResetUsbDevice("ezusb-0"));
  const auto requests = laser_.Requests();
  ASSERT_EQ(requests.size(), before + 2);
  for (int i = 0; i < 2; ++i) {
    const TRequest& r = requests[before + i];
    EXPECT_EQ(r.kind, TRequest::Control);
    // Vendor type, device recipient, host to device; request 0xA0; value 0x7F92; index 0; length 1.
    EXPECT_EQ(r.setup, (Bytes{0x40, 0xA0, 0x92, 0x7F, 0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(r.data, Bytes{static_cast<uint8_t>(i == 0 ? 1 : 0)});
  }
}

TEST_F(EmulatedUsb, PacketsReachTheEndpointOfTheirPipeByteForByte) {
  SetCurrentDeviceName("ezusb-0");
  UsbPipe = 2;
  BlankingDelay = 7;
  ScanDelay = 9;
  TSettingsPacketSender settings;
  settings.Send();
  TFrameBuffer frame;
  for (int i = 0; i < 3000; ++i) {  // 24000 bytes: more than one URB
    TDevicePoint p;
    p.x = static_cast<uint8_t>(i);
    p.y = static_cast<uint8_t>(i >> 8);
    p.red = 0x11;
    p.flags = 3;
    frame.Append(p);
  }
  const size_t before = laser_.Requests().size();
  ASSERT_EQ(SendToAllOutputs(frame.Bytes(), frame.ByteCount()), 1);
  ASSERT_TRUE(AbortUsbPipe("ezusb-0", 1));

  const auto requests = laser_.Requests();
  const auto& packet = requests.at(before - 1);
  EXPECT_EQ(packet.kind, TRequest::Bulk);
  EXPECT_EQ(packet.endpoint, 0x04);
  EXPECT_EQ(packet.data, (Bytes{7, 9}));
  Bytes received;
  size_t i = before;
  for (; i < requests.size() && requests[i].kind == TRequest::Bulk; ++i) {
    EXPECT_EQ(requests[i].endpoint, 0x04);
    received.insert(received.end(), requests[i].data.begin(), requests[i].data.end());
  }
  EXPECT_EQ(received, Bytes(frame.Bytes(), frame.Bytes() + frame.ByteCount()));
  ASSERT_LT(i, requests.size());
  EXPECT_EQ(requests[i].kind, TRequest::ClearHalt);
  EXPECT_EQ(requests[i].endpoint, 0x02);

  EXPECT_FALSE(AbortUsbPipe("ezusb-0", 9));  // no such pipe
  const uint8_t byte = 0;
  EXPECT_FALSE(UsbBulkWrite(&byte, 1, "ezusb-0", 4));  // pipe 4 is an IN endpoint
}

TEST_F(EmulatedUsb, ConcurrentWritersSendWholeFramesThreads) {
  SetCurrentDeviceName("ezusb-0");
  UsbPipe = 1;
  const size_t before = laser_.Requests().size();
  constexpr int kFrames = 10;
  kavri_test::SendPatternedFramesFromThreeThreads(kFrames, [](uint8_t) { return kMaxFramePoints; });
  // The endpoint's byte stream must be whole frames, one after another.
  Bytes stream;
  const auto requests = laser_.Requests();
  for (size_t i = before; i < requests.size(); ++i) {
    ASSERT_EQ(requests[i].endpoint, 0x02);
    stream.insert(stream.end(), requests[i].data.begin(), requests[i].data.end());
  }
  constexpr size_t kFrameBytes = kMaxFramePoints * 8;
  ASSERT_EQ(stream.size(), 3 * kFrames * kFrameBytes);
  for (size_t f = 0; f < 3 * kFrames; ++f) {
    const uint8_t* frame = stream.data() + f * kFrameBytes;
    for (size_t i = 0; i < kFrameBytes; i += 8) {
      ASSERT_EQ(frame[i], frame[0]) << "frame " << f << " mixes writers at byte " << i;
      ASSERT_EQ(frame[i + 2], frame[2]) << "frame " << f << " mixes frames at byte " << i;
      ASSERT_EQ(frame[i + 4], static_cast<uint8_t>(i / 8)) << "frame " << f << " out of order at byte " << i;
    }
  }
}

// An interface that takes nothing: a write waits until its stop flag is set, then the transfer
// is cancelled and the write fails; afterwards the interface takes writes again.
TEST_F(EmulatedUsb, AStopCancelsAWriteTheInterfaceDoesNotTakeThreads) {
  laser_.SetStalled(true);
  std::atomic<bool> stop{false};
  const uint8_t packet[] = {1, 2, 3};
  auto write = std::async(std::launch::async, [&] { return UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1, &stop); });
  for (int i = 0; i < 10000 && laser_.Held() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(laser_.Held(), 1u);
  stop = true;
  ASSERT_EQ(write.wait_for(std::chrono::seconds(20)), std::future_status::ready);  // the timeout is a minute
  EXPECT_FALSE(write.get());
  EXPECT_EQ(laser_.Held(), 0u);

  laser_.SetStalled(false);
  const size_t before = laser_.Requests().size();
  ASSERT_TRUE(UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1));
  const auto requests = laser_.Requests();
  ASSERT_EQ(requests.size(), before + 1);
  EXPECT_EQ(requests.back().data, (Bytes{1, 2, 3}));
}

// Detect Device runs on the window thread; a loop's write that the interface does not take must
// not hold it. The watchdog only ends the test should detection wait for the write after all; it
// waits far longer than a detection of one interface takes on a loaded machine or under a
// sanitizer, so that only a detection that waits for the write finds it stopped.
TEST_F(EmulatedUsb, DetectionDoesNotWaitForAWriteTheInterfaceDoesNotTakeThreads) {
  laser_.SetStalled(true);
  std::atomic<bool> stop{false};
  const uint8_t packet[] = {1, 2, 3};
  auto write = std::async(std::launch::async, [&] { return UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1, &stop); });
  for (int i = 0; i < 10000 && laser_.Held() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(laser_.Held(), 1u);
  std::atomic<bool> detected{false};
  auto watchdog = std::async(std::launch::async, [&] {
    for (int i = 0; i < 3000 && !detected; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    stop = true;
  });

  const std::vector<TDetectedDevice> found = DetectDevices();
  const bool writeStillWaiting = write.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
  detected = true;
  watchdog.wait();
  EXPECT_TRUE(writeStillWaiting) << "detection waited until the write had given up";
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name, "ezusb-0");

  stop = true;
  ASSERT_EQ(write.wait_for(std::chrono::seconds(20)), std::future_status::ready);
  EXPECT_FALSE(write.get());
  laser_.SetStalled(false);
  EXPECT_TRUE(UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1));
}

// Last: the device stays unplugged.
TEST_F(EmulatedUsb, WritesToAnUnpluggedDeviceFailWithoutHanging) {
  SetCurrentDeviceName("ezusb-0");
  const uint8_t packet[] = {1, 2};
  ASSERT_TRUE(UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1));
  laser_.Unplug();
  EXPECT_FALSE(UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1));
  EXPECT_FALSE(UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1));
  EXPECT_FALSE(ResetUsbDevice("ezusb-0"));
  EXPECT_EQ(SendToAllOutputs(packet, sizeof packet), 0);
}

// After the one above. The interface is pulled out and put back (a new device to the bus): the
// loops' writes to its name reach it again without anyone running a new detection.
TEST_F(EmulatedUsb, AReplugTakesTheNameBackWithoutANewDetection) {
  const char* oldPath = "/sys/devices/pci0000:00/usb1/1-1";
  umockdev_testbed_uevent(bus_->Testbed(), oldPath, "remove");
  umockdev_testbed_remove_device(bus_->Testbed(), oldPath);
  static TEmulatedDevice replugged;
  replugged.Reset();
  AddDevice("1-3", 4, kLaserVendorId, &replugged);
  umockdev_testbed_uevent(bus_->Testbed(), "/sys/devices/pci0000:00/usb1/1-3", "add");

  const uint8_t packet[] = {5, 6, 7};
  bool sent = false;
  // The bus news reaches libusb on its own thread; give it up to ten seconds.
  for (int i = 0; i < 1000 && !sent; ++i) {
    sent = UsbBulkWrite(packet, sizeof packet, "ezusb-0", 1);
    if (!sent) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(sent);
  const auto requests = replugged.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().kind, TRequest::Bulk);
  EXPECT_EQ(requests.back().endpoint, 0x02);
  EXPECT_EQ(requests.back().data, (Bytes{5, 6, 7}));
}

}  // namespace
}  // namespace kavri
