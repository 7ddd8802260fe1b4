#include "platform/program_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kavri {

TProgramFolderLock::~TProgramFolderLock() { Release(); }

TProgramFolderLock::TResult TProgramFolderLock::Acquire(const std::string& folder, std::string* error) {
  Release();
  const std::string path = folder + kLockFileName;
  // Non-blocking and without following links, so a planted FIFO or link cannot stall or redirect us.
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0644);
  if (fd < 0) {
    if (error) *error = "cannot open \"" + path + "\": " + std::strerror(errno);
    return TResult::Unavailable;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int why = errno;
    ::close(fd);
    if (why == EWOULDBLOCK) return TResult::HeldByAnother;
    if (error) *error = "cannot lock \"" + path + "\": " + std::strerror(why);
    return TResult::Unavailable;
  }
  fd_ = fd;
  return TResult::Acquired;
}

void TProgramFolderLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing drops the lock; the file stays, so no second start races its removal
  fd_ = -1;
}

std::string ProgramFolderInUseMessage(const std::string& folder) {
  return "Kavri laser software is already running on the program folder\n" + folder +
         "\nClose it before starting another: both would drive the same laser interface and overwrite "
         "each other's settings.";
}

}  // namespace kavri
