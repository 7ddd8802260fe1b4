#pragma once
// The drawing being edited and everything the tools keep about it: the selection, the presses a
// tool has collected, the originals of a drag, the line chain, the copy buffer and the undo
// history. Drawing coordinates are canvas pixels (0..510); files hold half of them.
#include <string>
#include <utility>
#include <vector>

#include "editor/undo_history.h"
#include "engine/drawing.h"

namespace kavri {

// A dragged point and where it was when the drag began.
struct DragOriginal {
  PointRecord* point;
  PointRecord original;
};

class EditorDocument {
 public:
  Drawing EditorDrawing;
  Drawing ObjectBuffer;  // survives New and Open
  int CurrentColor = 4;
  int PointSpace = 1;    // spacing of generated points, at least 1
  int PolygonSides = 3;  // at least 3
  bool CopyFlag = false;
  bool ShowPoints = true;
  bool ModifiedFlag = false;

  // Selection: every listed point has state 1 and is listed once.
  const std::vector<PointRecord*>& SelectionList() const { return selection_; }
  void Select(PointRecord* p);
  void Unselect(PointRecord* p);
  void UnselectAll();

  // Click points a tool has collected and owns until an object takes copies of them.
  DrawingObject& PendingPoints() { return pending_; }
  const DrawingObject& PendingPoints() const { return pending_; }

  // A drag keeps the selected points' originals so it can be undone without a snapshot.
  // `unselectOnCancel`: a cancelled drag also unselects the points (Move point).
  void BeginDrag(bool unselectOnCancel);
  const std::vector<DragOriginal>& DragOriginals() const { return drag_; }
  void RestoreDragOriginals();
  void EndDrag();

  // The object the line tools extend press after press.
  bool ChainingFlag() const { return chain_ != nullptr; }
  DrawingObject* ChainObject() const { return chain_; }
  void StartChain(DrawingObject* object) { chain_ = object; }
  void EndChain() { chain_ = nullptr; }

  // While set, the canvas keeps the mouse: a tool waits for its next press.
  bool CursorClipped() const { return clipped_; }
  void ClipCursorToCanvas() { clipped_ = true; }
  void ReleaseCursorClip() { clipped_ = false; }

  // Ends whatever a tool is in the middle of: a drag is put back, the presses are freed, the line
  // chain ends and the mouse is let go. Called before anything replaces objects or changes the
  // selection, so no tool is left holding a point that is gone.
  void CancelToolState();

  // Records the drawing as the newest undo step and marks it modified.
  void PushUndo();
  // Step through the history; each drops the selection and any tool state first. False at the
  // oldest or newest snapshot, with nothing changed.
  bool Undo();
  bool Redo();
  const UndoHistory& History() const { return history_; }

  // New, Open and opening from another window: the drawing is replaced, the history restarts
  // from it and it counts as unchanged.
  void ReplaceDrawing(Drawing drawing);
  // Loads a drawing file (scale 2) in place of the drawing; false, leaving everything as it was,
  // when it cannot be read.
  bool OpenDrawingFile(const std::string& fileName, std::string* error = nullptr);
  // After a save: the history restarts from the drawing as saved.
  void ResetHistory();

  // For each object holding selected points, appends an object of copies of those points (state
  // 0) changed by `change`; the selection itself is left alone. Used by the CopyFlag commands.
  template <typename Change>
  void AppendChangedCopiesOfSelection(Change change);

 private:
  void ForgetSelection() { selection_.clear(); }

  std::vector<PointRecord*> selection_;
  DrawingObject pending_;
  std::vector<DragOriginal> drag_;
  bool dragUnselects_ = false;
  DrawingObject* chain_ = nullptr;
  bool clipped_ = false;
  UndoHistory history_;
};

template <typename Change>
void EditorDocument::AppendChangedCopiesOfSelection(Change change) {
  const size_t objects = EditorDrawing.Count();
  for (size_t o = 0; o < objects; ++o) {
    DrawingObject* copy = nullptr;
    for (const auto& p : EditorDrawing[o].Points()) {
      if (p->state != 1) continue;
      if (!copy) copy = EditorDrawing.AddObject();
      PointRecord q = *p;
      q.state = 0;
      change(q);
      copy->Add(q);
    }
  }
}

}  // namespace kavri
