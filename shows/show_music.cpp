#include "shows/show_music.h"

#include <filesystem>

#include "platform/case_blind_path.h"
#include "platform/file_io.h"

namespace kavri {

namespace {

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_regular_file(path, error);
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

std::string FindShowMusicAsGiven(const std::string& path, const std::string& musicFolder) {
  if (!path.empty() && path.front() == '/' && IsFile(path)) return path;
  const std::string name = path.substr(path.find_last_of('/') + 1);
  if (!name.empty() && name != "." && name != "..") {
    const std::string folder = WithSlash(musicFolder);
    if (IsFile(folder + name)) return folder + name;
    if (const std::optional<std::string> match = TCaseBlindFolder(folder).Match(name); match && IsFile(folder + *match))
      return folder + *match;
  }
  if (!path.empty() && path.front() != '/' && IsFile(path)) return path;
  return {};
}

}  // namespace

std::string FindShowMusic(const std::string& music, const std::string& musicFolder) {
  // Handed on absolute: relative, it would name another file in the player's own folder, and a
  // text starting with "-" would read as one of the player's options.
  const std::string found = FindShowMusicAsGiven(ToSlashes(music), musicFolder);
  return found.empty() ? found : AbsolutePath(found);
}

std::string MusicFieldText(const std::string& chosenFile, const std::string& musicFolder) {
  namespace fs = std::filesystem;
  std::string folderText = musicFolder;
  while (folderText.size() > 1 && folderText.back() == '/') folderText.pop_back();
  std::error_code fileError, folderError;
  const fs::path file = fs::weakly_canonical(fs::path(chosenFile), fileError);
  const fs::path folder = fs::weakly_canonical(fs::path(folderText), folderError);
  // Folders are compared as the file system names them: on a case-sensitive system a folder that
  // differs in case is another folder, where the bare name would not be found again.
  if (!fileError && !folderError && file.parent_path() == folder) return file.filename().string();
  return chosenFile;
}

}  // namespace kavri
