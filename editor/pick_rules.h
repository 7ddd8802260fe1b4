#pragma once
// How a press on the canvas finds points and lines. All on canvas coordinates.
#include "engine/drawing.h"

namespace kavri {

// q lies strictly less than 5 pixels from the press on both axes.
bool WithinReach(const PointRecord& q, int px, int py);

// q lies between the corners a and b, inclusive on both axes.
bool InBox(const PointRecord& q, const PointRecord& a, const PointRecord& b);

// The segment from a to b passes within sqrt(5) of the press and the press lies strictly between
// its ends on at least one axis; a segment of coincident ends is hit when its point is in reach.
bool SegmentHit(const PointRecord& a, const PointRecord& b, int px, int py);

// Index i (>= 1) of the first segment (point i-1 to point i) of the object hit by the press,
// or 0 when none is.
size_t FirstHitSegment(const DrawingObject& object, int px, int py);

}  // namespace kavri
