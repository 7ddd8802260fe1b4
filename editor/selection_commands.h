#pragma once
// The editor's commands on the selected points. Each ends any tool in progress first, changes the
// drawing and records an undo step where the editor does; the caller redraws and shows the
// command's status text (editor/editor_texts.h).
#include <vector>

#include "editor/editor_document.h"

namespace kavri {

// Colours 2..7 in six equal bands over the list (what is left over starts again at 2); a list of
// fewer than six points counts up from 3.
void RainbowColours(const std::vector<PointRecord*>& points);

// Deletes the selected points (objects left empty stay). Always records an undo step.
void EraseSelection(EditorDocument& doc);
// Gives the selected points the current colour.
void ColourSelection(EditorDocument& doc);
// Toggles the blanking of the selected points. Always records an undo step.
void ToggleSelectionBlanking(EditorDocument& doc);
void RainbowSelection(EditorDocument& doc);
// y := 510 - y for the "H" mirror, x := 510 - x for the vertical one; with CopyFlag the selection
// stays and mirrored copies are added.
void MirrorSelection(EditorDocument& doc, bool horizontal);
// Moves the selection so the centre of its bounds lands on (255, 255).
void CentreSelection(EditorDocument& doc);
void SelectAll(EditorDocument& doc);
void UnselectAll(EditorDocument& doc);
// Copies the objects holding selected points into the buffer; false (buffer kept) when none does.
bool SaveToBuffer(EditorDocument& doc);
// Appends copies of the buffer's objects, selected instead of the old selection. Always records an
// undo step.
void LoadFromBuffer(EditorDocument& doc);

}  // namespace kavri
