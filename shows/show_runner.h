#pragma once
// What the show window's Play and Stop commands call: show playback implements it and is handed to
// the window with TForm8::SetShowRunner. The window calls Stop() once more before it lets go of
// the runner.
#include <cstdint>

namespace kavri {

class TShowRunner {
 public:
  virtual ~TShowRunner() = default;
  // "Play(&P)", ToolButton1, the show list's "Play" and a double click on the show list.
  virtual void Play() = 0;
  // "Stop(&S)" and ToolButton8.
  virtual void Stop() = 0;
  // A colour panel or "&Color" item chose the colour the tracks and the live preview follow.
  virtual void ColourModeChosen(int32_t mode) = 0;
};

}  // namespace kavri
