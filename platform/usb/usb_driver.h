#pragma once
// The laser interfaces as this program sees them: devices named "ezusb-N" (N = 0..127), each with
// the same four requests (device descriptor, vendor request, abort pipe, bulk write). Two backends
// serve them: real interfaces through libusb, and simulated ones for running without hardware.
#include <array>
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

// A backend. Every call is safe from any thread; calls for one device are serialised, so packets
// of concurrent writers arrive whole. Names are validated by the caller (ParseUsbDeviceName).
class TUsbDriver {
 public:
  virtual ~TUsbDriver() = default;
  // True when interface `number` is attached and can be talked to (looks for new devices).
  virtual bool Open(int number) = 0;
  virtual bool ReadDeviceDescriptor(int number, TUsbDeviceDescriptor& out) = 0;
  virtual bool VendorRequest(int number, const TVendorRequest& request) = 0;
  virtual bool AbortPipe(int number, uint32_t pipe) = 0;
  // True only when every byte went out on the pipe's endpoint within the driver's timeout.
  virtual bool BulkWrite(int number, uint32_t pipe, const uint8_t* data, size_t length) = 0;
};

// The driver every device operation uses. On first use it is the simulated backend when
// KAVRI_SIM_DEVICES is set (see usb_sim_driver.h), else the libusb backend.
std::shared_ptr<TUsbDriver> ActiveUsbDriver();
// Replaces the active driver (tests); nullptr goes back to the choice by environment.
void SetActiveUsbDriver(std::shared_ptr<TUsbDriver> driver);

std::shared_ptr<TUsbDriver> MakeLibusbDriver();

}  // namespace kavri
