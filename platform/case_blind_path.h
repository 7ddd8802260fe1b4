#pragma once
#include <string>

namespace kavri {

// A name read from a stored file with every "\" turned into "/".
std::string ToSlashes(std::string path);

// The path as it exists on disk: with "\" read as a separator, and any part of it that does not
// exist exactly looked up without regard to case in its folder (stored files were written on a
// case-blind file system). A path that cannot be found comes back with slashes only, unchanged
// otherwise, so callers can still name it.
std::string ResolveFileName(const std::string& path);

}  // namespace kavri
