#include "platform/size_text.h"

#include <charconv>
#include <filesystem>

namespace kavri {

namespace {

// The shortest decimal of the quotient, with whatever follows the point cut after two digits.
std::string CutDecimal(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  const size_t point = text.find('.');
  if (point != std::string::npos && text.size() > point + 3) text.resize(point + 3);
  return text;
}

}  // namespace

TSizeText FileSizeText(uint64_t bytes) {
  const std::string count = std::to_string(bytes) + " Byte";
  if (bytes < 1024) return {count, count};
  // Up to 1,025 KB the size stays in KB, so 1,048,576 bytes reads "1024 KB".
  const std::string label =
      bytes < 1049600 ? CutDecimal(static_cast<double>(bytes) / 1024) + " KB"
                      : CutDecimal(static_cast<double>(bytes) / 1048576) + " MB";
  return {label, label + "(" + count + ")"};
}

TSizeText PathSizeText(const std::string& path) {
  std::error_code error;
  const uintmax_t bytes = std::filesystem::file_size(path, error);
  return FileSizeText(error ? 0 : static_cast<uint64_t>(bytes));
}

}  // namespace kavri
