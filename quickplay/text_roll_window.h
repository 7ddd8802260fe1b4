#pragma once
// The rolling text's window onto the 256 x 256 output: the characters (or lines) now in view, and
// the frame they make at a roll offset, cut where the text enters and leaves the window.
#include <cstddef>

#include "engine/play_drawing.h"

namespace kavri {

// Characters first..last (inclusive) for the horizontal roll: scaled by 1/12 and 1/9 unless Large
// Size, and lowered so a cell of height 256 / heightFactor sits in the middle.
void BuildTextRollWindowH(const TPlayDrawing& outlines, size_t first, size_t last, int heightFactor, bool largeSize,
                          TPlayDrawing& window);
// Lines first..end - 1 for the vertical roll, as they are.
void BuildTextRollWindowV(const TPlayDrawing& outlines, size_t first, size_t end, TPlayDrawing& window);

// The frame at a roll offset: window list j moves right by j x 256 / rowsOrColumns and left by
// the offset; the first list is cut at x = 0 and, when there are several, the last at x = 255.
// Points beyond the edge go; where a stroke crosses the edge a point is put on the edge (blanked
// where the stroke comes in, lit where it goes out); a point on the edge right after one beyond it
// is blanked. The lists in between are not cut.
void ClipTextWindowH(const TPlayDrawing& window, int offset, int rowsOrColumns, TPlayDrawing& frame);
// The same downwards: list j moves down by j x 512 / rowsOrColumns plus the offset, and the cuts
// are at y = 0 and y = 255.
void ClipTextWindowV(const TPlayDrawing& window, int offset, int rowsOrColumns, TPlayDrawing& frame);

}  // namespace kavri
