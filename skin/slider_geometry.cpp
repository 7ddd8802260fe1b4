#include "skin/slider_geometry.h"

#include <algorithm>

namespace kavri {

int ClampPosition(int64_t value, int min, int max) {
  if (value < min) return min;
  if (value > max) return max;
  return static_cast<int>(value);
}

int SliderOffsetForPosition(int trackLength, int sliderLength, int position, int min, int max) {
  const int64_t room = std::max<int64_t>(0, int64_t{trackLength} - sliderLength);
  if (max == min) return 0;
  const int64_t offset = room * (int64_t{position} - min) / (int64_t{max} - min);
  return static_cast<int>(std::clamp<int64_t>(offset, 0, room));
}

int64_t PositionAtPoint(int point, int trackLength, int sliderLength, int min, int max) {
  const int64_t room = int64_t{trackLength} - sliderLength;
  if (room <= 0) return 0;
  return (int64_t{point} - sliderLength / 2) * (int64_t{max} - min) / room + min;
}

int PageStepTowards(int position, int pageSize, int pressPoint, int sliderOffset, int trackLength,
                    int sliderLength, int min, int max) {
  const int64_t target = ClampPosition(PositionAtPoint(pressPoint, trackLength, sliderLength, min, max), min, max);
  const int64_t pos = position;
  if (pressPoint < sliderOffset) return ClampPosition(std::max(pos - pageSize, std::min(target, pos)), min, max);
  if (pressPoint >= int64_t{sliderOffset} + sliderLength)
    return ClampPosition(std::min(pos + pageSize, std::max(target, pos)), min, max);
  return position;
}

int ScrollThumbLength(int trackLength, int lineButton, int pageSize) {
  int length;
  if (lineButton > 0) {
    length = std::max(lineButton, kMinLineButton);
  } else {
    const int percent = (pageSize < 10 || pageSize > 100) ? 10 : pageSize;
    length = static_cast<int>(int64_t{trackLength} * percent / 100);
  }
  return std::clamp(length, 0, std::max(0, trackLength));
}

int NativeThumbLength(int trackLength, int min, int max, int pageStep) {
  const int64_t span = int64_t{max} - min + std::max(0, pageStep);
  if (span <= 0 || trackLength <= 0) return std::max(0, trackLength);
  return static_cast<int>(int64_t{trackLength} * std::max(0, pageStep) / span);
}

}  // namespace kavri
