#pragma once
// Drawing pictures on canvases: the editor's grid and points, and the preview panes. Colours are
// program palette indexes. Points marked for deletion (state 2) are skipped, never removed here;
// owners call RemoveMarkedPoints first (see engine/marked_points.h).
#include <string>

#include "engine/drawing.h"
#include "platform/canvas.h"

namespace kavri {

// Side of the editor's square canvas in pixels.
constexpr int kEditorCanvasSize = 512;

// Background colour over (0,0)-(512,512), the picture file when asked for, a grey dot every
// stepX/stepY pixels (none along an axis whose step is below 1) and the dashed centre axes.
// Returns false with the loader's reason when the picture cannot be loaded; the grid is drawn
// either way. Leaves a solid pen and a clear brush.
bool DrawEditorGrid(TCanvas& canvas, bool withBackground, const std::string& pictureFile, int stepX, int stepY,
                    int backColor, std::string* error = nullptr);
// The same with the picture already decoded (none when null), for callers that redraw often.
void DrawEditorGrid(TCanvas& canvas, const QImage* picture, int stepX, int stepY, int backColor);

// The list as one path, coordinates divided by `divisor` (below 1 counts as 1). Moves to blanked
// points are drawn in `blankColor`, or not at all when it is 0.
void DrawPointLists(TCanvas& canvas, const DrawingObject& list, int blankColor, int divisor);

// As DrawPointLists, with a red square on every point.
void DrawPointListsMarked(TCanvas& canvas, const DrawingObject& list, int blankColor, int divisor);

// The editor's view of one object at canvas scale: the path, then a red square on each selected
// point (when showSelection), else a point-kind marker in the point's colour (squares for kind 2,
// circles for 0 and 1 when showKinds; a larger circle for kind 3 and above always).
void DrawEditorPoints(TCanvas& canvas, const DrawingObject& list, bool showSelection, bool showKinds,
                      int blankColor);

}  // namespace kavri
