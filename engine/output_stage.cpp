#include "engine/output_stage.h"

#include <algorithm>
#include <cmath>

#include "engine/colour_tables.h"
#include "engine/shared_state.h"
#include "engine/transforms.h"
#include "platform/numeric.h"

namespace kavri {

namespace {

uint8_t Gained(uint8_t channel, uint32_t gain) { return static_cast<uint8_t>(std::min<uint32_t>(channel * gain / 10000, 255)); }

}  // namespace

TOutputSettings TOutputSettings::Live() {
  TOutputSettings s;
  s.hInvert = HInvertFlag.load(std::memory_order_relaxed);
  s.vInvert = VInvertFlag.load(std::memory_order_relaxed);
  s.locateAngle = LocateAngle.load(std::memory_order_relaxed);
  s.hOffset = HOffset.load(std::memory_order_relaxed);
  s.vOffset = VOffset.load(std::memory_order_relaxed);
  s.hSize = HSize.load(std::memory_order_relaxed);
  s.vSize = VSize.load(std::memory_order_relaxed);
  const uint32_t intensity = Intensity.load(std::memory_order_relaxed);
  s.redGain = RedSaturation.load(std::memory_order_relaxed) * intensity;
  s.greenGain = GreenSaturation.load(std::memory_order_relaxed) * intensity;
  s.blueGain = BlueSaturation.load(std::memory_order_relaxed) * intensity;
  return s;
}

void RotateByLocateAngle(const TOutputSettings& s, double& x, double& y) { RotatePoint(s.locateAngle, x, y); }

void FinishOnDevice(const TOutputSettings& s, double x, double y, TDevicePoint& point) {
  x -= s.hOffset;
  y -= s.vOffset;
  const int dx = ScaleX(TruncToInt(x), s.hSize);
  const int dy = ScaleY(TruncToInt(y), s.vSize);
  point.x = static_cast<uint8_t>(std::clamp(dx, 0, 255));
  point.zeroX = 0;
  point.y = static_cast<uint8_t>(std::clamp(dy, 0, 255));
  point.zeroY = 0;
}

void ApplyGains(const TOutputSettings& s, TColor colour, TDevicePoint& point) {
  point.red = Gained(GetRValue(colour), s.redGain);
  point.green = Gained(GetGValue(colour), s.greenGain);
  point.blue = Gained(GetBValue(colour), s.blueGain);
}

TDevicePoint PlainDevicePoint(const TOutputSettings& s, const PointRecord& p, TColor colour) {
  double x = p.x, y = p.y;
  MirrorPoint(x, y);
  ApplyInverts(s, x, y);
  RotateByLocateAngle(s, x, y);
  TDevicePoint point;
  FinishOnDevice(s, x, y, point);
  ApplyGains(s, colour, point);
  point.flags = DeviceFlags(p.blanked != 0, p.kind);
  return point;
}

bool BuildDrawingFrame(const Drawing& drawing, const TOutputSettings& s, TFrameBuffer& frame,
                       TFrameColouring* colouring, const std::atomic<bool>* stop) {
  for (const auto& object : drawing.Objects()) {
    if (stop && stop->load(std::memory_order_relaxed)) return false;
    for (const auto& p : object->Points()) {
      if (frame.Full()) return true;
      const TColor colour = colouring ? colouring->PictureColour(p->colour) : ColorIndexToTColor(p->colour);
      frame.Append(PlainDevicePoint(s, *p, colour));
    }
  }
  return true;
}

}  // namespace kavri
