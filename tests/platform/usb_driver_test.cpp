#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>
#include <thread>
#include <string>
#include <vector>

#include "platform/usb/usb_driver.h"
#include "platform/usb/usb_sim_driver.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

TEST(UsbDeviceName, AcceptsOnlyPlainEzusbNames) {
  EXPECT_EQ(ParseUsbDeviceName("ezusb-0"), 0);
  EXPECT_EQ(ParseUsbDeviceName("ezusb-127"), 127);
  EXPECT_EQ(ParseUsbDeviceName("EZUSB-3"), 3);
  EXPECT_EQ(ParseUsbDeviceName("ezUsb-3"), 3);  // "ez" + a label as shown
  for (const char* bad : {"", "ezusb-", "ezusb-128", "ezusb-03", "ezusb--1", "ezusb-+1", "ezusb-3x", "usb-3",
                          "xzusb-3", "ezusb-1000", " ezusb-1"})
    EXPECT_FALSE(ParseUsbDeviceName(bad).has_value()) << bad;
  EXPECT_FALSE(ParseUsbDeviceName("ezusb-1" + std::string(60, '0')).has_value());
  EXPECT_EQ(UsbDeviceName(42), "ezusb-42");
}

TEST(SimUsbDriver, AttachesTheListedInterfacesWithTheirVendors) {
  TSimUsbDriver sim("0,3,5:1234,200,x,7:zz");
  TUsbDeviceDescriptor d{};
  EXPECT_TRUE(sim.Open(0));
  EXPECT_TRUE(sim.Open(3));
  EXPECT_TRUE(sim.Open(5));
  EXPECT_FALSE(sim.Open(1));
  EXPECT_FALSE(sim.Open(7));
  ASSERT_TRUE(sim.ReadDeviceDescriptor(3, d));
  EXPECT_EQ(d[0], 18);
  EXPECT_EQ(DescriptorVendorId(d), kLaserVendorId);
  ASSERT_TRUE(sim.ReadDeviceDescriptor(5, d));
  EXPECT_EQ(DescriptorVendorId(d), 0x1234);
  EXPECT_FALSE(sim.ReadDeviceDescriptor(1, d));

  // Entries that are not wholly a number (and a hex vendor) attach nothing; spaces are allowed.
  TSimUsbDriver typos("1x,2;9,6:12zz,-4, 8 ,10:0x04b4,11:,:12");
  for (int n = 0; n <= kMaxUsbDeviceNumber; ++n) EXPECT_EQ(typos.Open(n), n == 8 || n == 10) << n;
  ASSERT_TRUE(typos.ReadDeviceDescriptor(10, d));
  EXPECT_EQ(DescriptorVendorId(d), 0x04B4);

  sim.Unplug(3);
  EXPECT_FALSE(sim.Open(3));
  const uint8_t byte = 1;
  EXPECT_FALSE(sim.BulkWrite(3, 1, &byte, 1, nullptr));
  sim.Plug(3);
  EXPECT_TRUE(sim.BulkWrite(3, 1, &byte, 1, nullptr));
  sim.SetWritesFail(true);
  EXPECT_FALSE(sim.BulkWrite(3, 1, &byte, 1, nullptr));
  EXPECT_EQ(sim.Packets().size(), 1u);
}

TEST(SimUsbDriver, NumbersPastTheIntRangeAttachNothingAndAreReported) {
  // Cut to int, 2^32 reads as 0 and 2^32 + 1 as 1: they must be refused on their full value.
  TSimUsbDriver sim("4294967296,2,4294967297,99999999999999999999999");
  for (int n = 0; n <= kMaxUsbDeviceNumber; ++n) EXPECT_EQ(sim.Open(n), n == 2) << n;
  ASSERT_EQ(sim.Problems().size(), 1u);
  EXPECT_NE(sim.Problems()[0].find("\"4294967296\", \"4294967297\""), std::string::npos) << sim.Problems()[0];

  EXPECT_TRUE(TSimUsbDriver("0,1").Problems().empty());
  EXPECT_EQ(TSimUsbDriver("0;1").Problems().size(), 1u);

  kavri_test::ScratchDir dir;
  TSimUsbDriver noCapture("0", dir.Path("missing-folder/capture.txt"));
  ASSERT_EQ(noCapture.Problems().size(), 1u);
  EXPECT_NE(noCapture.Problems()[0].find("KAVRI_SIM_CAPTURE"), std::string::npos);
  EXPECT_TRUE(noCapture.Open(0));
}

