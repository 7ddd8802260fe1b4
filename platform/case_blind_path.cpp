#include "platform/case_blind_path.h"

#include <QString>
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>

namespace kavri {

namespace {

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `name` without regard to case; the first in byte order
// when several do, so the choice is the same on every run.
std::optional<std::string> FindEntryCaseBlind(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return std::nullopt;
  const QString wanted = QString::fromStdString(name);
  std::optional<std::string> best;
  while (const dirent* entry = ::readdir(dir)) {
    std::string candidate = entry->d_name;
    if (candidate == "." || candidate == "..") continue;
    if (QString::fromStdString(candidate).compare(wanted, Qt::CaseInsensitive) != 0) continue;
    if (!best || candidate < *best) best = std::move(candidate);
  }
  ::closedir(dir);
  return best;
}

}  // namespace

std::string ToSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string ResolveFileName(const std::string& path) {
  const std::string wanted = ToSlashes(path);
  if (wanted.empty() || PathExists(wanted)) return wanted;
  std::string resolved;
  size_t pos = 0;
  if (wanted[0] == '/') {
    resolved = "/";
    pos = 1;
  }
  while (pos <= wanted.size()) {
    size_t slash = wanted.find('/', pos);
    if (slash == std::string::npos) slash = wanted.size();
    const std::string part = wanted.substr(pos, slash - pos);
    pos = slash + 1;
    if (part.empty()) continue;  // doubled or trailing slash
    std::string candidate = resolved + part;
    if (!PathExists(candidate)) {
      std::optional<std::string> match =
          part == "." || part == ".." ? std::nullopt : FindEntryCaseBlind(resolved, part);
      if (!match) return wanted;
      candidate = resolved + *match;
    }
    resolved = candidate;
    if (slash < wanted.size()) resolved += '/';
  }
  return resolved;
}

}  // namespace kavri
