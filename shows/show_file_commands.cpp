#include "shows/show_file_commands.h"

#include <algorithm>

#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/int_convert.h"
#include "platform/program_folder.h"
#include "platform/text.h"
#include "platform/text_lines.h"
#include "segments/file_list_commands.h"
#include "shell/error_guard.h"
#include "shows/show_music.h"

namespace kavri {

namespace {

constexpr const char* kShowExtension = ".seq";
constexpr const char* kNotSaved = "The show was not saved. ";

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

// A command that ends early says why in the standard error box; the window's message line takes
// the same words.
bool Refuse(const std::string& why) {
  ShowStandardError(why);
  return false;
}

}  // namespace

TShowFileCommands::TShowFileCommands(TShowGridModel& show, TShowFileLists lists, TShowFileHooks hooks)
    : show_(show), lists_(lists), hooks_(std::move(hooks)) {}

TShowRowSource TShowFileCommands::Source(TShowContentKind kind, const TFileList& list) {
  return {kind, list.SelectedName(), list.SelectedPath()};
}

std::optional<std::string> TShowFileCommands::AskShowName(const char* caption) const {
  std::string answer;
  if (!Dialogs().InputQuery(caption, "show name", answer)) return std::nullopt;
  answer = Trim(answer);
  if (!CheckFileName(answer)) return std::nullopt;
  return answer;
}

void TShowFileCommands::New() {
  const std::optional<std::string> name = AskShowName("Create a new show");
  if (!name) return;
  if (lists_.shows->IndexOf(*name + kShowExtension) >= 0) {
    show_.SetStatus("This show have exists,create failure.");
    return;
  }
  show_.ClearTracks();
  show_.SetShowName(*name);
  show_.SetStatus("Create a new show.");
}

bool TShowFileCommands::Open() {
  TFileList& shows = *lists_.shows;
  const std::string item = shows.SelectedName();
  if (item.empty() || !FileExists(shows.PathOf(item))) return false;
  // The file is read into a scratch show first: one that cannot be read or holds a bad time leaves
  // name, music and grids as they were, so a later Save cannot overwrite it with another show.
  std::string error;
  std::optional<TextLines> lines = ReadRowLines(shows.PathOf(item), kShowFileRule, &error);
  if (!lines) return Refuse(error);
  TSequence scratch;
  try {
    LoadShowLines(*lines, scratch, nullptr);
  } catch (const EConvertError& bad) {
    return Refuse(bad.what());
  }
  // The text is let go as soon as the rows hold it, and the rows' texts move into the grids, so a
  // long show is held once at a time.
  lines.reset();
  show_.ReplaceShow(item.size() > 4 ? item.substr(0, item.size() - 4) : std::string(), std::move(scratch.music),
                    TakeShowTrackCells(scratch));
  return true;
}

bool TShowFileCommands::CanSave() const {
  try {
    show_.CheckTimeCells();
  } catch (const EConvertError& bad) {
    return Refuse(kNotSaved + std::string(bad.what()));
  }
  return true;
}

bool TShowFileCommands::Write(const std::string& name, const char* done) {
  if (!CheckFileName(name)) return false;
  TFileList& shows = *lists_.shows;
  // A show saved on a case-blind system is replaced, not given a twin differing in case.
  const std::string file = ExistingFileName(shows.Directory(), name + kShowExtension);
  std::string error;
  if (!SaveShowFile(shows.PathOf(file), show_.Music(), show_.Cells(), &error)) {
    return Refuse(NotSavedText(kNotSaved, error));
  }
  show_.SetShowName(name);
  shows.Refresh();
  shows.SetItemIndex(shows.IndexOf(file));
  show_.SetStatus(done);
  return true;
}

bool TShowFileCommands::Save() {
  if (!CanSave()) return false;
  std::string name = show_.ShowName();
  if (name == TShowGridModel::kNoName) {
    const std::optional<std::string> answer = AskShowName("Save show");
    if (!answer) return false;
    name = *answer;
  }
  return Write(Trim(name), "Save show success.");
}

bool TShowFileCommands::SaveAs() {
  if (!CanSave()) return false;
  const std::optional<std::string> answer = AskShowName("Save as show");
  return answer && Write(*answer, "Save as show success.");
}

void TShowFileCommands::FindMusic() {
  TFileDialogRequest request;
  request.title = "Open";
  request.folder = MusicFolder();
  const std::optional<std::string> file = Dialogs().ChooseOpenFile(request);
  if (file && FileExists(*file)) show_.SetMusic(MusicFieldText(*file, MusicFolder()));
}

void TShowFileCommands::Find(TFileList& list, const char* caption, const char* prompt, const char* initial,
                             const char* extension, const char* notFound, const std::function<void()>& found) {
  const std::optional<bool> result = FindListFile(list, caption, prompt, initial, extension);
  if (!result) return;
  if (!*result) return show_.SetStatus(notFound);
  Call(found);
}

void TShowFileCommands::FindDrawing() {
  Find(*lists_.drawings, "Find drawing", "Drawing name", "drawing1", ".ddr", "Drawing not found!",
       hooks_.previewSelectedDrawing);
}

void TShowFileCommands::FindSegment() {
  Find(*lists_.segments, "Find segment", "Segment name", "Section1", ".sec", "Segment not found!", {});
}

void TShowFileCommands::FindIlda() {
  Find(*lists_.ildas, "Find ILDA image", "Image name", "Image1", ".ild", "Image not found!", hooks_.ildaFound);
}

void TShowFileCommands::DeleteDrawing() {
  if (DeleteSelectedFile(*lists_.drawings)) Call(hooks_.previewSelectedDrawing);
}

void TShowFileCommands::DeleteSegment() { DeleteSelectedFile(*lists_.segments); }

void TShowFileCommands::DeleteIlda() {
  if (DeleteSelectedFile(*lists_.ildas)) Call(hooks_.ildaDeleted);
}

void TShowFileCommands::DeleteShow() { DeleteSelectedFile(*lists_.shows); }

void TShowFileCommands::EditDrawing() {
  if (lists_.drawings->ItemIndex() >= 0 && hooks_.openDrawingInEditor)
    hooks_.openDrawingInEditor(lists_.drawings->SelectedPath());
}

}  // namespace kavri
