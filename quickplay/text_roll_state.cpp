#include "quickplay/text_roll_state.h"

#include <mutex>

namespace kavri {

TPlayDrawingPtr TextCharOutlines = EmptyPlayDrawing();

namespace {

struct TPublishedFrame {
  std::mutex lock;
  TPlayDrawing frame;                           // the loop's copy, reused at every roll step
  TPlayDrawingPtr snapshot = EmptyPlayDrawing();  // made by the reader, so the loop never allocates
  bool stale = false;
};

TPublishedFrame& Published() {
  static TPublishedFrame published;
  return published;
}

}  // namespace

void PublishTextRollFrame(const TPlayDrawing& frame) {
  TPublishedFrame& p = Published();
  std::lock_guard guard(p.lock);
  p.frame = frame;
  p.stale = true;
}

TPlayDrawingPtr TextRollFrameSnapshot() {
  TPublishedFrame& p = Published();
  std::lock_guard guard(p.lock);
  if (p.stale) {
    p.snapshot = std::make_shared<const TPlayDrawing>(p.frame);
    p.stale = false;
  }
  return p.snapshot;
}

void ResetTextRollState() {
  TextCharOutlines = EmptyPlayDrawing();
  TPublishedFrame& p = Published();
  std::lock_guard guard(p.lock);
  p.frame.Clear();
  p.snapshot = EmptyPlayDrawing();
  p.stale = false;
}

}  // namespace kavri
