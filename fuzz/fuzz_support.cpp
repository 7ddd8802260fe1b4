#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kavri_fuzz {

namespace {

struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavri-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    path = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& EmptyProgramFolder() {
  static ScratchFolder folder;
  return folder.path;
}

}  // namespace kavri_fuzz
