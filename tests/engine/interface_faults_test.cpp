#include "engine/interface_faults.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "engine/device_packets.h"
#include "engine/shared_state.h"
#include "tests/engine/usb_output_fixture.h"

namespace kavri {
namespace {

using TTold = std::vector<std::pair<int, TUsbFault>>;

// A window that records what it is told.
class InterfaceFaultNotices : public kavri_test::SimulatedInterfaces {
 protected:
  void SetUp() override {
    SimulatedInterfaces::SetUp();
    ForgetInterfaceFaults();
    // Notices that earlier tests posted are still queued: delivered now, they would reach this
    // window as news.
    QCoreApplication::processEvents();
    window = std::make_unique<QObject>();
    RegisterInterfaceFaultNotice(window.get(), [this](int number, TUsbFault fault) { told.emplace_back(number, fault); });
  }
  void TearDown() override {
    RegisterInterfaceFaultNotice(nullptr, nullptr);
    ForgetInterfaceFaults();
    SimulatedInterfaces::TearDown();
  }
  TTold Delivered() {
    QCoreApplication::processEvents();
    return std::exchange(told, {});
  }
  std::unique_ptr<QObject> window;
  TTold told;
};

TEST_F(InterfaceFaultNotices, ThePlayLoopsOutputTellsEachInterfaceThatCannotBeOpenedOnce) {
  sim->SetOpenFault(1, TUsbFault::NoAccess);
  SetCurrentDeviceName("ezusb-0");
  SetSelectedDevices({"Usb-1", "Usb-4"});
  MultiDeviceFlag = true;
  const uint8_t packet[] = {1, 2};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(SendToAllOutputs(packet, sizeof packet), 2);
  EXPECT_EQ(Delivered(), (TTold{{1, TUsbFault::NoAccess}}));

  sim->Unplug(4);
  sim->SetOpenFault(1, TUsbFault::Busy);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(SendToAllOutputs(packet, sizeof packet), 1);
  EXPECT_EQ(Delivered(), (TTold{{1, TUsbFault::Busy}, {4, TUsbFault::Gone}}));

  // Opening again is told too, so the window can drop its line; then a new fault is new news.
  sim->SetOpenFault(1, TUsbFault::None);
  SendToAllOutputs(packet, sizeof packet);
  EXPECT_EQ(Delivered(), (TTold{{1, TUsbFault::None}}));
  sim->SetOpenFault(1, TUsbFault::NoAccess);
  SendToAllOutputs(packet, sizeof packet);
  EXPECT_EQ(Delivered(), (TTold{{1, TUsbFault::NoAccess}}));

  // A write that the stop keeps from starting tells nothing.
  sim->SetOpenFault(1, TUsbFault::None);
  StopFlag = true;
  SendToAllOutputs(packet, sizeof packet);
  EXPECT_EQ(Delivered(), TTold{});
}

TEST_F(InterfaceFaultNotices, ManyWritersTellAChangeOnceAndAGoneWindowHearsNothingThreads) {
  std::vector<std::thread> writers;
  for (int t = 0; t < 3; ++t)
    writers.emplace_back([] {
      for (int i = 0; i < 2000; ++i) NoteInterfaceOpen(7, TUsbFault::Gone);
    });
  for (auto& w : writers) w.join();
  EXPECT_EQ(Delivered(), (TTold{{7, TUsbFault::Gone}}));

  // Posted, then the window goes before the event loop runs: dropped.
  NoteInterfaceOpen(7, TUsbFault::None);
  window.reset();
  EXPECT_EQ(Delivered(), TTold{});
  NoteInterfaceOpen(-1, TUsbFault::Gone);
  NoteInterfaceOpen(kMaxUsbDeviceNumber + 1, TUsbFault::Gone);
  EXPECT_EQ(Delivered(), TTold{});
}

}  // namespace
}  // namespace kavri
