#pragma once
// The files of one folder that match a mask, as a file list box shows them; the list without the
// widget, so window logic can select, find and re-read it directly.
//
//   TFileList drawings;
//   drawings.SetMask("*.ddr");
//   drawings.SetDirectory(DrawingFolder());   // reads the folder
//   drawings.SetItemIndex(drawings.IndexOf("Star.DDR"));
//   std::string path = drawings.SelectedPath(); // folder + "/" + name, "" without a selection
//   drawings.Refresh();                         // re-read, keeping the selected name
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kavri {

// The extension of a file name with its dot (".ddr"), from the last "." after the last folder
// separator; "" when there is none.
std::string_view FileExtension(std::string_view name);
// `name` with `extension` (".sec") appended unless its extension already is that, compared in
// lower case: "abc.SEC" stays, "abc.txt" becomes "abc.txt.sec".
std::string WithExtension(const std::string& name, std::string_view extension);

class TFileList {
 public:
  // The folder, kept without a trailing separator; setting it re-reads the list.
  const std::string& Directory() const { return directory_; }
  void SetDirectory(const std::string& folder);
  // "*.ext" lists the regular files whose names match, without regard to case; "*" and "*.*" list
  // every regular file. Setting it re-reads the list.
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& mask);

  // Re-reads the folder, sorted without regard to case; nothing stays selected.
  void Update();
  // Re-reads the folder and selects the name that was selected, or the first item when it is gone.
  void Refresh();

  const std::vector<std::string>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // The item equal to `name` without regard to case; -1 when there is none.
  int IndexOf(const std::string& name) const;

  // The current item, -1 for none; an index outside the list selects none.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int index);
  std::string SelectedName() const;
  std::string SelectedPath() const;
  std::string PathOf(const std::string& name) const { return directory_ + "/" + name; }

  // With multi-select several items can be marked; without it only the current item is.
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool on);
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  std::vector<std::string> SelectedNames() const;  // in list order

  // Called after the items or the selection changed, for the box that shows the list.
  std::function<void()> OnChanged;

 private:
  void Changed();

  std::string directory_;
  std::string mask_ = "*";
  std::vector<std::string> items_;
  std::vector<bool> marked_;  // multi-select marks, one per item
  int itemIndex_ = -1;
  bool multiSelect_ = false;
};

}  // namespace kavri
