#pragma once
#include <QImage>
#include <string>

namespace kavri {

// Loads a BMP or JPEG picture (recognised by its first bytes, whatever the file name says) into
// `*image`. On failure `*image` is left null and `*error` (when given) says why; bad files never
// crash the caller.
bool LoadPicture(const std::string& path, QImage* image, std::string* error = nullptr);

// The same for a picture already in memory.
bool DecodePicture(const uint8_t* data, size_t size, QImage* image, std::string* error = nullptr);

}  // namespace kavri
