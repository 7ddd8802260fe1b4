#include "engine/usb_device.h"

namespace kavri {

bool OpenUsbDevice(TUsbHandle& handle, const std::string& deviceName) {
  handle.number = -1;
  const auto number = ParseUsbDeviceName(deviceName);
  if (!number || !ActiveUsbDriver()->Open(*number)) return false;
  handle.number = *number;
  return true;
}

void CloseUsbDevice(TUsbHandle& handle) { handle.number = -1; }

bool GetUsbDeviceDescriptor(const TUsbHandle& handle, TUsbDeviceDescriptor& descriptor) {
  return handle.valid() && ActiveUsbDriver()->ReadDeviceDescriptor(handle.number, descriptor);
}

TUsbFault ClaimUsbDevice(const std::string& deviceName) {
  const auto number = ParseUsbDeviceName(deviceName);
  return number ? ActiveUsbDriver()->Claim(*number) : TUsbFault::Gone;
}

bool AbortUsbPipe(const std::string& deviceName, uint32_t pipe, TUsbStop stop) {
  const auto number = ParseUsbDeviceName(deviceName);
  return number && ActiveUsbDriver()->AbortPipe(*number, pipe, stop);
}

bool ResetUsbDevice(const std::string& deviceName, TUsbStop stop) {
  const auto number = ParseUsbDeviceName(deviceName);
  if (!number) return false;
  auto driver = ActiveUsbDriver();
  TVendorRequest request;
  request.request = kResetVendorRequest;
  request.value = kCpuControlRegister;
  request.length = 1;
  request.data = 1;
  driver->VendorRequest(*number, request, stop);
  request.data = 0;
  return driver->VendorRequest(*number, request, stop);
}

bool UsbBulkWrite(const uint8_t* buffer, size_t length, const std::string& deviceName, uint32_t pipe,
                  TUsbStop stop) {
  if (!buffer || length == 0) return false;
  const auto number = ParseUsbDeviceName(deviceName);
  return number && ActiveUsbDriver()->BulkWrite(*number, pipe, buffer, length, stop);
}

}  // namespace kavri
