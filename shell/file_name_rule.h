#pragma once
// The one rule for a name typed for a file of one of the program's folders, as every window applies it.
#include <string>

namespace kavri {

// What every window says when it refuses a name typed for a file of one of its folders.
constexpr const char* kRefusedNameText =
    "A name may not be \".\" or start with \".\", or hold \"/\", \"\\\", \"..\" or control characters.";

// True for a name that can stand for a file of a list's folder. An empty name is false without a
// word; one with a folder part ("/", "\\", "..", or "."), a leading "." (a hidden file no list
// shows) or a control character is refused with kRefusedNameText in a message box.
bool CheckFileName(const std::string& name);

}  // namespace kavri
