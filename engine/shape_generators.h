#pragma once
// The editor's tools turn a dragged line, ellipse, arc or polygon into points with these. Each
// appends new points (x and y set; kind, colour, state and blanked 0) to the end of `list` and
// never touches the points that were already there.
#include "engine/drawing.h"

namespace kavri {

// Points strictly between the two ends, about `step` apart (a step below 1 counts as 1).
void LineToPoints(int x0, int y0, int x1, int y1, int step, DrawingObject& list);

// One closed run around the ellipse inscribed in the box, starting at the right end of its
// horizontal axis, with points at least `minSpacing` apart (the closing point excepted).
void EllipseToPoints(int x0, int y0, int x1, int y1, int minSpacing, DrawingObject& list);

// The arc about (cx, cy) through (x1, y1), from the angle of the start point to the angle of the
// end point (angles in -pi..pi, walked from the start towards the end), thinned to `minSpacing`.
void ArcToPoints(int cx, int cy, int x1, int y1, int x2, int y2, int minSpacing, DrawingObject& list);

// The vertices of a regular polygon with `sides` sides about (cx, cy) through (x1, y1), found by
// walking the circle, then the first vertex again. Fewer than 3 sides add nothing.
void CircleToPoints(int cx, int cy, int x1, int y1, int sides, DrawingObject& list);

}  // namespace kavri
