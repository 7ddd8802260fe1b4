#pragma once
// What the "Quick play" window shares with its play loops and its preview. The sliders write the
// live effect values on the window thread; the loops and the preview read them on every point. The
// play lists are replaced by Play only while no loop runs; every scalar a loop writes is an atomic.
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "engine/effect_step.h"
#include "engine/play_content.h"
#include "engine/play_drawing.h"
#include "engine/play_ticks.h"

namespace kavri {

// The sliders' values, at the positions the window opens with.
struct TQuickPlayEffects {
  std::atomic<int32_t> AllSpeed{50};
  std::atomic<int32_t> Rotation{0};
  std::atomic<int32_t> SlowDraw{0};
  std::atomic<int32_t> HStretch{0}, VStretch{0};
  std::atomic<int32_t> HRotate{0}, VRotate{0};
  std::atomic<int32_t> HMove{0}, VMove{0};
  std::atomic<int32_t> Size{20};
  std::atomic<int32_t> ColourSpeed{30};
  std::atomic<int32_t> LocAngle{0};
  std::atomic<int32_t> RollStep{5};
  std::atomic<int32_t> StayTime{2};
  std::atomic<int32_t> RowsOrColumns{4};
  std::atomic<int32_t> WidthFactor{4};
  std::atomic<int32_t> HeightFactor{4};
  std::atomic<int32_t> PointDraw{0};
  void Reset();
};

// The frames the ILDA loop plays, moved to 0..255 (y still grows upwards), five bytes a point, so
// that the largest file the ILDA reader takes is held in about 170 MB.
class TIldaPlayFrames {
 public:
  void Reserve(size_t frames, size_t points);
  // Appends a frame of points already moved to 0..255.
  void Add(const std::vector<PointRecord>& points);
  size_t FrameCount() const { return starts_.size(); }
  size_t PointCount(size_t frame) const;
  size_t LargestFrame() const { return largest_; }
  // The frame's points into `out`, which keeps its room: no allocation when it holds LargestFrame().
  void Expand(size_t frame, std::vector<PointRecord>& out) const;

 private:
  struct TPoint {
    uint8_t x, y;
    int8_t kind;
    uint8_t colour;
    uint8_t blanked;
  };
  std::vector<TPoint> points_;
  std::vector<size_t> starts_;
  size_t largest_ = 0;
};
using TIldaPlayFramesPtr = std::shared_ptr<const TIldaPlayFrames>;
const TIldaPlayFramesPtr& EmptyIldaPlayFrames();

enum TQuickPlayMode : int32_t { QuickPlayDrawing = 0, QuickPlayIld = 1, QuickPlayText = 2 };

extern TQuickPlayEffects QuickPlayEffects;
extern std::atomic<int32_t> QuickPlayMode;
extern std::atomic<int32_t> QuickPlayColourMode;  // Auto at first
extern TTickCounter QuickPlayTickFlag;             // raised by the frame clock, taken a step per check
extern TPublishedEffects QuickPlayEffectState;     // accumulators, slow-draw limit, colour cycle
extern std::atomic<int32_t> QuickPlayPointTotal;
extern std::atomic<int32_t> QuickPlaySlowDrawCount;
extern std::atomic<int32_t> QuickPlayFrameIndex;
extern TPlayDrawingPtr QuickPlayDrawingList;  // what the drawing loop plays
extern TIldaPlayFramesPtr QuickPlayIldaFrames;  // what the ILDA loop plays

void ResetQuickPlayState();

// The sliders as the loops and the preview read them, one value per letter of the kernel: B the
// speed, C to J the motions, L the size, M the fixed turn, N the colour speed. O (every point
// blanked) is PointDraw, which acts on drawings and text only, so the ILDA loop leaves it 0.
TEffectParams QuickPlayEffectParams(bool withPointDraw);

// What a prepare step tells Play: whether there is anything to play (start the loop only then)
// and the text for the window's message line.
struct TQuickPlayStart {
  bool start = false;
  std::string status;
};

}  // namespace kavri
