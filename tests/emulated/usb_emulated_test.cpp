// The libusb backend, through real libusb calls, against USB devices emulated by libumockdev:
// the testbed publishes the devices in sysfs and answers the usbfs requests of their device
// nodes, as the kernel would. Runs under umockdev-wrapper (LD_PRELOAD of the umockdev library).
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/device_packets.h"
#include "engine/shared_state.h"
#include "engine/usb_device.h"
#include "platform/usb/usb_driver.h"
#include "tests/engine/patterned_frames.h"

namespace kavri {
namespace {

using Bytes = std::vector<uint8_t>;

// The descriptors file of a full-speed device: interface 0 with bulk OUT endpoints 0x01, 0x02,
// 0x04 and 0x06 (pipes 0 to 3) and bulk IN 0x88 (pipe 4).
Bytes Descriptors(uint16_t vendor) {
  Bytes d = {18, 1, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 64, static_cast<uint8_t>(vendor), static_cast<uint8_t>(vendor >> 8),
             0x01, 0x00, 0x01, 0x00, 0, 0, 0, 1};
  const uint8_t endpoints[] = {0x01, 0x02, 0x04, 0x06, 0x88};
  const uint16_t total = 9 + 9 + 7 * sizeof endpoints;
  const Bytes config = {9, 2, static_cast<uint8_t>(total), static_cast<uint8_t>(total >> 8), 1, 1, 0, 0x80, 50};
  const Bytes interface = {9, 4, 0, 0, sizeof endpoints, 0xFF, 0xFF, 0xFF, 0};
  d.insert(d.end(), config.begin(), config.end());
  d.insert(d.end(), interface.begin(), interface.end());
  for (uint8_t ep : endpoints) d.insert(d.end(), {7, 5, ep, 2, 64, 0, 0});
  return d;
}

struct TRequest {
  enum Kind { Control, Bulk, ClearHalt } kind;
  uint8_t endpoint = 0;
  Bytes setup;  // control: the 8-byte setup packet
  Bytes data;
};

// One emulated device: answers usbfs ioctls on the testbed's thread and records what arrives.
struct TEmulatedDevice {
  std::mutex mutex;
  bool unplugged = false;
  bool stalled = false;                  // bulk URBs are held, as by an interface that takes nothing
  std::deque<UMockdevIoctlData*> held;   // bulk URBs held by the stall, until discarded
  std::deque<UMockdevIoctlData*> done;   // submitted URBs waiting to be reaped
  std::vector<TRequest> requests;

  void SetStalled(bool value) {
    std::lock_guard lock(mutex);
    stalled = value;
  }
  size_t Held() {
    std::lock_guard lock(mutex);
    return held.size();
  }

  std::vector<TRequest> Requests() {
    std::lock_guard lock(mutex);
    return requests;
  }
  void Unplug() {
    std::lock_guard lock(mutex);
    unplugged = true;
  }
};

gboolean HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer userData) {
  auto* dev = static_cast<TEmulatedDevice*>(userData);
  const gulong request = umockdev_ioctl_client_get_request(client);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  GError* error = nullptr;
  std::lock_guard lock(dev->mutex);
  if (dev->unplugged) {
    umockdev_ioctl_client_complete(client, -1, ENODEV);
    return TRUE;
  }
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), &error);
      // Like an older kernel: bulk transfers above 16 KiB arrive as several URBs, so frames of
      // concurrent writers could interleave unless the driver keeps them apart.
      const uint32_t value = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION;
      std::memcpy(caps->data, &value, sizeof value);
      g_object_unref(caps);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_RELEASEINTERFACE:
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    case USBDEVFS_CLEAR_HALT: {
      UMockdevIoctlData* ep = umockdev_ioctl_data_resolve(arg, 0, sizeof(unsigned int), &error);
      unsigned int endpoint = 0;
      std::memcpy(&endpoint, ep->data, sizeof endpoint);
      g_object_unref(ep);
      dev->requests.push_back({TRequest::ClearHalt, static_cast<uint8_t>(endpoint), {}, {}});
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_SUBMITURB: {
      UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
      auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
      UMockdevIoctlData* buffer = nullptr;
      if (urb->buffer_length > 0)
        buffer = umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer), urb->buffer_length, &error);
      urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
      const Bytes bytes = buffer ? Bytes(buffer->data, buffer->data + buffer->data_len) : Bytes{};
      if (urb->type == USBDEVFS_URB_TYPE_CONTROL && bytes.size() >= 8) {
        dev->requests.push_back({TRequest::Control, 0, Bytes(bytes.begin(), bytes.begin() + 8),
                                 Bytes(bytes.begin() + 8, bytes.end())});
        urb->actual_length = static_cast<int>(bytes.size() - 8);
      } else if (urb->type == USBDEVFS_URB_TYPE_BULK && dev->stalled) {
        if (buffer) g_object_unref(buffer);
        dev->held.push_back(urbData);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
      } else if (urb->type == USBDEVFS_URB_TYPE_BULK) {
        dev->requests.push_back({TRequest::Bulk, urb->endpoint, {}, bytes});
        urb->actual_length = urb->buffer_length;
      }
      urb->status = 0;
      if (buffer) g_object_unref(buffer);
      dev->done.push_back(urbData);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_DISCARDURB: {
      // The argument is the caller's URB pointer: give that URB back as cancelled.
      gulong address = 0;
      std::memcpy(&address, arg->data, sizeof address);
      const auto it = std::find_if(dev->held.begin(), dev->held.end(),
                                   [address](UMockdevIoctlData* u) { return u->client_addr == address; });
      if (it == dev->held.end()) {
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return TRUE;
      }
      auto* urb = reinterpret_cast<usbdevfs_urb*>((*it)->data);
      urb->status = -ENOENT;
      urb->actual_length = 0;
      dev->done.push_back(*it);
      dev->held.erase(it);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
      if (dev->done.empty()) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return TRUE;
      }
      UMockdevIoctlData* urbData = dev->done.front();
      dev->done.pop_front();
      // The argument points at the caller's URB pointer; make that point at the reaped URB.
      UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
      umockdev_ioctl_data_set_ptr(slot, 0, urbData);
      g_object_unref(slot);
      g_object_unref(urbData);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    default:
      umockdev_ioctl_client_complete(client, -1, ENOTTY);
      return TRUE;
  }
}

