#include "segments/converter_lists.h"

#include <algorithm>

namespace kavri {

std::string TConverterList::NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> TConverterList::Names() const {
  std::vector<std::string> names;
  names.reserve(paths_.size());
  for (const std::string& path : paths_) names.push_back(NameOf(path));
  return names;
}

void TConverterList::SetCurrent(int index) { current_ = index >= 0 && index < Count() ? index : -1; }

void TConverterList::Append(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  paths_.insert(paths_.end(), paths.begin(), paths.end());
  current_ = Count() - 1;
}

void TConverterList::Insert(const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  if (paths_.empty()) {
    Append(paths);
    return;
  }
  const int at = current_ < 0 ? 0 : current_;
  paths_.insert(paths_.begin() + at, paths.begin(), paths.end());
  current_ = at + static_cast<int>(paths.size());
}

bool TConverterList::RemoveCurrent() {
  if (current_ < 0) return false;
  paths_.erase(paths_.begin() + current_);
  current_ = std::min(current_, Count() - 1);
  return true;
}

void TConverterList::Remove(std::vector<int> indices) {
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  for (auto it = indices.rbegin(); it != indices.rend(); ++it)
    if (*it >= 0 && *it < Count()) paths_.erase(paths_.begin() + *it);
  current_ = -1;
}

bool TConverterList::Swap(int other) {
  if (current_ < 0 || other < 0 || other >= Count()) return false;
  std::swap(paths_[current_], paths_[other]);
  current_ = other;
  return true;
}

bool TConverterList::Up() { return Swap(current_ - 1); }
bool TConverterList::Down() { return current_ >= 0 && Swap(current_ + 1); }

void TConverterList::Clear() {
  paths_.clear();
  current_ = -1;
}

}  // namespace kavri
