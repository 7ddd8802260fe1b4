#include "shows/show_playback.h"

#include "engine/play_threads.h"
#include "engine/shared_state.h"
#include "platform/file_io.h"
#include "platform/media_player.h"
#include "platform/program_folder.h"
#include "shows/show_music.h"
#include "shows/show_track_start.h"
#include "shows/show_track_state.h"

namespace kavri {

namespace {

void AddTrackPreview(int track, std::vector<TPreviewPoint>& out) {
  const TSequenceRecord* row = ShowPreviewRow(track);
  if (!row) return;
  const int t = track - 1;
  TShowPreviewLook look{TOutputSettings::Live(), ShowColourMode.load(), ShowColourCycle[t].load()};
  switch (ShowRowKind(row->name)) {
    case TShowRowKind::Drawing:
      AddDrawingPreview(*row->drawing, look, out);
      return;
    case TShowRowKind::Ilda:
      if (const TILDAframe* frame = ShowPreviewIldaFrame(track)) AddIldaPreview(*frame, look, out);
      return;
    case TShowRowKind::Segment:
      if (const TSectionRecord* item = ShowPreviewItem(track)) {
        const auto& e = ShowTrackEffects[t];
        TEffectValues values;
        values.angle = e[kShowAngle];
        values.hSpread = e[kShowHSpread];
        values.vSpread = e[kShowVSpread];
        values.hSquash = e[kShowHSquash];
        values.vSquash = e[kShowVSquash];
        values.hScroll = e[kShowHScroll];
        values.vScroll = e[kShowVScroll];
        values.slowDraw = ShowTrackSlowDraw[t];
        AddSegmentPreview(*item, values, look, out);
      }
      return;
    case TShowRowKind::Other:
      return;
  }
}

}  // namespace

std::vector<TPreviewPoint> LiveShowPreview() {
  std::vector<TPreviewPoint> points;
  for (int track = 1; track <= kShowTrackCount; ++track) AddTrackPreview(track, points);
  return points;
}

TShowPlayback::TShowPlayback(THooks hooks) : hooks_(std::move(hooks)) {
  // Any window's Play and Stop, and the exit, go through the controller: each silences the music.
  PlayController().SetPlayerStopper([] { MediaPlayer().End(); });
  previewTimer_.setTimerType(Qt::PreciseTimer);
  previewTimer_.setSingleShot(true);
  QObject::connect(&previewTimer_, &QTimer::timeout, [this] { PreviewTick(); });
  loopTimer_.setInterval(kShowLoopInterval);
  QObject::connect(&loopTimer_, &QTimer::timeout, [this] { LoopTick(); });
}

TShowPlayback::~TShowPlayback() {
  *alive_ = false;
  previewTimer_.stop();
  loopTimer_.stop();
  clockThread_.Stop();
  if (started_) {
    MediaPlayer().End();
    // However long it takes: the tracks read the sequence freed below.
    if (PlayController().StopAndWait() != TStopResult::Stopped) PlayController().Shutdown();
    ClearShowTrackRows();
  }
}

std::string TShowPlayback::PlayerCheckText() {
  return FindMediaPlayer(MediaPlayerPath()) ? "" : kMediaPlayerMissingText;
}

void TShowPlayback::Say(const std::string& text) const {
  if (hooks_.message) hooks_.message(text);
}

void TShowPlayback::Note(const std::string& text) const {
  if (hooks_.note)
    hooks_.note(text);
  else
    Say(text);
}

bool TShowPlayback::RunIsOurs() const { return started_ && PlayController().RunIsCurrent(run_); }

void TShowPlayback::Play(const std::string& showPath, const TShowRunSwitches& switches) {
  if (showPath.empty()) return;
  ShowPlayingFlag = false;
  const TStopResult stopped = PlayController().StopAndWait();  // also ends the music
  if (stopped != TStopResult::Stopped) {
    const std::string text = StopResultText(stopped);
    if (!text.empty()) Note(text);
    return;
  }
  clockThread_.Stop();
  // The show this Play stopped has ended: said now, its end text cannot come later and hide what
  // this Play says.
  if (previewTimer_.isActive()) {
    previewTimer_.stop();
    Say("Show Playing end.");
  }
  LoopFlag = switches.loop;
  VInvertFlag = switches.vInvert;
  HInvertFlag = switches.hInvert;
  PauseFlag = switches.pause;
  if (!FileExists(showPath)) return;
  // No track runs now: the rows they read may be replaced.
  ClearShowTrackRows();
  std::string error;
  if (!LoadShowFileWithContent(showPath, ProgramFolder(), sequence_, &error)) {
    Note(error);
    return;
  }
  if (StartShowPlayback()) loopTimer_.start();
}

bool TShowPlayback::StartShowPlayback() {
  Say("Loading...");
  const std::string music = FindShowMusic(sequence_.music, MusicFolder());
  // Why the music stays silent, when it does for a reason the operator can mend.
  std::string playerNote;
  if (!music.empty()) {
    if (const auto player = FindMediaPlayer(MediaPlayerPath())) {
      if (!MediaPlayer().Running()) MediaPlayer().Start(*player, music, &playerNote);
    } else {
      playerNote = kMediaPlayerMissingText;
    }
  }
  if (!StartShowTracks(sequence_)) {
    MediaPlayer().End();  // no music without the show
    Note(StopResultText(TStopResult::StillRunning));
    return false;
  }
  started_ = true;
  run_ = PlayController().RunNumber();
  clockThread_.Start();
  previewTimer_.start(kShowPreviewFirstInterval);
  // The start text would hide why the music is silent.
  if (!playerNote.empty())
    Note(playerNote);
  else
    Say("Show playing start...");
  return true;
}

void TShowPlayback::Stop() { PlayController().RequestStop(); }

void TShowPlayback::ShowEnded(const char* text, bool alwaysEndMusic) {
  clockThread_.Stop();
  Say(text);
  if (alwaysEndMusic) MediaPlayer().End();
  if (LoopFlag) return;
  StopFlag = true;
  MediaPlayer().End();
  ShowPlayingFlag = false;
}

void TShowPlayback::PreviewTick() {
  previewTimer_.stop();
  // Another window's run has begun since, so the show has ended; that run's flags and loop are not
  // ours to touch, but the message line must not go on saying the show plays.
  if (!RunIsOurs()) {
    clockThread_.Stop();
    Say("Show Playing end.");
    return;
  }
  // A player that gives up (no sound device, a file it cannot play) is reaped here at once, and
  // the message line says why; the show plays on.
  if (const std::optional<TMediaPlayerEnd> end = MediaPlayer().TakeFailure()) Note(MediaPlayerEndText(*end));
  if (PreviewDirtyFlag.exchange(false)) {
    if (hooks_.preview) hooks_.preview(LiveShowPreview());
    if (!AnyShowTrackRunning()) return ShowEnded("Show play end.", true);
  } else if (!AnyShowTrackRunning()) {
    return ShowEnded("Show Playing end.", false);
  }
  previewTimer_.start(kShowPreviewInterval);
}

void TShowPlayback::LoopTick() {
  if (!RunIsOurs()) {
    loopTimer_.stop();
    return;
  }
  if (StopFlag) {
    loopTimer_.stop();
    ShowPlayingFlag = false;
    MediaPlayer().End();
    return;
  }
  if (!LoopFlag || AnyShowTrackRunning() || !ShowPlayingFlag) return;
  ShowPlayingFlag = false;
  MediaPlayer().End();
  // Off during the wait, which pumps events: its own next event must not start a second restart.
  loopTimer_.stop();
  const uint32_t run = run_;
  const std::shared_ptr<bool> alive = alive_;
  DelayWithMessages(kShowRestartDelay);
  // A Stop, another Play or the Loop switch may have come during the wait.
  if (!*alive || run_ != run || !RunIsOurs() || StopFlag || !LoopFlag || AnyShowTrackRunning()) return;
  if (StartShowPlayback()) loopTimer_.start();
}

}  // namespace kavri
