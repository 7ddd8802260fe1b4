#pragma once
#include <string>

namespace kavri {

// The file `name` (as stored in a segment or show file) in the content folder `folder` of the
// program folder. Stored names may use "\" as a separator and differ in case from the file on disk.
std::string ContentFilePath(const std::string& programFolder, const std::string& folder, const std::string& name);

}  // namespace kavri
