#pragma once
// Quick play's drawing loop (job 4) and ILDA loop (job 5) on the play kernel, and the prepare
// steps that fill their play lists. The drawing loop sends passes back to back until Stop; the
// ILDA loop repeats each frame until the next frame tick and then moves on. Both read the live
// sliders on every point and can be stepped one pass at a time (tests bring their own ticks);
// Run is what the worker thread calls.
#include <string>

#include "engine/play_content.h"
#include "engine/play_drawing.h"
#include "engine/play_ticks.h"
#include "quickplay/quick_play_state.h"
#include "quickplay/quick_play_pass.h"

namespace kavri {

// Call on the window thread while no loop runs (after the play controller's StopAndWait). Each
// empties its play list first, so a missing or unreadable file, or none chosen (""), plays
// nothing instead of what was played before.
TQuickPlayStart PrepareDrawingPlay(const std::string& drawingPath);
TQuickPlayStart PrepareIldaPlay(const std::string& ildaPath);

class TQuickDrawingLoop {
 public:
  TQuickDrawingLoop();
  void Start();
  bool Step();  // one pass; false on Stop
  void Finish();
  void Run();

 private:
  TQuickPass pass_;
  TPlayDrawingPtr drawing_;  // held for the run, released by Finish
};

class TQuickIldaLoop {
 public:
  explicit TQuickIldaLoop(TTickSource& ticks);
  TQuickIldaLoop();  // paced by QuickPlayTickFlag
  void Start();
  // One pass of the current frame, after moving on one frame if any tick came (not while
  // paused); false once the frames ran out without Loop, or on Stop.
  bool Step();
  void Finish();
  void Run();

 private:
  void BeginFrame(size_t index);
  bool NextFrame();

  TTickSource& ticks_;
  TQuickPass pass_;
  TIldaPlayFramesPtr frames_;  // held for the run, released by Finish
  size_t frameIndex_ = 0;
  std::vector<PointRecord> frame_;  // the current frame's points, room for the largest kept from Start
  size_t expanded_ = SIZE_MAX;      // the frame frame_ holds
};

// Registers both loops with the play controller under jobs 4 and 5.
void RegisterQuickPlayLoops();

}  // namespace kavri
