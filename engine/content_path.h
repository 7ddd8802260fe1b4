#pragma once
#include <string>

namespace kavri {

// The file `name` (as stored in a segment or show file) in the content folder `folder` of the
// program folder, found on disk as design.md's case-blind rule says.
std::string ContentFilePath(const std::string& programFolder, const std::string& folder, const std::string& name);

}  // namespace kavri
