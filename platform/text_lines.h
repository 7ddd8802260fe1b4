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

// The most characters a one-line edit or a grid cell takes (a line editor's own limit), and the
// most UTF-8 bytes such a text is: a character of a line editor takes at most three.
constexpr size_t kMaxTypedTextChars = 32767;
constexpr size_t kMaxTypedTextBytes = 3 * kMaxTypedTextChars;

struct TRowFileMeasure;

// What a file opened into rows may hold, and the window that takes it, named when it holds more.
struct TRowFileRule {
  size_t maxLines;
  size_t maxLineBytes;
  const char* window;
  // Shown each line in turn; counts in the measure's `freeLines` the lines that the window adds on
  // its own to what it opens and writes back, which maxLines leaves out. Null: every line counts.
  void (*sortLine)(std::string_view line, TRowFileMeasure& measure) = nullptr;
};

// The lines of a row file as its readers and writers measure them: their count, the first line
// longer than a rule takes (1-based, 0 for none) and its length, and the file's bytes with CR LF.
struct TRowFileMeasure {
  size_t lines = 0;
  size_t freeLines = 0;  // of `lines`, those the rule does not count
  int sortState = 0;     // the rule's own, while it sorts the lines
  size_t longLine = 0;
  size_t longBytes = 0;
  uint64_t bytes = 0;
  void Add(size_t lineBytes, const TRowFileRule& rule) {
    ++lines;
    bytes += lineBytes + 2;
    if (longLine == 0 && lineBytes > rule.maxLineBytes) {
      longLine = lines;
      longBytes = lineBytes;
    }
  }
  void Add(std::string_view line, const TRowFileRule& rule) {
    Add(line.size(), rule);
    if (rule.sortLine) rule.sortLine(line, *this);
  }
  size_t CountedLines() const { return lines - freeLines; }
};

// Why `text`, the content of the file `fileName`, breaks the rule (more lines, or a longer line, than
// it allows), or nothing when it keeps it. The lines are counted and measured as SplitTextLines cuts
// them, in one pass over the text and without making any.
std::optional<std::string> RowFileRefusal(std::string_view text, const std::string& fileName, const TRowFileRule& rule);

// Why the file `fileName` written with lines so measured would be refused by its reader (the rule,
// or a file larger than kMaxTextFileBytes), in the words of a refused save; nothing when it would
// open. A writer measures its lines before it makes them.
std::optional<std::string> SaveRefusal(const TRowFileMeasure& measure, const std::string& fileName,
                                       const TRowFileRule& rule);
std::optional<std::string> RowLinesRefusal(const TextLines& lines, const std::string& fileName,
                                           const TRowFileRule& rule);

// The words of a failed save, said once: `lead` ("The segment was not saved. ") comes before an
// error that does not itself say that the file was not saved, as a refused save does.
std::string NotSavedText(std::string_view lead, const std::string& error);

// The lines of a file read into rows, checked against the rule before any line is made: nothing,
// with the refusal in *error, when the file breaks it. Other failures are those of ReadTextLines.
std::optional<TextLines> ReadRowLines(const std::string& path, const TRowFileRule& rule, std::string* error = nullptr);

// Writes the lines with CR LF endings, replacing the file atomically. False (reason in *error)
// when the write fails; the old file then stays as it was.
bool WriteTextLines(const std::string& path, const TextLines& lines, std::string* error = nullptr);
// The same for a file read back into rows: lines its reader would refuse (RowLinesRefusal) are
// not written, and the old file stays as it was.
bool WriteRowLines(const std::string& path, const TextLines& lines, const TRowFileRule& rule,
                   std::string* error = nullptr);

}  // namespace kavri
