#pragma once
// Playing a saved show: Play and Stop of the show window, the start of the tracks with the clock
// and the music, the live preview with end detection, and the restart of a finished show when Loop
// is on. The window supplies the message line and paints the preview; this class owns the timers.
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/show_file.h"
#include "shows/show_clock.h"
#include "shows/show_preview_points.h"

namespace kavri {

// The window's run switches as they stand when Play is pressed.
struct TShowRunSwitches {
  bool loop = false;
  bool vInvert = false;
  bool hInvert = false;
  bool pause = false;
};

// The preview of the tracks as they play now: each running track's current content, tracks 1, 2, 3
// in order. Every index the tracks move is checked against what it indexes.
std::vector<TPreviewPoint> LiveShowPreview();

constexpr std::chrono::milliseconds kShowPreviewFirstInterval{50};
constexpr std::chrono::milliseconds kShowPreviewInterval{2};
constexpr std::chrono::milliseconds kShowLoopInterval{1000};
// Counted waits (DelayWithMessages) of the loop restart.
constexpr unsigned kShowRestartDelay = 3000;

class TShowPlayback {
 public:
  struct THooks {
    std::function<void(const std::string&)> message;              // the message line
    std::function<void(const std::vector<TPreviewPoint>&)> preview;  // a fresh preview to paint
    std::function<void(const std::string&)> note;  // a failure for the message line; else `message`
  };
  explicit TShowPlayback(THooks hooks);
  // Stops the show and waits until its tracks have ended: they read the sequence.
  ~TShowPlayback();
  TShowPlayback(const TShowPlayback&) = delete;
  TShowPlayback& operator=(const TShowPlayback&) = delete;

  // Stops whatever plays, takes the run switches, loads the show file with its content and starts
  // it. A missing file, or an empty path (no show selected), only stops.
  void Play(const std::string& showPath, const TShowRunSwitches& switches);
  // Sets StopFlag and ends the music; the preview then notices the end.
  void Stop();
  // "mpv not installed." when no player can be found now, else "".
  static std::string PlayerCheckText();

  // The timers' events, for tests that drive them by hand.
  void PreviewTick();
  void LoopTick();
  bool PreviewTimerActive() const { return previewTimer_.isActive(); }
  bool LoopTimerActive() const { return loopTimer_.isActive(); }
  bool ClockRunning() const { return clockThread_.Running(); }
  const TSequence& Sequence() const { return sequence_; }

 private:
  bool StartShowPlayback();
  bool RunIsOurs() const;
  void Say(const std::string& text) const;
  void Note(const std::string& text) const;  // the program's own word of a failure
  void ShowEnded(const char* text, bool alwaysEndMusic);

  THooks hooks_;
  TSequence sequence_;
  TShowClock clock_;
  TShowClockThread clockThread_{clock_};
  QTimer previewTimer_;
  QTimer loopTimer_;
  uint32_t run_ = 0;
  bool started_ = false;
  // Cleared when the object goes, so a restart wait that pumped its destruction touches nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace kavri
