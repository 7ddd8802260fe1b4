#include "quickplay/quick_play_loops.h"

#include <algorithm>

#include "engine/drawing.h"
#include "engine/ilda_file.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "quickplay/quick_play_state.h"

namespace kavri {

namespace {

constexpr TPassPolicy kDrawingPolicy{TStartMap::Mirrored, TColourRule::Picture, TSlowDrawCut::Immediate};
constexpr TPassPolicy kIldaPolicy{TStartMap::IldaPrepared, TColourRule::Ilda, TSlowDrawCut::Immediate};

const char* const kDrawingStartText = "Drawing playing start...";
const char* const kIldaStartText = "ILDAimage Playing start...";
const char* const kNoDrawingChosenText = "No drawing is selected.";
const char* const kNoIldaChosenText = "No ILDA file is selected.";
const char* const kEmptyDrawingText = "The drawing has no points to play.";
const char* const kEmptyIldaText = "The ILDA file has no frames to play.";

bool Stopped() { return StopFlag.load(std::memory_order_relaxed); }
bool SlowDrawOff() { return QuickPlayEffects.SlowDraw.load(std::memory_order_relaxed) < 1; }

}  // namespace

// ---- prepare steps -------------------------------------------------------------------------

TQuickPlayStart PrepareDrawingPlay(const std::string& drawingPath) {
  QuickPlayDrawingList = EmptyPlayDrawing();
  if (drawingPath.empty()) return {false, kNoDrawingChosenText};
  Drawing loaded;
  std::string error;
  if (!LoadDrawingFile(drawingPath, loaded, 1, &error)) return {false, error};
  auto drawing = std::make_shared<const TPlayDrawing>(TPlayDrawing::FromDrawing(loaded));
  if (drawing->Empty()) return {false, kEmptyDrawingText};
  QuickPlayDrawingList = std::move(drawing);
  return {true, kDrawingStartText};
}

TQuickPlayStart PrepareIldaPlay(const std::string& ildaPath) {
  QuickPlayIldaFrames = EmptyIldaPlayFrames();
  if (ildaPath.empty()) return {false, kNoIldaChosenText};
  // Read a frame at a time into the compact frames the loop plays: ILDA space moved to 0..255
  // (y still grows upwards).
  TIldaFrameFile file;
  std::string error;
  file.Open(ildaPath, &error);
  if (file.FrameCount() == 0) return {false, error.empty() ? std::string(kEmptyIldaText) : error};
  auto frames = std::make_shared<TIldaPlayFrames>();
  frames->Reserve(file.FrameCount(), file.PointTotal());
  TILDAframe frame;
  for (size_t i = 0; i < file.FrameCount(); ++i) {
    if (!file.ReadFrame(i, frame, &error)) return {false, error};
    for (PointRecord& p : frame.points) {
      p.x = std::clamp<decltype(p.x)>(p.x + 128, 0, 255);
      p.y = std::clamp<decltype(p.y)>(p.y + 128, 0, 255);
    }
    frames->Add(frame.points);
  }
  QuickPlayIldaFrames = std::move(frames);
  return {true, kIldaStartText};
}

// ---- the loops ---------------------------------------------------------------------------

namespace {

template <class Loop>
void RunToEnd(Loop& loop) {
  loop.Start();
  while (loop.Step()) {
  }
  loop.Finish();
}

}  // namespace

TQuickDrawingLoop::TQuickDrawingLoop() : pass_(kDrawingPolicy, true) {}

void TQuickDrawingLoop::Start() {
  drawing_ = QuickPlayDrawingList;
  const int32_t total = static_cast<int32_t>(drawing_->PointCount());
  // With slow draw on, the picture grows on from where the previous run left it.
  pass_.Start(SlowDrawOff() ? total : QuickPlaySlowDrawCount.load());
  pass_.SetPointTotal(total);
}

bool TQuickDrawingLoop::Step() {
  if (Stopped()) return false;
  pass_.CheckSettings();
  pass_.Play(*drawing_);
  return !Stopped();
}

void TQuickDrawingLoop::Finish() {
  drawing_.reset();
  pass_.Finish();
}

void TQuickDrawingLoop::Run() { RunToEnd(*this); }

TQuickIldaLoop::TQuickIldaLoop(TTickSource& ticks) : ticks_(ticks), pass_(kIldaPolicy, false) {}
TQuickIldaLoop::TQuickIldaLoop() : TQuickIldaLoop(QuickPlayTickFlag) {}

void TQuickIldaLoop::Start() {
  frames_ = QuickPlayIldaFrames;
  frame_.reserve(frames_->LargestFrame());
  expanded_ = SIZE_MAX;
  pass_.Start(0);
  frameIndex_ = 0;
  if (frames_->FrameCount() > 0) BeginFrame(0);
}

void TQuickIldaLoop::BeginFrame(size_t index) {
  frameIndex_ = index;
  QuickPlayFrameIndex = static_cast<int32_t>(index);
  PreviewDirtyFlag = true;
  pass_.CheckSettings();
  pass_.SetPointTotal(static_cast<int32_t>(frames_->PointCount(index)));
}

// After the last frame: frame 0 again while Loop is down, else the end.
bool TQuickIldaLoop::NextFrame() {
  if (frameIndex_ + 1 < frames_->FrameCount()) {
    BeginFrame(frameIndex_ + 1);
    return true;
  }
  if (!LoopFlag.load(std::memory_order_relaxed) || Stopped()) return false;
  BeginFrame(0);
  return true;
}

bool TQuickIldaLoop::Step() {
  if (Stopped()) return false;
  if (frames_->FrameCount() == 0) {
    // Nothing to send: with Loop each round waits for a tick rather than spinning.
    if (!LoopFlag.load(std::memory_order_relaxed)) return false;
    ticks_.WaitOwedOrStop();
    ticks_.TakeStep();
    return !Stopped();
  }
  // One frame on when ticks came, however many: every frame is sent at least once, and an image
  // whose frames take longer to write than the clock's ticks plays slower instead of losing
  // frames. Ticks that come while paused are dropped.
  if (ticks_.TakeStep() && !PauseFlag.load(std::memory_order_relaxed) && !NextFrame()) return false;
  if (expanded_ != frameIndex_) {
    frames_->Expand(frameIndex_, frame_);
    expanded_ = frameIndex_;
  }
  const std::vector<PointRecord>& points = frame_;
  if (points.empty())
    ticks_.WaitOwedOrStop();  // an empty frame lasts its tick without spinning
  else
    pass_.Play(points);
  return !Stopped();
}

void TQuickIldaLoop::Finish() {
  // After a stop the remaining frame indexes are run through without sending a frame.
  for (size_t i = frameIndex_ + 1; i < frames_->FrameCount(); ++i) BeginFrame(i);
  frames_.reset();
  pass_.Finish();
}

void TQuickIldaLoop::Run() { RunToEnd(*this); }

void RegisterQuickPlayLoops() {
  RegisterPlayLoop(kPlayJobDrawing, [] { TQuickDrawingLoop().Run(); });
  RegisterPlayLoop(kPlayJobIlda, [] { TQuickIldaLoop().Run(); });
}

}  // namespace kavri
