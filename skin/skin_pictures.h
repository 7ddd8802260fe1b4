#pragma once
#include <QImage>
#include <string_view>

namespace kavri {

// The theme picture of that name from the program's embedded theme art, as a 32-bit RGB image.
// Loaded once and cached. A name that does not exist gives a null image (callers draw nothing), never
// an exception: a paint must not throw.
QImage LoadSkinPicture(std::string_view name);
bool SkinPictureExists(std::string_view name);

}  // namespace kavri
