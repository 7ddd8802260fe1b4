#pragma once
// The "Segment Edit" window's two play loops on the play kernel: the segment (job 3) walks the
// rows, holding each for its time A in 5 ms ticks (every tick counted, those that come while a
// pass is written included) while its letters move the picture; "Play
// drawing" (job 7) plays one drawing with the live sliders until Stop. Both can be stepped one pass
// at a time (tests raise PlayTickFlag by hand); Run is what the worker thread calls.
#include "engine/device_packets.h"
#include "engine/loop_output.h"
#include "engine/play_drawing.h"
#include "engine/play_kernel.h"
#include "engine/play_ticks.h"

namespace kavri {

class TSegmentPlayLoop {
 public:
  explicit TSegmentPlayLoop(TTickSource& ticks);
  TSegmentPlayLoop();  // paced by PlayTickFlag
  void Start();
  // One pass (or one idle wait); false once the loop has ended (rows done without Loop, or Stop).
  bool Step();
  void Finish();
  void Run();

 private:
  struct Hooks;
  bool BeginNextRow();
  // Counts the ticks owed towards the row's A; false once a tick beyond A has come, which is left
  // owed as the next row's first. Ticks during a pause are used up.
  bool CountTicks();
  void PlayEmptyRowPass();

  TTickSource& tickSource_;
  TLoopOutput output_;
  TEffectStepper stepper_{TEffectWrap::Modulo510};
  TEffectValues values_;
  TFrameBuffer frame_;
  size_t nextRow_ = 0;
  bool inRow_ = false;
  bool roundSentSomething_ = false;
  TEffectParams row_;
  const TPlayDrawing* drawing_ = nullptr;
  int32_t pointTotal_ = 0;
  int64_t ticks_ = 0;
};

class TSelectedDrawingLoop {
 public:
  TSelectedDrawingLoop();
  void Start();
  bool Step();  // one frame; false on Stop
  void Finish();
  void Run();

 private:
  struct Hooks;

  TLoopOutput output_;
  TEffectStepper stepper_{TEffectWrap::ZeroAbove510};
  TEffectValues values_;
  TFrameBuffer frame_;
  int32_t pointTotal_ = 0;
  int32_t lastQ_ = 0, lastR_ = 0;
};

// Registers both loops with the play controller under their job codes.
void RegisterSegmentPlayLoops();

}  // namespace kavri
