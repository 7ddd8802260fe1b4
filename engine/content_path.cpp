#include "engine/content_path.h"

#include "platform/case_blind_path.h"

namespace kavri {

std::string ContentFilePath(const std::string& programFolder, const std::string& folder, const std::string& name) {
  std::string path = programFolder;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  path += folder;
  path += '/';
  return ResolveFileName(path + name);
}

}  // namespace kavri
