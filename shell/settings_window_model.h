#pragma once
// The "Settings" window without widgets: the offset pad, the slider-to-setting rules, the size
// lock and the media player choice. Every change goes to its shared setting at once.
#include <string>

namespace kavri {

struct TPadPoint {
  int x = 128;
  int y = 128;
};

class TSettingsWindowModel {
 public:
  static constexpr int kPadSize = 256;  // pad pixels 0..255

  // Pad pixel to offset: 2 x pixel - 256, the pixel held to the pad first.
  static int PadPixelToOffset(int pixel);
  // Offset to pad pixel: (offset + 256) / 2, truncated toward zero and held to the pad.
  static int OffsetToPadPixel(int offset);
  // Scan-rate slider: its position shows as position x 200; the scan delay is 225 - position.
  static int ScanPositionOf(int scanDelay);
  static std::string ScanRateText(int position);

  // Takes the marker from the current offsets (window creation).
  void LoadFromSettings();

  void PadPress(int x, int y);
  void PadMove(int x, int y);  // only while dragging
  void PadRelease();
  void ResetOffsets();          // "Reset to 0"
  bool Dragging() const { return dragging_; }
  TPadPoint Marker() const { return marker_; }

  void ScanPositionChanged(int position);
  void BlankingChanged(int position);
  // Size sliders. With the lock on the other size follows; the return value is the position the
  // other slider must show (or -1 when it stays).
  int HorizontalSizeChanged(int position);
  int VerticalSizeChanged(int position);
  // The lock was ticked or unticked; when it becomes ticked the vertical size takes the
  // horizontal one, and the return value is the vertical slider's new position (-1: no change).
  int LockClicked(bool ticked);
  bool Locked() const { return locked_; }
  void AngleChanged(int position);
  void FrameIntervalChanged(int position);
  void RedChanged(int position);
  void GreenChanged(int position);
  void BlueChanged(int position);
  void IntensityChanged(int position);

  // "Find...": a chosen file is taken only when it exists and may be run.
  static bool IsUsableMediaPlayer(const std::string& path);
  // A path longer than a line of the settings file holds is not taken.
  void MediaPlayerPathChanged(const std::string& path);

 private:
  void SetOffsetsFromPad(int x, int y);

  bool dragging_ = false;
  bool locked_ = false;
  TPadPoint marker_;
};

}  // namespace kavri
