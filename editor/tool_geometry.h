#pragma once
// Geometry shared by a tool's press and its preview, so the preview shows what the press makes.
#include "engine/drawing.h"

namespace kavri {

// Ctrl on the line tools: the end snaps to the horizontal or vertical through the anchor,
// whichever is nearer; a 45-degree end stays.
void SnapToAxis(const PointRecord& anchor, int& x, int& y);

// Ctrl on the circle tool: the box from (x0, y0) grows along its shorter side to a square.
void SquareTheBox(int x0, int y0, int& x1, int& y1);

// The scale tool's factors for an offset of (dx, dy) from the centre: 50 pixels is 1:1, the
// larger offset for both axes unless each axis keeps its own.
void ScaleFactors(int dx, int dy, bool perAxis, double& fx, double& fy);

// The scale tool's result for one coordinate, truncated toward zero.
int ScaleAbout(int centre, int v, double factor);

}  // namespace kavri
