#include "shell/settings_window_model.h"

#include <QFileInfo>
#include <algorithm>

#include "engine/shared_state.h"
#include "shell/settings_file.h"

namespace kavri {

namespace {
int HoldTo(int value, int low, int high) { return std::clamp(value, low, high); }
}  // namespace

int TSettingsWindowModel::PadPixelToOffset(int pixel) { return 2 * HoldTo(pixel, 0, kPadSize - 1) - 256; }

int TSettingsWindowModel::OffsetToPadPixel(int offset) {
  // Integer division truncates toward zero, as the marker position is defined.
  const long long pixel = (static_cast<long long>(offset) + 256) / 2;
  return static_cast<int>(std::clamp<long long>(pixel, 0, kPadSize - 1));
}

int TSettingsWindowModel::ScanPositionOf(int scanDelay) { return HoldTo(225 - scanDelay, 25, 225); }

std::string TSettingsWindowModel::ScanRateText(int position) { return std::to_string(position * 200); }

void TSettingsWindowModel::LoadFromSettings() {
  marker_ = {OffsetToPadPixel(HOffset), OffsetToPadPixel(VOffset)};
  dragging_ = false;
}

void TSettingsWindowModel::SetOffsetsFromPad(int x, int y) {
  marker_ = {HoldTo(x, 0, kPadSize - 1), HoldTo(y, 0, kPadSize - 1)};
  HOffset = PadPixelToOffset(marker_.x);
  VOffset = PadPixelToOffset(marker_.y);
}

void TSettingsWindowModel::PadPress(int x, int y) {
  dragging_ = true;
  SetOffsetsFromPad(x, y);
}

void TSettingsWindowModel::PadMove(int x, int y) {
  if (dragging_) SetOffsetsFromPad(x, y);
}

void TSettingsWindowModel::PadRelease() { dragging_ = false; }

void TSettingsWindowModel::ResetOffsets() {
  HOffset = 0;
  VOffset = 0;
  marker_ = {128, 128};
}

void TSettingsWindowModel::ScanPositionChanged(int position) {
  ScanDelay = static_cast<uint8_t>(225 - HoldTo(position, 25, 225));
}

void TSettingsWindowModel::BlankingChanged(int position) {
  BlankingDelay = static_cast<uint8_t>(HoldTo(position, 0, 255));
}

int TSettingsWindowModel::HorizontalSizeChanged(int position) {
  HSize = HoldTo(position, 0, 40);
  if (!locked_) return -1;
  VSize = HSize.load();
  return VSize;
}

int TSettingsWindowModel::VerticalSizeChanged(int position) {
  VSize = HoldTo(position, 0, 40);
  if (!locked_) return -1;
  HSize = VSize.load();
  return HSize;
}

int TSettingsWindowModel::LockClicked(bool ticked) {
  locked_ = ticked;
  if (!ticked) return -1;
  VSize = HSize.load();
  return VSize;
}

void TSettingsWindowModel::AngleChanged(int position) { LocateAngle = HoldTo(position, 0, 360); }
void TSettingsWindowModel::FrameIntervalChanged(int position) { FrameInterval = HoldTo(position, 2, 1000); }
void TSettingsWindowModel::RedChanged(int position) { RedSaturation = static_cast<uint8_t>(HoldTo(position, 0, 200)); }
void TSettingsWindowModel::GreenChanged(int position) { GreenSaturation = static_cast<uint8_t>(HoldTo(position, 0, 200)); }
void TSettingsWindowModel::BlueChanged(int position) { BlueSaturation = static_cast<uint8_t>(HoldTo(position, 0, 200)); }
void TSettingsWindowModel::IntensityChanged(int position) { Intensity = static_cast<uint8_t>(HoldTo(position, 0, 200)); }

bool TSettingsWindowModel::IsUsableMediaPlayer(const std::string& path) {
  if (path.empty()) return false;
  const QFileInfo info(QString::fromStdString(path));
  return info.exists() && info.isFile() && info.isExecutable();
}

void TSettingsWindowModel::MediaPlayerPathChanged(const std::string& path) {
  if (FitsPlayerPath(path)) SetMediaPlayerPath(path);
}

}  // namespace kavri
