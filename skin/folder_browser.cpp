#include "skin/folder_browser.h"

#include <QDir>
#include <QLabel>
#include <QStorageInfo>
#include <filesystem>

#include "platform/size_text.h"

namespace kavri {

namespace {

std::string WithoutTrailingSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

void FillDriveBox(TSkinComboBox* drives) {
  // Mount paths can be long: the box keeps the width of a short one, so they cannot widen the window.
  constexpr int kShownLetters = 12;
  drives->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  drives->setMinimumContentsLength(kShownLetters);
  drives->clear();
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    drives->addItem(volume.rootPath(), volume.rootPath());
  }
}

std::string ShowFolder(TSkinComboBox* drives, TSkinListBox* folders, const std::string& folder) {
  const QDir dir(QString::fromStdString(folder));
  if (!dir.exists()) return {};
  const std::string shown = WithoutTrailingSlash(dir.absolutePath().toStdString());
  // The drive box shows the mount that holds the folder: the longest root that starts its path.
  int drive = -1, longest = -1;
  for (int i = 0; i < drives->count(); ++i) {
    const std::string root = WithoutTrailingSlash(drives->itemData(i).toString().toStdString());
    const bool holds = root == "/" || shown == root || shown.rfind(root + "/", 0) == 0;
    if (holds && static_cast<int>(root.size()) > longest) {
      drive = i;
      longest = static_cast<int>(root.size());
    }
  }
  drives->setCurrentIndex(drive);
  folders->clear();
  QDir up = dir;
  if (up.cdUp()) {
    auto* item = new QListWidgetItem("..", folders);
    item->setData(Qt::UserRole, up.absolutePath());
  }
  for (const QFileInfo& sub : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(sub.fileName(), folders);
    item->setData(Qt::UserRole, sub.absoluteFilePath());
  }
  return shown;
}

void ShowFileSize(const std::string& path, QLabel* label, QWidget* hinted) {
  const TSizeText size = PathSizeText(path);
  label->setText(QString::fromStdString(size.label));
  hinted->setToolTip(QString::fromStdString(size.hint));
}

void ShowSelectedFileSize(const TFileList& list, QLabel* label, QWidget* hinted) {
  if (list.ItemIndex() >= 0) return ShowFileSize(list.SelectedPath(), label, hinted);
  label->clear();
  hinted->setToolTip({});
}

}  // namespace kavri
