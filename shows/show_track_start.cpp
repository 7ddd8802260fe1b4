#include "shows/show_track_start.h"

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "shows/show_track_player.h"
#include "shows/show_track_state.h"

namespace kavri {

bool StartShowTracks(const TSequence& show) {
  if (PlayController().AnyWorkerRunning()) return false;
  RegisterShowTrackLoops();
  SetShowTrackRows(show);
  for (int t = 0; t < kShowTrackCount; ++t) {
    ShowClockTicks[t].Clear();
    ShowTrackRunning[t] = true;
  }
  ShowPlayingFlag = true;
  // Cleared here rather than by each track as it starts, which could wipe another track's mark.
  PreviewDirtyFlag = false;
  if (PlayController().StartTrackJobs()) return true;
  for (auto& running : ShowTrackRunning) running = false;
  ShowPlayingFlag = false;
  return false;
}

}  // namespace kavri
