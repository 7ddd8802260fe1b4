#pragma once
// One running program per program folder: two would drive the same interface and the last one
// closed would overwrite the other's settings. The lock is an advisory lock on a file in the
// folder, so the system releases it when the holder ends, however it ends.
#include <string>

namespace kavri {

class TProgramFolderLock {
 public:
  enum class TResult { Acquired, HeldByAnother, Unavailable };

  TProgramFolderLock() = default;
  TProgramFolderLock(const TProgramFolderLock&) = delete;
  TProgramFolderLock& operator=(const TProgramFolderLock&) = delete;
  ~TProgramFolderLock();

  static constexpr const char* kLockFileName = "Kavri.lock";

  // Takes the lock of `folder` (with a trailing "/"). Unavailable (with *error) when the lock file
  // cannot be made at all, e.g. in a read-only folder: nothing then stops a second start.
  TResult Acquire(const std::string& folder, std::string* error = nullptr);
  void Release();

 private:
  int fd_ = -1;
};

// The text shown when another program holds the folder.
std::string ProgramFolderInUseMessage(const std::string& folder);

}  // namespace kavri
