#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavri {

using Bytes = std::vector<uint8_t>;

// The whole of a regular file, or nothing (reason in *error, see CannotReadText) when it is not a
// regular file, cannot be read, is larger than `maxBytes`, or memory runs out. Never waits on a
// FIFO or device. *tooLarge says whether it was refused for its size.
std::optional<Bytes> ReadWholeFile(const std::string& path, uint64_t maxBytes, std::string* error = nullptr,
                                   bool* tooLarge = nullptr);

// Writes the image to a temporary file beside the file, then renames it over the file, so a reader
// sees either the old file or the new one and a failed write keeps the old file byte for byte.
// A symbolic link is written through to its target. A replaced file keeps its permission bits;
// a file without any write permission, or one the user may not write, is left as it is. Returns
// false (with a reason in *error when given) on any failure and never leaves a temporary file.
bool ReplaceFileAtomically(const std::string& path, const Bytes& image, std::string* error = nullptr);
bool ReplaceFileAtomically(const std::string& path, const std::string& image, std::string* error = nullptr);

bool FileExists(const std::string& path);

// `path` taken from the current folder when relative, not otherwise changed (links and ".." stay);
// "" when the current folder cannot be found.
std::string AbsolutePath(const std::string& path);

// Removes from `folder`, and from each of its `subfolders` that is a folder and not a link (nothing
// further below), the temporary files that saves killed before their rename left behind; gives how
// many went. Only for a folder no other program saves into at the time.
int RemoveLeftTemporaryFiles(const std::string& folder, const std::vector<std::string>& subfolders = {});

}  // namespace kavri
