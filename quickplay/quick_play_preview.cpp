#include "quickplay/quick_play_preview.h"

#include <span>

#include "engine/shared_state.h"
#include "quickplay/quick_play_state.h"
#include "segments/segment_preview.h"

namespace kavri {

namespace {

// How one preview walk sees the sliders and what the loop published.
struct TPreviewWalk {
  TPreviewFrame frame;
  bool ilda = false;
  bool pointDraw = false;
  int32_t counter = 0;  // the point colour counter, as in the loop's pass
  std::vector<TQuickPreviewPoint> points;

  explicit TPreviewWalk(bool forIlda) : ilda(forIlda) {
    frame.effects = QuickPlayEffectParams(false);
    frame.values = QuickPlayEffectState.Read();
    frame.values.slowDraw = QuickPlaySlowDrawCount;
    frame.output = TOutputSettings::Live();
    frame.colourRule = ilda ? TColourRule::Ilda : TColourRule::Picture;
    frame.colourMode = QuickPlayColourMode;
    pointDraw = !ilda && QuickPlayEffects.PointDraw != 0;
    counter = frame.values.colourCycle;
  }

  TPreviewStroke Stroke(const PointRecord& p) const {
    if (pointDraw) return TPreviewStroke::LargeDot;
    if (p.blanked) return ilda ? TPreviewStroke::MoveTo : TPreviewStroke::Dot;
    // The first point has no line to come from.
    return points.empty() ? TPreviewStroke::MoveTo : TPreviewStroke::LineTo;
  }

  // False once the slow-draw position is passed.
  bool Add(std::span<const PointRecord> list) {
    for (PointRecord p : list) {
      if (static_cast<int64_t>(points.size()) > frame.values.slowDraw) return false;
      if (ilda) p.y = 255 - p.y;  // ILDA y grows upwards
      TQuickPreviewPoint q;
      PreviewPoint(frame, p, q.x, q.y);
      TDevicePoint gained;
      ApplyGains(frame.output,
                 PointColour(frame.colourRule, frame.colourMode, frame.effects, p.colour, frame.values.colourCycle,
                             counter++),
                 gained);
      q.colour = RGBToTColor(gained.red, gained.green, gained.blue);
      q.stroke = Stroke(p);
      points.push_back(q);
    }
    return true;
  }
};

}  // namespace

std::vector<TQuickPreviewPoint> QuickPlayPreviewPoints(const TPlayDrawing& picture) {
  TPreviewWalk walk(false);
  for (size_t o = 0; o < picture.ObjectCount() && walk.Add(picture.Object(o)); ++o) {
  }
  return std::move(walk.points);
}

TQuickPreview QuickPlayPreview(int32_t mode) {
  TQuickPreview preview;
  if (mode == QuickPlayDrawing) {
    const TPlayDrawing& picture = *QuickPlayDrawingList;
    preview.points = QuickPlayPreviewPoints(picture);
    preview.framePoints = static_cast<int32_t>(picture.PointCount());
    return preview;
  }
  if (mode != QuickPlayIld) return preview;
  // The loop moves the index while the preview reads it.
  const int32_t index = QuickPlayFrameIndex;
  const TIldaPlayFrames& frames = *QuickPlayIldaFrames;
  if (index < 0 || static_cast<size_t>(index) >= frames.FrameCount()) return preview;
  std::vector<PointRecord> frame;
  frames.Expand(static_cast<size_t>(index), frame);
  TPreviewWalk walk(true);
  walk.Add(frame);
  preview.points = std::move(walk.points);
  preview.framePoints = static_cast<int32_t>(frame.size());
  preview.frameNumber = index + 1;
  return preview;
}

}  // namespace kavri