// Interfaces that are listed from their descriptor but cannot be opened, and say why.
TEST(SimUsbDriver, ListedInterfacesThatCannotBeOpenedSayWhy) {
  TSimUsbDriver sim("0,1/denied,2/busy,3:1234/busy,4/other");
  ASSERT_EQ(sim.Problems().size(), 1u);
  EXPECT_NE(sim.Problems()[0].find("\"4/other\""), std::string::npos) << sim.Problems()[0];
  struct Case {
    int number;
    bool listed;
    TUsbFault fault;
  };
  const Case cases[] = {{0, true, TUsbFault::None},  {1, true, TUsbFault::NoAccess}, {2, true, TUsbFault::Busy},
                        {3, true, TUsbFault::Busy},  {4, false, TUsbFault::Gone}};
  const uint8_t byte = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    EXPECT_EQ(sim.OpenFault(c.number), TUsbFault::None);  // nothing has tried yet
    TUsbDeviceDescriptor d{};
    EXPECT_EQ(sim.Open(c.number), c.listed);
    EXPECT_EQ(sim.ReadDeviceDescriptor(c.number, d), c.listed);
    EXPECT_EQ(sim.BulkWrite(c.number, 1, &byte, 1, nullptr), c.fault == TUsbFault::None);
    EXPECT_EQ(sim.OpenFault(c.number), c.fault);
    EXPECT_EQ(sim.VendorRequest(c.number, TVendorRequest{}, nullptr), c.fault == TUsbFault::None);
    EXPECT_EQ(sim.AbortPipe(c.number, 1, nullptr), c.fault == TUsbFault::None);
    EXPECT_EQ(sim.Claim(c.number), c.fault);
  }
  // A request that its stop flag keeps from starting learns nothing about the interface.
  const std::atomic<bool> stop{true};
  sim.Unplug(0);
  EXPECT_FALSE(sim.BulkWrite(0, 1, &byte, 1, &stop));
  EXPECT_EQ(sim.OpenFault(0), TUsbFault::None);
  EXPECT_FALSE(sim.BulkWrite(0, 1, &byte, 1, nullptr));
  EXPECT_EQ(sim.OpenFault(0), TUsbFault::Gone);
  sim.Plug(0);
  sim.SetOpenFault(1, TUsbFault::None);
  for (int n : {0, 1}) {
    EXPECT_TRUE(sim.BulkWrite(n, 1, &byte, 1, nullptr)) << n;
    EXPECT_EQ(sim.OpenFault(n), TUsbFault::None) << n;
  }
  EXPECT_EQ(sim.Claim(kMaxUsbDeviceNumber + 1), TUsbFault::Gone);
}

TEST(SimUsbDriver, KeepsOnlyTheNewestPacketsInMemory) {
  TSimUsbDriver sim("0");
  sim.SetRecordLimit(3);
  for (uint8_t i = 0; i < 5; ++i) ASSERT_TRUE(sim.BulkWrite(0, 1, &i, 1, nullptr));
  const auto packets = sim.Packets();
  ASSERT_EQ(packets.size(), 3u);
  EXPECT_EQ(packets.front().bytes, std::vector<uint8_t>{2});
  EXPECT_EQ(packets.back().bytes, std::vector<uint8_t>{4});
}

TEST(SimUsbDriver, AppendsEveryRequestToTheCaptureFile) {
  kavri_test::ScratchDir dir;
  const std::string path = dir.Path("capture.txt");
  {
    std::ofstream(path) << "earlier line\n";
    TSimUsbDriver sim("2", path);
    const uint8_t frame[] = {0x4b, 0x00, 0xff, 0x00, 0x10, 0x20, 0x30, 0x03};
    ASSERT_TRUE(sim.BulkWrite(2, 1, frame, sizeof frame, nullptr));
    TVendorRequest r;
    r.request = 0xA0;
    r.value = 0x7F92;
    r.length = 1;
    r.data = 1;
    ASSERT_TRUE(sim.VendorRequest(2, r, nullptr));
    ASSERT_TRUE(sim.AbortPipe(2, 5, nullptr));
    ASSERT_TRUE(sim.BulkWrite(2, 0, frame, 0, nullptr));
    EXPECT_FALSE(sim.BulkWrite(4, 1, frame, 1, nullptr));  // not attached: nothing captured
  }
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"earlier line", "bulk ezusb-2 1 8 4b00ff0010203003",
                                             "vendor ezusb-2 a0 7f92 0 1 0 1", "abort ezusb-2 5",
                                             "bulk ezusb-2 0 0 -"}));
}

