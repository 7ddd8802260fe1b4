#pragma once
// What the rolling text shares between Play, its loops and the preview: the character outlines
// Play prepares (replaced only while no loop runs), and the frame at the current roll position,
// which the loop publishes at every roll step and the preview reads as an immutable snapshot, so
// the preview never walks lists the loop is rebuilding.
#include "engine/play_drawing.h"

namespace kavri {

// Horizontal roll: one list per character, in reading order. Vertical roll: one list per line.
extern TPlayDrawingPtr TextCharOutlines;

// Copies the frame for the preview; allocates nothing once the copy has grown to the frame's size.
void PublishTextRollFrame(const TPlayDrawing& frame);
// The frame last published; it never changes once handed out.
TPlayDrawingPtr TextRollFrameSnapshot();

void ResetTextRollState();

}  // namespace kavri
