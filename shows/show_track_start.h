#pragma once
// Starting a loaded show's three tracks.
#include "engine/show_file.h"

namespace kavri {

// The tracks read `show`, which must stay as it is until AnyShowTrackRunning() is false. Clears the
// tracks' tick counters and PreviewDirtyFlag, marks the three tracks and the show running here on the
// calling thread (so a timer that looks before a worker has begun never sees the show as ended),
// then starts the three workers through the play controller, which clears StopFlag. False, with
// nothing marked, when the controller refuses because a worker still runs.
bool StartShowTracks(const TSequence& show);

}  // namespace kavri
