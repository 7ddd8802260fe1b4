#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "engine/device_packets.h"
#include "engine/output_change.h"
#include "engine/usb_device.h"
#include "tests/engine/patterned_frames.h"
#include "tests/engine/usb_output_fixture.h"

namespace kavri {
namespace {

using Bytes = std::vector<uint8_t>;
using UsbDevice = kavri_test::SimulatedInterfaces;

TEST_F(UsbDevice, OpensAttachedInterfacesAndReadsTheirVendor) {
  TUsbHandle h;
  TUsbDeviceDescriptor d{};
  ASSERT_TRUE(OpenUsbDevice(h, "ezusb-4"));
  ASSERT_TRUE(GetUsbDeviceDescriptor(h, d));
  EXPECT_EQ(DescriptorVendorId(d), kLaserVendorId);
  CloseUsbDevice(h);
  EXPECT_FALSE(GetUsbDeviceDescriptor(h, d));

  ASSERT_TRUE(OpenUsbDevice(h, "EZUSB-5"));
  ASSERT_TRUE(GetUsbDeviceDescriptor(h, d));
  EXPECT_EQ(DescriptorVendorId(d), 0x1234);

  EXPECT_FALSE(OpenUsbDevice(h, "ezusb-2"));
  EXPECT_FALSE(h.valid());
  EXPECT_FALSE(OpenUsbDevice(h, "\\\\.\\ezusb-0"));
}

TEST_F(UsbDevice, ResetHoldsTheCpuThenLetsItRun) {
  ASSERT_TRUE(ResetUsbDevice("ezUsb-1"));
  const auto packets = sim->Packets();
  ASSERT_EQ(packets.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(packets[i].kind, TSimPacket::Vendor);
    EXPECT_EQ(packets[i].device, "ezusb-1");
    EXPECT_EQ(packets[i].vendor.request, 0xA0);
    EXPECT_EQ(packets[i].vendor.value, 0x7F92);
    EXPECT_EQ(packets[i].vendor.index, 0);
    EXPECT_EQ(packets[i].vendor.length, 1);
    EXPECT_EQ(packets[i].vendor.direction, 0);
  }
  EXPECT_EQ(packets[0].vendor.data, 1);
  EXPECT_EQ(packets[1].vendor.data, 0);

  EXPECT_FALSE(ResetUsbDevice("ezusb-2"));
  sim->Unplug(1);
  EXPECT_FALSE(ResetUsbDevice("ezusb-1"));
}

TEST_F(UsbDevice, WritesWholeBuffersAndRefusesEmptyOnesAndBadNames) {
  const Bytes data{1, 2, 3};
  EXPECT_TRUE(UsbBulkWrite(data.data(), data.size(), "ezusb-0", 3));
  EXPECT_TRUE(AbortUsbPipe("ezusb-0", 5));
  EXPECT_FALSE(UsbBulkWrite(data.data(), 0, "ezusb-0", 3));
  EXPECT_FALSE(UsbBulkWrite(data.data(), data.size(), "", 1));
  EXPECT_FALSE(UsbBulkWrite(data.data(), data.size(), "ezusb-0" + std::string(60, ' '), 1));
  EXPECT_FALSE(AbortUsbPipe("ezusb-9", 1));
  const auto packets = sim->Packets();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].bytes, data);
  EXPECT_EQ(packets[0].pipe, 3u);
  EXPECT_EQ(packets[1].kind, TSimPacket::Abort);
  EXPECT_EQ(packets[1].pipe, 5u);
}

std::vector<std::string> DevicesOf(const std::vector<TSimPacket>& packets) {
  std::vector<std::string> names;
  for (const auto& p : packets) names.push_back(p.device);
  return names;
}

TEST_F(UsbDevice, SendsToTheMasterThenEachExtraInListOrder) {
  SetCurrentDeviceName("ezusb-0");
  SetSelectedDevices({"Usb-4", "Usb-1"});
  UsbPipe = 2;
  const Bytes packet{9, 8};
  EXPECT_EQ(SendToAllOutputs(packet.data(), packet.size()), 1);  // multiple output off
  MultiDeviceFlag = true;
  EXPECT_EQ(SendToAllOutputs(packet.data(), packet.size()), 3);
  auto packets = sim->Packets();
  EXPECT_EQ(DevicesOf(packets), (std::vector<std::string>{"ezusb-0", "ezusb-0", "ezusb-4", "ezusb-1"}));
  for (const auto& p : packets) {
    EXPECT_EQ(p.bytes, packet);
    EXPECT_EQ(p.pipe, 2u);
  }

  // The targets are taken anew as soon as they change; bad labels and missing devices are skipped.
  sim->ClearPackets();
  SetCurrentDeviceName("ezusb-1");
  SetSelectedDevices({"Usb-2", "nonsense", "Usb-0"});
  EXPECT_EQ(SendToAllOutputs(packet.data(), packet.size()), 2);
  EXPECT_EQ(DevicesOf(sim->Packets()), (std::vector<std::string>{"ezusb-1", "ezusb-0"}));
}

TEST_F(UsbDevice, NothingIsSentWithoutAMasterOrForAnEmptyPacket) {
  const Bytes packet{1};
  EXPECT_EQ(SendToAllOutputs(packet.data(), packet.size()), 0);
  SetCurrentDeviceName("ezusb-0");
  EXPECT_EQ(SendToAllOutputs(packet.data(), 0), 0);
  sim->SetWritesFail(true);
  EXPECT_EQ(SendToAllOutputs(packet.data(), packet.size()), 0);
  EXPECT_TRUE(sim->Packets().empty());
}

