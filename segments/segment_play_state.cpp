#include "segments/segment_play_state.h"

namespace kavri {

TSectionList SegmentPlayRows;
TPlayDrawingPtr PlayDrawingList = EmptyPlayDrawing();
std::atomic<int32_t> SegmentRowIndex{0};
std::atomic<int32_t> RowPointTotal{0};
TPublishedEffects SegmentEffectState;
TSegmentLiveEffects SegmentLiveEffects;
std::atomic<int32_t> SegmentColourMode{ColourModeAuto};
TTickCounter PlayTickFlag;
std::atomic<int32_t> SegmentPreviewMode{0};

TEffectParams TSegmentLiveEffects::Read() const {
  TEffectParams p;
  p.B = B;
  p.C = C;
  p.D = D;
  p.E = E;
  p.F = F;
  p.G = G;
  p.H = H;
  p.I = I;
  p.J = J;
  p.L = L;
  p.M = M;
  p.N = N;
  p.Q = Q;
  p.R = R;
  return p;
}

void TSegmentLiveEffects::Reset() {
  for (auto* v : {&B, &C, &D, &E, &F, &G, &H, &I, &J, &M, &N, &Q, &R}) *v = 0;
  L = 20;
}

const TSectionRecord* SegmentPreviewRow() {
  const int32_t index = SegmentRowIndex.load();
  if (index < 0 || static_cast<size_t>(index) >= SegmentPlayRows.size()) return nullptr;
  return SegmentPlayRows[static_cast<size_t>(index)].get();
}

TEffectParams SegmentRowEffects(const TSectionRecord& row) {
  TEffectParams p;
  p.A = row.A;
  p.B = row.B;
  p.C = row.C;
  p.D = row.D;
  p.E = row.E;
  p.F = row.F;
  p.G = row.G;
  p.H = row.H;
  p.I = row.I;
  p.J = row.J;
  p.K = row.K;
  p.L = row.L;
  p.M = row.M;
  p.N = row.N;
  p.Q = row.Q;
  p.R = row.R;
  return p;
}

void ResetSegmentPlayState() {
  SegmentPlayRows.clear();
  PlayDrawingList = EmptyPlayDrawing();
  SegmentRowIndex = 0;
  RowPointTotal = 0;
  SegmentEffectState.Publish({});
  SegmentLiveEffects.Reset();
  SegmentColourMode = ColourModeAuto;
  PlayTickFlag.Clear();
  SegmentPreviewMode = 0;
}

}  // namespace kavri
