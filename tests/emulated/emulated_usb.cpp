#include "tests/emulated/emulated_usb.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace kavri_test {

namespace {

Bytes Descriptors(uint16_t vendor) {
  Bytes d = {18, 1, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 64, static_cast<uint8_t>(vendor), static_cast<uint8_t>(vendor >> 8),
             0x01, 0x00, 0x01, 0x00, 0, 0, 0, 1};
  const uint8_t endpoints[] = {0x01, 0x02, 0x04, 0x06, 0x88};
  const uint16_t total = 9 + 9 + 7 * sizeof endpoints;
  const Bytes config = {9, 2, static_cast<uint8_t>(total), static_cast<uint8_t>(total >> 8), 1, 1, 0, 0x80, 50};
  const Bytes interface = {9, 4, 0, 0, sizeof endpoints, 0xFF, 0xFF, 0xFF, 0};
  d.insert(d.end(), config.begin(), config.end());
  d.insert(d.end(), interface.begin(), interface.end());
  for (uint8_t ep : endpoints) d.insert(d.end(), {7, 5, ep, 2, 64, 0, 0});
  return d;
}

gboolean HandleIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer userData) {
  auto* dev = static_cast<TEmulatedDevice*>(userData);
  const gulong request = umockdev_ioctl_client_get_request(client);
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  GError* error = nullptr;
  std::lock_guard lock(dev->mutex);
  // Unplugged, a device answers nothing but gives back what was submitted before, as the kernel
  // completes the pending URBs of a device that goes away.
  const bool reap = request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY;
  if (dev->unplugged && !(reap && !dev->done.empty())) {
    umockdev_ioctl_client_complete(client, -1, ENODEV);
    return TRUE;
  }
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* caps = umockdev_ioctl_data_resolve(arg, 0, sizeof(uint32_t), &error);
      // Like an older kernel: bulk transfers above 16 KiB arrive as several URBs, so frames of
      // concurrent writers could interleave unless the driver keeps them apart.
      const uint32_t value = USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION;
      std::memcpy(caps->data, &value, sizeof value);
      g_object_unref(caps);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_CLAIMINTERFACE:
      ++dev->claims;
      if (dev->heldElsewhere) {
        umockdev_ioctl_client_complete(client, -1, EBUSY);
        return TRUE;
      }
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    case USBDEVFS_RELEASEINTERFACE:
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    case USBDEVFS_CLEAR_HALT: {
      UMockdevIoctlData* ep = umockdev_ioctl_data_resolve(arg, 0, sizeof(unsigned int), &error);
      unsigned int endpoint = 0;
      std::memcpy(&endpoint, ep->data, sizeof endpoint);
      g_object_unref(ep);
      dev->requests.push_back({TRequest::ClearHalt, static_cast<uint8_t>(endpoint), {}, {}});
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_SUBMITURB: {
      UMockdevIoctlData* urbData = umockdev_ioctl_data_resolve(arg, 0, sizeof(usbdevfs_urb), &error);
      auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
      UMockdevIoctlData* buffer = nullptr;
      if (urb->buffer_length > 0)
        buffer = umockdev_ioctl_data_resolve(urbData, offsetof(usbdevfs_urb, buffer), urb->buffer_length, &error);
      urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
      const Bytes bytes = buffer ? Bytes(buffer->data, buffer->data + buffer->data_len) : Bytes{};
      if (urb->type == USBDEVFS_URB_TYPE_CONTROL && bytes.size() >= 8) {
        dev->requests.push_back({TRequest::Control, 0, Bytes(bytes.begin(), bytes.begin() + 8),
                                 Bytes(bytes.begin() + 8, bytes.end())});
        urb->actual_length = static_cast<int>(bytes.size() - 8);
      } else if (urb->type == USBDEVFS_URB_TYPE_BULK && dev->stalled) {
        if (buffer) g_object_unref(buffer);
        dev->held.push_back(urbData);
        umockdev_ioctl_client_complete(client, 0, 0);
        return TRUE;
      } else if (urb->type == USBDEVFS_URB_TYPE_BULK) {
        dev->requests.push_back({TRequest::Bulk, urb->endpoint, {}, bytes});
        urb->actual_length = urb->buffer_length;
      }
      urb->status = 0;
      if (buffer) g_object_unref(buffer);
      dev->done.push_back(urbData);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_DISCARDURB: {
      // The argument is the caller's URB pointer: give that URB back as cancelled.
      gulong address = 0;
      std::memcpy(&address, arg->data, sizeof address);
      const auto it = std::find_if(dev->held.begin(), dev->held.end(),
                                   [address](UMockdevIoctlData* u) { return u->client_addr == address; });
      if (it == dev->held.end()) {
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return TRUE;
      }
      auto* urb = reinterpret_cast<usbdevfs_urb*>((*it)->data);
      urb->status = -ENOENT;
      urb->actual_length = 0;
      dev->done.push_back(*it);
      dev->held.erase(it);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY: {
      if (dev->done.empty()) {
        umockdev_ioctl_client_complete(client, -1, EAGAIN);
        return TRUE;
      }
      UMockdevIoctlData* urbData = dev->done.front();
      dev->done.pop_front();
      // The argument points at the caller's URB pointer; make that point at the reaped URB.
      UMockdevIoctlData* slot = umockdev_ioctl_data_resolve(arg, 0, sizeof(void*), &error);
      umockdev_ioctl_data_set_ptr(slot, 0, urbData);
      g_object_unref(slot);
      g_object_unref(urbData);
      umockdev_ioctl_client_complete(client, 0, 0);
      return TRUE;
    }
    default:
      umockdev_ioctl_client_complete(client, -1, ENOTTY);
      return TRUE;
  }
}


}  // namespace

void TEmulatedDevice::Unplug() {
  std::lock_guard lock(mutex);
  unplugged = true;
  for (UMockdevIoctlData* urbData : held) {
    auto* urb = reinterpret_cast<usbdevfs_urb*>(urbData->data);
    urb->status = -ENODEV;
    urb->actual_length = 0;
    done.push_back(urbData);
  }
  held.clear();
}

TEmulatedBus::TEmulatedBus() : testbed_(umockdev_testbed_new()) {}

TEmulatedBus::~TEmulatedBus() {
  for (auto* h : handlers_) g_object_unref(h);
  g_object_unref(testbed_);
}

std::string TEmulatedBus::NodeOf(int devnum) {
  char devnode[40];
  std::snprintf(devnode, sizeof devnode, "/dev/bus/usb/001/%03d", devnum);
  return devnode;
}

std::string TEmulatedBus::Root() const {
  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  std::string path = root;
  g_free(root);
  return path;
}

std::string TEmulatedBus::NodeFileOf(int devnum) const { return Root() + NodeOf(devnum); }

// The device in umockdev's record format, which also creates its device node.
bool TEmulatedBus::Add(const char* name, int devnum, uint16_t vendor, TEmulatedDevice* dev, std::string* error) {
  const std::string devnode = NodeOf(devnum);
  std::string hex;
  char digits[4];
  for (uint8_t b : Descriptors(vendor)) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    hex += digits;
  }
  char vendorText[8];
  std::snprintf(vendorText, sizeof vendorText, "%04x", vendor);
  const std::string record = std::string("P: /devices/pci0000:00/usb1/") + name + "\n" +
                             "N: " + devnode.substr(5) + "\n" +
                             "E: DEVNAME=" + devnode + "\n" +
                             "E: DEVTYPE=usb_device\n" +
                             "E: SUBSYSTEM=usb\n" +
                             "A: busnum=1\\n\n" +
                             "A: devnum=" + std::to_string(devnum) + "\\n\n" +
                             "A: idVendor=" + vendorText + "\\n\n" +
                             "A: speed=12\\n\n" +
                             "A: bConfigurationValue=1\\n\n" +
                             "A: dev=189:" + std::to_string(devnum - 1) + "\\n\n" +
                             "H: descriptors=" + hex + "\n";
  GError* e = nullptr;
  if (!umockdev_testbed_add_from_string(testbed_, record.c_str(), &e)) {
    if (error) *error = e ? e->message : "add failed";
    return false;
  }
  UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
  g_signal_connect(handler, "handle-ioctl", G_CALLBACK(HandleIoctl), dev);
  if (!umockdev_testbed_attach_ioctl(testbed_, devnode.c_str(), handler, &e)) {
    if (error) *error = e ? e->message : "attach failed";
    g_object_unref(handler);
    return false;
  }
  handlers_.push_back(handler);
  return true;
}

}  // namespace kavri_test
