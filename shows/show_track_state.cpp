#include "shows/show_track_state.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "engine/colour_modes.h"

namespace kavri {

std::array<TTickCounter, kShowTrackCount> ShowClockTicks;
std::array<std::atomic<bool>, kShowTrackCount> ShowTrackRunning{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackRow{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackRowTime{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackItem{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackItemPoints{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackSlowDraw{};
std::array<std::array<std::atomic<int32_t>, 7>, kShowTrackCount> ShowTrackEffects{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowColourCycle{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowColourStep{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowTrackIldaFrame{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowPointStepCount{};
std::array<std::atomic<int32_t>, kShowTrackCount> ShowColourStepCount{};
std::atomic<int32_t> ShowColourMode{ColourModeAuto};
std::atomic<bool> ShowPlayingFlag{false};

namespace {

std::array<std::atomic<const TSequenceTrack*>, kShowTrackCount> g_rows{};

bool ValidTrack(int track) { return track >= 1 && track <= kShowTrackCount; }

template <class T>
const T* At(const std::vector<std::unique_ptr<T>>& list, int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < list.size() ? list[index].get() : nullptr;
}

}  // namespace

TShowRowKind ShowRowKind(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return TShowRowKind::Other;
  const std::string_view ext = std::string_view(name).substr(dot);
  const auto is = [&](std::string_view lower) {
    return std::equal(ext.begin(), ext.end(), lower.begin(), lower.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
  };
  if (is(".ddr")) return TShowRowKind::Drawing;
  if (is(".sec")) return TShowRowKind::Segment;
  if (is(".ild")) return TShowRowKind::Ilda;
  return TShowRowKind::Other;
}

void SetShowTrackRows(const TSequence& show) {
  for (int t = 0; t < kShowTrackCount; ++t) g_rows[t] = &show.Track(t);
}

void ClearShowTrackRows() {
  for (auto& rows : g_rows) rows = nullptr;
}

const TSequenceTrack* ShowTrackRows(int track) { return ValidTrack(track) ? g_rows[track - 1].load() : nullptr; }

const TSequenceRecord* ShowPreviewRow(int track) {
  const TSequenceTrack* rows = ShowTrackRows(track);
  if (!rows || !ShowTrackRunning[track - 1]) return nullptr;
  return At(*rows, ShowTrackRow[track - 1].load());
}

const TSectionRecord* ShowPreviewItem(int track) {
  const TSequenceRecord* row = ShowPreviewRow(track);
  if (!row || ShowRowKind(row->name) != TShowRowKind::Segment) return nullptr;
  return At(*row->rows, ShowTrackItem[track - 1].load());
}

const TILDAframe* ShowPreviewIldaFrame(int track) {
  const TSequenceRecord* row = ShowPreviewRow(track);
  if (!row || ShowRowKind(row->name) != TShowRowKind::Ilda) return nullptr;
  return At(row->ilda->frames, ShowTrackIldaFrame[track - 1].load());
}

bool AnyShowTrackRunning() {
  return std::any_of(ShowTrackRunning.begin(), ShowTrackRunning.end(), [](const auto& r) { return r.load(); });
}

void ResetShowTrackState() {
  for (int t = 0; t < kShowTrackCount; ++t) {
    ShowClockTicks[t].Clear();
    for (auto* v : {&ShowTrackRow[t], &ShowTrackRowTime[t], &ShowTrackItem[t], &ShowTrackItemPoints[t],
                    &ShowTrackSlowDraw[t], &ShowColourCycle[t], &ShowColourStep[t], &ShowTrackIldaFrame[t],
                    &ShowPointStepCount[t], &ShowColourStepCount[t]})
      *v = 0;
    for (auto& e : ShowTrackEffects[t]) e = 0;
    ShowTrackRunning[t] = false;
  }
  ShowColourMode = ColourModeAuto;
  ShowPlayingFlag = false;
  ClearShowTrackRows();
}

}  // namespace kavri
