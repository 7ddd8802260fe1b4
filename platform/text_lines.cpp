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

namespace {

// Follows the quoted file name in the words of a refused save.
constexpr std::string_view kNotSavedWords = "\" was not saved: ";

// The words of a refusal of the file `fileName` by `rule`, `verb` saying what was not done.
std::optional<std::string> Refusal(const TRowFileMeasure& measure, const std::string& fileName,
                                   const TRowFileRule& rule, const char* verb, const char* has) {
  const std::string name = "\"" + FileNameOf(fileName) + "\" was not " + verb + ": ";
  const std::string limit = " that " + std::string(rule.window) + " takes.";
  if (measure.CountedLines() > rule.maxLines)
    return name + has + std::to_string(measure.CountedLines()) + " lines, more than the " +
           std::to_string(rule.maxLines) + limit;
  if (measure.longLine)
    return name + "its line " + std::to_string(measure.longLine) + " is " + std::to_string(measure.longBytes) +
           " bytes long, more than the " + std::to_string(rule.maxLineBytes) + limit;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> RowFileRefusal(std::string_view text, const std::string& fileName, const TRowFileRule& rule) {
  TRowFileMeasure measure;
  ForEachTextLine(text, [&](std::string_view line) { measure.Add(line, rule); });
  return Refusal(measure, fileName, rule, "opened", "it has ");
}

std::optional<std::string> SaveRefusal(const TRowFileMeasure& measure, const std::string& fileName,
                                       const TRowFileRule& rule) {
  if (std::optional<std::string> refusal = Refusal(measure, fileName, rule, "saved", "it would have "))
    return refusal;
  if (measure.bytes > kMaxTextFileBytes)
    return "\"" + FileNameOf(fileName) + std::string(kNotSavedWords) + "it would be " + std::to_string(measure.bytes) +
           " bytes long, more than the " + std::to_string(kMaxTextFileBytes) + " that " + rule.window + " takes.";
  return std::nullopt;
}

std::string NotSavedText(std::string_view lead, const std::string& error) {
  if (error.starts_with('"') && error.find(kNotSavedWords) != std::string::npos) return error;
  return std::string(lead) + error;
}

std::optional<std::string> RowLinesRefusal(const TextLines& lines, const std::string& fileName,
                                           const TRowFileRule& rule) {
  TRowFileMeasure measure;
  for (const std::string& line : lines) measure.Add(std::string_view(line), rule);
  return SaveRefusal(measure, fileName, rule);
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

bool WriteRowLines(const std::string& path, const TextLines& lines, const TRowFileRule& rule, std::string* error) {
  if (std::optional<std::string> refusal = RowLinesRefusal(lines, path, rule)) {
    if (error) *error = std::move(*refusal);
    return false;
  }
  return WriteTextLines(path, lines, error);
}

}  // namespace kavri
