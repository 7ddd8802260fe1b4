#pragma once
// Find and Delete over a file list, as the segment and converter windows offer them.
#include <optional>
#include <string>

#include "platform/file_list.h"
#include "shell/file_name_rule.h"

namespace kavri {

// What Cancel on the name box means: nothing asked for, or the name the box started with.
enum class TCancelAnswer { Nothing, Initial };

// Asks for a bare file name (trimmed); nothing on Cancel, an empty answer or a refused name.
std::optional<std::string> AskFileName(const char* caption, const char* prompt, const char* initial,
                                       TCancelAnswer cancel = TCancelAnswer::Nothing);

// Asks for a name, appends `extension` unless the name ends exactly in it, and selects the item that
// matches without regard to case. Nothing when nothing was asked for; else whether it was found.
std::optional<bool> FindListFile(TFileList& list, const char* caption, const char* prompt, const char* initial,
                                 const char* extension, TCancelAnswer cancel = TCancelAnswer::Nothing);

// The entry of `folder` that `name` means: itself when it exists, else one differing only in case
// (files made on a case-blind system), else the name as it is.
std::string ExistingFileName(const std::string& folder, const std::string& name);

// Deletes the selected file without asking, re-reads the list and selects the neighbour (the next
// item, or the previous one for the last); true when one is selected afterwards. When the system
// refuses the delete, a message box says why and the list stays as it was.
bool DeleteSelectedFile(TFileList& list);

}  // namespace kavri
