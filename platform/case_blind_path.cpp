#include "platform/case_blind_path.h"

#include <QByteArrayView>
#include <QString>
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

namespace kavri {

namespace {

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::string ToSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string CaseBlindKey(const std::string& name) {
  if (!QByteArrayView(name.data(), static_cast<qsizetype>(name.size())).isValidUtf8()) return name;
  return QString::fromStdString(name).toCaseFolded().toStdString();
}

TCaseBlindFolder::TCaseBlindFolder(std::string folder) : folder_(std::move(folder)) {}

std::optional<std::string> TCaseBlindFolder::Match(const std::string& name) {
  if (!indexed_) {
    indexed_ = true;
    if (DIR* dir = ::opendir(folder_.empty() ? "." : folder_.c_str())) {
      while (const dirent* entry = ::readdir(dir)) {
        std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..") continue;
        auto [it, added] = entries_.try_emplace(CaseBlindKey(candidate), candidate);
        if (!added && candidate < it->second) it->second = std::move(candidate);
      }
      ::closedir(dir);
    }
  }
  const auto it = entries_.find(CaseBlindKey(name));
  if (it == entries_.end()) return std::nullopt;
  return it->second;
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
          part == "." || part == ".." ? std::nullopt : TCaseBlindFolder(resolved).Match(part);
      if (!match) return wanted;
      candidate = resolved + *match;
    }
    resolved = candidate;
    if (slash < wanted.size()) resolved += '/';
  }
  return resolved;
}

}  // namespace kavri
