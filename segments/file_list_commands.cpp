#include "segments/file_list_commands.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "engine/content_path.h"
#include "platform/dialog_service.h"
#include "platform/file_io.h"
#include "platform/text.h"

namespace kavri {

std::optional<std::string> AskFileName(const char* caption, const char* prompt, const char* initial,
                                       TCancelAnswer cancel) {
  std::string answer = initial;
  if (!Dialogs().InputQuery(caption, prompt, answer)) {
    if (cancel == TCancelAnswer::Nothing) return std::nullopt;
    answer = initial;
  }
  answer = Trim(answer);
  if (!CheckFileName(answer)) return std::nullopt;
  return answer;
}

std::optional<bool> FindListFile(TFileList& list, const char* caption, const char* prompt, const char* initial,
                                 const char* extension, TCancelAnswer cancel) {
  std::optional<std::string> name = AskFileName(caption, prompt, initial, cancel);
  if (!name) return std::nullopt;
  if (FileExtension(*name) != extension) *name += extension;
  const int index = list.IndexOf(*name);
  if (index < 0) return false;
  list.SetItemIndex(index);
  return true;
}

std::string ExistingFileName(const std::string& folder, const std::string& name) {
  if (FileExists(folder + "/" + name)) return name;
  return TCaseBlindFolder(folder).Match(name).value_or(name);
}

bool DeleteSelectedFile(TFileList& list) {
  const int index = list.ItemIndex();
  if (index < 0) return false;
  std::string neighbour;
  if (list.Count() > 1) neighbour = list.Items()[index + 1 < list.Count() ? index + 1 : index - 1];
  // A file that vanished meanwhile is simply not there to delete; any other failure says why and
  // leaves the list as the operator saw it, with the file still selected.
  const std::string path = list.SelectedPath();
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    const std::string reason = std::strerror(errno);
    Dialogs().ShowMessage("\"" + list.SelectedName() + "\" was not deleted: " + reason + ".", TMessageKind::Error);
    return true;
  }
  list.Update();
  list.SetItemIndex(list.IndexOf(neighbour));
  return list.ItemIndex() >= 0;
}

}  // namespace kavri
