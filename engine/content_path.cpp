#include "engine/content_path.h"

#include <limits.h>
#include <sys/stat.h>

namespace kavri {

namespace {

std::string FolderPath(const std::string& programFolder, const std::string& folder) {
  std::string path = programFolder;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  path = ResolveFileName(path + folder);
  if (path.back() != '/') path += '/';
  return path;
}

std::optional<TContentFile> RegularFile(std::string path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return TContentFile{std::move(path), static_cast<uint64_t>(st.st_size)};
}

}  // namespace

bool IsBareFileName(std::string_view name) {
  // A name longer than a folder entry can be names nothing, however the rows spell it.
  return !name.empty() && name.size() <= NAME_MAX && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

TContentFolder::TContentFolder(const std::string& programFolder, const std::string& folder)
    : path_(FolderPath(programFolder, folder)), entries_(path_) {}

std::optional<TContentFile> TContentFolder::Find(const std::string& name) {
  if (!IsBareFileName(name)) return std::nullopt;
  if (std::optional<TContentFile> exact = RegularFile(path_ + name)) return exact;
  const std::optional<std::string> match = entries_.Match(name);
  return match ? RegularFile(path_ + *match) : std::nullopt;
}

}  // namespace kavri
