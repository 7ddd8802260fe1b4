#pragma once
// The small ILDA preview the converter, quick play and the show editor animate: one frame on a
// 128 x 128 bitmap with its number, and the animation's state from tick to tick.
#include <string>

#include "engine/ilda_file.h"
#include "platform/canvas.h"

namespace kavri {

// Fills the canvas's top-left 128 x 128 black and draws the frame: coordinates -128..127 become
// 0..127, the first and every blanked point move there, the others are lines in the point's ILDA
// colour; `number` in white at the top left.
void DrawIldaPreviewFrame(TCanvas& canvas, const TILDAframe& frame, int number);

class TIldaPreviewAnimation {
 public:
  // Takes the file, when it exists, as the image shown, from frame 0 unless `fromStart` is false.
  // A missing file keeps the image that was shown. Frames are read from the file as they are shown.
  void Load(const std::string& path, bool fromStart = true);

  bool On() const { return on_; }
  void SetOn(bool on) { on_ = on; }
  int Index() const { return index_; }
  int FrameCount() const { return static_cast<int>(file_.FrameCount()); }

  // One tick: the frame due now and the number it shows, the index moving on past it; null while
  // off or without frames. A frame that fails to read turns the animation off with a message box
  // naming the file.
  const TILDAframe* Tick(int& number);

 private:
  TIldaFrameFile file_;
  TILDAframe frame_;  // the frame shown last
  int index_ = 0;
  bool on_ = false;
};

}  // namespace kavri
