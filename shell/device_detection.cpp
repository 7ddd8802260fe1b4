#include "shell/device_detection.h"

#include "engine/interface_faults.h"
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
    if (!read || DescriptorVendorId(descriptor) != kLaserVendorId) continue;
    found.push_back({name, DeviceLabelOf(n)});
    // Listed all the same: the operator learns why it would take nothing.
    NoteInterfaceOpen(n, ClaimUsbDevice(name));
  }
  return found;
}

}  // namespace kavri
