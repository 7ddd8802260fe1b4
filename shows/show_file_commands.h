#pragma once
// The show window's file commands over the show being edited and its four file lists: New, Open,
// Save, Save as, the music Find, Find drawing / segment / ILD, Refresh, Delete and Edit drawing.
// Questions go through the dialog service; results show in the show's message line.
//
//   TShowFileHooks hooks;
//   hooks.previewSelectedDrawing = [this] { PreviewSelectedDrawing(); };
//   TShowFileCommands files(show, {&drawings, &segments, &ildas, &shows}, hooks);
//   files.Save();   // asks for a name while the show is "NewSequence"
#include <functional>
#include <optional>
#include <string>

#include "platform/file_list.h"
#include "shows/show_grid_model.h"

namespace kavri {

struct TShowFileLists {
  TFileList* drawings;
  TFileList* segments;
  TFileList* ildas;
  TFileList* shows;
};

struct TShowFileHooks {
  // A command selected another drawing: preview it.
  std::function<void()> previewSelectedDrawing;
  // Find selected an ILDA image, or Delete selected the neighbour of the one it took.
  std::function<void()> ildaFound;
  std::function<void()> ildaDeleted;
  std::function<bool(const std::string& path)> openDrawingInEditor;
};

class TShowFileCommands {
 public:
  TShowFileCommands(TShowGridModel& show, TShowFileLists lists, TShowFileHooks hooks = {});

  void New();
  // False when nothing was opened; a file that cannot be read keeps the show as it was.
  bool Open();
  // False when nothing was written; a refused or failed write says why and changes nothing.
  bool Save();
  bool SaveAs();
  void FindMusic();
  void FindDrawing();
  void FindSegment();
  void FindIlda();
  void DeleteDrawing();
  void DeleteSegment();
  void DeleteIlda();
  void DeleteShow();
  void EditDrawing();

  // The selected item of a content list as a row source.
  TShowRowSource SelectedDrawing() const { return Source(TShowContentKind::Drawing, *lists_.drawings); }
  TShowRowSource SelectedSegment() const { return Source(TShowContentKind::Segment, *lists_.segments); }
  TShowRowSource SelectedIlda() const { return Source(TShowContentKind::Ilda, *lists_.ildas); }

 private:
  static TShowRowSource Source(TShowContentKind kind, const TFileList& list);
  std::optional<std::string> AskShowName(const char* caption) const;
  bool CanSave() const;
  bool Write(const std::string& name, const char* done);
  void Find(TFileList& list, const char* caption, const char* prompt, const char* initial, const char* extension,
            const char* notFound, const std::function<void()>& found);

  TShowGridModel& show_;
  TShowFileLists lists_;
  TShowFileHooks hooks_;
};

}  // namespace kavri
