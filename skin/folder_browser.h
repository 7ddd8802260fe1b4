#pragma once
// The drive box and folder list pair that the windows browse ILDA folders with: the mounted file
// systems in the box, the folders of the one shown in the list ("..", then its sub-folders), each
// item carrying its full path.
#include <string>

#include "platform/file_list.h"
#include "skin/list_box.h"
#include "skin/skin_combo.h"

class QLabel;

namespace kavri {

// Fills the box with the mounted file systems, their root paths as items and data.
void FillDriveBox(TSkinComboBox* drives);

// Shows `folder` in the list and selects the mount that holds it in the box. Returns the folder's
// absolute path without a trailing separator; "" (nothing changed) when it does not exist.
std::string ShowFolder(TSkinComboBox* drives, TSkinListBox* folders, const std::string& folder);

// The size of the file at `path` in the label, the longer form as the hint of `hinted`.
void ShowFileSize(const std::string& path, QLabel* label, QWidget* hinted);

// The same for the list's selected file; both are cleared when nothing is selected, so the size of
// a file deleted or no longer selected is never shown.
void ShowSelectedFileSize(const TFileList& list, QLabel* label, QWidget* hinted);

}  // namespace kavri
