#include "skin/run_images.h"

#include "skin/skin_pictures.h"

namespace kavri {

namespace {
constexpr TColor kRunImageMask = 0xFF00FF;
}

std::vector<std::string> RunImageNames() {
  return {"RUNBTN_PLAY", "RUNBTN_LOOP", "RUNBTN_STOP", "RUNBTN_HINVERT", "RUNBTN_VINVERT", "RUNBTN_PAUSE",
          "RUNBTN_SETTINGS"};
}

const TImageList& RunImages() {
  static const TImageList list = [] {
    TImageList images(kRunImageSize, kRunImageSize);
    for (const std::string& name : RunImageNames()) images.AddMasked(LoadSkinPicture(name), kRunImageMask);
    return images;
  }();
  return list;
}

}  // namespace kavri
