#pragma once
// What the show's three track players share with the show window: the tracks being played, the
// clock's tick flags, and each track's position and effect state, published as atomics that the
// preview reads while the players move them. Tracks are numbered 1..3; arrays are indexed 0..2.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "engine/ilda_file.h"
#include "engine/play_threads.h"
#include "engine/play_ticks.h"
#include "engine/section_file.h"
#include "engine/show_file.h"

namespace kavri {

// The clock's ticks owed to each track. A track takes them as row time, and the same ticks count
// its segment items' time and step its ILDA frames.
extern std::array<TTickCounter, kShowTrackCount> ShowClockTicks;

extern std::array<std::atomic<bool>, kShowTrackCount> ShowTrackRunning;
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackRow;      // row index in the track
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackRowTime;  // row ticks counted in it
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackItem;     // segment row being played
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackItemPoints;
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackSlowDraw;
// Rotation angle, horizontal and vertical spread, horizontal and vertical squash, horizontal and
// vertical scroll of the segment item being played.
enum TShowEffect { kShowAngle, kShowHSpread, kShowVSpread, kShowHSquash, kShowVSquash, kShowHScroll, kShowVScroll };
extern std::array<std::array<std::atomic<int32_t>, 7>, kShowTrackCount> ShowTrackEffects;
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowColourCycle;  // 0..231
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowColourStep;   // segment effect steps since the last advance
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackIldaFrame;
// The drawing and ILDA colour cadence: points since the last colour step, and colour steps since
// the cycle last advanced.
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowPointStepCount;
extern std::array<std::atomic<int32_t>, kShowTrackCount> ShowColourStepCount;

extern std::atomic<int32_t> ShowColourMode;  // the show window's colour choice, Auto at first
constexpr int32_t ShowColourSpeed = 30;      // nothing changes it
extern std::atomic<bool> ShowPlayingFlag;    // a track has started and the show has not ended

// A row's content kind, by its name's extension in any case; any other kind is a pause.
enum class TShowRowKind { Drawing, Segment, Ilda, Other };
TShowRowKind ShowRowKind(const std::string& name);

// The tracks the players read: set while no track plays, and unchanged until they have all ended.
// `show` must outlive the run.
void SetShowTrackRows(const TSequence& show);
void ClearShowTrackRows();
const TSequenceTrack* ShowTrackRows(int track);  // track 1..3; nullptr when none is set

// What the preview draws for a track, read with every index checked, since the players move the
// indexes while the preview reads them: nullptr while the track does not run or an index is
// outside its content. The content itself never changes while the tracks run.
const TSequenceRecord* ShowPreviewRow(int track);
const TSectionRecord* ShowPreviewItem(int track);  // the segment row the track's item index names
const TILDAframe* ShowPreviewIldaFrame(int track);

bool AnyShowTrackRunning();

// Every value above back to its start value (no track may run).
void ResetShowTrackState();

}  // namespace kavri