class EmulatedUsb : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testbed_ = umockdev_testbed_new();
    AddDevice("1-1", 2, kLaserVendorId, &laser_);
    AddDevice("1-2", 3, 0x04B4, &foreign_);
    // A long request timeout: a write that ends soon after its stop flag was cancelled.
    SetActiveUsbDriver(MakeLibusbDriver(std::chrono::minutes(1)));
  }
  static void TearDownTestSuite() {
    SetActiveUsbDriver(nullptr);
    for (auto* h : handlers_) g_object_unref(h);
    handlers_.clear();  // a repeated run sets the suite up again
    g_object_unref(testbed_);
  }
  void SetUp() override { ResetSharedState(); }

  // Adds the device in umockdev's record format, which also creates its device node.
  static void AddDevice(const char* name, int devnum, uint16_t vendor, TEmulatedDevice* dev) {
    char devnode[40];
    std::snprintf(devnode, sizeof devnode, "/dev/bus/usb/001/%03d", devnum);
    std::string hex;
    char digits[4];
    for (uint8_t b : Descriptors(vendor)) {
      std::snprintf(digits, sizeof digits, "%02X", b);
      hex += digits;
    }
    char vendorText[8];
    std::snprintf(vendorText, sizeof vendorText, "%04x", vendor);
    const std::string record = std::string("P: /devices/pci0000:00/usb1/") + name + "\n" +
                               "N: " + (devnode + 5) + "\n" +
                               "E: DEVNAME=" + devnode + "\n" +
                               "E: DEVTYPE=usb_device\n" +
                               "E: SUBSYSTEM=usb\n" +
                               "A: busnum=1\\n\n" +
                               "A: devnum=" + std::to_string(devnum) + "\\n\n" +
                               "A: idVendor=" + vendorText + "\\n\n" +
                               "A: speed=12\\n\n" +
                               "A: bConfigurationValue=1\\n\n" +
                               "A: dev=189:" + std::to_string(devnum - 1) + "\\n\n" +
                               "H: descriptors=" + hex + "\n";
    GError* error = nullptr;
    ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_, record.c_str(), &error))
        << (error ? error->message : "add failed");
    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(HandleIoctl), dev);
    ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed_, devnode, handler, &error))
        << (error ? error->message : "attach failed");
    handlers_.push_back(handler);
  }

  static UMockdevTestbed* testbed_;
  static std::vector<UMockdevIoctlBase*> handlers_;
  static TEmulatedDevice laser_;
  static TEmulatedDevice foreign_;
};

UMockdevTestbed* EmulatedUsb::testbed_ = nullptr;
std::vector<UMockdevIoctlBase*> EmulatedUsb::handlers_;
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
  umockdev_testbed_uevent(testbed_, oldPath, "remove");
  umockdev_testbed_remove_device(testbed_, oldPath);
  static TEmulatedDevice replugged;
  AddDevice("1-3", 4, kLaserVendorId, &replugged);
  umockdev_testbed_uevent(testbed_, "/sys/devices/pci0000:00/usb1/1-3", "add");

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
