#pragma once
// The program's 256-colour palette, the ILDA palette and the mappings between their indexes.
// Plain table look-ups: they run for every point of every frame.
#include <cstdint>

#include "platform/tcolor.h"

namespace kavri {

TColor ColorIndexToTColor(uint8_t index);     // program palette
TColor IldaColorToTColor(uint8_t index);      // ILDA palette; 64 is black, above 64 white
uint8_t ColorIndexToIldaColor(uint8_t index); // program index -> ILDA index 0..64
uint8_t IldaColorToColorIndex(uint8_t index); // ILDA index -> program index; above 64 white (1)

}  // namespace kavri
