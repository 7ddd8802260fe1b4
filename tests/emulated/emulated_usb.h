#pragma once
// USB devices emulated by libumockdev for the libusb backend: the testbed publishes them in sysfs
// and answers the usbfs requests of their device nodes, as the kernel would. The test programs
// run under umockdev-wrapper (LD_PRELOAD of the umockdev library).
#include <umockdev.h>

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace kavri_test {

using Bytes = std::vector<uint8_t>;

struct TRequest {
  enum Kind { Control, Bulk, ClearHalt } kind;
  uint8_t endpoint = 0;
  Bytes setup;  // control: the 8-byte setup packet
  Bytes data;
};

// One emulated device: answers usbfs ioctls on the testbed's thread and records what arrives.
// Its descriptors give interface 0 bulk OUT endpoints 0x01, 0x02, 0x04 and 0x06 (pipes 0 to 3)
// and bulk IN 0x88 (pipe 4).
struct TEmulatedDevice {
  std::mutex mutex;
  bool unplugged = false;                // every request fails with "no such device"
  bool stalled = false;                  // bulk URBs are held, as by an interface that takes nothing
  bool heldElsewhere = false;            // claiming interface 0 fails: another program has it
  std::deque<UMockdevIoctlData*> held;   // bulk URBs held by the stall, until discarded
  std::deque<UMockdevIoctlData*> done;   // submitted URBs waiting to be reaped
  std::vector<TRequest> requests;
  int claims = 0;                        // requests to claim interface 0, taken or not

  // Back to a fresh device (a suite set up again on a repeated run).
  void Reset() {
    std::lock_guard lock(mutex);
    unplugged = stalled = heldElsewhere = false;
    held.clear();
    done.clear();
    requests.clear();
    claims = 0;
  }
  void SetStalled(bool value) {
    std::lock_guard lock(mutex);
    stalled = value;
  }
  void SetHeldElsewhere(bool value) {
    std::lock_guard lock(mutex);
    heldElsewhere = value;
  }
  size_t Held() {
    std::lock_guard lock(mutex);
    return held.size();
  }
  std::vector<TRequest> Requests() {
    std::lock_guard lock(mutex);
    return requests;
  }
  int Claims() {
    std::lock_guard lock(mutex);
    return claims;
  }
  size_t BulkCount() {
    std::lock_guard lock(mutex);
    size_t n = 0;
    for (const auto& r : requests) n += r.kind == TRequest::Bulk;
    return n;
  }
  // Held URBs come back failed with "no such device".
  void Unplug();
};

// A testbed with devices on bus 1. One at a time per process: it sets the preload's testbed.
class TEmulatedBus {
 public:
  TEmulatedBus();
  ~TEmulatedBus();
  TEmulatedBus(const TEmulatedBus&) = delete;
  TEmulatedBus& operator=(const TEmulatedBus&) = delete;

  // Adds a device ("1-1", device number, vendor id) whose requests `dev` answers, and its node.
  bool Add(const char* name, int devnum, uint16_t vendor, TEmulatedDevice* dev, std::string* error = nullptr);
  // The device node of a device number as a program opens it, and the file standing for it.
  static std::string NodeOf(int devnum);
  std::string NodeFileOf(int devnum) const;
  std::string Root() const;
  UMockdevTestbed* Testbed() const { return testbed_; }

 private:
  UMockdevTestbed* testbed_;
  std::vector<UMockdevIoctlBase*> handlers_;
};

}  // namespace kavri_test
