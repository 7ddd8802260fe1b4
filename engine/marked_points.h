#pragma once
// Points in state 2 are marked for deletion. Renderers only skip them; freeing them is a separate
// step taken by whoever owns the list, so drawing never changes a list another thread may read.
#include <cstddef>

#include "engine/drawing.h"

namespace kavri {

constexpr uint8_t kMarkedForDeletion = 2;

bool HasMarkedPoints(const DrawingObject& list);
bool HasMarkedPoints(const Drawing& drawing);

// Removes and frees the marked points; a list without any is left exactly as it was (no point
// moves). Returns how many were removed.
size_t RemoveMarkedPoints(DrawingObject& list);
size_t RemoveMarkedPoints(Drawing& drawing);

}  // namespace kavri
