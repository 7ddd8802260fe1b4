#pragma once
// A skinned list box showing a TFileList: the files of a folder that match a mask.
//
//   auto* box = new TFileListBox(this);
//   box->setObjectName("FileListBox1");
//   box->Files().SetMask("*.ddr");
//   box->Files().SetDirectory(DrawingFolder());
//   box->OnChange = [this] { FileListBox1Change(); };   // the operator picked another item
//   box->OnDblClick = [this] { PlayDrawing(); };
//   box->OnDeleteKey = [this] { N12Click(); };
#include <functional>

#include "platform/file_list.h"
#include "skin/list_box.h"

namespace kavri {

class TFileListBox : public TSkinListBox {
  Q_OBJECT
 public:
  explicit TFileListBox(QWidget* parent = nullptr);

  // The list shown; changes made to it show at once.
  TFileList& Files() { return files_; }
  const TFileList& Files() const { return files_; }
  void SetMultiSelect(bool on);

  std::function<void()> OnChange;
  std::function<void()> OnDblClick;
  std::function<void()> OnDeleteKey;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void ShowFiles();
  void TakeSelection();

  TFileList files_;
  bool showing_ = false;  // box and list are being brought in step
};

}  // namespace kavri
