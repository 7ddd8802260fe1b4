#pragma once
// What the import and rotation windows do to the editor's drawing, kept apart from their widgets.
#include "editor/editor_document.h"

namespace kavri {

// Ends any tool in progress, unselects everything and appends the objects (emptied: the drawing
// owns them now) with all their points selected; records an undo step when anything was added.
void AddObjectsAsSelection(EditorDocument& doc, Drawing& objects);

// The point turned by `angle` degrees (negative: anticlockwise on screen) about canvas point
// (cx, cy), rounded to the nearest pixel so a full turn leaves it where it was.
PointRecord RotatedAbout(const PointRecord& p, double angle, int cx, int cy);

// Turns the selected points in place or, with CopyFlag, adds turned copies of them as new objects
// and keeps the selection; records an undo step when something was selected.
void RotateSelection(EditorDocument& doc, double angle, int cx, int cy);

}  // namespace kavri