// A stalled interface holds each request until the stall is lifted, the request's stop flag is
// set, or its timeout passes; only the first is taken.
TEST(SimUsbDriverThreads, StalledRequestsEndByLiftStopOrTimeout) {
  using namespace std::chrono_literals;
  enum End { Lift, Stop, Timeout };
  const uint8_t byte = 7;
  TVendorRequest vendor;
  const std::vector<std::function<bool(TSimUsbDriver&, TUsbStop)>> requests = {
      [&](TSimUsbDriver& sim, TUsbStop stop) { return sim.BulkWrite(0, 1, &byte, 1, stop); },
      [&](TSimUsbDriver& sim, TUsbStop stop) { return sim.VendorRequest(0, vendor, stop); },
      [&](TSimUsbDriver& sim, TUsbStop stop) { return sim.AbortPipe(0, 3, stop); },
  };
  for (const auto& request : requests) {
    for (End end : {Lift, Stop, Timeout}) {
      TSimUsbDriver sim("0");
      std::atomic<bool> stop{false};
      sim.SetStalled(true, end == Timeout ? 20ms : 1min);
      auto result = std::async(std::launch::async, [&] { return request(sim, &stop); });
      while (sim.WaitingRequests() == 0) std::this_thread::sleep_for(1ms);
      if (end == Lift) sim.SetStalled(false);
      if (end == Stop) stop = true;
      ASSERT_EQ(result.wait_for(30s), std::future_status::ready) << end;
      EXPECT_EQ(result.get(), end == Lift) << end;
      EXPECT_EQ(sim.Packets().size(), end == Lift ? 1u : 0u) << end;
      EXPECT_EQ(sim.WaitingRequests(), 0u);
    }
  }
  // A request whose stop flag is already set does not wait at all.
  TSimUsbDriver sim("0");
  sim.SetStalled(true, 1min);
  const std::atomic<bool> stopped{true};
  for (const auto& request : requests) EXPECT_FALSE(request(sim, &stopped));
  EXPECT_TRUE(sim.Packets().empty());
}

TEST(ActiveUsbDriver, IsTheSimulationWhenTheEnvironmentAsksForIt) {
  setenv("KAVRI_SIM_DEVICES", "4", 1);
  SetActiveUsbDriver(nullptr);
  auto driver = ActiveUsbDriver();
  auto* sim = dynamic_cast<TSimUsbDriver*>(driver.get());
  ASSERT_NE(sim, nullptr);
  EXPECT_TRUE(sim->Open(4));
  EXPECT_FALSE(sim->Open(0));

  auto mine = std::make_shared<TSimUsbDriver>("9");
  SetActiveUsbDriver(mine);
  EXPECT_EQ(ActiveUsbDriver(), mine);

  unsetenv("KAVRI_SIM_DEVICES");
  SetActiveUsbDriver(nullptr);
  EXPECT_EQ(dynamic_cast<TSimUsbDriver*>(ActiveUsbDriver().get()), nullptr);
  SetActiveUsbDriver(nullptr);
}

}  // namespace
}  // namespace kavri

namespace kavri {
namespace {

TEST(SimUsbDriverThreads, WritesTakeAsLongAsARealInterfaceDrawsThem) {
  TSimUsbDriver sim("0,1");
  sim.SetPointRate([] { return 30000.0; });  // scan delay 75
  const std::vector<uint8_t> frame(6000 * 8, 0);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(sim.BulkWrite(0, 1, frame.data(), frame.size(), nullptr));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(seconds, 0.19);
  EXPECT_LT(seconds, 2.0);

  // A stop cuts the wait short; the next write does not wait for what was cancelled.
  std::atomic<bool> stop{false};
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    stop = true;
  });
  const auto cut = std::chrono::steady_clock::now();
  EXPECT_TRUE(sim.BulkWrite(1, 1, frame.data(), frame.size(), &stop));
  stopper.join();
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - cut).count(), 0.19);
  const auto small = std::chrono::steady_clock::now();
  const std::vector<uint8_t> point(8, 0);
  ASSERT_TRUE(sim.BulkWrite(1, 1, point.data(), point.size(), nullptr));
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - small).count(), 0.15);
}

}  // namespace
}  // namespace kavri
