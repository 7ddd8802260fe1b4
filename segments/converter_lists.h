#pragma once
// The Converter's convert and merge lists: files in the operator's order, each kept by its full
// path (the ILDA list may browse elsewhere before the merge) and shown by its name.
#include <string>
#include <vector>

namespace kavri {

class TConverterList {
 public:
  int Count() const { return static_cast<int>(paths_.size()); }
  const std::vector<std::string>& Paths() const { return paths_; }
  std::vector<std::string> Names() const;
  static std::string NameOf(const std::string& path);

  // -1 for none.
  int Current() const { return current_; }
  void SetCurrent(int index);

  // Appends in the given order; the last becomes current.
  void Append(const std::vector<std::string>& paths);
  // Before the current item (the first when none is current), which stays current; an empty list
  // gets them appended with the last current.
  void Insert(const std::vector<std::string>& paths);
  // The item taking its place (the new last when the last went) becomes current. False, and
  // nothing changes, without a current item.
  bool RemoveCurrent();
  // Removes the items at these indices, in any order; nothing is current afterwards.
  void Remove(std::vector<int> indices);
  // Exchange the current item with its neighbour, which it stays; false when there is none.
  bool Up();
  bool Down();
  void Clear();

 private:
  bool Swap(int other);

  std::vector<std::string> paths_;
  int current_ = -1;
};

}  // namespace kavri
