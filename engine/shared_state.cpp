#include "engine/shared_state.h"

namespace kavri {

std::atomic<uint8_t> ScanDelay{75};
std::atomic<uint8_t> BlankingDelay{100};
std::atomic<uint8_t> UsbPipe{1};
std::atomic<uint8_t> RedSaturation{100};
std::atomic<uint8_t> GreenSaturation{100};
std::atomic<uint8_t> BlueSaturation{100};
std::atomic<uint8_t> Intensity{100};
std::atomic<int32_t> HOffset{0};
std::atomic<int32_t> VOffset{0};
std::atomic<int32_t> LocateAngle{0};
std::atomic<int32_t> HSize{20};
std::atomic<int32_t> VSize{20};
std::atomic<int32_t> FrameInterval{2};
std::atomic<int32_t> ImportTextLargeSize{0};
std::atomic<int32_t> QuickPlayLargeSize{0};

std::atomic<bool> StopFlag{false};
std::atomic<bool> LoopFlag{false};
std::atomic<bool> PauseFlag{false};
std::atomic<bool> HInvertFlag{false};
std::atomic<bool> VInvertFlag{false};
std::atomic<bool> MultiDeviceFlag{false};
std::atomic<bool> WorkerRunningFlag{false};

std::atomic<bool> PreviewDirtyFlag{false};
std::atomic<int32_t> LastHOffset{0};
std::atomic<int32_t> LastVOffset{0};
std::atomic<int32_t> LastHSize{20};
std::atomic<int32_t> LastVSize{20};
std::atomic<int32_t> LastLocateAngle{0};
std::atomic<bool> LastHInvert{false};
std::atomic<bool> LastVInvert{false};

namespace {
std::mutex g_textMutex;
std::string g_mediaPlayerPath;
std::string g_currentDeviceName;
std::vector<std::string> g_selectedDevices;
std::atomic<uint32_t> g_deviceTargetsVersion{0};
}  // namespace

uint32_t DeviceTargetsVersion() { return g_deviceTargetsVersion.load(std::memory_order_acquire); }

std::string MediaPlayerPath() {
  std::lock_guard<std::mutex> lock(g_textMutex);
  return g_mediaPlayerPath;
}
void SetMediaPlayerPath(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_textMutex);
  g_mediaPlayerPath = path;
}
std::string CurrentDeviceName() {
  std::lock_guard<std::mutex> lock(g_textMutex);
  return g_currentDeviceName;
}
void SetCurrentDeviceName(const std::string& name) {
  std::lock_guard<std::mutex> lock(g_textMutex);
  g_currentDeviceName = name;
  g_deviceTargetsVersion.fetch_add(1, std::memory_order_release);
}
std::vector<std::string> SelectedDevices() {
  std::lock_guard<std::mutex> lock(g_textMutex);
  return g_selectedDevices;
}
void SetSelectedDevices(const std::vector<std::string>& names) {
  std::lock_guard<std::mutex> lock(g_textMutex);
  g_selectedDevices = names;
  g_deviceTargetsVersion.fetch_add(1, std::memory_order_release);
}

void ResetSharedState() {
  ScanDelay = 75;
  BlankingDelay = 100;
  UsbPipe = 1;
  RedSaturation = GreenSaturation = BlueSaturation = Intensity = 100;
  HOffset = VOffset = LocateAngle = 0;
  HSize = VSize = 20;
  FrameInterval = 2;
  ImportTextLargeSize = QuickPlayLargeSize = 0;
  StopFlag = LoopFlag = PauseFlag = HInvertFlag = VInvertFlag = MultiDeviceFlag = WorkerRunningFlag = false;
  PreviewDirtyFlag = false;
  LastHOffset = LastVOffset = LastLocateAngle = 0;
  LastHSize = LastVSize = 20;
  LastHInvert = LastVInvert = false;
  SetMediaPlayerPath("");
  SetCurrentDeviceName("");
  SetSelectedDevices({});
}

}  // namespace kavri
