#pragma once
#include <cstdint>

namespace kavri {

// Orientation of progress bars, track bars and scroll bars.
enum class TSkinProgressBarOrientation : uint8_t { skinHorizontal = 0, skinVertical = 1 };

}  // namespace kavri
