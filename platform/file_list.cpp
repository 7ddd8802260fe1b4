#include "platform/file_list.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/case_blind_path.h"
#include "platform/text.h"

namespace kavri {

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool MatchesMask(const std::string& mask, const std::string& name) {
  if (mask.empty() || mask == "*" || mask == "*.*") return true;
  // The usual mask is "*.ext": compared through the case-blind key, so non-ASCII extensions fold too.
  if (mask.size() > 2 && mask.compare(0, 2, "*.") == 0 && mask.find_first_of("*?[", 1) == std::string::npos)
    return CaseBlindKey(std::string(FileExtension(name))) == CaseBlindKey(mask.substr(1));
  return ::fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
}

}  // namespace

std::string_view FileExtension(std::string_view name) {
  const size_t dot = name.find_last_of(".");
  const size_t separator = name.find_last_of("/\\");
  if (dot == std::string_view::npos || (separator != std::string_view::npos && dot < separator)) return {};
  return name.substr(dot);
}

std::string WithExtension(const std::string& name, std::string_view extension) {
  return LowerCase(FileExtension(name)) == LowerCase(extension) ? name : name + std::string(extension);
}

void TFileList::SetDirectory(const std::string& folder) {
  directory_ = folder;
  while (directory_.size() > 1 && (directory_.back() == '/' || directory_.back() == '\\')) directory_.pop_back();
  Update();
}

void TFileList::SetMask(const std::string& mask) {
  mask_ = mask;
  Update();
}

void TFileList::Update() {
  items_.clear();
  // No folder yet: nothing listed (the mask is usually set before the folder).
  if (DIR* dir = directory_.empty() ? nullptr : ::opendir(directory_.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (name.empty() || name[0] == '.') continue;  // hidden files stay out, as "." and ".." do
      if (MatchesMask(mask_, name) && IsRegularFile(PathOf(name))) items_.push_back(std::move(name));
    }
    ::closedir(dir);
  }
  // Byte order breaks ties between names that differ only in case, so the order is the same on every run.
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(items_.size());
  for (std::string& name : items_) keyed.emplace_back(CaseBlindKey(name), std::move(name));
  std::sort(keyed.begin(), keyed.end());
  items_.clear();
  for (auto& entry : keyed) items_.push_back(std::move(entry.second));
  marked_.assign(items_.size(), false);
  itemIndex_ = -1;
  Changed();
}

void TFileList::Refresh() {
  const std::string selected = SelectedName();
  Update();
  const int index = IndexOf(selected);
  SetItemIndex(index >= 0 ? index : 0);
}

int TFileList::IndexOf(const std::string& name) const {
  if (name.empty()) return -1;
  const std::string key = CaseBlindKey(name);
  for (size_t i = 0; i < items_.size(); ++i)
    if (CaseBlindKey(items_[i]) == key) return static_cast<int>(i);
  return -1;
}

void TFileList::SetItemIndex(int index) {
  if (index < 0 || index >= Count()) index = -1;
  if (!multiSelect_) {
    std::fill(marked_.begin(), marked_.end(), false);
    if (index >= 0) marked_[index] = true;
  }
  itemIndex_ = index;
  Changed();
}

std::string TFileList::SelectedName() const { return itemIndex_ >= 0 ? items_[itemIndex_] : std::string(); }

std::string TFileList::SelectedPath() const { return itemIndex_ >= 0 ? PathOf(items_[itemIndex_]) : std::string(); }

void TFileList::SetMultiSelect(bool on) {
  multiSelect_ = on;
  SetItemIndex(itemIndex_);
}

bool TFileList::Selected(int index) const { return index >= 0 && index < Count() && marked_[index]; }

void TFileList::SetSelected(int index, bool selected) {
  if (index < 0 || index >= Count()) return;
  if (!multiSelect_) {
    if (selected) SetItemIndex(index);
    else if (index == itemIndex_) SetItemIndex(-1);
    return;
  }
  marked_[index] = selected;
  Changed();
}

std::vector<std::string> TFileList::SelectedNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < Count(); ++i)
    if (marked_[i]) names.push_back(items_[i]);
  return names;
}

void TFileList::Changed() {
  if (OnChanged) OnChanged();
}

}  // namespace kavri
