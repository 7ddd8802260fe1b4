#include "engine/effect_point.h"

#include "engine/colour_tables.h"
#include "engine/transforms.h"

namespace kavri {

void TEffectPointMapper::ApplyEffectChain(const TEffectParams& p, const TEffectValues& v, const TOutputSettings& s,
                                          double& xOut, double& yOut) {
  // Local copies stay in registers across the calls below; the caller's can not.
  double x = xOut, y = yOut;
  ZoomPoint(p.L, x, y);
  if (p.C > 0) TRotation::OfWholeDegrees(v.angle).AboutCentre(x, y);
  if (p.G > 0) SquashX(v.hSquash, x);
  if (p.H > 0) SquashY(v.vSquash, y);
  if (p.I > 0) ScrollX(v.hScroll, x);
  if (p.J > 0) ScrollY(v.vScroll, y);
  if (p.E > 0) SpreadX(v.hSpread, x);
  if (p.F > 0) SpreadY(v.vSpread, y);
  fixed_.For(p.M).AboutCentre(x, y);
  locate_.For(s.locateAngle).AboutCentre(x, y);
  xOut = x - p.Q;
  yOut = y - p.R;
}

TColor PointColour(TColourRule rule, int32_t mode, const TEffectParams& p, uint8_t c, int32_t cycle, int32_t counter) {
  switch (rule) {
    case TColourRule::PictureRowAuto:
      if (mode == ColourModeAuto) mode = p.K;
      [[fallthrough]];
    case TColourRule::Picture:
      return ColorIndexToTColor(ModeColourIndex(mode, c, cycle, counter));
    case TColourRule::IldaOwnUnlessFixed:
      if (mode >= ColourModeAuto) return IldaColorToTColor(c);
      [[fallthrough]];
    case TColourRule::Ilda:
      return IldaColorToTColor(ModeIldaColourIndex(mode, c, cycle, counter));
  }
  return 0;
}

TDevicePoint TEffectPointMapper::Map(TStartMap map, const TEffectParams& p, const TEffectValues& v,
                                     const TOutputSettings& s, const PointRecord& point, TColor colour) {
  double x = 0, y = 0;
  StartPoint(map, point, x, y);
  ApplyInverts(s, x, y);
  ApplyEffectChain(p, v, s, x, y);
  TDevicePoint out;
  FinishOnDevice(s, x, y, out);
  ApplyGains(s, colour, out);
  out.flags = DeviceFlags(point.blanked != 0 || p.O != 0, point.kind);
  return out;
}

TDevicePoint EffectDevicePoint(TStartMap map, const TEffectParams& p, const TEffectValues& v,
                               const TOutputSettings& s, const PointRecord& point, TColor colour) {
  return TEffectPointMapper().Map(map, p, v, s, point, colour);
}

}  // namespace kavri
