// Real laser interfaces through libusb. Devices with the laser vendor id get the names "ezusb-N"
// in stable slots: the lowest free number when first seen, kept while the device stays attached.
#include <libusb.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "platform/usb/usb_driver.h"

namespace kavri {

namespace {

// libusb's outcome of a finished transfer as one of its error codes (0: completed).
int TransferResult(libusb_transfer_status status) {
  switch (status) {
    case LIBUSB_TRANSFER_COMPLETED: return 0;
    case LIBUSB_TRANSFER_TIMED_OUT: return LIBUSB_ERROR_TIMEOUT;
    case LIBUSB_TRANSFER_CANCELLED: return LIBUSB_ERROR_INTERRUPTED;
    case LIBUSB_TRANSFER_STALL: return LIBUSB_ERROR_PIPE;
    case LIBUSB_TRANSFER_NO_DEVICE: return LIBUSB_ERROR_NO_DEVICE;
    case LIBUSB_TRANSFER_OVERFLOW: return LIBUSB_ERROR_OVERFLOW;
    default: return LIBUSB_ERROR_IO;
  }
}

constexpr auto kOpenRetryInterval = std::chrono::milliseconds(500);

// Why a device did not open, from libusb's error code.
TUsbFault FaultOf(int rc) {
  switch (rc) {
    case 0: return TUsbFault::None;
    case LIBUSB_ERROR_ACCESS: return TUsbFault::NoAccess;
    case LIBUSB_ERROR_BUSY: return TUsbFault::Busy;
    case LIBUSB_ERROR_NO_DEVICE:
    case LIBUSB_ERROR_NOT_FOUND: return TUsbFault::Gone;
    default: return TUsbFault::Failed;
  }
}

void LIBUSB_CALL MarkCompleted(libusb_transfer* transfer) { *static_cast<int*>(transfer->user_data) = 1; }

// Runs a filled transfer to its end on the calling thread, as libusb's own synchronous calls do,
// but cancels it once its stop flag gives up. Returns a libusb error code (0: completed).
int RunTransfer(libusb_context* context, libusb_transfer* transfer, TUsbStop stop) {
  int completed = 0;
  transfer->user_data = &completed;
  transfer->callback = MarkCompleted;
  if (const int rc = libusb_submit_transfer(transfer); rc != 0) return rc;
  TUsbStopWatch watch(stop);
  bool cancelled = false;
  while (!completed) {
    timeval poll{0, 10000};  // how often the stop flag is looked at
    const int rc = libusb_handle_events_timeout_completed(context, &poll, &completed);
    const bool broken = rc < 0 && rc != LIBUSB_ERROR_INTERRUPTED;
    if (!completed && !cancelled && (broken || watch.GiveUp())) {
      libusb_cancel_transfer(transfer);
      cancelled = true;
    }
  }
  return TransferResult(transfer->status);
}

struct TLibusbDevice {
  explicit TLibusbDevice(libusb_device* d) : device(libusb_ref_device(d)), transfer(libusb_alloc_transfer(0)) {
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_active_config_descriptor(device, &config) == 0 && config) {
      if (config->bNumInterfaces > 0 && config->interface[0].num_altsetting > 0) {
        const libusb_interface_descriptor& alt = config->interface[0].altsetting[0];
        for (int i = 0; i < alt.bNumEndpoints; ++i) endpoints.push_back(alt.endpoint[i].bEndpointAddress);
      }
      libusb_free_config_descriptor(config);
    }
  }
  ~TLibusbDevice() {
    CloseHandle();
    libusb_free_transfer(transfer);
    libusb_unref_device(device);
  }
  TLibusbDevice(const TLibusbDevice&) = delete;
  TLibusbDevice& operator=(const TLibusbDevice&) = delete;

  // Called with `mutex` held. Returns a libusb error code (0: the handle is open). A device that
  // would not open is tried again only after kOpenRetryInterval; until then requests fail at once
  // for the same reason, so loops writing every frame to it do not open it every frame.
  int EnsureHandle() {
    if (handle) return 0;
    const auto now = std::chrono::steady_clock::now();
    if (openError != 0 && now < retryAt) return openError;
    openError = OpenHandle();
    if (openError != 0) retryAt = now + kOpenRetryInterval;
    return openError;
  }
  int OpenHandle() {
    if (const int rc = libusb_open(device, &handle); rc != 0) {
      handle = nullptr;
      NoteResult(rc);
      return rc;
    }
    int rc = libusb_claim_interface(handle, 0);
    if (rc == LIBUSB_ERROR_BUSY && libusb_kernel_driver_active(handle, 0) == 1 &&
        libusb_detach_kernel_driver(handle, 0) == 0)
      rc = libusb_claim_interface(handle, 0);
    if (rc != 0) {
      libusb_close(handle);
      handle = nullptr;
      NoteResult(rc);
    }
    return rc;
  }
  void CloseHandle() {
    if (!handle) return;
    libusb_release_interface(handle, 0);
    libusb_close(handle);
    handle = nullptr;
  }
  // A device that went away keeps failing fast instead of waiting for timeouts, and its name is
  // looked up anew, so an interface put back reaches its loops again without a new detection.
  void NoteResult(int rc) {
    if (rc != LIBUSB_ERROR_NO_DEVICE) return;
    CloseHandle();
    gone = true;
  }
  std::optional<uint8_t> Endpoint(uint32_t pipe) const {
    if (pipe >= endpoints.size()) return std::nullopt;
    return endpoints[pipe];
  }

