#include "shell/device_detection.h"

#include "engine/usb_device.h"
#include "shell/device_labels.h"

namespace kavri {

std::vector<TDetectedDevice> DetectDevices() {
  std::vector<TDetectedDevice> found;
  for (int n = 0; n < kDeviceSlots; ++n) {
    const std::string name = UsbDeviceName(n);
    TUsbHandle handle;
    if (!OpenUsbDevice(handle, name)) continue;
    TUsbDeviceDescriptor descriptor{};
    const bool read = GetUsbDeviceDescriptor(handle, descriptor);
    CloseUsbDevice(handle);
    if (read && DescriptorVendorId(descriptor) == kLaserVendorId) found.push_back({name, DeviceLabelOf(n)});
  }
  return found;
}

}  // namespace kavri
