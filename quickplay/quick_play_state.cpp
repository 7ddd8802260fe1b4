#include "quickplay/quick_play_state.h"

#include <algorithm>

#include "engine/colour_modes.h"

namespace kavri {

TQuickPlayEffects QuickPlayEffects;
std::atomic<int32_t> QuickPlayMode{QuickPlayDrawing};
std::atomic<int32_t> QuickPlayColourMode{ColourModeAuto};
TTickCounter QuickPlayTickFlag;
TPublishedEffects QuickPlayEffectState;
std::atomic<int32_t> QuickPlayPointTotal{0};
std::atomic<int32_t> QuickPlaySlowDrawCount{0};
std::atomic<int32_t> QuickPlayFrameIndex{0};
TPlayDrawingPtr QuickPlayDrawingList = EmptyPlayDrawing();
TIldaPlayFramesPtr QuickPlayIldaFrames = EmptyIldaPlayFrames();

void TIldaPlayFrames::Reserve(size_t frames, size_t points) {
  starts_.reserve(frames);
  points_.reserve(points);
}

void TIldaPlayFrames::Add(const std::vector<PointRecord>& points) {
  starts_.push_back(points_.size());
  largest_ = std::max(largest_, points.size());
  for (const PointRecord& p : points)
    points_.push_back({static_cast<uint8_t>(p.x), static_cast<uint8_t>(p.y), static_cast<int8_t>(p.kind), p.colour,
                       static_cast<uint8_t>(p.blanked != 0 ? 1 : 0)});
}

size_t TIldaPlayFrames::PointCount(size_t frame) const {
  const size_t end = frame + 1 < starts_.size() ? starts_[frame + 1] : points_.size();
  return end - starts_[frame];
}

void TIldaPlayFrames::Expand(size_t frame, std::vector<PointRecord>& out) const {
  out.resize(PointCount(frame));
  const TPoint* from = points_.data() + starts_[frame];
  for (PointRecord& p : out) {
    p.x = from->x;
    p.y = from->y;
    p.kind = from->kind;
    p.colour = from->colour;
    p.state = 0;
    p.blanked = from->blanked;
    ++from;
  }
}

const TIldaPlayFramesPtr& EmptyIldaPlayFrames() {
  static const TIldaPlayFramesPtr empty = std::make_shared<const TIldaPlayFrames>();
  return empty;
}

void TQuickPlayEffects::Reset() {
  for (auto* v : {&Rotation, &SlowDraw, &HStretch, &VStretch, &HRotate, &VRotate, &HMove, &VMove,
                  &LocAngle, &PointDraw})
    *v = 0;
  AllSpeed = 50;
  Size = 20;
  ColourSpeed = 30;
  RollStep = 5;
  StayTime = 2;
  RowsOrColumns = 4;
  WidthFactor = 4;
  HeightFactor = 4;
}

void ResetQuickPlayState() {
  QuickPlayEffects.Reset();
  QuickPlayMode = QuickPlayDrawing;
  QuickPlayColourMode = ColourModeAuto;
  QuickPlayTickFlag.Clear();
  QuickPlayEffectState.Publish(TEffectValues{});
  QuickPlayPointTotal = 0;
  QuickPlaySlowDrawCount = 0;
  QuickPlayFrameIndex = 0;
  QuickPlayDrawingList = EmptyPlayDrawing();
  QuickPlayIldaFrames = EmptyIldaPlayFrames();
}

TEffectParams QuickPlayEffectParams(bool withPointDraw) {
  const TQuickPlayEffects& e = QuickPlayEffects;
  TEffectParams p;
  p.B = e.AllSpeed;
  p.C = e.Rotation;
  p.D = e.SlowDraw;
  p.E = e.HStretch;
  p.F = e.VStretch;
  p.G = e.HRotate;
  p.H = e.VRotate;
  p.I = e.HMove;
  p.J = e.VMove;
  p.L = e.Size;
  p.M = e.LocAngle;
  p.N = e.ColourSpeed;
  p.O = withPointDraw && e.PointDraw != 0 ? 1 : 0;
  return p;
}

}  // namespace kavri
