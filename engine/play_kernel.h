#pragma once
// The play kernel: one pass (one frame) of an effect loop over a picture's point lists. Every
// effect loop is a policy on it: where points start (TStartMap), how spreads and scrolls wrap
// (the stepper's TEffectWrap), how slow draw cuts a pass, the colour rule, and the hooks through
// which the loop paces itself by ticks and sees Stop. The pass allocates nothing and takes no lock.
//
//   struct Hooks {
//     bool BeforeList();                   // false: the walk stops (Stop, the row's time is up)
//     bool BeforePoint();                  // false: the walk stops before this point (ticks)
//     const TEffectParams& Params();       // the letters in force for this point
//     int32_t ColourSpeed();               // N in force
//     int32_t ColourMode();                // the window's colour choice
//     bool Paused();
//     void EffectStepped(const TEffectValues&);  // after each effect step (preview, publish)
//   };
#include <cstdint>

#include "engine/device_packets.h"
#include "engine/effect_point.h"
#include "engine/effect_step.h"
#include "engine/output_stage.h"

namespace kavri {

// How slow draw (D > 0) ends a pass once it holds more points than the slow-draw limit.
enum class TSlowDrawCut {
  AtListBoundary,  // nothing more is written, but the walk (ticks, effect steps) runs on to the
                   // end of the point list in hand (segment rows and show items)
  Immediate,       // the pass ends at once (play drawing, quick play)
};

struct TPassPolicy {
  TStartMap start = TStartMap::Mirrored;
  TColourRule colour = TColourRule::Picture;
  TSlowDrawCut cut = TSlowDrawCut::Immediate;
};

// How a walk ended: ran through every point, or stopped by a hook.
enum class TPassEnd { Complete, Stopped };

// One pass over `lists` (anything with ObjectCount() and Object(i) giving a span of points):
// points go into `frame` (cut at its capacity: the walk, its ticks and effect steps go on as if
// the frame were unbounded, so timing never depends on the frame's size).
template <class Lists, class Hooks>
TPassEnd WalkPass(const Lists& lists, const TPassPolicy& policy, const TOutputSettings& settings, int32_t pointTotal,
                  TEffectStepper& stepper, TEffectValues& values, TFrameBuffer& frame, Hooks& hooks) {
  frame.Clear();
  int64_t written = 0;
  int32_t counter = values.colourCycle;  // the point colour counter of this pass
  bool cut = false;
  TEffectPointMapper mapper;
  for (size_t list = 0; list < lists.ObjectCount(); ++list) {
    if (cut || !hooks.BeforeList()) return cut ? TPassEnd::Complete : TPassEnd::Stopped;
    for (const PointRecord& point : lists.Object(list)) {
      if (!hooks.BeforePoint()) return TPassEnd::Stopped;
      const TEffectParams& p = hooks.Params();
      if (stepper.CountPoint(p, hooks.ColourSpeed(), hooks.Paused(), pointTotal, values)) hooks.EffectStepped(values);
      if (cut) continue;
      if (p.D > 0 && written > values.slowDraw) {
        if (policy.cut == TSlowDrawCut::Immediate) return TPassEnd::Complete;
        cut = true;
        continue;
      }
      const TColor colour = PointColour(policy.colour, hooks.ColourMode(), p, point.colour, values.colourCycle, counter);
      frame.Append(mapper.Map(policy.start, p, values, settings, point, colour));
      ++written;
      ++counter;  // each colour rule takes it modulo its palette's cycle
    }
  }
  return TPassEnd::Complete;
}

}  // namespace kavri
