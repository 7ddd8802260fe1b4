#include "platform/text_lines.h"

#include <new>

#include "platform/file_io.h"
#include "platform/regular_file.h"

namespace kavri {

TextLines SplitTextLines(std::string_view text) {
  TextLines lines;
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.emplace_back(text.substr(start));
  return lines;
}

std::string JoinTextLines(const TextLines& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string image;
  image.reserve(size);
  for (const std::string& line : lines) {
    image += line;
    image += "\r\n";
  }
  return image;
}

std::optional<TextLines> ReadTextLines(const std::string& path, std::string* error) {
  std::optional<Bytes> bytes = ReadWholeFile(path, kMaxTextFileBytes, error);
  if (!bytes) return std::nullopt;
  try {
    return SplitTextLines(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  } catch (const std::bad_alloc&) {
    if (error) *error = CannotReadText(path, kNotEnoughMemory);
    return std::nullopt;
  }
}

bool WriteTextLines(const std::string& path, const TextLines& lines, std::string* error) {
  return ReplaceFileAtomically(path, JoinTextLines(lines), error);
}

}  // namespace kavri
