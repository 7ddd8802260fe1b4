#include "engine/device_packets.h"

#include <cctype>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/interface_faults.h"
#include "engine/shared_state.h"
#include "platform/usb/usb_driver.h"
#include "platform/usb/usb_sim_driver.h"

namespace kavri {

namespace {

// Long enough to keep an idle loop off the CPU, short enough not to be noticed once a device is back.
constexpr auto kNothingSentPause = std::chrono::milliseconds(2);

// The interface numbers a thread sends to, refreshed only when the targets change.
struct TOutputTargets {
  uint32_t version = ~0u;
  int master = -1;
  std::vector<int> extras;

  void Refresh() {
    const uint32_t now = DeviceTargetsVersion();
    if (now == version) return;
    version = now;
    const auto masterNumber = ParseUsbDeviceName(CurrentDeviceName());
    master = masterNumber ? *masterNumber : -1;
    extras.clear();
    for (const std::string& label : SelectedDevices()) {
      std::string name = "ez" + label;
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      const auto n = ParseUsbDeviceName(name);
      extras.push_back(n ? *n : -1);
    }
  }
};

}  // namespace

int SendToAllOutputs(const uint8_t* data, size_t length) {
  thread_local TOutputTargets targets;
  targets.Refresh();
  int sent = 0;
  if (data && length > 0) {
    const auto driver = ActiveUsbDriver();
    const uint32_t pipe = UsbPipe.load(std::memory_order_relaxed);
    // A Stop must reach a loop whose write waits on an interface that takes nothing.
    const TUsbStop stop = &StopFlag;
    // An interface that cannot be opened is told to the window (once), not written to in silence.
    const auto write = [&](int number) {
      if (number < 0) return;
      const bool ok = driver->BulkWrite(number, pipe, data, length, stop);
      NoteInterfaceOpen(number, ok ? TUsbFault::None : driver->OpenFault(number));
      sent += ok ? 1 : 0;
    };
    write(targets.master);
    if (MultiDeviceFlag.load(std::memory_order_relaxed))
      for (int extra : targets.extras) write(extra);
  }
  if (sent == 0) std::this_thread::sleep_for(kNothingSentPause);
  return sent;
}

void PaceSimulatedInterfaces() {
  if (auto* sim = dynamic_cast<TSimUsbDriver*>(ActiveUsbDriver().get()))
    sim->SetPointRate([] { return static_cast<double>(InterfacePointRate(ScanDelay.load())); });
}

std::array<uint8_t, 4> MakeColourGainPacket() {
  return {RedSaturation.load(), GreenSaturation.load(), BlueSaturation.load(), Intensity.load()};
}

void TSettingsPacketSender::Send() {
  sentScan_ = ScanDelay.load();
  sentBlanking_ = BlankingDelay.load();
  const std::array<uint8_t, 2> packet{sentBlanking_, fixed_ ? fixedByte_ : sentScan_};
  SendToAllOutputs(packet.data(), packet.size());
}

bool TSettingsPacketSender::SendIfChanged() {
  if (ScanDelay.load() == sentScan_ && BlankingDelay.load() == sentBlanking_) return false;
  Send();
  return true;
}

void TColourGainSender::Send() {
  sent_ = MakeColourGainPacket();
  SendToAllOutputs(sent_.data(), sent_.size());
}

bool TColourGainSender::SendIfChanged() {
  if (MakeColourGainPacket() == sent_) return false;
  Send();
  return true;
}

}  // namespace kavri
