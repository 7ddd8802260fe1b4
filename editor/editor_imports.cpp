#include "editor/editor_imports.h"

#include <cmath>

#include "engine/transforms.h"

namespace kavri {

void AddObjectsAsSelection(EditorDocument& doc, Drawing& objects) {
  // These windows stay open beside the editor: a drag may be under way when OK is pressed.
  doc.CancelToolState();
  doc.UnselectAll();
  for (auto& object : objects.Objects()) {
    for (auto& p : object->Points()) {
      p->state = 0;
      doc.Select(p.get());
    }
    doc.EditorDrawing.Objects().push_back(std::move(object));
  }
  objects.Clear();
  if (!doc.SelectionList().empty()) doc.PushUndo();
}

PointRecord RotatedAbout(const PointRecord& p, double angle, int cx, int cy) {
  double x = p.x, y = p.y;
  RotatePointAbout(angle, cx, cy, x, y);
  PointRecord q = p;
  q.x = static_cast<int32_t>(std::lround(x));
  q.y = static_cast<int32_t>(std::lround(y));
  return q;
}

void RotateSelection(EditorDocument& doc, double angle, int cx, int cy) {
  doc.CancelToolState();
  const std::vector<PointRecord*>& selection = doc.SelectionList();
  if (selection.empty()) return;
  auto turn = [&](PointRecord& p) { p = RotatedAbout(p, angle, cx, cy); };
  if (doc.CopyFlag)
    doc.AppendChangedCopiesOfSelection(turn);
  else
    for (PointRecord* p : selection) turn(*p);
  doc.PushUndo();
}

}  // namespace kavri
