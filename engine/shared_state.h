#pragma once
// State shared between the windows and the worker threads that play. Numbers are atomics under
// the names the windows and loops use; the device targets are read through a guarded snapshot.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace kavri {

// Output settings ("Settings" window and the settings file).
extern std::atomic<uint8_t> ScanDelay;        // 0..200, sent in the settings packet
extern std::atomic<uint8_t> BlankingDelay;    // 0..255
extern std::atomic<uint8_t> UsbPipe;          // pipe index of every bulk write
extern std::atomic<uint8_t> RedSaturation;    // gains in percent, 0..200
extern std::atomic<uint8_t> GreenSaturation;
extern std::atomic<uint8_t> BlueSaturation;
extern std::atomic<uint8_t> Intensity;
extern std::atomic<int32_t> HOffset;          // -256..254, subtracted from x
extern std::atomic<int32_t> VOffset;
extern std::atomic<int32_t> LocateAngle;      // degrees, 0..360
extern std::atomic<int32_t> HSize;            // 20 = 1:1, 0..40
extern std::atomic<int32_t> VSize;
extern std::atomic<int32_t> FrameInterval;    // ILDA frame interval in ms, 2..1000
extern std::atomic<int32_t> ImportTextLargeSize;
extern std::atomic<int32_t> QuickPlayLargeSize;

// Play flags.
extern std::atomic<bool> StopFlag;
extern std::atomic<bool> LoopFlag;
extern std::atomic<bool> PauseFlag;
extern std::atomic<bool> HInvertFlag;
extern std::atomic<bool> VInvertFlag;
extern std::atomic<bool> MultiDeviceFlag;
extern std::atomic<bool> WorkerRunningFlag;

// Change test: the loops' copies of the output settings; a difference sets PreviewDirtyFlag.
extern std::atomic<bool> PreviewDirtyFlag;
extern std::atomic<int32_t> LastHOffset;
extern std::atomic<int32_t> LastVOffset;
extern std::atomic<int32_t> LastHSize;
extern std::atomic<int32_t> LastVSize;
extern std::atomic<int32_t> LastLocateAngle;
extern std::atomic<bool> LastHInvert;
extern std::atomic<bool> LastVInvert;

// Text settings and device targets change on the window thread and are read by workers as copies.
std::string MediaPlayerPath();
void SetMediaPlayerPath(const std::string& path);

std::string CurrentDeviceName();                  // the master interface, "" when none
void SetCurrentDeviceName(const std::string& name);
std::vector<std::string> SelectedDevices();       // the extra interfaces for multiple output
void SetSelectedDevices(const std::vector<std::string>& names);
// Goes up whenever the master or the extra interfaces change, so a loop can keep its own copy of
// the targets and refresh it only then (no lock and no allocation per frame).
uint32_t DeviceTargetsVersion();

// Puts every value above back to its initial value (start-up, tests).
void ResetSharedState();

}  // namespace kavri
