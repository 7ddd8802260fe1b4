#pragma once
// The rolling text's play loops on the play kernel: job 6 rolls TextCharOutlines right to left a
// character at a time, job 8 rolls the lines upwards and also sends the colour gains. Each roll
// position is held for StayTime ticks of the window's frame clock while passes go out back to
// back, then the text moves by RollStep; a pass counts at most one tick, so passes slower than
// the clock roll the text slower rather than skip positions. Steppable one pass at a time with an
// injected tick source; Run is what the worker thread calls.
#include <cstddef>
#include <cstdint>

#include "engine/device_packets.h"
#include "engine/play_drawing.h"
#include "engine/play_ticks.h"
#include "quickplay/quick_play_pass.h"

namespace kavri {

enum class TTextRollDirection { Horizontal, Vertical };

class TTextRollLoop {
 public:
  TTextRollLoop(TTextRollDirection direction, TTickSource& ticks);
  explicit TTextRollLoop(TTextRollDirection direction);  // paced by QuickPlayTickFlag
  void Start();
  // One pass (or one idle wait while Loop repeats nothing); false once the roll has ended.
  bool Step();
  void Finish();
  void Run();

 private:
  enum class TBegin { Pass, Idle, End };
  TBegin BeginRollStep();
  bool BeginWindow();
  bool OffsetInWindow(int rows) const;
  void Pass();
  void MoveOn();  // to the next roll position

  TTextRollDirection direction_;
  TTickSource& ticks_;
  TQuickPass pass_;
  TColourGainSender gains_;
  TPlayDrawingPtr outlines_;  // TextCharOutlines as Play left them
  TPlayDrawing window_;       // what is in view
  TPlayDrawing frame_;        // the window at the roll offset: what each pass sends
  size_t first_ = 0;          // first character (line) in the window
  bool inWindow_ = false;
  bool inRollStep_ = false;
  bool roundPlayed_ = false;
  int offset_ = 0;
  int64_t heldTicks_ = 0;
};

// Registers both rolls with the play controller under jobs 6 and 8.
void RegisterTextRollLoops();

}  // namespace kavri
