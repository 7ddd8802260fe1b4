#pragma once
// What the "Segment Edit" window's play loops share with the window's timers and preview. The
// rows and the played drawing are filled by Play while no loop runs and only read while one does;
// every scalar a loop writes is an atomic.
#include <atomic>
#include <chrono>

#include "engine/effect_step.h"
#include "engine/play_drawing.h"
#include "engine/play_ticks.h"
#include "engine/section_file.h"

namespace kavri {

// The row tick: Timer1's interval while a segment plays.
constexpr std::chrono::milliseconds kSegmentTickInterval{5};

// The window's live effect sliders (B to J, L, M, N, Q, R).
struct TSegmentLiveEffects {
  std::atomic<int32_t> B{0}, C{0}, D{0}, E{0}, F{0}, G{0}, H{0}, I{0}, J{0};
  std::atomic<int32_t> L{20}, M{0}, N{0}, Q{0}, R{0};
  TEffectParams Read() const;
  void Reset();
};

extern TSectionList SegmentPlayRows;     // the segment being played
extern TPlayDrawingPtr PlayDrawingList;  // the drawing "Play drawing" plays
extern std::atomic<int32_t> SegmentRowIndex;
extern std::atomic<int32_t> RowPointTotal;
extern TPublishedEffects SegmentEffectState;  // accumulators, slow-draw limit and colour cycle
extern TSegmentLiveEffects SegmentLiveEffects;
extern std::atomic<int32_t> SegmentColourMode;  // the window's colour choice, Auto at first
extern TTickCounter PlayTickFlag;               // raised by Timer1, counted
extern std::atomic<int32_t> SegmentPreviewMode;  // 0 a segment plays, 1 a single drawing

// The row the preview should draw, or nullptr when the index is outside the rows: the loop moves
// the index while the preview reads it.
const TSectionRecord* SegmentPreviewRow();

// The letters of a segment row as the segment loop uses them (O is not read while playing).
TEffectParams SegmentRowEffects(const TSectionRecord& row);

void ResetSegmentPlayState();

}  // namespace kavri
