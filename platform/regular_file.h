#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace kavri {

// "Cannot read <path>: <reason>", the one wording of every read failure the operator sees.
std::string CannotReadText(const std::string& path, const std::string& reason);
constexpr const char* kNotEnoughMemory = "not enough memory";
// The reason for a file larger than a reader takes.
std::string TooLargeReason(uint64_t maxBytes);

// A regular file open for reading. A FIFO, device, socket or folder is refused without waiting:
// a blocking open of a FIFO would wait for a writer that may never come.
class TRegularFile {
 public:
  TRegularFile() = default;
  ~TRegularFile();
  TRegularFile(const TRegularFile&) = delete;
  TRegularFile& operator=(const TRegularFile&) = delete;

  // False, with CannotReadText in *error, when `path` is not a regular file that can be opened.
  bool Open(const std::string& path, std::string* error = nullptr);
  const std::string& Path() const { return path_; }
  // The size the file reported when it was opened (0 for some kernel files that have content).
  uint64_t Size() const { return size_; }

  // Reads up to `size` bytes at `offset`, fewer only at the end of the file; -1 (reason in
  // *error) when the read fails.
  long long ReadAt(uint64_t offset, uint8_t* data, size_t size, std::string* error = nullptr) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
  std::string path_;
};

}  // namespace kavri
