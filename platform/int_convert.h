#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kavri {

// The text-to-integer failure that file readers and edits raise; the application's error box shows
// its message, "'x' is not a valid integer value".
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& message) : std::runtime_error(message) {}
};

// Strict decimal: an optional sign and digits only, within the int32 range. No blanks, no hex.
bool TryStrToInt(std::string_view text, int32_t& value);

// As TryStrToInt, raising EConvertError when the text is not a valid integer.
int32_t StrToInt(std::string_view text);

}  // namespace kavri
