#pragma once
// What Quick play's preview timer draws: the points being played, in screen orientation, with
// the sliders and the effect values as the loop last published them. The preview differs from
// the device frame as the beam's picture on screen needs: x is not mirrored, the offsets are
// added, the scrolls run the other way. The window only paints the list.
#include <cstdint>
#include <vector>

#include "engine/play_drawing.h"
#include "platform/tcolor.h"

namespace kavri {

enum class TPreviewStroke : uint8_t {
  MoveTo,    // the pen moves there
  LineTo,    // a line from the pen
  Dot,       // the pen moves there and an ellipse (x-1, y+1)-(x+1, y-1) marks a blanked point
  LargeDot,  // the same with (x-2, y+2)-(x+2, y-2): every point while "Point draw" is on
};

struct TQuickPreviewPoint {
  int x = 0;
  int y = 0;
  TColor colour = 0;  // the palette colour with the gains applied
  TPreviewStroke stroke = TPreviewStroke::MoveTo;
};

struct TQuickPreview {
  std::vector<TQuickPreviewPoint> points;
  int32_t framePoints = 0;  // ILD: points of the frame shown, for the point-count label
  int32_t frameNumber = 0;  // ILD: the frame's index + 1, written in the corner; 0 when none is shown
};

// Drawing mode: QuickPlayDrawingList; ILD mode: frame QuickPlayFrameIndex of QuickPlayIldaFrames
// (nothing when the index lies outside the frames); other modes: nothing. The walk stops once more
// than QuickPlaySlowDrawCount points are drawn.
TQuickPreview QuickPlayPreview(int32_t mode);
// A picture by the drawing rules (drawings and the rolling text).
std::vector<TQuickPreviewPoint> QuickPlayPreviewPoints(const TPlayDrawing& picture);

}  // namespace kavri
