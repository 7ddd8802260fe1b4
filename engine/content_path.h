#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/case_blind_path.h"

namespace kavri {

// True when a name stored in a segment or show row is a plain file name: not empty, not "." or
// "..", no longer than a folder entry's name may be, without a folder part ("/" or "\") or a NUL
// byte. Rows name files inside their content
// folder, never anything beside or above it.
bool IsBareFileName(std::string_view name);

struct TContentFile {
  std::string path;
  uint64_t size = 0;
};

// One content folder of the program folder ("Drawing", "Section", "ILDAimage") for the rows of
// one load: the folder is read at most once, however many names are looked up in it.
class TContentFolder {
 public:
  TContentFolder(const std::string& programFolder, const std::string& folder);

  // The regular file a stored name names, exactly or else without regard to case (stored files
  // were written on a case-blind file system). Nothing for a name that is not a bare file name,
  // that names no entry, or whose entry is not a regular file.
  std::optional<TContentFile> Find(const std::string& name);

 private:
  std::string path_;  // ends with "/"
  TCaseBlindFolder entries_;
};

}  // namespace kavri
