#pragma once
// Colour modes: how the segment, quick-play and show windows recolour points while playing.
// A mode below 257 is a fixed program palette index; 257..260 are the automatic modes.
#include <array>
#include <cstdint>

#include "platform/tcolor.h"

namespace kavri {

constexpr int32_t ColourModeAuto = 257;  // each point keeps its own colour
constexpr int32_t ColourModeRnd1 = 258;  // own colour shifted by the cycle step
constexpr int32_t ColourModeRnd2 = 259;  // the whole frame in the step's colour
constexpr int32_t ColourModeRnd3 = 260;  // a rainbow running along the frame's points

// Number of colours the automatic modes cycle through (program indexes 1..232).
constexpr int32_t ColourCycleLength = 232;
// Upper end of the "Change color speed" slider.
constexpr int32_t ColourSpeedMax = 40;

// One colour panel of the segment, quick-play and show windows.
struct TColourModePanel {
  const char* name;
  const char* caption;
  int32_t mode;
};
extern const std::array<TColourModePanel, 21> ColourModePanels;

// Program palette index of a picture point with own colour c. counter is the frame's point
// counter (mode 260); black (c = 0) stays black in every mode.
uint8_t ModeColourIndex(int32_t mode, uint8_t c, int32_t step, int32_t counter);
// ILDA palette index of an ILDA frame point with own index c; no black exception.
uint8_t ModeIldaColourIndex(int32_t mode, uint8_t c, int32_t step, int32_t counter);

// The per-frame colouring of one play loop: start each frame, then colour the points in order.
// The counter advances after every point, black ones too.
class TFrameColouring {
 public:
  void StartFrame(int32_t mode, int32_t step) {
    mode_ = mode;
    step_ = step;
    counter_ = step;
  }
  TColor PictureColour(uint8_t c);  // program palette colour, counter cycling 1..232
  TColor IldaColour(uint8_t c);     // ILDA palette colour, counter cycling 1..64

 private:
  int32_t mode_ = ColourModeAuto;
  int32_t step_ = 0;
  int32_t counter_ = 0;
};

// The colour-cycle step of a play loop: starts at 0 and advances once every (41 - speed)
// passes while the loop is not paused.
class TColourStep {
 public:
  int32_t Step() const { return step_; }
  void Restart() { step_ = 0; passes_ = 0; }
  // Counts one pass with the current "Change color speed" (0..40).
  void CountPass(int32_t speed);

 private:
  int32_t step_ = 0;
  int64_t passes_ = 0;
};

}  // namespace kavri
