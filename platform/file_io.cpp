#include "platform/file_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <new>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/regular_file.h"

namespace kavri {

namespace {

// Links followed before giving up, as the kernel does.
constexpr int kMaxLinks = 40;

// A save's temporary file is this prefix and kTempSuffixLength letters or digits, beside its target;
// short, so that it fits beside the longest name the folder takes.
constexpr std::string_view kTempPrefix = ".kavri-";
constexpr size_t kTempSuffixLength = 6;
constexpr std::string_view kTempLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsTempName(std::string_view name) {
  return name.size() == kTempPrefix.size() + kTempSuffixLength && name.substr(0, kTempPrefix.size()) == kTempPrefix &&
         name.find_first_not_of(kTempLetters, kTempPrefix.size()) == std::string_view::npos;
}

// Creates a fresh temporary file in `folder` with `mode` as the kernel applies it (the process's
// file mode mask takes its share, which is never changed here: other threads create files too).
int CreateTempFile(const std::string& folder, mode_t mode, std::string* path) {
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<size_t> letter(0, kTempLetters.size() - 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name(kTempPrefix);
    for (size_t i = 0; i < kTempSuffixLength; ++i) name += kTempLetters[letter(random)];
    *path = folder + "/" + name;
    const int fd = ::open(path->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool Fail(std::string* error, const std::string& what, const std::string& path, const std::string& reason) {
  if (error) *error = what + " " + path + ": " + reason;
  return false;
}

bool FailErrno(std::string* error, const std::string& what, const std::string& path) {
  return Fail(error, what, path, std::strerror(errno));
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

// Reads the file to its end into `bytes`. The size the file reported is read straight into place,
// the buffer growing by steps within its reserved room so that each step is cleared while it is
// still in the cache the read then fills; whatever lies beyond, for a file that reports no size
// (as some kernel files do) or grew meanwhile, is read on in chunks.
bool ReadToEnd(const TRegularFile& file, uint64_t maxBytes, Bytes& bytes, std::string* error, bool& tooLarge) {
  constexpr size_t kStep = 64 * 1024;
  const size_t expected = static_cast<size_t>(file.Size());
  bytes.reserve(expected);
  size_t filled = 0;
  while (filled < expected) {
    bytes.resize(std::min(expected, filled + kStep));
    const long long n = file.ReadAt(filled, bytes.data() + filled, bytes.size() - filled, error);
    if (n < 0) return false;
    filled += static_cast<size_t>(n);
    if (filled < bytes.size()) {
      bytes.resize(filled);
      return true;
    }
  }
  uint8_t chunk[65536];
  for (;;) {
    const long long n = file.ReadAt(filled, chunk, sizeof chunk, error);
    if (n <= 0) return n == 0;
    if (filled + static_cast<uint64_t>(n) > maxBytes) {
      tooLarge = true;
      if (error) *error = CannotReadText(file.Path(), TooLargeReason(maxBytes));
      return false;
    }
    bytes.insert(bytes.end(), chunk, chunk + n);
    filled += static_cast<size_t>(n);
  }
}

// Without this a file-size limit kills the program in the middle of a write; ignored, the write
// fails with EFBIG and is reported like any other. A handler someone installed is kept.
void IgnoreFileSizeSignal() {
  struct sigaction current {};
  if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
      !(current.sa_flags & SA_SIGINFO))
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (which need not exist yet); `path` itself when it is
// no link. False when a link cannot be read or the chain does not end.
bool FollowLinks(const std::string& path, std::string* target, std::string* error) {
  std::string at = path;
  for (int hops = 0; hops <= kMaxLinks; ++hops) {
    struct stat st {};
    if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      *target = at;
      return true;
    }
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(at.c_str(), buffer, sizeof buffer);
    if (n < 0) return FailErrno(error, "Cannot replace", path);
    if (static_cast<size_t>(n) == sizeof buffer) return Fail(error, "Cannot replace", path, std::strerror(ENAMETOOLONG));
    const std::string link(buffer, static_cast<size_t>(n));
    at = link.front() == '/' ? link : FolderOf(at) + "/" + link;
  }
  return Fail(error, "Cannot replace", path, std::strerror(ELOOP));
}

}  // namespace

std::optional<Bytes> ReadWholeFile(const std::string& path, uint64_t maxBytes, std::string* error,
                                   bool* tooLarge) {
  bool larger = false;
  if (!tooLarge) tooLarge = &larger;
  *tooLarge = false;
  TRegularFile file;
  if (!file.Open(path, error)) return std::nullopt;
  if (file.Size() > maxBytes) {
    *tooLarge = true;
    if (error) *error = CannotReadText(path, TooLargeReason(maxBytes));
    return std::nullopt;
  }
  try {
    Bytes bytes;
    if (!ReadToEnd(file, maxBytes, bytes, error, *tooLarge)) return std::nullopt;
    return bytes;
  } catch (const std::bad_alloc&) {
    if (error) *error = CannotReadText(path, kNotEnoughMemory);
    return std::nullopt;
  }
}

bool ReplaceFileAtomically(const std::string& path, const Bytes& image, std::string* error) {
  IgnoreFileSizeSignal();
  std::string target;
  if (!FollowLinks(path, &target, error)) return false;

  struct stat old {};
  const bool exists = ::lstat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return FailErrno(error, "Cannot replace", path);
  if (exists) {
    if (!S_ISREG(old.st_mode)) return Fail(error, "Cannot replace", path, "not a regular file");
    // Root passes every access check, so a file without any write bit counts as protected too.
    if ((old.st_mode & 0222) == 0 || (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES))
      return Fail(error, "Cannot write", path, "the file is read-only");
  }

  // A new file gets what any new file gets. A replacement starts private, so nobody can open it
  // before it has the old file's owner and mode.
  std::string temp;
  const int fd = CreateTempFile(FolderOf(target), exists ? 0600 : 0666, &temp);
  if (fd < 0) return FailErrno(error, "Cannot create a temporary file for", path);
  bool ok = true;
  if (exists) {
    // Root replacing someone else's file gives it back to them; for anyone else this fails harmlessly.
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) (void)::fchown(fd, old.st_uid, old.st_gid);
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  }
  ok = ok && WriteAll(fd, image.data(), image.size()) && ::fsync(fd) == 0;
  if (!ok) FailErrno(error, "Cannot write", path);
  if (::close(fd) != 0 && ok) ok = FailErrno(error, "Cannot write", path);
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = FailErrno(error, "Cannot replace", path);
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

std::string AbsolutePath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  char here[PATH_MAX];
  if (!::getcwd(here, sizeof here)) return {};
  const std::string folder = here;
  return path.empty() ? folder : folder == "/" ? "/" + path : folder + "/" + path;
}

namespace {

// Takes over `fd`, an open folder.
int RemoveLeftTemporaryFilesAt(int fd) {
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return 0;
  }
  int removed = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTempName(entry->d_name)) continue;
    struct stat st {};
    // Only what a save makes: a file (or a link planted under such a name), never a folder.
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || S_ISDIR(st.st_mode)) continue;
    if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace

int RemoveLeftTemporaryFiles(const std::string& folder, const std::vector<std::string>& subfolders) {
  const int top = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (top < 0) return 0;
  int removed = 0;
  for (const std::string& name : subfolders) {
    // A subfolder that is a link may lead anywhere, where other programs' files bear such names.
    const int sub = ::openat(top, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub >= 0) removed += RemoveLeftTemporaryFilesAt(sub);
  }
  return removed + RemoveLeftTemporaryFilesAt(top);
}

}  // namespace kavri
