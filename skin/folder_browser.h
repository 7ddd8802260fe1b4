#pragma once
// The drive box and folder list pair that the windows browse ILDA folders with: the mounted file
// systems in the box, the folders of the one shown in the list ("..", then its sub-folders), each
// item carrying its full path.
#include <string>

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

}  // namespace kavri
