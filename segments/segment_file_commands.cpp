#include "segments/segment_file_commands.h"


#include <vector>

#include "engine/content_path.h"
#include "engine/section_file.h"
#include "platform/dialog_service.h"
#include "segments/file_list_commands.h"
#include "platform/file_io.h"
#include "platform/int_convert.h"
#include "platform/text.h"
#include "platform/text_lines.h"
#include "shell/error_guard.h"

namespace kavri {

namespace {

constexpr const char* kSegmentExtension = ".sec";

// A command that ends early says why in the standard error box; the window's message line takes
// the same words.
bool Refuse(const std::string& why) {
  ShowStandardError(why);
  return false;
}

}  // namespace

TSegmentFileCommands::TSegmentFileCommands(TSegmentGridModel& segment, TFileList& drawings, TFileList& segments,
                                           TSegmentFileHooks hooks)
    : segment_(segment), drawings_(drawings), segments_(segments), hooks_(std::move(hooks)) {}

std::optional<std::string> TSegmentFileCommands::AskName(const char* caption, const char* prompt,
                                                         const char* initial) const {
  return AskFileName(caption, prompt, initial);
}

void TSegmentFileCommands::New() {
  const std::optional<std::string> name = AskName("Creat a new segment", "Segment name", "");
  if (!name) return;
  if (segments_.IndexOf(WithExtension(*name, kSegmentExtension)) >= 0) {
    segment_.SetStatus("This segment name have exists,creat failure.");
    return;
  }
  segment_.ReplaceRows({NewSegmentRow()});
  segment_.SetSegmentName(*name);
  segment_.SetStatus("Create a new segment.");
}

bool TSegmentFileCommands::Open() {
  const std::string name = segments_.SelectedName();
  if (name.empty() || !FileExists(segments_.PathOf(name))) return false;
  // Everything is read into a scratch list first, so a bad file leaves the name and grid as they were.
  std::vector<TSegmentRow> rows;
  {
    std::string error;
    const std::optional<TextLines> lines = ReadRowLines(segments_.PathOf(name), kSegmentFileRule, &error);
    if (!lines) return Refuse(error);
    rows.reserve(lines->size());
    try {
      for (const std::string& line : *lines) {
        TSectionRecord record;
        ParseSectionFields(line, record);
        const std::vector<std::string> cells = SectionCells(record);
        TSegmentRow& row = rows.emplace_back();
        std::copy(cells.begin(), cells.end(), row.begin());
      }
    } catch (const EConvertError& bad) {
      return Refuse(bad.what());
    }
  }
  if (hooks_.releaseShownRows) hooks_.releaseShownRows();
  segment_.SetSegmentName(name.size() > 4 ? name.substr(0, name.size() - 4) : name);
  segment_.ReplaceRows(std::move(rows));
  return true;
}

bool TSegmentFileCommands::CanSave() const {
  try {
    segment_.CheckNumberCells();
  } catch (const EConvertError& bad) {
    return Refuse(std::string("The segment was not saved. ") + bad.what());
  }
  return true;
}

bool TSegmentFileCommands::Write(const std::string& path) {
  std::vector<std::vector<std::string>> cellRows;
  cellRows.reserve(segment_.Rows().size());
  for (const TSegmentRow& row : segment_.Rows()) cellRows.emplace_back(row.begin(), row.end());
  std::string error;
  if (!SaveSectionFile(path, cellRows, &error)) {
    return Refuse(NotSavedText("The segment was not saved. ", error));
  }
  return true;
}

bool TSegmentFileCommands::Save() {
  if (!CanSave()) return false;
  std::string name = Trim(segment_.SegmentName());
  bool typed = false;
  if (segment_.SegmentName() == "NewSection") {
    const std::optional<std::string> answer = AskName("Save segment", "segment name", "");
    if (!answer) return false;
    name = *answer;
    typed = true;
  }
  name = ExistingFileName(segments_.Directory(), WithExtension(name, kSegmentExtension));
  const std::string path = segments_.PathOf(name);
  if (typed && FileExists(path) &&
      Dialogs().Confirm("The segment have exists,replace it?", TConfirmButtons::YesNo) != TDialogAnswer::Yes)
    return false;
  if (!Write(path)) return false;
  segment_.SetSegmentName(name);
  segments_.Refresh();
  segments_.SetItemIndex(segments_.IndexOf(name));
  segment_.SetStatus("The segment have saved.");
  return true;
}

bool TSegmentFileCommands::SaveAs() {
  if (!CanSave()) return false;
  const std::optional<std::string> answer = AskName("Save segment", "segment name", "");
  if (!answer) return false;
  const bool isNew = *answer != Trim(segment_.SegmentName());
  const std::string name = ExistingFileName(segments_.Directory(), WithExtension(*answer, kSegmentExtension));
  const std::string path = segments_.PathOf(name);
  if (isNew && FileExists(path) &&
      Dialogs().Confirm("This segment have exists,replace it?", TConfirmButtons::YesNo) != TDialogAnswer::Yes)
    return false;
  if (!Write(path)) return false;
  segment_.SetSegmentName(name);
  segments_.Refresh();
  segment_.SetStatus("Save as segment sucess.");
  return true;
}

void TSegmentFileCommands::Find(TFileList& list, const char* caption, const char* prompt, const char* initial,
                                const char* extension, const char* notFound, bool preview) {
  const std::optional<bool> found = FindListFile(list, caption, prompt, initial, extension);
  if (!found) return;
  if (!*found) {
    segment_.SetStatus(notFound);
    return;
  }
  if (preview && hooks_.previewSelectedDrawing) hooks_.previewSelectedDrawing();
}

void TSegmentFileCommands::FindDrawing() {
  Find(drawings_, "Find drawing", "drawing name", "drawing1", ".ddr", "Drawing not found!", true);
}

void TSegmentFileCommands::FindSegment() {
  Find(segments_, "Find segment", "segment name", "Section1", kSegmentExtension, "segment not found!", false);
}

void TSegmentFileCommands::DeleteDrawing() {
  if (DeleteSelectedFile(drawings_) && hooks_.previewSelectedDrawing) hooks_.previewSelectedDrawing();
}

void TSegmentFileCommands::DeleteSegment() { DeleteSelectedFile(segments_); }

void TSegmentFileCommands::EditDrawing() {
  if (drawings_.ItemIndex() >= 0 && hooks_.openDrawingInEditor) hooks_.openDrawingInEditor(drawings_.SelectedPath());
}

std::optional<std::string> TSegmentFileCommands::RowDrawingPath(int row) const {
  if (row < 1 || row > segment_.LastRow()) return std::nullopt;
  // The list's folder is the content folder itself, so it stands as the "program folder" with no subfolder.
  TContentFolder folder(drawings_.Directory(), "");
  const std::optional<TContentFile> file = folder.Find(segment_.Cell(0, row));
  if (!file) return std::nullopt;
  return file->path;
}

}  // namespace kavri
