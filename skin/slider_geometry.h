#pragma once
#include <cstdint>

// Where a slider sits along a track and which value a point of the track stands for. Shared by the
// track bar and the scroll bar; every length is along the track's axis, in pixels.
namespace kavri {

// Below the range gives Min, else above it gives Max (so Min wins when Max < Min).
int ClampPosition(int64_t value, int min, int max);

// Offset of the slider's start for a value: the minimum sits at the start, the maximum at the end.
// Products are taken in 64 bits; the result always lies inside [0, trackLength - sliderLength].
int SliderOffsetForPosition(int trackLength, int sliderLength, int position, int min, int max);

// The value under a track point, the slider centred there. Not clamped; a track no longer than its
// slider maps every point to 0.
int64_t PositionAtPoint(int point, int trackLength, int sliderLength, int min, int max);

// One page step of a press on the track, toward the press point: at most pageSize, never beyond the
// value under the press point and never away from it. A press over the slider does nothing.
int PageStepTowards(int position, int pageSize, int pressPoint, int sliderOffset, int trackLength,
                    int sliderLength, int min, int max);

// Length of a scroll bar's thumb: a fixed length (raised to at least 18) when lineButton > 0, else
// pageSize percent of the track (10 percent when pageSize lies outside 10..100); never longer
// than the track.
int ScrollThumbLength(int trackLength, int lineButton, int pageSize);
constexpr int kMinLineButton = 18;

// Proportional thumb of a native scroll range, as a scroll bar of the platform draws it.
int NativeThumbLength(int trackLength, int min, int max, int pageStep);

}  // namespace kavri
