#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <string>

namespace kavri_test {

// Makes `folder` the process's current folder for the life of the scope.
class CurrentFolderScope {
 public:
  explicit CurrentFolderScope(const std::string& folder) {
    char here[PATH_MAX];
    if (::getcwd(here, sizeof here)) old_ = here;
    EXPECT_EQ(::chdir(folder.c_str()), 0) << folder;
  }
  ~CurrentFolderScope() { EXPECT_EQ(::chdir(old_.c_str()), 0); }
  CurrentFolderScope(const CurrentFolderScope&) = delete;
  CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;

 private:
  std::string old_;
};

}  // namespace kavri_test
