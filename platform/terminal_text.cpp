#include "platform/terminal_text.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/text.h"

namespace kavri {

namespace {

// A part longer than this is progress gone wrong, not a message: the rest of it is not kept.
constexpr size_t kPartBound = 16 * 1024;

bool InRange(unsigned char c, unsigned char low, unsigned char high) { return c >= low && c <= high; }

// Where the escape sequence that starts at `at` (an ESC) ends, one past it.
size_t EscapeEnd(std::string_view text, size_t at) {
  size_t i = at + 1;
  if (i == text.size()) return i;
  const unsigned char kind = text[i++];
  if (kind == '[') {  // parameters, intermediates, one final byte
    while (i < text.size() && InRange(text[i], 0x20, 0x3F)) ++i;
    return i < text.size() && InRange(text[i], 0x40, 0x7E) ? i + 1 : i;
  }
  if (kind == ']' || kind == 'P' || kind == 'X' || kind == '^' || kind == '_') {  // a string, up to BEL or ESC "\"
    while (i < text.size() && text[i] != '\a' && text[i] != '\x1b') ++i;
    if (i < text.size() && text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '\\') return i + 2;
    return i < text.size() && text[i] == '\a' ? i + 1 : i;
  }
  --i;  // intermediates, then one final byte
  while (i < text.size() && InRange(text[i], 0x20, 0x2F)) ++i;
  return i < text.size() && InRange(text[i], 0x30, 0x7E) ? i + 1 : i;
}

// One part between carriage returns, without escape sequences and control characters.
std::string PlainPart(std::string_view part) {
  std::string out;
  out.reserve(part.size());
  for (size_t i = 0; i < part.size();) {
    const unsigned char c = part[i];
    if (c == '\x1b') {
      i = EscapeEnd(part, i);
    } else if (c == '\t') {
      out += ' ';
      ++i;
    } else if (c < 0x20 || c == 0x7F) {
      ++i;
    } else if (c == 0xC2 && i + 1 < part.size() && InRange(part[i + 1], 0x80, 0x9F)) {
      i += 2;  // a control of the eight-bit set, in UTF-8
    } else {
      out += static_cast<char>(c);
      ++i;
    }
  }
  return Trim(out);
}

}  // namespace

std::string ShownLine(std::string_view line) {
  std::string shown;
  for (size_t start = 0; start <= line.size();) {
    size_t end = line.find('\r', start);
    if (end == std::string_view::npos) end = line.size();
    if (std::string plain = PlainPart(line.substr(start, end - start)); !plain.empty()) shown = std::move(plain);
    start = end + 1;
  }
  return shown;
}

bool ReportsError(std::string_view line) {
  const std::string lower = LowerCase(line);
  for (const char* word : {"error", "fail", "cannot", "could not"})
    if (lower.find(word) != std::string::npos) return true;
  return false;
}

namespace {

// "[ao/alsa] Playback open error": a line a part of the child tags with its name.
bool Tagged(std::string_view line) {
  if (line.empty() || line[0] != '[') return false;
  const size_t end = line.find(']');
  return end != std::string_view::npos && end > 1 && end < 32 &&
         line.substr(1, end - 1).find(' ') == std::string_view::npos;
}

}  // namespace

bool FromAudioLibrary(std::string_view line) {
  const auto startsWith = [&](std::string_view head) { return line.substr(0, head.size()) == head; };
  // ALSA's error handler, JACK's client library ("Cannot connect to server socket ...",
  // "JackShmReadWritePtr::..."), PipeWire's log lines ("[E][time] pw.context | ...").
  if (startsWith("ALSA lib ") || startsWith("Jack") || startsWith("Cannot connect to server")) return true;
  if (LowerCase(line).find("jack server") != std::string::npos) return true;
  return line.size() > 4 && line[0] == '[' && std::string_view("EWIDT").find(line[1]) != std::string_view::npos &&
         line[2] == ']' && line[3] == '[';
}

void TCauseLineReader::Add(std::string_view bytes) {
  for (const char c : bytes) {
    if (!candidates_[0].empty()) return;  // the cause is known; the rest is only read away
    if (c == '\r') {
      EndPart();
    } else if (c == '\n') {
      EndPart();
      EndLine();
    } else if (part_.size() < kPartBound) {
      part_ += c;
    }
  }
}

void TCauseLineReader::EndPart() {
  if (std::string plain = PlainPart(part_); !plain.empty()) shown_ = std::move(plain);
  part_.clear();
}

void TCauseLineReader::EndLine() {
  Take(std::move(shown_), candidates_);
  shown_.clear();
}

void TCauseLineReader::Take(std::string shown, TCandidates& candidates) const {
  if (shown.empty()) return;
  const bool library = FromAudioLibrary(shown);
  size_t rank = library ? 4 : 3;
  if (ReportsError(shown)) rank = library ? 2 : Tagged(shown) ? 1 : 0;
  std::string& slot = candidates[rank];
  if (slot.empty()) slot = Cut(std::move(shown));
}

std::string TCauseLineReader::Line() const {
  TCandidates candidates;
  std::copy(std::begin(candidates_), std::end(candidates_), std::begin(candidates));
  std::string last = PlainPart(part_);
  Take(last.empty() ? shown_ : std::move(last), candidates);
  for (std::string& candidate : candidates)
    if (!candidate.empty()) return std::move(candidate);
  return {};
}

std::string TCauseLineReader::Cut(std::string text) const {
  text.resize(CutAtCharacter(text, limit_).size());
  return text;
}

}  // namespace kavri
