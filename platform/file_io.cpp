#include "platform/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kavri {

namespace {

void SetError(std::string* error, const std::string& what, const std::string& path) {
  if (error) *error = what + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// read() again when a signal interrupted it.
ssize_t ReadSome(int fd, uint8_t* data, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, data, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

// Reads the file to its end into `bytes`. The size the file reported (`expected`) is read straight
// into place, the buffer growing by steps within its reserved room so that each step is cleared
// while it is still in the cache the read then fills; whatever lies beyond, for a file that reports
// no size (as some kernel files do) or grew meanwhile, is read on in chunks. False on a read error.
bool ReadToEnd(int fd, size_t expected, Bytes& bytes) {
  constexpr size_t kStep = 64 * 1024;
  bytes.reserve(expected);
  size_t filled = 0;
  while (filled < expected) {
    bytes.resize(std::min(expected, filled + kStep));
    const ssize_t n = ReadSome(fd, bytes.data() + filled, bytes.size() - filled);
    if (n < 0) return false;
    if (n == 0) {
      bytes.resize(filled);
      return true;
    }
    filled += static_cast<size_t>(n);
  }
  bytes.resize(filled);
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ReadSome(fd, chunk, sizeof chunk);
    if (n <= 0) return n == 0;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
}

}  // namespace

std::optional<Bytes> ReadWholeFile(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  Bytes bytes;
  const bool ok = ReadToEnd(fd, static_cast<size_t>(st.st_size), bytes);
  ::close(fd);
  if (!ok) return std::nullopt;
  return bytes;
}

bool ReplaceFileAtomically(const std::string& path, const Bytes& image, std::string* error) {
  std::string temp = path + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    SetError(error, "Cannot create a temporary file for", path);
    return false;
  }
  // Keep the permissions an ordinary new file would get.
  mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  bool ok = WriteAll(fd, image.data(), image.size()) && ::fsync(fd) == 0;
  if (!ok) SetError(error, "Cannot write", path);
  if (::close(fd) != 0 && ok) {
    SetError(error, "Cannot write", path);
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
    SetError(error, "Cannot replace", path);
    ok = false;
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& image, std::string* error) {
  return ReplaceFileAtomically(path, Bytes(image.begin(), image.end()), error);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace kavri
