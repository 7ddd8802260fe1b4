#pragma once
// The pictures of the playing windows' tool bars: 30 x 30, drawn by the theme art generator and
// embedded with the theme pictures, magenta where the bar shows through. Every window takes its Play,
// Stop, Loop ... picture from this one list, so a command looks the same on every bar.
#include <string>
#include <vector>

#include "skin/image_list.h"

namespace kavri {

enum class TRunImage : int { Play, Loop, Stop, HInvert, VInvert, Pause, Settings };

inline constexpr int kRunImageSize = 30;

// The embedded pictures' names, in TRunImage order.
std::vector<std::string> RunImageNames();

// The shared image list (built once, on the window thread); index = TRunImage.
const TImageList& RunImages();

}  // namespace kavri
