#pragma once
#include <cstdint>
#include <string>

namespace kavri {

// A file size as the size labels show it, and the longer form their hints show:
//   1023 bytes -> "1023 Byte"; 1536 -> "1.5 KB" / "1.5 KB(1536 Byte)"; 2097152 -> "2 MB" / "2 MB(2097152 Byte)".
// Fractions are cut, not rounded, to at most two digits, so 1025 bytes is "1.00 KB".
struct TSizeText {
  std::string label;
  std::string hint;
};

TSizeText FileSizeText(uint64_t bytes);
// The size text of the file at `path`, as its size is now; 0 bytes when it cannot be read.
TSizeText PathSizeText(const std::string& path);

}  // namespace kavri
