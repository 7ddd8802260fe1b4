#pragma once
#include <cstdint>
#include <limits>

namespace kavri {

// Conversion to int by truncation toward zero. Values beyond the int32 range saturate and NaN
// gives 0, where a plain cast would be undefined (coordinates and sizes come from unchecked files).
constexpr int32_t TruncToInt(double v) {
  if (v != v) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace kavri
