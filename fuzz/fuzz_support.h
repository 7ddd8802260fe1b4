#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavri_fuzz {

// A program folder made once per process whose content folders hold a few small drawings (one
// named in other case, one empty, one whose name is not UTF-8), segments (one with a bad number)
// and an ILDA image, plus a drawing beside the content folders that no row may reach. The seeds
// in fuzz/corpus/segment and fuzz/corpus/show name them.
const std::string& ContentProgramFolder();

// A budget small enough that long inputs reach the refusal of content that does not fit.
constexpr uint64_t kFuzzContentBudget = 256 * 1024;

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Stops the run with a crash report when a property of the reader does not hold.
#define KAVRI_FUZZ_CHECK(condition) \
  do {                              \
    if (!(condition)) __builtin_trap(); \
  } while (0)

}  // namespace kavri_fuzz
