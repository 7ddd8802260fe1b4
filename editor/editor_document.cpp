#include "editor/editor_document.h"

#include <algorithm>

namespace kavri {

void EditorDocument::Select(PointRecord* p) {
  if (p->state == 1) return;
  p->state = 1;
  selection_.push_back(p);
}

void EditorDocument::Unselect(PointRecord* p) {
  p->state = 0;
  selection_.erase(std::remove(selection_.begin(), selection_.end(), p), selection_.end());
}

void EditorDocument::UnselectAll() {
  for (PointRecord* p : selection_) p->state = 0;
  selection_.clear();
}

void EditorDocument::BeginDrag(bool unselectOnCancel) {
  drag_.clear();
  drag_.reserve(selection_.size());
  for (PointRecord* p : selection_) drag_.push_back({p, *p});
  dragUnselects_ = unselectOnCancel;
}

void EditorDocument::RestoreDragOriginals() {
  for (auto& [point, original] : drag_) {
    point->x = original.x;
    point->y = original.y;
    point->colour = original.colour;
    point->blanked = original.blanked;
  }
}

void EditorDocument::EndDrag() {
  drag_.clear();
  dragUnselects_ = false;
}

void EditorDocument::CancelToolState() {
  if (!drag_.empty()) {
    RestoreDragOriginals();
    if (dragUnselects_) UnselectAll();
  }
  EndDrag();
  pending_.Clear();
  EndChain();
  ReleaseCursorClip();
}

void EditorDocument::PushUndo() {
  history_.Push(EditorDrawing);
  ModifiedFlag = true;
}

bool EditorDocument::Undo() {
  if (history_.Index() <= 0) return false;
  CancelToolState();
  ForgetSelection();
  return history_.Undo(EditorDrawing);
}

bool EditorDocument::Redo() {
  if (static_cast<size_t>(history_.Index() + 1) >= history_.Count()) return false;
  CancelToolState();
  ForgetSelection();
  return history_.Redo(EditorDrawing);
}

void EditorDocument::ReplaceDrawing(Drawing drawing) {
  CancelToolState();
  ForgetSelection();
  EditorDrawing = std::move(drawing);
  ResetHistory();
}

bool EditorDocument::OpenDrawingFile(const std::string& fileName, std::string* error) {
  Drawing loaded;
  if (!LoadDrawingFile(fileName, loaded, 2, error)) return false;
  ReplaceDrawing(std::move(loaded));
  return true;
}

void EditorDocument::ResetHistory() {
  // The baseline is what the first change is undone to; it is not itself a change.
  history_.Clear();
  history_.Push(EditorDrawing);
  ModifiedFlag = false;
}

}  // namespace kavri
