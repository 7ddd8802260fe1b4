#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavri {

std::string CannotReadText(const std::string& path, const std::string& reason) {
  return "Cannot read " + path + ": " + reason;
}

std::string TooLargeReason(uint64_t maxBytes) {
  return "the file is larger than " + std::to_string(maxBytes) + " bytes";
}

namespace {

bool Refuse(std::string* error, const std::string& path, const std::string& reason) {
  if (error) *error = CannotReadText(path, reason);
  return false;
}

}  // namespace

TRegularFile::~TRegularFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool TRegularFile::Open(const std::string& path, std::string* error) {
  path_ = path;
  // Looking first keeps devices from being opened at all; the check after the open catches a
  // file swapped meanwhile. O_NONBLOCK makes even that open of a FIFO return at once.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Refuse(error, path, std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return Refuse(error, path, "not a regular file");
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Refuse(error, path, std::strerror(errno));
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Refuse(error, path, "not a regular file");
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
  return true;
}

long long TRegularFile::ReadAt(uint64_t offset, uint8_t* data, size_t size, std::string* error) const {
  size_t filled = 0;
  while (filled < size) {
    const ssize_t n = ::pread(fd_, data + filled, size - filled, static_cast<off_t>(offset + filled));
    if (n < 0) {
      if (errno == EINTR) continue;
      Refuse(error, path_, std::strerror(errno));
      return -1;
    }
    if (n == 0) break;
    filled += static_cast<size_t>(n);
  }
  return static_cast<long long>(filled);
}

}  // namespace kavri
