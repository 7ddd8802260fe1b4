#include "engine/colour_modes.h"

#include "engine/colour_tables.h"

namespace kavri {

const std::array<TColourModePanel, 21> ColourModePanels = {{
    {"Panel1", "Black", 0},        {"Panel2", "Whilte", 1},      {"Panel3", "Red", 2},
    {"Panel4", "Yellow", 3},       {"Panel5", "Green", 4},       {"Panel6", "Cyan", 5},
    {"Panel7", "Blue", 6},         {"Panel8", "Mage", 7},        {"Panel9", "Auto", ColourModeAuto},
    {"Panel10", "Rnd1", ColourModeRnd1}, {"Panel11", "Rnd2", ColourModeRnd2},
    {"Panel12", "Rnd3", ColourModeRnd3}, {"Panel13", "21", 21},  {"Panel14", "32", 32},
    {"Panel15", "43", 43},         {"Panel16", "54", 54},        {"Panel17", "65", 65},
    {"Panel18", "207", 207},       {"Panel19", "220", 220},      {"Panel20", "228", 228},
    {"Panel21", "243", 243},
}};

namespace {

// Remainder that stays in 0..n-1 for negative values too (step and counter come from loops
// that keep them non-negative; this keeps a stray value from indexing outside the palette).
int32_t Wrap(int64_t v, int32_t n) {
  int64_t r = v % n;
  return static_cast<int32_t>(r < 0 ? r + n : r);
}

}  // namespace

uint8_t ModeColourIndex(int32_t mode, uint8_t c, int32_t step, int32_t counter) {
  if (c == 0) return 0;
  if (mode < ColourModeAuto) return static_cast<uint8_t>(mode);
  switch (mode) {
    case ColourModeRnd1: return static_cast<uint8_t>(Wrap(int64_t{c} + step, ColourCycleLength) + 1);
    case ColourModeRnd2: return static_cast<uint8_t>(Wrap(int64_t{step}, ColourCycleLength) + 1);
    case ColourModeRnd3: return static_cast<uint8_t>(Wrap(counter, ColourCycleLength) + 1);
    default: return c;  // Auto, and any unknown mode
  }
}

uint8_t ModeIldaColourIndex(int32_t mode, uint8_t c, int32_t step, int32_t counter) {
  if (mode < ColourModeAuto) return ColorIndexToIldaColor(static_cast<uint8_t>(mode));
  switch (mode) {
    case ColourModeRnd1: return static_cast<uint8_t>(Wrap(int64_t{c} + step, 64));
    case ColourModeRnd2: return static_cast<uint8_t>(Wrap(step, 64));
    case ColourModeRnd3: return static_cast<uint8_t>(Wrap(counter, 64));
    default: return c;
  }
}

TColor TFrameColouring::PictureColour(uint8_t c) {
  const uint8_t index = ModeColourIndex(mode_, c, step_, counter_);
  counter_ = Wrap(counter_, ColourCycleLength) + 1;
  return ColorIndexToTColor(index);
}

TColor TFrameColouring::IldaColour(uint8_t c) {
  const uint8_t index = ModeIldaColourIndex(mode_, c, step_, counter_);
  counter_ = Wrap(counter_, 64) + 1;
  return IldaColorToTColor(index);
}

void TColourStep::CountPass(int32_t speed) {
  ++passes_;
  // 64-bit: a segment row's speed comes unchecked from its file.
  if (passes_ > int64_t{ColourSpeedMax} - speed) {
    passes_ = 0;
    step_ = (step_ + 1) % ColourCycleLength;
  }
}

}  // namespace kavri
