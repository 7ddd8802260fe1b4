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

// The lines of a file a window opens into rows, counted before any is made: nothing when there
// are more than `maxLines`, *error then naming the file, its line count, the limit and the
// window. Other failures are those of ReadTextLines.
std::optional<TextLines> ReadRowLines(const std::string& path, size_t maxLines, const std::string& window,
                                      std::string* error = nullptr);

// Writes the lines with CR LF endings, replacing the file atomically. False (reason in *error)
// when the write fails; the old file then stays as it was.
bool WriteTextLines(const std::string& path, const TextLines& lines, std::string* error = nullptr);

}  // namespace kavri
