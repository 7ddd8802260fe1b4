#include "shell/file_name_rule.h"

#include <algorithm>

#include "platform/dialog_service.h"

namespace kavri {

bool CheckFileName(const std::string& name) {
  if (name.empty()) return false;
  const bool control = std::any_of(name.begin(), name.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
  });
  // A folder part would reach outside the list's folder, and a leading "." would make a hidden file
  // that no list shows again ("." itself among them).
  if (!control && name.front() != '.' && name.find_first_of("/\\") == std::string::npos &&
      name.find("..") == std::string::npos)
    return true;
  Dialogs().ShowMessage(kRefusedNameText, TMessageKind::Error);
  return false;
}

}  // namespace kavri
