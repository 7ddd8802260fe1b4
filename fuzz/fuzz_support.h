#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavri_fuzz {

// An empty program folder made once per process, without content folders, so that names read
// from the input resolve to nothing and never reach files outside it.
const std::string& EmptyProgramFolder();

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Stops the run with a crash report when a property of the reader does not hold.
#define KAVRI_FUZZ_CHECK(condition) \
  do {                              \
    if (!(condition)) __builtin_trap(); \
  } while (0)

}  // namespace kavri_fuzz
