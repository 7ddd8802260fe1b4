#pragma once
// The segment window's file commands over the segment being edited and the two file lists:
// New, Open, Save, Save As, Find, Delete, Refresh and Edit. Questions go through the dialog
// service; results show in the segment's status line.
//
//   TSegmentFileHooks hooks;
//   hooks.previewSelectedDrawing = [this] { PreviewSelectedDrawing(); };
//   hooks.openDrawingInEditor = [](const std::string& path) { return OpenDrawingInEditor(path); };
//   TSegmentFileCommands files(segment, FileListBox1->Files(), FileListBox2->Files(), hooks);
//   files.Save();   // asks for a name while the segment is "NewSection"
#include <functional>
#include <optional>
#include <string>

#include "platform/file_list.h"
#include "segments/segment_grid_model.h"

namespace kavri {

struct TSegmentFileHooks {
  // A command selected another drawing in the drawing list: load and preview it.
  std::function<void()> previewSelectedDrawing;
  // Opens a drawing file in the drawing editor.
  std::function<bool(const std::string& path)> openDrawingInEditor;
  // A file opened and its rows are about to replace the segment's: whatever shows the old rows may
  // let go of them first.
  std::function<void()> releaseShownRows;
};

class TSegmentFileCommands {
 public:
  TSegmentFileCommands(TSegmentGridModel& segment, TFileList& drawings, TFileList& segments,
                       TSegmentFileHooks hooks = {});

  void New();
  // False when nothing was opened; a file that cannot be read keeps the segment as it was.
  bool Open();
  // False when nothing was written; a refused or failed write shows why and changes nothing.
  bool Save();
  bool SaveAs();
  void FindDrawing();
  void FindSegment();
  void DeleteDrawing();
  void DeleteSegment();
  void RefreshDrawings() { drawings_.Refresh(); }
  void RefreshSegments() { segments_.Refresh(); }
  void EditDrawing();

  // The drawing file a grid row names, found in the drawing list's folder exactly or else without
  // regard to case; nothing when the row names no such file.
  std::optional<std::string> RowDrawingPath(int row) const;

 private:
  std::optional<std::string> AskName(const char* caption, const char* prompt, const char* initial) const;
  bool CanSave() const;
  bool Write(const std::string& path);
  void Find(TFileList& list, const char* caption, const char* prompt, const char* initial,
            const char* extension, const char* notFound, bool preview);

  TSegmentGridModel& segment_;
  TFileList& drawings_;
  TFileList& segments_;
  TSegmentFileHooks hooks_;
};

}  // namespace kavri
