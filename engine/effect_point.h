#pragma once
// One point through a play loop: where it starts in device orientation, the effect chain, the
// output stage, and its colour by the loop's colour rule.
#include "engine/device_packets.h"
#include "engine/drawing.h"
#include "engine/effect_step.h"
#include "engine/output_stage.h"
#include "engine/transforms.h"

namespace kavri {

// Where a stored point starts in device orientation.
enum class TStartMap {
  StoredX,       // (x, 255 - y): the segment loop sends x as stored
  Mirrored,      // (255 - x, 255 - y): play drawing, quick play, show drawing and segment tracks
  IldaPrepared,  // (255 - x, y): quick play's ILDA copies, already moved to 0..255
  IldaRaw,       // (127 - x, y + 128): a show's ILDA frames, -128..127
};

inline void StartPoint(TStartMap map, const PointRecord& p, double& x, double& y) {
  switch (map) {
    case TStartMap::StoredX: x = p.x; y = 255.0 - p.y; return;
    case TStartMap::Mirrored: x = 255.0 - p.x; y = 255.0 - p.y; return;
    case TStartMap::IldaPrepared: x = 255.0 - p.x; y = p.y; return;
    case TStartMap::IldaRaw: x = 127.0 - p.x; y = p.y + 128.0; return;
  }
}

// The effects between the inverts and the output offsets, in their order: zoom by L; rotation,
// squashes, scrolls and spreads, each only while its letter is above 0; rotation by M and by the
// locate angle; then Q and R are subtracted. Rotating by 0 and zooming integral coordinates by 20
// change nothing, so loops that skip those stages at their neutral values give the same points.
// The mapper keeps the fixed turns' cosines and sines between points.
class TEffectPointMapper {
 public:
  void ApplyEffectChain(const TEffectParams& p, const TEffectValues& v, const TOutputSettings& s, double& x, double& y);
  TDevicePoint Map(TStartMap map, const TEffectParams& p, const TEffectValues& v, const TOutputSettings& s,
                   const PointRecord& point, TColor colour);

 private:
  struct TCachedTurn {
    double angle = 0;
    TRotation turn;
    const TRotation& For(double a) {
      if (a != angle) {
        angle = a;
        turn = TRotation::Of(a);
      }
      return turn;
    }
  };
  TCachedTurn fixed_, locate_;
};

// How a loop picks a point's colour.
enum class TColourRule {
  Picture,            // the window's mode on the program palette
  PictureRowAuto,     // the same, but Auto takes the row's K (segment rows and show items)
  Ilda,               // the window's mode on the ILDA palette
  IldaOwnUnlessFixed, // show track 1: the automatic modes keep the frame's own colours
};

// The palette colour of a point with own index c. `counter` is the point colour counter of the
// pass (mode Rnd3).
TColor PointColour(TColourRule rule, int32_t mode, const TEffectParams& p, uint8_t c, int32_t cycle, int32_t counter);

// The device point of a stored point, effects and output stage applied.
TDevicePoint EffectDevicePoint(TStartMap map, const TEffectParams& p, const TEffectValues& v,
                               const TOutputSettings& s, const PointRecord& point, TColor colour);

}  // namespace kavri