TEST_F(UsbDevice, SettingsPacketIsResentOnceAfterAChange) {
  SetCurrentDeviceName("ezusb-0");
  BlankingDelay = 30;
  ScanDelay = 40;
  TSettingsPacketSender sender;
  sender.Send();
  EXPECT_FALSE(sender.SendIfChanged());
  ScanDelay = 41;
  EXPECT_TRUE(sender.SendIfChanged());
  EXPECT_FALSE(sender.SendIfChanged());
  BlankingDelay = 31;
  EXPECT_TRUE(sender.SendIfChanged());
  const auto packets = sim->Packets();
  ASSERT_EQ(packets.size(), 3u);
  EXPECT_EQ(packets[0].bytes, (Bytes{30, 40}));
  EXPECT_EQ(packets[1].bytes, (Bytes{30, 41}));
  EXPECT_EQ(packets[2].bytes, (Bytes{31, 41}));

  // The show's tracks send a fixed second byte but still watch ScanDelay.
  sim->ClearPackets();
  TSettingsPacketSender track(0x15);
  track.Send();
  ScanDelay = 50;
  EXPECT_TRUE(track.SendIfChanged());
  EXPECT_EQ(sim->Packets().at(1).bytes, (Bytes{31, 0x15}));
}

TEST_F(UsbDevice, ColourGainPacketFollowsTheFourGains) {
  SetCurrentDeviceName("ezusb-0");
  RedSaturation = 10;
  GreenSaturation = 20;
  BlueSaturation = 30;
  Intensity = 200;
  TColourGainSender sender;
  sender.Send();
  EXPECT_FALSE(sender.SendIfChanged());
  Intensity = 199;
  EXPECT_TRUE(sender.SendIfChanged());
  const auto packets = sim->Packets();
  ASSERT_EQ(packets.size(), 2u);
  EXPECT_EQ(packets[0].bytes, (Bytes{10, 20, 30, 200}));
  EXPECT_EQ(packets[1].bytes, (Bytes{10, 20, 30, 199}));
}

TEST_F(UsbDevice, ChangeTestMarksThePreviewOncePerChange) {
  HOffset = 5;
  TakeOutputCopies();
  EXPECT_EQ(LastHOffset, 5);
  EXPECT_FALSE(CheckOutputChange());
  EXPECT_FALSE(PreviewDirtyFlag);
  for (auto change : std::vector<void (*)()>{[] { VOffset = VOffset + 1; }, [] { HSize = 3; }, [] { VSize = 4; },
                                             [] { LocateAngle = 90; }, [] { HInvertFlag = true; },
                                             [] { VInvertFlag = true; }, [] { HOffset = -7; }}) {
    PreviewDirtyFlag = false;
    change();
    EXPECT_TRUE(CheckOutputChange());
    EXPECT_TRUE(PreviewDirtyFlag);
    PreviewDirtyFlag = false;
    EXPECT_FALSE(CheckOutputChange());
    EXPECT_FALSE(PreviewDirtyFlag);
  }
  EXPECT_EQ(LastHOffset, -7);
  EXPECT_EQ(LastLocateAngle, 90);
  EXPECT_TRUE(LastVInvert);
}

TEST(FrameBuffer, CutsTheFrameAfter8192Points) {
  auto frame = std::make_unique<TFrameBuffer>();
  TDevicePoint p;
  for (size_t i = 0; i < kMaxFramePoints; ++i) {
    p.x = static_cast<uint8_t>(i);
    ASSERT_TRUE(frame->Append(p));
  }
  EXPECT_TRUE(frame->Full());
  p.x = 0xEE;
  EXPECT_FALSE(frame->Append(p));
  EXPECT_EQ(frame->Count(), 8192u);
  EXPECT_EQ(frame->ByteCount(), 65536u);
  EXPECT_EQ((*frame)[8191].x, 0xFF);
  frame->Clear();
  EXPECT_EQ(frame->ByteCount(), 0u);
}

TEST(DeviceFlags, BlankedAndKindAboveOne) {
  EXPECT_EQ(DeviceFlags(true, 2), 3);
  EXPECT_EQ(DeviceFlags(false, 1), 0);
  EXPECT_EQ(DeviceFlags(false, 3), 2);
  EXPECT_EQ(DeviceFlags(true, -1), 1);
}

// Three writers on one interface, as a show's three tracks: every frame must arrive whole.
TEST_F(UsbDevice, ConcurrentWritersThreads) {
  SetCurrentDeviceName("ezusb-0");
  sim->SetRecordLimit(100000);
  constexpr int kFrames = 200;
  kavri_test::SendPatternedFramesFromThreeThreads(kFrames, [](uint8_t writer) { return 100u + writer * 37u; });
  const auto packets = sim->Packets();
  ASSERT_EQ(packets.size(), 3u * kFrames);
  int nextFrame[4] = {0, 0, 0, 0};
  for (const auto& p : packets) {
    ASSERT_FALSE(p.bytes.empty());
    const uint8_t track = p.bytes[0];
    ASSERT_GE(track, 1);
    ASSERT_LE(track, 3);
    ASSERT_EQ(p.bytes.size(), (100u + track * 37u) * 8u);
    for (size_t i = 0; i < p.bytes.size() / 8; ++i) {
      ASSERT_EQ(p.bytes[i * 8], track);
      ASSERT_EQ(p.bytes[i * 8 + 2], static_cast<uint8_t>(nextFrame[track]));
      ASSERT_EQ(p.bytes[i * 8 + 4], static_cast<uint8_t>(i));
    }
    ++nextFrame[track];
  }
}

}  // namespace
}  // namespace kavri
