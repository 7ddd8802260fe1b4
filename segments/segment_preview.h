#pragma once
// The "Segment Edit" window's play preview: the picture being played, drawn on the 256 x 256
// preview bitmap in screen orientation with the effects as they stand. It follows the loops'
// chain, but the preview adds the offsets where the device output subtracts them and scrolls
// the other way, so that the picture moves on screen as the beam does.
#include <cstdint>

#include "engine/effect_point.h"
#include "engine/play_drawing.h"
#include "platform/canvas.h"

namespace kavri {

struct TPreviewFrame {
  TEffectParams effects;  // the row's letters, or the live sliders
  TEffectValues values;   // the accumulators as the loop last published them
  TOutputSettings output;
  TColourRule colourRule = TColourRule::Picture;
  int32_t colourMode = ColourModeAuto;
};

// Draws the picture's points in order, stopping once more than the slow-draw limit (values.slowDraw)
// are drawn while D is above 0. A lit point is a line from the one before; a blanked point moves
// there and shows as a small ellipse. Returns the points drawn.
int DrawPlayPreview(TCanvas& canvas, const TPlayDrawing& drawing, const TPreviewFrame& frame);

// Where a stored point lands on the preview.
void PreviewPoint(const TPreviewFrame& frame, const PointRecord& point, int& x, int& y);

}  // namespace kavri
