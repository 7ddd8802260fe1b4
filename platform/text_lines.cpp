#include "platform/text_lines.h"

#include <limits>
#include <new>

#include "platform/file_io.h"
#include "platform/regular_file.h"

namespace kavri {

namespace {

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TextLines SplitTextLines(std::string_view text) {
  TextLines lines;
  ForEachTextLine(text, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

size_t CountTextLines(std::string_view text) {
  size_t lines = 0;
  ForEachTextLine(text, [&](std::string_view) { ++lines; });
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
  return ReadRowLines(path, {std::numeric_limits<size_t>::max(), std::numeric_limits<size_t>::max(), ""}, error);
}

std::optional<std::string> RowFileRefusal(std::string_view text, const std::string& fileName, const TRowFileRule& rule) {
  size_t count = 0, longLine = 0, longBytes = 0;
  ForEachTextLine(text, [&](std::string_view line) {
    ++count;
    if (longLine == 0 && line.size() > rule.maxLineBytes) {
      longLine = count;
      longBytes = line.size();
    }
  });
  const std::string name = "\"" + FileNameOf(fileName) + "\" was not opened: ";
  const std::string limit = " that " + std::string(rule.window) + " takes.";
  if (count > rule.maxLines)
    return name + "it has " + std::to_string(count) + " lines, more than the " + std::to_string(rule.maxLines) + limit;
  if (longLine)
    return name + "its line " + std::to_string(longLine) + " is " + std::to_string(longBytes) +
           " bytes long, more than the " + std::to_string(rule.maxLineBytes) + limit;
  return std::nullopt;
}

std::optional<TextLines> ReadRowLines(const std::string& path, const TRowFileRule& rule, std::string* error) {
  std::optional<Bytes> bytes = ReadWholeFile(path, kMaxTextFileBytes, error);
  if (!bytes) return std::nullopt;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  if (std::optional<std::string> refusal = RowFileRefusal(text, path, rule)) {
    if (error) *error = std::move(*refusal);
    return std::nullopt;
  }
  try {
    return SplitTextLines(text);
  } catch (const std::bad_alloc&) {
    if (error) *error = CannotReadText(path, kNotEnoughMemory);
    return std::nullopt;
  }
}

bool WriteTextLines(const std::string& path, const TextLines& lines, std::string* error) {
  return ReplaceFileAtomically(path, JoinTextLines(lines), error);
}

}  // namespace kavri
