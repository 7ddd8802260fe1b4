#include "platform/usb/usb_sim_driver.h"

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <thread>
#include <cstring>
#include <cstdio>
#include <optional>
#include <sstream>

namespace kavri {

namespace {

// Takes the full parsed value: cutting it to int first would let 2^32 pass as 0 (or index far out).
bool ValidNumber(long number) { return number >= 0 && number <= kMaxUsbDeviceNumber; }

// The whole of `text`, spaces around it aside, as an unsigned number in `base` (hex may start
// with "0x"); nothing when anything else is in it.
std::optional<long> WholeNumber(std::string text, int base) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.erase(0, 2);
  long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return "-";
  static const char digits[] = "0123456789abcdef";
  std::string s(bytes.size() * 2, '0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    s[2 * i] = digits[bytes[i] >> 4];
    s[2 * i + 1] = digits[bytes[i] & 15];
  }
  return s;
}

std::string CaptureLine(const TSimPacket& p) {
  char buf[160];
  switch (p.kind) {
    case TSimPacket::Bulk:
      return "bulk " + p.device + " " + std::to_string(p.pipe) + " " + std::to_string(p.bytes.size()) + " " +
             Hex(p.bytes) + "\n";
    case TSimPacket::Vendor:
      std::snprintf(buf, sizeof buf, "vendor %s %x %x %x %x %x %x\n", p.device.c_str(), p.vendor.request,
                    p.vendor.value, p.vendor.index, p.vendor.length, p.vendor.direction, p.vendor.data);
      return buf;
    case TSimPacket::Abort:
      return "abort " + p.device + " " + std::to_string(p.pipe) + "\n";
  }
  return {};
}

}  // namespace

TSimUsbDriver::TSimUsbDriver(const std::string& deviceList, const std::string& capturePath)
    : vendors_(kMaxUsbDeviceNumber + 1, -1),
      injected_(kMaxUsbDeviceNumber + 1, TUsbFault::None),
      openFaults_(kMaxUsbDeviceNumber + 1, TUsbFault::None),
      busyUntil_(kMaxUsbDeviceNumber + 1) {
  std::stringstream list(deviceList);
  std::string entry;
  std::string rejected;
  while (std::getline(list, entry, ',')) {
    auto fault = TUsbFault::None;
    if (const auto slash = entry.find('/'); slash != std::string::npos) {
      const std::string problem = entry.substr(slash + 1);
      fault = problem == "denied" ? TUsbFault::NoAccess : problem == "busy" ? TUsbFault::Busy : TUsbFault::Failed;
      if (fault == TUsbFault::Failed) {
        rejected += (rejected.empty() ? "\"" : ", \"") + entry + "\"";
        continue;
      }
      entry.erase(slash);
    }
    const auto colon = entry.find(':');
    const auto number = WholeNumber(entry.substr(0, colon), 10);
    const auto vendor = colon == std::string::npos ? std::optional<long>(kLaserVendorId)
                                                   : WholeNumber(entry.substr(colon + 1), 16);
    // A malformed entry ("3x", "0;3", "5:12zz") attaches nothing rather than a guess.
    if (number && vendor && ValidNumber(*number) && *vendor >= 0 && *vendor <= 0xFFFF) {
      vendors_[*number] = static_cast<int>(*vendor);
      injected_[*number] = fault;
    } else
      rejected += (rejected.empty() ? "\"" : ", \"") + entry + "\"";
  }
  if (!rejected.empty())
    problems_.push_back("KAVRI_SIM_DEVICES: ignored " + rejected + " (expected numbers 0 to " +
                        std::to_string(kMaxUsbDeviceNumber) +
                        ", optionally \":vendor\" in hex and \"/denied\" or \"/busy\", separated by commas)");
  if (!capturePath.empty()) {
    capture_ = std::fopen(capturePath.c_str(), "a");
    if (!capture_)
      problems_.push_back("KAVRI_SIM_CAPTURE: cannot open \"" + capturePath + "\" for writing (" +
                          std::strerror(errno) + "); nothing is captured");
  }
}

TSimUsbDriver::~TSimUsbDriver() {
  if (capture_) std::fclose(capture_);
}

bool TSimUsbDriver::Open(int number) {
  std::lock_guard lock(mutex_);
  return ValidNumber(number) && vendors_[number] >= 0 && !writesFail_;
}

bool TSimUsbDriver::ReadDeviceDescriptor(int number, TUsbDeviceDescriptor& out) {
  std::lock_guard lock(mutex_);
  if (!ValidNumber(number) || vendors_[number] < 0 || writesFail_) return false;
  const auto vendor = static_cast<uint16_t>(vendors_[number]);
  // A full-speed vendor-class device, product 0x0001, release 0.01, one configuration.
  out = {18, 1, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 64, static_cast<uint8_t>(vendor & 0xFF), static_cast<uint8_t>(vendor >> 8),
         0x01, 0x00, 0x01, 0x00, 0, 0, 0, 1};
  return true;
}

bool TSimUsbDriver::VendorRequest(int number, const TVendorRequest& request, TUsbStop stop) {
  TSimPacket p;
  p.kind = TSimPacket::Vendor;
  p.vendor = request;
  return Accept(number, std::move(p), stop);
}

bool TSimUsbDriver::AbortPipe(int number, uint32_t pipe, TUsbStop stop) {
  TSimPacket p;
  p.kind = TSimPacket::Abort;
  p.pipe = pipe;
  return Accept(number, std::move(p), stop);
}

