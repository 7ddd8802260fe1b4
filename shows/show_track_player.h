#pragma once
// One show track's player: walks the track's rows in order and, for each row, calls the builder of
// the row's kind (drawing, segment or ILDA image) until the row's time in clock ticks is used up.
// The track counts every tick of the show's clock, those that come while it writes a frame
// included, so its rows keep time with the music however long their frames take to write.
// One class serves the three tracks; the track number picks its state, its ticks and its ILDA
// colour rule. Step plays one builder call, so tests drive a track without a thread.
#include <cstdint>

#include "engine/device_packets.h"
#include "engine/effect_step.h"
#include "engine/ilda_file.h"
#include "engine/play_drawing.h"
#include "engine/play_ticks.h"
#include "engine/section_file.h"
#include "engine/show_file.h"
#include "shows/show_track_state.h"

namespace kavri {

class TShowTrackPlayer {
 public:
  // `track` 1..3 reads the rows set by SetShowTrackRows and publishes into the track's state.
  TShowTrackPlayer(int track, TTickSource& ticks);
  explicit TShowTrackPlayer(int track);  // ticked by ShowClockTicks

  // The track runs and the show plays; the change-test copies take the live values; counters and
  // the colour cycle start at 0.
  void Start();
  // Begins the next row with time (rows of time 0 or less are passed at once), then makes one call
  // of its builder. False once the rows are done, and on Stop.
  bool Step();
  void Finish();  // the track runs no more
  void Run();     // the worker's body

  // The builders: one frame of a drawing, the segment's items once, the image's frames once.
  void PlayDrawing(const TPlayDrawing& drawing);
  void PlaySegment(const TSectionList& items);
  void PlayImage(const TILDAimage& image);

 private:
  struct TPlainHooks;
  struct TItemHooks;

  // Takes the ticks owed as row time, as many as the row's time still holds: those beyond stay
  // owed to the next row. They also count segment item time and step ILDA frames (frameTicks_).
  // Ticks during a pause are used up.
  void TakeRowTick();
  // The row's time is used up and a tick beyond it has come: nothing more of the row begins.
  bool RowOver() const;
  // For rows with nothing to send: sleeps until the next tick and takes it.
  void WaitRowTick();
  // Counts the ticks taken as row time towards the item's time A; a tick beyond A ends the item
  // and is left for the next one. False once the item's time is over.
  bool TakeItemTicks(int32_t a);
  bool BeginNextRow();
  void BeginItem(size_t index, const TSectionRecord& item);
  bool PlayItemPass(const TSectionRecord& item, const TEffectParams& params);
  void PublishItemEffects();
  void PublishColourCadence();

  int track_;  // 0..2
  TTickSource& ticks_;
  const TSequenceTrack* rows_ = nullptr;
  size_t nextRow_ = 0;
  const TSequenceRecord* row_ = nullptr;
  TShowRowKind rowKind_ = TShowRowKind::Other;
  int32_t rowTime_ = 0;
  int32_t rowLimit_ = 0;
  int64_t frameTicks_ = 0;  // row ticks not yet counted as item time or used to step ILDA frames
  size_t ildaCarry_ = 0;    // frames the last pass through the image ran past its end
  int64_t itemTicks_ = 0;
  int32_t itemPoints_ = 0;
  bool cadenceStarted_ = false;
  TEffectValues values_;  // the segment item's accumulators and the track's colour cycle
  TEffectStepper itemSteps_{TEffectWrap::Modulo510};
  TEffectStepper pointSteps_{TEffectWrap::Modulo510};  // the drawing and ILDA colour cadence
  TSettingsPacketSender drawingPacket_{0x15};
  TSettingsPacketSender ildaPacket_{0};
  TFrameBuffer frame_;
};

// The workers of the three tracks (TCustomMyThread with job 1, 2, 3).
void PlayShowTrack1();
void PlayShowTrack2();
void PlayShowTrack3();
// Registers them with the play controller as track jobs 1..3.
void RegisterShowTrackLoops();

}  // namespace kavri
