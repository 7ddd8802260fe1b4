#pragma once
// The output stage: how every play loop turns a point into a device point. A loop composes the
// steps with its own effects in between:
//
//   TOutputSettings s = TOutputSettings::Live();        // once per frame
//   double x = p.x, y = p.y;
//   MirrorPoint(x, y);              // most loops; some start from the stored x or an ILDA map
//   ApplyInverts(s, x, y);
//   ... the loop's own effects (zoom, rotation, squash, scroll, spread) ...
//   RotateByLocateAngle(s, x, y);
//   ... the segment loops subtract their row offsets Q and R here ...
//   FinishOnDevice(s, x, y, point);   // offsets, output size, clamp
//   ApplyGains(s, colour, point);     // colour from the palette (or a colour mode), then gains
//   point.flags = DeviceFlags(p.blanked, p.kind);
//
// BuildDrawingFrame does all of it for a drawing without effects (the drawing editor's loop).
#include <atomic>
#include <cstdint>

#include "engine/colour_modes.h"
#include "engine/device_packets.h"
#include "engine/drawing.h"
#include "platform/tcolor.h"

namespace kavri {

// The output settings as one frame sees them, read once before the frame, so a change shows
// from the next frame on and no point reads a half-changed set.
struct TOutputSettings {
  bool hInvert = false;
  bool vInvert = false;
  int32_t locateAngle = 0;
  int32_t hOffset = 0;
  int32_t vOffset = 0;
  int32_t hSize = 20;
  int32_t vSize = 20;
  uint32_t redGain = 10000;  // saturation x intensity, 10000 = 1:1
  uint32_t greenGain = 10000;
  uint32_t blueGain = 10000;

  static TOutputSettings Live();
};

inline void MirrorPoint(double& x, double& y) {
  x = 255 - x;
  y = 255 - y;
}

inline void ApplyInverts(const TOutputSettings& s, double& x, double& y) {
  if (s.hInvert) x = 255 - x;
  if (s.vInvert) y = 255 - y;
}

void RotateByLocateAngle(const TOutputSettings& s, double& x, double& y);
// Subtracts the offsets, applies the output sizes and clamps to 0..255 into point.x and point.y.
void FinishOnDevice(const TOutputSettings& s, double x, double y, TDevicePoint& point);
// Red, green and blue of `colour`, each times its gain / 10000 (integer), at most 255.
void ApplyGains(const TOutputSettings& s, TColor colour, TDevicePoint& point);

// The whole stage for one point that starts mirrored and has no effects of the loop.
TDevicePoint PlainDevicePoint(const TOutputSettings& s, const PointRecord& p, TColor colour);

// Appends the device points of a whole drawing to `frame` (objects and points in order) with the
// mirrored start, no effects, and each point's own colour from the program palette, or from
// `colouring` when given. Stops early, before an object, once `stop` is set; points beyond the
// frame's capacity are cut. Returns false when it stopped early.
bool BuildDrawingFrame(const Drawing& drawing, const TOutputSettings& s, TFrameBuffer& frame,
                       TFrameColouring* colouring = nullptr, const std::atomic<bool>* stop = nullptr);

}  // namespace kavri
