#pragma once
// The four laser interface operations, on whichever USB driver is active (platform/usb). Each
// call is self-contained; the driver keeps one handle per device and serialises requests to it,
// so callers on several threads need no lock.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/usb/usb_driver.h"

namespace kavri {

// The firmware-load vendor request and the register that holds the interface's CPU in reset.
constexpr uint8_t kResetVendorRequest = 0xA0;
constexpr uint16_t kCpuControlRegister = 0x7F92;

// A device opened by OpenUsbDevice; only valid() handles reach the device.
struct TUsbHandle {
  int number = -1;
  bool valid() const { return number >= 0; }
};

// True when `deviceName` ("ezusb-N", any case, at most 59 characters) is an attached interface.
// The handle is left invalid otherwise.
bool OpenUsbDevice(TUsbHandle& handle, const std::string& deviceName);
void CloseUsbDevice(TUsbHandle& handle);
// The 18-byte USB device descriptor (vendor id: DescriptorVendorId).
bool GetUsbDeviceDescriptor(const TUsbHandle& handle, TUsbDeviceDescriptor& descriptor);

// Opens the interface for requests now, as the first write would, and says why it could not.
// Detection reads only the descriptor, which needs no permission; this tells what a write meets.
TUsbFault ClaimUsbDevice(const std::string& deviceName);

// `stop` (optional) makes a request give up, failed, as soon as it is set (see TUsbStop).
bool AbortUsbPipe(const std::string& deviceName, uint32_t pipe, TUsbStop stop = nullptr);
// Holds the interface's CPU in reset, then lets it run; true when the second request succeeded.
bool ResetUsbDevice(const std::string& deviceName, TUsbStop stop = nullptr);
// Writes the whole buffer on the pipe. A zero-length buffer is not sent (false).
bool UsbBulkWrite(const uint8_t* buffer, size_t length, const std::string& deviceName, uint32_t pipe,
                  TUsbStop stop = nullptr);

}  // namespace kavri
