#include "platform/text.h"

namespace kavri {

std::string_view TrimView(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

std::string Trim(std::string_view text) { return std::string(TrimView(text)); }

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string_view CutAtCharacter(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = maxBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

std::string QuotedPiece(std::string_view text) {
  const std::string_view piece = CutAtCharacter(text, kQuotedBytes);
  return std::string(piece) + (piece.size() < text.size() ? "…" : "");
}

bool BreaksField(std::string_view text, std::string_view separators) {
  for (char c : text)
    if (c == '\r' || c == '\n' || separators.find(c) != std::string_view::npos) return true;
  return false;
}

}  // namespace kavri
