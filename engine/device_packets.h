#pragma once
// What the play loops send to a laser interface: frames of device points, the settings packet
// and the colour gain packet, each sent to the master and then to every extra interface.
#include <array>
#include <cstddef>
#include <cstdint>

namespace kavri {

// One point as the interface takes it. flags: bit 0 blanked; 2 added when the point's kind > 1.
struct TDevicePoint {
  uint8_t x = 0;
  uint8_t zeroX = 0;
  uint8_t y = 0;
  uint8_t zeroY = 0;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
};
static_assert(sizeof(TDevicePoint) == 8, "a device point is 8 bytes on the wire");

constexpr size_t kMaxFramePoints = 8192;

inline uint8_t DeviceFlags(bool blanked, int32_t kind) {
  return static_cast<uint8_t>((blanked ? 1 : 0) + (kind > 1 ? 2 : 0));
}

// A frame being built: at most kMaxFramePoints points; the rest of a longer frame is cut.
// Lives for the whole play run, so building a frame allocates nothing.
class TFrameBuffer {
 public:
  void Clear() { count_ = 0; }
  // False (point dropped) once the frame is full.
  bool Append(const TDevicePoint& p) {
    if (count_ == kMaxFramePoints) return false;
    points_[count_++] = p;
    return true;
  }
  bool Full() const { return count_ == kMaxFramePoints; }
  size_t Count() const { return count_; }
  size_t ByteCount() const { return count_ * sizeof(TDevicePoint); }
  const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(points_.data()); }
  const TDevicePoint& operator[](size_t i) const { return points_[i]; }

 private:
  std::array<TDevicePoint, kMaxFramePoints> points_;
  size_t count_ = 0;
};

// Points a second an interface draws at a scan delay: the scan rate the Settings window shows.
inline int InterfacePointRate(uint8_t scanDelay) { return (225 - int{scanDelay}) * 200; }

// Makes simulated interfaces, when they are the active driver, take frames at that rate, so a
// loop without hardware neither spins a core nor floods the capture file.
void PaceSimulatedInterfaces();

// Sends a packet to the master interface (CurrentDeviceName), then, when MultiDeviceFlag is set,
// to each extra interface in SelectedDevices order (label "Usb-N" -> device "ezusb-N"), all on
// UsbPipe. Returns how many writes succeeded. Failed writes are not reported, but an interface
// that cannot be opened is noted for the window (NoteInterfaceOpen); when nothing went out
// (no interface attached, or an empty packet) it pauses briefly so a loop cannot spin a core.
// Once StopFlag is set no further write starts, and one under way gives up soon (TUsbStop).
int SendToAllOutputs(const uint8_t* data, size_t length);

// The settings packet: BlankingDelay, then ScanDelay (or a fixed byte of the caller's choice).
class TSettingsPacketSender {
 public:
  TSettingsPacketSender() = default;
  explicit TSettingsPacketSender(uint8_t fixedSecondByte) : fixed_(true), fixedByte_(fixedSecondByte) {}
  // Sends the packet with the live values and remembers them.
  void Send();
  // Sends again when ScanDelay or BlankingDelay differs from the values last sent.
  bool SendIfChanged();

 private:
  bool fixed_ = false;
  uint8_t fixedByte_ = 0;
  uint8_t sentScan_ = 0;
  uint8_t sentBlanking_ = 0;
};

// The colour gain packet: RedSaturation, GreenSaturation, BlueSaturation, Intensity.
class TColourGainSender {
 public:
  void Send();
  bool SendIfChanged();

 private:
  std::array<uint8_t, 4> sent_{};
};

std::array<uint8_t, 4> MakeColourGainPacket();

}  // namespace kavri
