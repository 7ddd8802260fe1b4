#pragma once
// The large drawing the editor benchmarks draw.
#include <algorithm>
#include <random>

#include "engine/drawing.h"

namespace kavri_bench {

// 1000 objects of 100 points each: short random strokes the way the drawing tools lay them down
// (a blanked start of kind 2, then points a few pixels apart), spread over the whole canvas.
inline kavri::Drawing LargeDrawing() {
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> where(0, 510), stepDist(-8, 8), colour(2, 139);
  kavri::Drawing drawing;
  for (int o = 0; o < 1000; ++o) {
    kavri::DrawingObject* object = drawing.AddObject();
    int x = where(random), y = where(random);
    const uint8_t c = static_cast<uint8_t>(colour(random));
    for (int i = 0; i < 100; ++i) {
      kavri::PointRecord p;
      p.x = x;
      p.y = y;
      p.colour = c;
      p.kind = i == 0 ? 2 : 0;
      p.blanked = i == 0 ? 1 : 0;
      p.state = (o % 50 == 0 && i < 10) ? 1 : 0;
      object->Add(p);
      x = std::clamp(x + stepDist(random), 0, 510);
      y = std::clamp(y + stepDist(random), 0, 510);
    }
  }
  return drawing;
}

}  // namespace kavri_bench
