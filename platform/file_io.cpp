#include "platform/file_io.h"

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
  bytes.reserve(static_cast<size_t>(st.st_size));
  uint8_t chunk[65536];
  for (;;) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  ::close(fd);
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
