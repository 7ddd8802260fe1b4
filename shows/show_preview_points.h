#pragma once
// The live preview of a playing show: where each track's current content lands on the 256 x 256
// preview in screen orientation, and in which pen colour. The geometry follows the laser's chain
// but adds the offsets where the device subtracts them, so the picture moves on screen as the beam
// does; segment items turn the other way on the inverts and scroll the other way.
#include <cstdint>
#include <vector>

#include "engine/effect_step.h"
#include "engine/ilda_file.h"
#include "engine/output_stage.h"
#include "engine/play_drawing.h"
#include "engine/section_file.h"
#include "platform/canvas.h"
#include "platform/tcolor.h"

namespace kavri {

enum class TPreviewMark : uint8_t {
  Line,  // a line from the pen to the point
  Move,  // the pen moves there
  Ring,  // the pen moves there and a small ellipse (2 x 2) marks a blanked point
  Dot,   // the pen moves there and an ellipse of 4 x 4 marks it (a segment item drawn as dots)
};

struct TPreviewPoint {
  int x = 0;
  int y = 0;
  TColor colour = 0;  // the pen: palette colour with the output gains
  TPreviewMark mark = TPreviewMark::Line;
  bool operator==(const TPreviewPoint&) const = default;
};

// What every kind shares: the output settings as they stand, the show's colour choice and the
// track's colour cycle.
struct TShowPreviewLook {
  TOutputSettings output;
  int32_t colourMode = 257;
  int32_t colourCycle = 0;
};

// Each appends one point per drawn point of the content to `out`. The first point of a content
// moves the pen, so no line comes from where the previous track ended.
void AddDrawingPreview(const TPlayDrawing& drawing, const TShowPreviewLook& look, std::vector<TPreviewPoint>& out);
void AddIldaPreview(const TILDAframe& frame, const TShowPreviewLook& look, std::vector<TPreviewPoint>& out);
// The item's picture with the track's effect accumulators (`values`), stopping once more points
// than its slow-draw limit are drawn.
void AddSegmentPreview(const TSectionRecord& item, const TEffectValues& values, const TShowPreviewLook& look,
                       std::vector<TPreviewPoint>& out);

// Draws the points with a solid pen in their colours.
void PaintPreviewPoints(TCanvas& canvas, const std::vector<TPreviewPoint>& points);

}  // namespace kavri
