#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavri {

using TextLines = std::vector<std::string>;

// Splits text at CR LF, LF or a lone CR. A final line break does not start another line, so
// "a\r\n" is one line and "" is none.
TextLines SplitTextLines(std::string_view text);
// Calls `take` with each line of the text as a view into it, as SplitTextLines cuts them.
template <typename TTake>
void ForEachTextLine(std::string_view text, TTake&& take) {
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    take(text.substr(start, i - start));
    if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < n) take(text.substr(start));
}
// The number of lines SplitTextLines gives, without making them.
size_t CountTextLines(std::string_view text);

// Each line followed by CR LF: the image every text writer stores.
std::string JoinTextLines(const TextLines& lines);

// The most a text file may hold: far beyond any settings, segment or show file, and small enough
// that its lines always fit in memory.
constexpr uint64_t kMaxTextFileBytes = 64ull << 20;

// The file's lines, or nothing (reason in *error) when it cannot be read or is larger than
// kMaxTextFileBytes.
std::optional<TextLines> ReadTextLines(const std::string& path, std::string* error = nullptr);

// What a file opened into rows may hold, and the window that takes it, named when it holds more.
struct TRowFileRule {
  size_t maxLines;
  size_t maxLineBytes;
  const char* window;
};

// Why `text`, the content of the file `fileName`, breaks the rule (more lines, or a longer line, than
// it allows), or nothing when it keeps it. The lines are counted and measured as SplitTextLines cuts
// them, in one pass over the text and without making any.
std::optional<std::string> RowFileRefusal(std::string_view text, const std::string& fileName, const TRowFileRule& rule);

// The lines of a file read into rows, checked against the rule before any line is made: nothing,
// with the refusal in *error, when the file breaks it. Other failures are those of ReadTextLines.
std::optional<TextLines> ReadRowLines(const std::string& path, const TRowFileRule& rule, std::string* error = nullptr);

// Writes the lines with CR LF endings, replacing the file atomically. False (reason in *error)
// when the write fails; the old file then stays as it was.
bool WriteTextLines(const std::string& path, const TextLines& lines, std::string* error = nullptr);

}  // namespace kavri
