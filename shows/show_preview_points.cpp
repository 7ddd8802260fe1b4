#include "shows/show_preview_points.h"

#include <algorithm>

#include "engine/colour_modes.h"
#include "engine/effect_point.h"
#include "platform/numeric.h"
#include "segments/segment_play_state.h"
#include "segments/segment_preview.h"

namespace kavri {

namespace {

// Offsets added, output sizes, clamp: the screen's side of the device's finish.
void FinishOnScreen(const TOutputSettings& s, double x, double y, TPreviewPoint& point) {
  x += s.hOffset;
  y += s.vOffset;
  point.x = std::clamp(ScaleX(TruncToInt(x), s.hSize), 0, 255);
  point.y = std::clamp(ScaleY(TruncToInt(y), s.vSize), 0, 255);
}

TColor Gained(const TOutputSettings& s, TColor colour) {
  TDevicePoint gained;
  ApplyGains(s, colour, gained);
  return RGBToTColor(gained.red, gained.green, gained.blue);
}

void Append(std::vector<TPreviewPoint>& out, size_t firstOfContent, TPreviewPoint point, bool blanked,
            TPreviewMark blankedMark) {
  if (blanked) point.mark = blankedMark;
  else if (point.mark == TPreviewMark::Line && out.size() == firstOfContent) point.mark = TPreviewMark::Move;
  out.push_back(point);
}

// Inverts, locate angle, then the screen's finish: drawings and ILDA frames alike.
TPreviewPoint PlacedPoint(const TOutputSettings& s, double x, double y) {
  ApplyInverts(s, x, y);
  RotateByLocateAngle(s, x, y);
  TPreviewPoint point;
  FinishOnScreen(s, x, y, point);
  return point;
}

}  // namespace

void AddDrawingPreview(const TPlayDrawing& drawing, const TShowPreviewLook& look, std::vector<TPreviewPoint>& out) {
  const size_t first = out.size();
  TFrameColouring colouring;
  colouring.StartFrame(look.colourMode, look.colourCycle);
  for (size_t o = 0; o < drawing.ObjectCount(); ++o) {
    for (const PointRecord& p : drawing.Object(o)) {
      TPreviewPoint point = PlacedPoint(look.output, p.x, p.y);
      point.colour = Gained(look.output, colouring.PictureColour(p.colour));
      Append(out, first, point, p.blanked != 0, TPreviewMark::Ring);
    }
  }
}

void AddIldaPreview(const TILDAframe& frame, const TShowPreviewLook& look, std::vector<TPreviewPoint>& out) {
  const size_t first = out.size();
  TFrameColouring colouring;
  colouring.StartFrame(look.colourMode, look.colourCycle);
  for (const PointRecord& p : frame.points) {
    TPreviewPoint point = PlacedPoint(look.output, p.x + 128.0, 127.0 - p.y);
    point.colour = Gained(look.output, colouring.IldaColour(p.colour));
    Append(out, first, point, p.blanked != 0, TPreviewMark::Move);
  }
}

void AddSegmentPreview(const TSectionRecord& item, const TEffectValues& v, const TShowPreviewLook& look,
                       std::vector<TPreviewPoint>& out) {
  const size_t first = out.size();
  const TEffectParams p = SegmentRowEffects(item);
  const TOutputSettings& s = look.output;
  // The segment window's preview chain, without its inverts, which this one makes at the end.
  TPreviewFrame frame;
  frame.effects = p;
  frame.values = v;
  frame.output = s;
  frame.output.hInvert = frame.output.vInvert = false;
  const TPlayDrawing& drawing = *item.drawing;
  int drawn = 0;
  int32_t counter = look.colourCycle;
  for (size_t o = 0; o < drawing.ObjectCount(); ++o) {
    for (const PointRecord& stored : drawing.Object(o)) {
      if (drawn > v.slowDraw) return;
      TPreviewPoint point;
      PreviewPoint(frame, stored, point.x, point.y);
      // The inverts come last here, on the finished point.
      if (s.hInvert) point.x = 255 - point.x;
      if (s.vInvert) point.y = 255 - point.y;
      const TColor colour =
          PointColour(TColourRule::PictureRowAuto, look.colourMode, p, stored.colour, look.colourCycle, counter);
      point.colour = Gained(s, colour);
      counter = (counter + 1) % ColourCycleLength;
      if (item.O != 0) point.mark = TPreviewMark::Dot;
      Append(out, first, point, stored.blanked != 0 && item.O == 0, TPreviewMark::Ring);
      ++drawn;
    }
  }
}

void PaintPreviewPoints(TCanvas& canvas, const std::vector<TPreviewPoint>& points) {
  canvas.Pen.Style = TPenStyle::Solid;
  canvas.Brush.Style = TBrushStyle::Clear;
  for (const TPreviewPoint& p : points) {
    canvas.Pen.Color = p.colour;
    if (p.mark == TPreviewMark::Line) {
      canvas.LineTo(p.x, p.y);
      continue;
    }
    canvas.MoveTo(p.x, p.y);
    const int r = p.mark == TPreviewMark::Dot ? 2 : p.mark == TPreviewMark::Ring ? 1 : 0;
    if (r > 0) canvas.Ellipse(p.x - r, p.y - r, p.x + r, p.y + r);
  }
}

}  // namespace kavri