bool TSimUsbDriver::BulkWrite(int number, uint32_t pipe, const uint8_t* data, size_t length, TUsbStop stop) {
  TSimPacket p;
  p.kind = TSimPacket::Bulk;
  p.pipe = pipe;
  p.bytes.assign(data, data + length);
  if (!Accept(number, std::move(p), stop)) return false;
  TakeAtPace(number, length, stop);
  return true;
}

void TSimUsbDriver::SetPointRate(std::function<double()> pointsPerSecond) {
  std::lock_guard lock(mutex_);
  pointRate_ = std::move(pointsPerSecond);
}

void TSimUsbDriver::TakeAtPace(int number, size_t length, TUsbStop stop) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point done;
  {
    std::lock_guard lock(mutex_);
    const double rate = pointRate_ ? pointRate_() : 0;
    if (rate <= 0) return;
    const auto duration = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(length / 8.0 / rate));
    // One interface takes its writes one after the other, as a device draining its buffer would.
    done = std::max(Clock::now(), busyUntil_[static_cast<size_t>(number)]) + duration;
    busyUntil_[static_cast<size_t>(number)] = done;
  }
  constexpr auto kSlice = std::chrono::milliseconds(5);
  TUsbStopWatch watch(stop);
  while (Clock::now() < done && !watch.Requested())
    std::this_thread::sleep_for(std::min<Clock::duration>(kSlice, done - Clock::now()));
  if (watch.Requested()) {
    std::lock_guard lock(mutex_);
    busyUntil_[static_cast<size_t>(number)] = Clock::now();  // a cancelled write leaves nothing queued
  }
}

bool TSimUsbDriver::Attached(int number) const {
  return ValidNumber(number) && vendors_[number] >= 0 && !writesFail_;
}

bool TSimUsbDriver::Opens(int number) {
  if (!ValidNumber(number)) return false;
  auto& fault = openFaults_[static_cast<size_t>(number)];
  fault = vendors_[number] < 0 ? TUsbFault::Gone : injected_[static_cast<size_t>(number)];
  return fault == TUsbFault::None;
}

TUsbFault TSimUsbDriver::Claim(int number) {
  std::lock_guard lock(mutex_);
  if (!ValidNumber(number)) return TUsbFault::Gone;
  Opens(number);
  return openFaults_[static_cast<size_t>(number)];
}

TUsbFault TSimUsbDriver::OpenFault(int number) const {
  std::lock_guard lock(mutex_);
  return ValidNumber(number) ? openFaults_[static_cast<size_t>(number)] : TUsbFault::Gone;
}

void TSimUsbDriver::SetOpenFault(int number, TUsbFault fault) {
  std::lock_guard lock(mutex_);
  if (ValidNumber(number)) injected_[static_cast<size_t>(number)] = fault;
}

bool TSimUsbDriver::Accept(int number, TSimPacket packet, TUsbStop stop) {
  std::unique_lock lock(mutex_);
  TUsbStopWatch watch(stop);
  if (watch.Requested() || !Opens(number) || !Attached(number)) return false;
  if (stalled_) {
    // Short slices: the stop flag is polled, as the libusb backend does.
    constexpr auto kPoll = std::chrono::milliseconds(5);
    const auto deadline = std::chrono::steady_clock::now() + stallTimeout_;
    ++waiting_;
    while (stalled_ && !watch.GiveUp() && std::chrono::steady_clock::now() < deadline)
      stallLifted_.wait_for(lock, kPoll);
    --waiting_;
    if (!Opens(number) || stalled_ || !Attached(number)) return false;
  }
  packet.device = UsbDeviceName(number);
  Record(std::move(packet));
  return true;
}

void TSimUsbDriver::Record(TSimPacket packet) {
  if (capture_) {
    const std::string line = CaptureLine(packet);
    std::fwrite(line.data(), 1, line.size(), capture_);
    std::fflush(capture_);
  }
  if (recordLimit_ == 0) return;
  while (packets_.size() >= recordLimit_) packets_.pop_front();
  packets_.push_back(std::move(packet));
}

void TSimUsbDriver::Plug(int number, uint16_t vendorId) {
  std::lock_guard lock(mutex_);
  if (ValidNumber(number)) vendors_[number] = vendorId;
}

void TSimUsbDriver::Unplug(int number) {
  std::lock_guard lock(mutex_);
  if (ValidNumber(number)) vendors_[number] = -1;
}

void TSimUsbDriver::SetWritesFail(bool fail) {
  std::lock_guard lock(mutex_);
  writesFail_ = fail;
}

void TSimUsbDriver::SetStalled(bool stalled, std::chrono::milliseconds timeout) {
  {
    std::lock_guard lock(mutex_);
    stalled_ = stalled;
    stallTimeout_ = timeout;
  }
  stallLifted_.notify_all();
}

size_t TSimUsbDriver::WaitingRequests() const {
  std::lock_guard lock(mutex_);
  return waiting_;
}

std::vector<TSimPacket> TSimUsbDriver::Packets() const {
  std::lock_guard lock(mutex_);
  return {packets_.begin(), packets_.end()};
}

void TSimUsbDriver::ClearPackets() {
  std::lock_guard lock(mutex_);
  packets_.clear();
}

void TSimUsbDriver::SetRecordLimit(size_t limit) {
  std::lock_guard lock(mutex_);
  recordLimit_ = limit;
  while (packets_.size() > limit) packets_.pop_front();
}

}  // namespace kavri
