#pragma once
// The laser interfaces as this program sees them: devices named "ezusb-N" (N = 0..127), each with
// the same four requests (device descriptor, vendor request, abort pipe, bulk write). Two backends
// serve them: real interfaces through libusb, and simulated ones for running without hardware.
#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace kavri {

constexpr uint16_t kLaserVendorId = 0x9999;
constexpr int kMaxUsbDeviceNumber = 127;
constexpr size_t kMaxUsbDeviceNameLength = 59;
constexpr size_t kUsbDeviceDescriptorSize = 18;

using TUsbDeviceDescriptor = std::array<uint8_t, kUsbDeviceDescriptorSize>;

// The vendor id of a descriptor (16-bit little-endian at byte 8).
inline uint16_t DescriptorVendorId(const TUsbDeviceDescriptor& d) {
  return static_cast<uint16_t>(d[8] | (d[9] << 8));
}

// The interface number of a device name, compared without regard to case: "ezusb-3" and
// "EZUSB-3" give 3. Names longer than 59 characters, not of the form "ezusb-N" with N written
// plainly (no sign, no leading zero) or with N above 127 give nothing.
std::optional<int> ParseUsbDeviceName(const std::string& name);
std::string UsbDeviceName(int number);

// One vendor-type control request to the device (device recipient).
struct TVendorRequest {
  uint8_t request = 0;
  uint16_t value = 0;
  uint16_t index = 0;
  uint16_t length = 0;   // bytes of data, 0 or 1
  uint8_t direction = 0; // 0 = to the device
  uint8_t data = 0;
};

// How long one request may wait for an interface that does not answer.
constexpr std::chrono::milliseconds kUsbRequestTimeout{1000};
// A request already under way when its stop flag is set gets this long to finish, so a Stop does
// not cut short a frame that a healthy interface is still taking (64 KiB take about 60 ms at full
// speed); then it is cancelled.
constexpr std::chrono::milliseconds kUsbStopGrace{150};

// The stop flag of a request (nullptr: none). While it is set a request not started yet fails at
// once, and one under way fails within kUsbStopGrace, whatever the interface does.
using TUsbStop = const std::atomic<bool>*;

// Tells a request under way when to give up because of its stop flag: once the flag has been
// seen set for kUsbStopGrace. Polled by the backends while they wait.
class TUsbStopWatch {
 public:
  explicit TUsbStopWatch(TUsbStop stop) : stop_(stop) {}
  bool Requested() const { return stop_ && stop_->load(); }
  bool GiveUp() {
    if (!Requested()) return false;
    const auto now = std::chrono::steady_clock::now();
    if (!seen_) {
      seen_ = true;
      since_ = now;
    }
    return now - since_ >= kUsbStopGrace;
  }

 private:
  TUsbStop stop_;
  bool seen_ = false;
  std::chrono::steady_clock::time_point since_;
};

// Why an interface could not be opened, as the last request that tried found it.
enum class TUsbFault : uint8_t {
  None,      // it opened (or nothing has tried yet)
  NoAccess,  // this user may not open its device node
  Busy,      // another program holds it
  Gone,      // it is no longer attached
  Failed,    // it would not open for another reason
};

// A backend. Every call is safe from any thread; calls for one device are serialised, so packets
// of concurrent writers arrive whole. Names are validated by the caller (ParseUsbDeviceName).
class TUsbDriver {
 public:
  virtual ~TUsbDriver() = default;
  // True when interface `number` is attached and can be talked to (looks for new devices).
  virtual bool Open(int number) = 0;
  virtual bool ReadDeviceDescriptor(int number, TUsbDeviceDescriptor& out) = 0;
  virtual bool VendorRequest(int number, const TVendorRequest& request, TUsbStop stop) = 0;
  virtual bool AbortPipe(int number, uint32_t pipe, TUsbStop stop) = 0;
  // True only when every byte went out on the pipe's endpoint within kUsbRequestTimeout.
  virtual bool BulkWrite(int number, uint32_t pipe, const uint8_t* data, size_t length, TUsbStop stop) = 0;
  // Opens the interface for requests now, as a request would, and says why it could not. Never
  // waits for a request under way: that one opens it, and this gives what is known so far.
  virtual TUsbFault Claim(int number) = 0;
  // Why the last request to the interface could not open it; None once one did. Cheap: it
  // reads what the requests left.
  virtual TUsbFault OpenFault(int number) const = 0;
};

// The driver every device operation uses. On first use it is the simulated backend when
// KAVRI_SIM_DEVICES is set (see usb_sim_driver.h), else the libusb backend.
std::shared_ptr<TUsbDriver> ActiveUsbDriver();
// Replaces the active driver (tests); nullptr goes back to the choice by environment.
void SetActiveUsbDriver(std::shared_ptr<TUsbDriver> driver);

// `timeout`: how long one request may wait (tests lengthen it to tell a cancel from a timeout).
std::shared_ptr<TUsbDriver> MakeLibusbDriver(std::chrono::milliseconds timeout = kUsbRequestTimeout);

}  // namespace kavri
