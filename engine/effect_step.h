#pragma once
// The effects of the segment, quick-play and show loops: the lettered row values as they act while
// playing, the accumulators they move, and the effect step that moves them every (101 - B) points.
#include <atomic>
#include <cstdint>

#include "engine/colour_modes.h"

namespace kavri {

// One row's (or item's, or the live sliders') values as the loops read them. A is the row time in
// ticks, K the row's colour mode, L the zoom in twentieths, M a fixed rotation, N the colour speed,
// O non-zero blanks every point (show segment items), Q and R are subtracted from x and y.
struct TEffectParams {
  int32_t A = 0, B = 0, C = 0, D = 0, E = 0, F = 0, G = 0, H = 0, I = 0, J = 0;
  int32_t K = ColourModeAuto, L = 20, M = 0, N = 0, Q = 0, R = 0;
  uint8_t O = 0;
};

// The accumulators of one run: rotation angle 0..359, spreads and scrolls 0..510, squash angles
// 0..255; the slow-draw limit; the colour cycle 0..231.
struct TEffectValues {
  int32_t angle = 0;
  int32_t hSpread = 0, vSpread = 0;
  int32_t hSquash = 0, vSquash = 0;
  int32_t hScroll = 0, vScroll = 0;
  int32_t slowDraw = 0;
  int32_t colourCycle = 0;

  void ResetMotion() { angle = hSpread = vSpread = hSquash = vSquash = hScroll = vScroll = 0; }
};

// The same values where a window's preview timer reads them while the loop moves them.
class TPublishedEffects {
 public:
  void Publish(const TEffectValues& v);
  TEffectValues Read() const;

 private:
  std::atomic<int32_t> angle_{0}, hSpread_{0}, vSpread_{0}, hSquash_{0}, vSquash_{0}, hScroll_{0}, vScroll_{0};
  std::atomic<int32_t> slowDraw_{0}, colourCycle_{0};
};

// How spreads and scrolls return to 0: the segment loop keeps them below 510 (mod 510); the
// selected-drawing and quick-play loops let them reach 510 and set them to 0 above it.
enum class TEffectWrap { Modulo510, ZeroAbove510 };

// The per-point count toward the next effect step, and the steps toward the next colour-cycle
// advance. Arithmetic is 64-bit with non-negative remainders, so hand-edited values near the
// integer limits cannot overflow; values in their ranges give the plain results.
class TEffectStepper {
 public:
  explicit TEffectStepper(TEffectWrap wrap) : wrap_(wrap) {}

  // Counts one point (unless paused) and makes an effect step when the count exceeds 100 - B.
  // `colourSpeed` is the N in force (live, the item's, or fixed). True when a step was made.
  bool CountPoint(const TEffectParams& p, int32_t colourSpeed, bool paused, int32_t pointTotal, TEffectValues& v);
  // One effect step: every accumulator moves by its letter; the colour cycle advances once the
  // steps exceed 40 - colourSpeed.
  void Step(const TEffectParams& p, int32_t colourSpeed, int32_t pointTotal, TEffectValues& v);

  void RestartPointCount() { sincePoint_ = 0; }
  void RestartColourSteps() { colourSteps_ = 0; }
  int64_t PointsSinceStep() const { return sincePoint_; }
  int64_t ColourSteps() const { return colourSteps_; }

 private:
  TEffectWrap wrap_;
  int64_t sincePoint_ = 0;   // points since the last effect step
  int64_t colourSteps_ = 0;  // effect steps since the last colour-cycle advance
};

}  // namespace kavri