  libusb_device* device;
  libusb_device_handle* handle = nullptr;
  libusb_transfer* transfer;       // reused by every request; guarded by `mutex`
  std::vector<uint8_t> endpoints;  // interface 0, in descriptor order: pipe N is endpoints[N]
  std::mutex mutex;                // one request at a time per device
  int openError = 0;               // why the last open failed (guarded by `mutex`)
  std::chrono::steady_clock::time_point retryAt;  // when to try opening again after that
  std::atomic<bool> gone{false};   // the device answered "no such device"
};

class TLibusbDriver : public TUsbDriver {
 public:
  explicit TLibusbDriver(std::chrono::milliseconds timeout)
      : timeoutMs_(static_cast<unsigned>(std::clamp<int64_t>(timeout.count(), 1, UINT32_MAX))) {
    if (libusb_init(&context_) != 0) context_ = nullptr;
  }
  ~TLibusbDriver() override {
    for (auto& slot : slots_) slot.reset();
    if (context_) libusb_exit(context_);
  }

  bool Open(int number) override {
    if (!context_ || number < 0 || number > kMaxUsbDeviceNumber) return false;
    std::lock_guard lock(slotsMutex_);
    Rescan();
    return slots_[number] != nullptr;
  }

  bool ReadDeviceDescriptor(int number, TUsbDeviceDescriptor& out) override {
    auto dev = Slot(number);
    if (!dev) return false;
    libusb_device_descriptor d{};
    if (libusb_get_device_descriptor(dev->device, &d) != 0) return false;
    out = {d.bLength, d.bDescriptorType, static_cast<uint8_t>(d.bcdUSB), static_cast<uint8_t>(d.bcdUSB >> 8),
           d.bDeviceClass, d.bDeviceSubClass, d.bDeviceProtocol, d.bMaxPacketSize0,
           static_cast<uint8_t>(d.idVendor), static_cast<uint8_t>(d.idVendor >> 8),
           static_cast<uint8_t>(d.idProduct), static_cast<uint8_t>(d.idProduct >> 8),
           static_cast<uint8_t>(d.bcdDevice), static_cast<uint8_t>(d.bcdDevice >> 8),
           d.iManufacturer, d.iProduct, d.iSerialNumber, d.bNumConfigurations};
    return true;
  }

  bool VendorRequest(int number, const TVendorRequest& r, TUsbStop stop) override {
    auto dev = RequestSlot(number);
    if (!dev || r.length > 1) return false;
    std::lock_guard lock(dev->mutex);
    if (!dev->transfer || TUsbStopWatch(stop).Requested() || !Opened(number, *dev)) return false;
    const uint8_t type = static_cast<uint8_t>(r.direction ? LIBUSB_ENDPOINT_IN : LIBUSB_ENDPOINT_OUT) |
                         static_cast<uint8_t>(LIBUSB_REQUEST_TYPE_VENDOR) |
                         LIBUSB_RECIPIENT_DEVICE;
    std::array<uint8_t, LIBUSB_CONTROL_SETUP_SIZE + 1> buffer{};
    libusb_fill_control_setup(buffer.data(), type, r.request, r.value, r.index, r.length);
    buffer[LIBUSB_CONTROL_SETUP_SIZE] = r.data;
    libusb_fill_control_transfer(dev->transfer, dev->handle, buffer.data(), nullptr, nullptr, timeoutMs_);
    const int rc = RunTransfer(context_, dev->transfer, stop);
    NoteResult(number, *dev, rc);
    return rc == 0 && dev->transfer->actual_length == r.length;
  }

  bool AbortPipe(int number, uint32_t pipe, TUsbStop stop) override {
    auto dev = RequestSlot(number);
    if (!dev) return false;
    const auto endpoint = dev->Endpoint(pipe);
    if (!endpoint) return false;
    std::lock_guard lock(dev->mutex);
    // Clearing a halt cannot be cancelled once asked for; a stop only keeps it from starting.
    if (TUsbStopWatch(stop).Requested() || !Opened(number, *dev)) return false;
    // Nothing of ours is pending between calls; leave the pipe ready by clearing any stall.
    const int rc = libusb_clear_halt(dev->handle, *endpoint);
    NoteResult(number, *dev, rc);
    return rc == 0;
  }

