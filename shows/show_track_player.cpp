#include "shows/show_track_player.h"

#include <algorithm>
#include <span>
#include <utility>

#include "engine/output_change.h"
#include "engine/play_kernel.h"
#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "segments/segment_play_state.h"
#include "shows/show_track_state.h"

namespace kavri {

namespace {

constexpr TPassPolicy kDrawingPolicy{TStartMap::Mirrored, TColourRule::Picture, TSlowDrawCut::Immediate};
constexpr TPassPolicy kItemPolicy{TStartMap::Mirrored, TColourRule::PictureRowAuto, TSlowDrawCut::AtListBoundary};

// Drawings and images have no effects; B = 90 makes the stepper's effect step the colour step of
// every eleventh point, and the fixed speed then advances the cycle after eleven such steps.
TEffectParams PlainParams() {
  TEffectParams p;
  p.B = 90;
  return p;
}
const TEffectParams kPlainParams = PlainParams();

bool Stopped() { return StopFlag.load(std::memory_order_relaxed); }
bool Paused() { return PauseFlag.load(std::memory_order_relaxed); }

// One ILDA frame as the kernel walks it: a single point list.
struct TFramePoints {
  std::span<const PointRecord> points;
  size_t ObjectCount() const { return 1; }
  std::span<const PointRecord> Object(size_t) const { return points; }
};

}  // namespace

// Drawings and ILDA frames: a row tick before every point, the track's colour cadence (unless
// `cadence` is off: track 1's images show their own colours and leave its cycle as it stands).
struct TShowTrackPlayer::TPlainHooks {
  TShowTrackPlayer& player;
  bool cadence = true;
  int32_t mode = ShowColourMode.load(std::memory_order_relaxed);
  bool BeforeList() { return !Stopped(); }
  bool BeforePoint() {
    player.TakeRowTick();
    return !Stopped();
  }
  const TEffectParams& Params() { return kPlainParams; }
  int32_t ColourSpeed() { return ShowColourSpeed; }
  int32_t ColourMode() { return mode; }
  bool Paused() {
    if (!cadence || kavri::Paused()) return true;
    // The track tests its point count before counting the point, so its first point only starts
    // the count: the first colour step comes at the twelfth point, then every eleventh.
    if (player.cadenceStarted_) return false;
    player.cadenceStarted_ = true;
    return true;
  }
  void EffectStepped(const TEffectValues& v) {
    if (v.colourCycle != ShowColourCycle[player.track_].load(std::memory_order_relaxed)) {
      ShowColourCycle[player.track_].store(v.colourCycle, std::memory_order_relaxed);
      PreviewDirtyFlag = true;
    }
    player.PublishColourCadence();
  }
};

// A segment item's pass: before every point the owed ticks are taken, and count item time.
struct TShowTrackPlayer::TItemHooks {
  TShowTrackPlayer& player;
  const TEffectParams& params;
  int32_t mode = ShowColourMode.load(std::memory_order_relaxed);
  bool BeforeList() { return !Stopped() && player.itemTicks_ <= params.A; }
  bool BeforePoint() {
    player.TakeRowTick();
    return player.TakeItemTicks(params.A);
  }
  const TEffectParams& Params() { return params; }
  // The item's own N under Auto, else the show's fixed speed.
  int32_t ColourSpeed() { return mode == ColourModeAuto ? params.N : ShowColourSpeed; }
  int32_t ColourMode() { return mode; }
  bool Paused() { return kavri::Paused(); }
  void EffectStepped(const TEffectValues&) {
    player.PublishItemEffects();
    PreviewDirtyFlag = true;
  }
};

TShowTrackPlayer::TShowTrackPlayer(int track, TTickSource& ticks) : track_(track - 1), ticks_(ticks) {}

TShowTrackPlayer::TShowTrackPlayer(int track) : TShowTrackPlayer(track, ShowClockTicks[track - 1]) {}

void TShowTrackPlayer::Start() {
  ShowTrackRunning[track_] = true;
  ShowPlayingFlag = true;
  TakeOutputCopies();
  rows_ = ShowTrackRows(track_ + 1);
  nextRow_ = 0;
  row_ = nullptr;
  values_ = {};
  ShowColourCycle[track_] = 0;
  cadenceStarted_ = false;
  pointSteps_ = TEffectStepper(TEffectWrap::Modulo510);
  itemSteps_ = TEffectStepper(TEffectWrap::Modulo510);
  PublishColourCadence();
}

void TShowTrackPlayer::Finish() { ShowTrackRunning[track_] = false; }

void TShowTrackPlayer::Run() {
  // Whatever ends the walk, the track must not stay marked running, or the show would never end.
  struct TFinish {
    TShowTrackPlayer& player;
    ~TFinish() { player.Finish(); }
  } finish{*this};
  Start();
  while (Step()) {
  }
}

void TShowTrackPlayer::TakeRowTick() {
  const int64_t owed = ticks_.Owed();
  if (owed <= 0) return;
  if (Paused()) return ticks_.Take(owed);
  const int64_t taken = std::min<int64_t>(owed, std::max<int64_t>(int64_t{rowLimit_} - rowTime_, 0));
  if (taken == 0) return;
  ticks_.Take(taken);
  rowTime_ += static_cast<int32_t>(taken);
  frameTicks_ += taken;
  ShowTrackRowTime[track_].store(rowTime_, std::memory_order_relaxed);
}

bool TShowTrackPlayer::RowOver() const { return rowTime_ >= rowLimit_ && !Paused() && ticks_.Owed() > 0; }

void TShowTrackPlayer::WaitRowTick() {
  ticks_.WaitOwedOrStop();
  TakeRowTick();
}

bool TShowTrackPlayer::TakeItemTicks(int32_t a) {
  if (frameTicks_ == 0) return true;
  if (Paused()) {
    frameTicks_ = 0;
    return true;
  }
  const int64_t taken = std::min<int64_t>(frameTicks_, std::max<int64_t>(a - itemTicks_, 0));
  itemTicks_ += taken;
  frameTicks_ -= taken;
  return frameTicks_ == 0;
}

bool TShowTrackPlayer::BeginNextRow() {
  // Rows without time play nothing and are passed at once.
  while (rows_ && nextRow_ < rows_->size()) {
    const size_t index = nextRow_++;
    row_ = (*rows_)[index].get();
    ShowTrackRow[track_] = static_cast<int32_t>(index);
    PreviewDirtyFlag = true;
    rowTime_ = 0;
    ShowTrackRowTime[track_] = 0;
    frameTicks_ = 0;
    ildaCarry_ = 0;
    rowLimit_ = row_->time;
    rowKind_ = ShowRowKind(row_->name);
    if (rowLimit_ > 0) return true;
  }
  row_ = nullptr;
  return false;
}

bool TShowTrackPlayer::Step() {
  if (Stopped()) return false;
  if ((!row_ || rowTime_ >= rowLimit_) && !BeginNextRow()) return false;
  switch (rowKind_) {
    case TShowRowKind::Drawing: PlayDrawing(*row_->drawing); break;
    case TShowRowKind::Segment: PlaySegment(*row_->rows); break;
    case TShowRowKind::Ilda: PlayImage(*row_->ilda); break;
    case TShowRowKind::Other: WaitRowTick(); break;  // a pause of the row's time
  }
  return !Stopped();
}

// ---- drawing -----------------------------------------------------------------------------------

void TShowTrackPlayer::PlayDrawing(const TPlayDrawing& drawing) {
  // A drawing without points has nothing to send: its row passes by the clock alone.
  if (drawing.Empty()) return WaitRowTick();
  // Ticks that came while the last frame was written may take the row past its time: then it
  // ends here, and those beyond it begin the next row.
  TakeRowTick();
  if (RowOver()) return;
  CheckOutputChange();
  if (!(ScanDelay.load() == 1 && BlankingDelay.load() == 1)) drawingPacket_.Send();
  TakeRowTick();
  TPlainHooks hooks{*this};
  const auto end = WalkPass(drawing, kDrawingPolicy, TOutputSettings::Live(), static_cast<int32_t>(drawing.PointCount()),
                            pointSteps_, values_, frame_, hooks);
  PublishColourCadence();
  // A frame, once begun, is sent whole; one cut short by Stop is not sent.
  if (end == TPassEnd::Complete) SendToAllOutputs(frame_.Bytes(), frame_.ByteCount());
}

// ---- segment -----------------------------------------------------------------------------------

void TShowTrackPlayer::PlaySegment(const TSectionList& items) {
  bool played = false;
  for (size_t i = 0; i < items.size(); ++i) {
    TakeRowTick();
    if (Stopped() || RowOver()) return;
    const TSectionRecord& item = *items[i];
    // An item without time begins like any other, its settings packet sent, and plays no pass.
    BeginItem(i, item);
    TEffectParams params = SegmentRowEffects(item);
    params.O = item.O;
    while (!Stopped() && itemTicks_ < params.A) {
      TakeRowTick();
      if (RowOver()) return;
      played = true;
      if (!PlayItemPass(item, params)) return;
    }
  }
  // A segment that plays nothing must not spin: its row passes by the clock alone.
  if (!played && !Stopped() && !RowOver()) WaitRowTick();
}

void TShowTrackPlayer::BeginItem(size_t index, const TSectionRecord& item) {
  itemPoints_ = static_cast<int32_t>(item.drawing->PointCount());
  ShowTrackItem[track_] = static_cast<int32_t>(index);
  ShowTrackItemPoints[track_] = itemPoints_;
  itemTicks_ = 0;
  itemSteps_.RestartPointCount();
  values_.ResetMotion();
  values_.colourCycle = 0;
  values_.slowDraw = itemPoints_;
  PublishItemEffects();
  PreviewDirtyFlag = true;
  drawingPacket_.Send();
}

// One pass over the item's drawing, sent whole, the pass in which its time ran out included.
bool TShowTrackPlayer::PlayItemPass(const TSectionRecord& item, const TEffectParams& params) {
  drawingPacket_.SendIfChanged();
  CheckOutputChange();
  if (params.D < 1) values_.slowDraw = itemPoints_;
  if (itemPoints_ == 0) {
    // Nothing to walk, so no point takes the ticks: the pass waits for the clock instead.
    ticks_.WaitOwedOrStop();
    TakeRowTick();
    TakeItemTicks(params.A);
    return !Stopped();
  }
  TItemHooks hooks{*this, params};
  WalkPass(*item.drawing, kItemPolicy, TOutputSettings::Live(), itemPoints_, itemSteps_, values_, frame_, hooks);
  if (Stopped()) return false;
  if (frame_.Count() > 0) SendToAllOutputs(frame_.Bytes(), frame_.ByteCount());
  return true;
}

void TShowTrackPlayer::PublishItemEffects() {
  constexpr auto relaxed = std::memory_order_relaxed;
  auto& e = ShowTrackEffects[track_];
  e[kShowAngle].store(values_.angle, relaxed);
  e[kShowHSpread].store(values_.hSpread, relaxed);
  e[kShowVSpread].store(values_.vSpread, relaxed);
  e[kShowHSquash].store(values_.hSquash, relaxed);
  e[kShowVSquash].store(values_.vSquash, relaxed);
  e[kShowHScroll].store(values_.hScroll, relaxed);
  e[kShowVScroll].store(values_.vScroll, relaxed);
  ShowTrackSlowDraw[track_].store(values_.slowDraw, relaxed);
  ShowColourCycle[track_].store(values_.colourCycle, relaxed);
  ShowColourStep[track_].store(static_cast<int32_t>(itemSteps_.ColourSteps()), relaxed);
}

// ---- ILDA --------------------------------------------------------------------------------------

void TShowTrackPlayer::PlayImage(const TILDAimage& image) {
  // An image without frames has nothing to send: its row passes by the clock alone.
  if (image.frames.empty()) return WaitRowTick();
  TakeRowTick();
  ildaPacket_.Send();
  // Track 1 keeps an image's own colours under the automatic modes, and its colour cycle, which
  // belongs to its drawings, runs on untouched; tracks 2 and 3 cycle an image's colours, from 0 at
  // every pass through it.
  const bool cycles = track_ != 0;
  if (cycles) {
    values_.colourCycle = 0;
    ShowColourCycle[track_] = 0;
  }
  const TPassPolicy policy{TStartMap::IldaRaw, cycles ? TColourRule::Ilda : TColourRule::IldaOwnUnlessFixed,
                           TSlowDrawCut::Immediate};
  const size_t count = image.frames.size();
  // A pass that ran past the image's end while its last frame was written starts as late.
  size_t f = std::exchange(ildaCarry_, 0) % count;
  while (f < count) {
    TakeRowTick();
    if (Stopped() || RowOver()) return;
    ShowTrackIldaFrame[track_] = static_cast<int32_t>(f);
    PreviewDirtyFlag = true;
    frameTicks_ = 0;
    ildaPacket_.SendIfChanged();
    const TFramePoints points{image.frames[f]->points};
    // The frame is sent again and again until the next clock event. Events that came while it
    // was written step as many frames, so an image whose frames take longer to write than a
    // tick skips the frames it is late for and keeps its speed.
    int64_t passed = 0;
    while (!Stopped()) {
      TakeRowTick();
      if (RowOver()) return;
      if (frameTicks_ > 0) {
        passed = std::exchange(frameTicks_, 0);
        if (!Paused()) break;
        passed = 0;
      }
      CheckOutputChange();
      if (points.points.empty()) {
        ticks_.WaitOwedOrStop();  // nothing to send: wait for the clock instead
        continue;
      }
      TPlainHooks hooks{*this, cycles};
      const auto end = WalkPass(points, policy, TOutputSettings::Live(), static_cast<int32_t>(points.points.size()),
                                pointSteps_, values_, frame_, hooks);
      if (end == TPassEnd::Complete) SendToAllOutputs(frame_.Bytes(), frame_.ByteCount());
    }
    PublishColourCadence();
    f += static_cast<size_t>(passed);
  }
  ildaCarry_ = f - count;
}

void TShowTrackPlayer::PublishColourCadence() {
  ShowPointStepCount[track_].store(static_cast<int32_t>(pointSteps_.PointsSinceStep()), std::memory_order_relaxed);
  ShowColourStepCount[track_].store(static_cast<int32_t>(pointSteps_.ColourSteps()), std::memory_order_relaxed);
}

// ---- workers -----------------------------------------------------------------------------------

void PlayShowTrack1() { TShowTrackPlayer(1).Run(); }
void PlayShowTrack2() { TShowTrackPlayer(2).Run(); }
void PlayShowTrack3() { TShowTrackPlayer(3).Run(); }

void RegisterShowTrackLoops() {
  RegisterTrackLoop(1, PlayShowTrack1);
  RegisterTrackLoop(2, PlayShowTrack2);
  RegisterTrackLoop(3, PlayShowTrack3);
}

}  // namespace kavri
