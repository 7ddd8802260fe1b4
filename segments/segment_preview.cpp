#include "segments/segment_preview.h"

#include <algorithm>

#include "engine/transforms.h"

namespace kavri {

void PreviewPoint(const TPreviewFrame& frame, const PointRecord& point, int& outX, int& outY) {
  const TEffectParams& p = frame.effects;
  const TEffectValues& v = frame.values;
  const TOutputSettings& s = frame.output;
  double x = point.x, y = point.y;
  ApplyInverts(s, x, y);
  if (p.L != 20) ZoomPoint(p.L, x, y);
  if (p.C > 0) RotatePoint(v.angle, x, y);
  if (p.G > 0) SquashX(v.hSquash, x);
  if (p.H > 0) SquashY(v.vSquash, y);
  if (p.I > 0) ScrollX(510 - v.hScroll, x);
  if (p.J > 0) ScrollY(510 - v.vScroll, y);
  if (p.E > 0) SpreadX(v.hSpread, x);
  if (p.F > 0) SpreadY(v.vSpread, y);
  if (p.M != 0) RotatePoint(p.M, x, y);
  if (s.locateAngle != 0) RotatePoint(s.locateAngle, x, y);
  x += p.Q + s.hOffset;
  y += p.R + s.vOffset;
  outX = std::clamp(ScaleX(static_cast<int>(x), s.hSize), 0, 255);
  outY = std::clamp(ScaleY(static_cast<int>(y), s.vSize), 0, 255);
}

int DrawPlayPreview(TCanvas& canvas, const TPlayDrawing& drawing, const TPreviewFrame& frame) {
  const bool slowDraw = frame.effects.D > 0;
  canvas.Pen.Style = TPenStyle::Solid;
  canvas.Brush.Style = TBrushStyle::Clear;
  int drawn = 0;
  int32_t counter = frame.values.colourCycle;
  bool first = true;
  for (size_t o = 0; o < drawing.ObjectCount(); ++o) {
    for (const PointRecord& point : drawing.Object(o)) {
      if (slowDraw && drawn > frame.values.slowDraw) return drawn;
      int x = 0, y = 0;
      PreviewPoint(frame, point, x, y);
      const TColor colour = PointColour(frame.colourRule, frame.colourMode, frame.effects, point.colour,
                                        frame.values.colourCycle, counter % 232);
      TDevicePoint gained;
      ApplyGains(frame.output, colour, gained);
      canvas.Pen.Color = RGBToTColor(gained.red, gained.green, gained.blue);
      // The pen starts where the last redraw (or the row number's text) left it.
      if (first || point.blanked) {
        canvas.MoveTo(x, y);
        if (point.blanked) canvas.Ellipse(x - 1, y - 1, x + 1, y + 1);
      } else {
        canvas.LineTo(x, y);
      }
      first = false;
      ++drawn;
      ++counter;
    }
  }
  return drawn;
}

}  // namespace kavri
