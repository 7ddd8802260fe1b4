#pragma once
// Frame files whose file changes between its measuring and its reading, as when another program
// cuts it while a conversion or a play load runs: while an object lives, the first read after the
// frames were noted really cuts the file to `keep` bytes (or, failing, every read fails).
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "engine/ilda_file.h"
#include "platform/regular_file.h"

namespace kavri_test {

class ShrinkingIldaReads {
 public:
  enum class Mode { Cut, Fail };
  explicit ShrinkingIldaReads(uint64_t keep, Mode mode = Mode::Cut) {
    keep_ = keep;
    mode_ = mode;
    reads_ = 0;
    kavri::SetIldaFrameRead(&Read);
  }
  ~ShrinkingIldaReads() { kavri::SetIldaFrameRead(nullptr); }
  ShrinkingIldaReads(const ShrinkingIldaReads&) = delete;
  ShrinkingIldaReads& operator=(const ShrinkingIldaReads&) = delete;
  // The reads made through it.
  static int Reads() { return reads_; }

 private:
  static long long Read(const kavri::TRegularFile& file, uint64_t offset, uint8_t* data, size_t size,
                        std::string* error) {
    if (mode_ == Mode::Fail) {
      ++reads_;
      if (error) *error = kavri::CannotReadText(file.Path(), std::strerror(EIO));
      return -1;
    }
    if (reads_++ == 0 && ::truncate(file.Path().c_str(), static_cast<off_t>(keep_)) != 0) return -1;
    return file.ReadAt(offset, data, size, error);
  }
  static inline uint64_t keep_ = 0;
  static inline Mode mode_ = Mode::Cut;
  static inline int reads_ = 0;
};

}  // namespace kavri_test