  bool BulkWrite(int number, uint32_t pipe, const uint8_t* data, size_t length, TUsbStop stop) override {
    auto dev = RequestSlot(number);
    if (!dev || length > static_cast<size_t>(INT32_MAX)) return false;
    const auto endpoint = dev->Endpoint(pipe);
    if (!endpoint || (*endpoint & LIBUSB_ENDPOINT_IN)) return false;
    std::lock_guard lock(dev->mutex);
    if (!dev->transfer || TUsbStopWatch(stop).Requested() || !Opened(number, *dev)) return false;
    libusb_fill_bulk_transfer(dev->transfer, dev->handle, *endpoint, const_cast<uint8_t*>(data),
                              static_cast<int>(length), nullptr, nullptr, timeoutMs_);
    const int rc = RunTransfer(context_, dev->transfer, stop);
    NoteResult(number, *dev, rc);
    return rc == 0 && static_cast<size_t>(dev->transfer->actual_length) == length;
  }

  TUsbFault Claim(int number) override {
    auto dev = RequestSlot(number);
    if (!dev) return OpenFault(number);
    // Detection calls this on the window thread, which must not wait for a loop's write to an
    // interface that takes nothing; a request under way opens the device itself and keeps why not.
    std::unique_lock lock(dev->mutex, std::try_to_lock);
    if (lock.owns_lock()) Opened(number, *dev);
    return OpenFault(number);
  }

  TUsbFault OpenFault(int number) const override {
    if (number < 0 || number > kMaxUsbDeviceNumber) return TUsbFault::Gone;
    return faults_[number].load(std::memory_order_relaxed);
  }

 private:
  // The device a request goes to; when there is none, the request finds the interface gone.
  std::shared_ptr<TLibusbDevice> RequestSlot(int number) {
    auto dev = Slot(number);
    if (!dev && number >= 0 && number <= kMaxUsbDeviceNumber)
      faults_[number].store(context_ ? TUsbFault::Gone : TUsbFault::Failed, std::memory_order_relaxed);
    return dev;
  }
  // Opens the device's handle (its mutex held) and keeps why it did not open.
  bool Opened(int number, TLibusbDevice& dev) {
    const int rc = dev.EnsureHandle();
    faults_[number].store(FaultOf(rc), std::memory_order_relaxed);
    return rc == 0;
  }
  void NoteResult(int number, TLibusbDevice& dev, int rc) {
    dev.NoteResult(rc);
    if (rc == LIBUSB_ERROR_NO_DEVICE) faults_[number].store(TUsbFault::Gone, std::memory_order_relaxed);
  }

  std::shared_ptr<TLibusbDevice> Slot(int number) {
    if (!context_ || number < 0 || number > kMaxUsbDeviceNumber) return nullptr;
    std::lock_guard lock(slotsMutex_);
    // A name not seen yet may belong to a device attached since the last look, and one whose
    // device went away to a device put back since.
    if (!slots_[number] || slots_[number]->gone) Rescan();
    return slots_[number];
  }

  // Called with slotsMutex_ held.
  void Rescan() {
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) return;
    std::vector<libusb_device*> present(list, list + count);
    for (auto& slot : slots_)
      if (slot && std::find(present.begin(), present.end(), slot->device) == present.end()) slot.reset();
    std::vector<libusb_device*> fresh;
    for (libusb_device* d : present) {
      libusb_device_descriptor desc{};
      if (libusb_get_device_descriptor(d, &desc) != 0 || desc.idVendor != kLaserVendorId) continue;
      const bool known = std::any_of(slots_.begin(), slots_.end(), [d](const auto& s) { return s && s->device == d; });
      if (!known) fresh.push_back(d);
    }
    std::sort(fresh.begin(), fresh.end(), [](libusb_device* a, libusb_device* b) {
      return std::pair(libusb_get_bus_number(a), libusb_get_device_address(a)) <
             std::pair(libusb_get_bus_number(b), libusb_get_device_address(b));
    });
    size_t next = 0;
    for (libusb_device* d : fresh) {
      while (next < slots_.size() && slots_[next]) ++next;
      if (next == slots_.size()) break;
      slots_[next] = std::make_shared<TLibusbDevice>(d);
    }
    libusb_free_device_list(list, 1);
  }

  libusb_context* context_ = nullptr;
  unsigned timeoutMs_;
  std::mutex slotsMutex_;
  std::array<std::shared_ptr<TLibusbDevice>, kMaxUsbDeviceNumber + 1> slots_;
  std::array<std::atomic<TUsbFault>, kMaxUsbDeviceNumber + 1> faults_{};
};

}  // namespace

std::shared_ptr<TUsbDriver> MakeLibusbDriver(std::chrono::milliseconds timeout) {
  return std::make_shared<TLibusbDriver>(timeout);
}

}  // namespace kavri
