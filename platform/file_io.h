#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavri {

using Bytes = std::vector<uint8_t>;

// The whole file, or nothing when it cannot be opened or read.
std::optional<Bytes> ReadWholeFile(const std::string& path);

// Writes the image to a temporary file beside `path`, then renames it over `path`, so a reader
// sees either the old file or the new one and a failed write keeps the old file byte for byte.
// Returns false (with a reason in *error when given) on any failure.
bool ReplaceFileAtomically(const std::string& path, const Bytes& image, std::string* error = nullptr);
bool ReplaceFileAtomically(const std::string& path, const std::string& image, std::string* error = nullptr);

bool FileExists(const std::string& path);

}  // namespace kavri
