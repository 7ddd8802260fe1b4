#include "engine/effect_step.h"

namespace kavri {

namespace {

int32_t Modulo(int64_t v, int64_t n) {
  if (v >= 0 && v < n) return static_cast<int32_t>(v);  // the usual case: no division
  if (v >= n && v < 2 * n) return static_cast<int32_t>(v - n);
  const int64_t r = v % n;
  return static_cast<int32_t>(r < 0 ? r + n : r);
}

int32_t Wrapped510(TEffectWrap wrap, int32_t value, int32_t step) {
  const int64_t sum = int64_t{value} + step;
  if (wrap == TEffectWrap::Modulo510) return Modulo(sum, 510);
  return sum > 510 || sum < 0 ? 0 : static_cast<int32_t>(sum);
}

}  // namespace

void TPublishedEffects::Publish(const TEffectValues& v) {
  constexpr auto relaxed = std::memory_order_relaxed;
  angle_.store(v.angle, relaxed);
  hSpread_.store(v.hSpread, relaxed);
  vSpread_.store(v.vSpread, relaxed);
  hSquash_.store(v.hSquash, relaxed);
  vSquash_.store(v.vSquash, relaxed);
  hScroll_.store(v.hScroll, relaxed);
  vScroll_.store(v.vScroll, relaxed);
  slowDraw_.store(v.slowDraw, relaxed);
  colourCycle_.store(v.colourCycle, relaxed);
}

TEffectValues TPublishedEffects::Read() const {
  constexpr auto relaxed = std::memory_order_relaxed;
  TEffectValues v;
  v.angle = angle_.load(relaxed);
  v.hSpread = hSpread_.load(relaxed);
  v.vSpread = vSpread_.load(relaxed);
  v.hSquash = hSquash_.load(relaxed);
  v.vSquash = vSquash_.load(relaxed);
  v.hScroll = hScroll_.load(relaxed);
  v.vScroll = vScroll_.load(relaxed);
  v.slowDraw = slowDraw_.load(relaxed);
  v.colourCycle = colourCycle_.load(relaxed);
  return v;
}

bool TEffectStepper::CountPoint(const TEffectParams& p, int32_t colourSpeed, bool paused, int32_t pointTotal,
                                TEffectValues& v) {
  if (!paused) ++sincePoint_;
  if (sincePoint_ <= 100 - int64_t{p.B}) return false;
  sincePoint_ = 0;
  Step(p, colourSpeed, pointTotal, v);
  return true;
}

void TEffectStepper::Step(const TEffectParams& p, int32_t colourSpeed, int32_t pointTotal, TEffectValues& v) {
  v.angle = Modulo(int64_t{v.angle} + p.C, 360);
  if (p.D < 1) {
    v.slowDraw = pointTotal;
  } else {
    const int64_t limit = int64_t{v.slowDraw} + p.D;
    v.slowDraw = limit > pointTotal ? 0 : static_cast<int32_t>(limit);
  }
  v.hSpread = Wrapped510(wrap_, v.hSpread, p.E);
  v.vSpread = p.E == p.F ? v.hSpread : Wrapped510(wrap_, v.vSpread, p.F);
  v.hSquash = Modulo(int64_t{v.hSquash} + p.G, 256);
  v.vSquash = p.G == p.H ? v.hSquash : Modulo(int64_t{v.vSquash} + p.H, 256);
  v.hScroll = Wrapped510(wrap_, v.hScroll, p.I);
  v.vScroll = Wrapped510(wrap_, v.vScroll, p.J);
  if (++colourSteps_ > int64_t{ColourSpeedMax} - colourSpeed) {
    colourSteps_ = 0;
    v.colourCycle = Modulo(int64_t{v.colourCycle} + 1, ColourCycleLength);
  }
}

}  // namespace kavri
