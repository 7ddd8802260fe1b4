#pragma once
// Simulated laser interfaces, for running and testing without hardware.
//
// KAVRI_SIM_DEVICES lists the attached interfaces by number, separated by commas: "0,3" attaches
// "ezusb-0" and "ezusb-3" with vendor id 0x9999; "5:1234" attaches number 5 with the (hex) vendor
// id 0x1234, which detection is expected to skip. An entry that is not wholly such a number
// ("3x", "5:12zz", "4294967296") attaches nothing and is named in Problems(). Set but empty means: simulation, nothing attached.
// "/denied" or "/busy" after an entry ("1/denied") attaches an interface that is listed but cannot
// be opened, as one without permission or held by another program.
//
// KAVRI_SIM_CAPTURE=path appends every request that an attached interface took to that file, one
// line each (fields separated by one space, ended by "\n"), flushed at once:
//   bulk <device> <pipe> <length> <bytes as lower-case hex, no spaces; "-" when empty>
//   vendor <device> <request> <value> <index> <length> <direction> <data>   (numbers in hex)
//   abort <device> <pipe>
// <device> is the device name ("ezusb-3"); <pipe> and the bulk <length> (in bytes) are decimal.
// Lines of several threads never mix. Failed requests are not recorded.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/usb/usb_driver.h"

namespace kavri {

struct TSimPacket {
  enum Kind { Bulk, Vendor, Abort } kind = Bulk;
  std::string device;
  uint32_t pipe = 0;
  std::vector<uint8_t> bytes;   // bulk data
  TVendorRequest vendor;        // vendor requests
};

class TSimUsbDriver : public TUsbDriver {
 public:
  // Attaches the interfaces of a KAVRI_SIM_DEVICES list; capturePath "" writes no capture file.
  explicit TSimUsbDriver(const std::string& deviceList = "", const std::string& capturePath = "");
  ~TSimUsbDriver() override;

  // What was wrong with the list or the capture path, one line each (empty when all was well).
  const std::vector<std::string>& Problems() const { return problems_; }

  bool Open(int number) override;
  bool ReadDeviceDescriptor(int number, TUsbDeviceDescriptor& out) override;
  bool VendorRequest(int number, const TVendorRequest& request, TUsbStop stop) override;
  bool AbortPipe(int number, uint32_t pipe, TUsbStop stop) override;
  bool BulkWrite(int number, uint32_t pipe, const uint8_t* data, size_t length, TUsbStop stop) override;
  TUsbFault Claim(int number) override;
  TUsbFault OpenFault(int number) const override;

  // Test controls.
  void Plug(int number, uint16_t vendorId = kLaserVendorId);
  void Unplug(int number);
  void SetWritesFail(bool fail);            // every request fails while set
  // While not None, the interface stays listed but no request opens it, for that reason.
  void SetOpenFault(int number, TUsbFault fault);
  // While stalled, a request to an attached interface waits as on an interface that takes
  // nothing: until the stall is lifted (then it is taken as usual), until its stop flag makes it
  // give up, or for `timeout`; the last two fail.
  void SetStalled(bool stalled, std::chrono::milliseconds timeout = kUsbRequestTimeout);
  size_t WaitingRequests() const;  // requests waiting in the stall now
  std::vector<TSimPacket> Packets() const;  // the recorded requests, oldest first
  void ClearPackets();
  // Takes bulk writes at a real interface's pace: a write of n points (8 bytes each) returns after
  // n / pointsPerSecond() seconds, counted from when the interface has taken the writes before it;
  // a set stop flag cuts the wait short. No function: writes return at once.
  void SetPointRate(std::function<double()> pointsPerSecond);
  // At most this many requests are kept in memory (the oldest are dropped), so a long run stays
  // small; the capture file keeps everything.
  void SetRecordLimit(size_t limit);

 private:
  // Records the request when the interface takes it.
  bool Accept(int number, TSimPacket packet, TUsbStop stop);
  bool Attached(int number) const;  // called with mutex_ held
  // Whether a request opens the interface; keeps why not (called with mutex_ held).
  bool Opens(int number);
  void Record(TSimPacket packet);
  void TakeAtPace(int number, size_t length, TUsbStop stop);

  mutable std::mutex mutex_;
  std::vector<int> vendors_;  // per number: vendor id, or -1 when not attached
  std::vector<TUsbFault> injected_;    // per number: why it will not open (SetOpenFault)
  std::vector<TUsbFault> openFaults_;  // per number: why the last request did not open it
  std::function<double()> pointRate_;
  std::vector<std::chrono::steady_clock::time_point> busyUntil_;  // per number
  bool writesFail_ = false;
  bool stalled_ = false;
  std::chrono::milliseconds stallTimeout_ = kUsbRequestTimeout;
  size_t waiting_ = 0;
  std::condition_variable stallLifted_;
  std::deque<TSimPacket> packets_;
  size_t recordLimit_ = 4096;
  std::FILE* capture_ = nullptr;
  std::vector<std::string> problems_;
};

}  // namespace kavri
