#pragma once
#include <string>
#include <string_view>

namespace kavri {

// Without leading and trailing blanks and control characters (every byte up to the space).
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);

// ASCII letters lowered; other bytes (UTF-8 sequences included) stay as they are.
std::string LowerCase(std::string_view text);

// The text's first `maxBytes` bytes at most, ending on a UTF-8 character boundary.
std::string_view CutAtCharacter(std::string_view text, size_t maxBytes);

// The start of a text that a message quotes: enough to tell the operator which text it was, while
// the message stays a few lines long however much the text holds. At most kQuotedBytes bytes of
// whole characters, then "…" when the text went on.
constexpr size_t kQuotedBytes = 40;
std::string QuotedPiece(std::string_view text);

// True when the text holds a line break or one of `separators`: such a text cannot be stored
// as one field of a line-based file.
bool BreaksField(std::string_view text, std::string_view separators = {});

}  // namespace kavri
