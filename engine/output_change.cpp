#include "engine/output_change.h"

#include <mutex>

#include "engine/shared_state.h"

namespace kavri {

namespace {
// Compare-and-take must be one step, else two tracks could each take half of a change.
std::mutex g_copiesMutex;

void TakeCopiesLocked() {
  LastHOffset = HOffset.load();
  LastVOffset = VOffset.load();
  LastHSize = HSize.load();
  LastVSize = VSize.load();
  LastLocateAngle = LocateAngle.load();
  LastHInvert = HInvertFlag.load();
  LastVInvert = VInvertFlag.load();
}
}  // namespace

void TakeOutputCopies() {
  std::lock_guard lock(g_copiesMutex);
  TakeCopiesLocked();
}

bool CheckOutputChange() {
  std::lock_guard lock(g_copiesMutex);
  const bool same = LastHOffset == HOffset && LastVOffset == VOffset && LastHSize == HSize && LastVSize == VSize &&
                    LastLocateAngle == LocateAngle && LastHInvert == HInvertFlag && LastVInvert == VInvertFlag;
  if (same) return false;
  TakeCopiesLocked();
  PreviewDirtyFlag = true;
  return true;
}

}  // namespace kavri
