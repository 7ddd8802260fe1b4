#pragma once
// Show playback behind the "Show Edit" window: Play takes the show selected in the show list and
// the run switches, messages go to the message line, and the live preview is painted into Image1.
#include <QImage>

#include "shows/show_playback.h"
#include "shows/show_runner.h"

namespace kavri {

class TForm8;

class TShowWindowPlayback final : public TShowRunner {
 public:
  // Says on the window's message line when no media player can be found.
  explicit TShowWindowPlayback(TForm8& window);

  void Play() override;
  void Stop() override;
  void ColourModeChosen(int32_t mode) override;

  TShowPlayback& Playback() { return playback_; }

 private:
  void Say(const std::string& text);
  void Paint(const std::vector<TPreviewPoint>& points);

  TForm8& window_;
  QImage bitmap_{256, 256, QImage::Format_RGB32};  // the live preview
  TShowPlayback playback_;
};

}  // namespace kavri
