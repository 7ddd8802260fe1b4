#pragma once
#include <optional>
#include <string>
#include <unordered_map>

namespace kavri {

// A name read from a stored file with every "\" turned into "/".
std::string ToSlashes(std::string path);

// What a name is compared by when case does not count: its case-folded form when it is valid
// UTF-8; otherwise its bytes as they are, so that names which are not UTF-8 only ever match
// themselves (decoding them would turn every bad byte into the same replacement character).
std::string CaseBlindKey(const std::string& name);

// The entries of one folder, read once on the first lookup that needs them, for resolving many
// stored names in the same folder without reading it again for each.
class TCaseBlindFolder {
 public:
  explicit TCaseBlindFolder(std::string folder);

  // The entry whose name equals `name` without regard to case; the first in byte order when
  // several do, so the choice is the same on every run. Nothing when there is none.
  std::optional<std::string> Match(const std::string& name);

 private:
  std::string folder_;
  bool indexed_ = false;
  std::unordered_map<std::string, std::string> entries_;  // CaseBlindKey -> entry name
};

// The path as it exists on disk: with "\" read as a separator, and any part of it that does not
// exist exactly looked up without regard to case in its folder (stored files were written on a
// case-blind file system). A path that cannot be found comes back with slashes only, unchanged
// otherwise, so callers can still name it.
std::string ResolveFileName(const std::string& path);

}  // namespace kavri
