#include "editor/selection_commands.h"

#include <algorithm>

#include "engine/marked_points.h"

namespace kavri {

namespace {

// Every command works on the selection as it stands, never on a half-done drag.
std::vector<PointRecord*> SettledSelection(EditorDocument& doc) {
  doc.CancelToolState();
  return doc.SelectionList();
}

void PushUndoIfAny(EditorDocument& doc, const std::vector<PointRecord*>& selection) {
  if (!selection.empty()) doc.PushUndo();
}

}  // namespace

void RainbowColours(const std::vector<PointRecord*>& points) {
  const size_t band = points.size() / 6;
  uint8_t colour = 2;
  size_t k = 1;
  for (size_t i = 0; i < points.size(); ++i) {
    if (band * k <= i) {
      ++k;
      if (++colour == 8) colour = 2;
    }
    points[i]->colour = colour;
  }
}

void EraseSelection(EditorDocument& doc) {
  const auto selection = SettledSelection(doc);
  doc.UnselectAll();
  for (PointRecord* p : selection) p->state = kMarkedForDeletion;
  RemoveMarkedPoints(doc.EditorDrawing);
  doc.PushUndo();
}

void ColourSelection(EditorDocument& doc) {
  const auto selection = SettledSelection(doc);
  for (PointRecord* p : selection) p->colour = static_cast<uint8_t>(doc.CurrentColor);
  PushUndoIfAny(doc, selection);
}

void ToggleSelectionBlanking(EditorDocument& doc) {
  for (PointRecord* p : SettledSelection(doc)) p->blanked = p->blanked ? 0 : 1;
  doc.PushUndo();
}

void RainbowSelection(EditorDocument& doc) {
  const auto selection = SettledSelection(doc);
  RainbowColours(selection);
  PushUndoIfAny(doc, selection);
}

void MirrorSelection(EditorDocument& doc, bool horizontal) {
  const auto selection = SettledSelection(doc);
  auto mirror = [horizontal](PointRecord& p) {
    if (horizontal)
      p.y = 510 - p.y;
    else
      p.x = 510 - p.x;
  };
  if (doc.CopyFlag)
    doc.AppendChangedCopiesOfSelection(mirror);
  else
    for (PointRecord* p : selection) mirror(*p);
  PushUndoIfAny(doc, selection);
}

void CentreSelection(EditorDocument& doc) {
  const auto selection = SettledSelection(doc);
  if (selection.empty()) return;
  // Bounds start from a selected point: imports may lie well outside the canvas.
  int minX = selection[0]->x, maxX = minX, minY = selection[0]->y, maxY = minY;
  for (const PointRecord* p : selection) {
    minX = std::min(minX, p->x);
    maxX = std::max(maxX, p->x);
    minY = std::min(minY, p->y);
    maxY = std::max(maxY, p->y);
  }
  const int dx = 255 - (minX + (maxX - minX) / 2);
  const int dy = 255 - (minY + (maxY - minY) / 2);
  for (PointRecord* p : selection) {
    p->x += dx;
    p->y += dy;
  }
  doc.PushUndo();
}

void SelectAll(EditorDocument& doc) {
  doc.CancelToolState();
  doc.UnselectAll();
  for (auto& object : doc.EditorDrawing.Objects())
    for (auto& p : object->Points()) doc.Select(p.get());
}

void UnselectAll(EditorDocument& doc) {
  doc.CancelToolState();
  doc.UnselectAll();
}

bool SaveToBuffer(EditorDocument& doc) {
  Drawing copies;
  for (const auto& object : doc.EditorDrawing.Objects()) {
    const bool holdsSelection =
        std::any_of(object->Points().begin(), object->Points().end(), [](const auto& p) { return p->state == 1; });
    if (!holdsSelection) continue;
    DrawingObject* copy = copies.AddObject();
    for (const auto& p : object->Points()) copy->Add(*p)->state = 0;
  }
  if (copies.Empty()) return false;
  doc.ObjectBuffer = std::move(copies);
  return true;
}

void LoadFromBuffer(EditorDocument& doc) {
  doc.CancelToolState();
  doc.UnselectAll();
  for (const auto& object : doc.ObjectBuffer.Objects()) {
    DrawingObject* copy = doc.EditorDrawing.AddObject();
    for (const auto& p : object->Points()) {
      PointRecord* q = copy->Add(*p);
      q->state = 0;
      doc.Select(q);
    }
  }
  doc.PushUndo();
}

}  // namespace kavri
