#pragma once
// The "Converter" window: the drawing, segment and ILDA file lists, the convert and merge lists
// filled from them, the edits the conversions take, a drawing preview and an animated ILDA preview.
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "engine/drawing.h"
#include "engine/ilda_preview.h"
#include "segments/converter_conversions.h"
#include "segments/converter_lists.h"
#include "shell/shell_controls.h"
#include "shell/window_menu_bar.h"
#include "skin/file_list_box.h"
#include "skin/list_box.h"

namespace kavri {

class TForm9 : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Converter";
  static constexpr int kIldaPreviewInterval = 20;  // ms

  explicit TForm9(QWidget* parent = nullptr);
  ~TForm9() override;

  // Points the lists at the content folders and selects the first item of each.
  void FormCreate();
  void FormActivate();

  // The handlers the buttons, pop-ups and keys share.
  void AddDrawings();
  void InsertDrawings();
  void RemoveDrawing(bool preview);
  void AddIldas();
  void InsertIldas();
  void RemoveIldas();
  void FindDrawing();
  void FindSegment();
  void FindIlda();
  void DeleteDrawing();
  void DeleteSegment();
  void DeleteIlda();
  void RefreshDrawings();
  void RefreshSegments();
  void RefreshIldas();
  void Timer3Timer();

  // Lists the ILDA files of `folder` and shows it in the folder list.
  void BrowseIldaFolder(const std::string& folder);
  const TIldaPreviewAnimation& IldaPreview() const { return preview_; }
  const TConverterList& ConvertList() const { return convert_; }
  const TConverterList& MergeList() const { return merge_; }

  TWindowMenuBar* skinMainMenu1;
  TFileListBox* FileListBox1;  // drawings
  TFileListBox* FileListBox2;  // segments
  TFileListBox* FileListBox3;  // ILDA files of the browsed folder
  TSkinComboBox* DriveComboBox1;
  TSkinListBox* DirectoryListBox1;
  TSkinListBox* ListBox1;  // drawing convert list
  TSkinListBox* ListBox2;  // merge image list
  TSkinEdit* skinEdit1;    // new segment name
  TSkinEdit* skinEdit2;    // time per frame, list to segment
  TSkinEdit* skinEdit3;    // new ILD name, list to ILDA
  TSkinEdit* skinEdit4;    // new ILD name, merge
  TSkinEdit* skinEdit5;    // time per frame, ILDA to segment
  TSkinCheckBox* skinCheckBox1;
  TSkinButton* BitBtn2;      // Add
  TSkinButton* BitBtn15;     // Insert
  TSkinButton* BitBtn1;      // Remove
  TSkinButton* skinButton5;  // Up
  TSkinButton* skinButton6;  // Down
  TSkinButton* skinButton10;  // Add ILD
  TSkinButton* skinButton12;  // Insert ILD
  TSkinButton* skinButton11;  // Remove ILD
  TSkinButton* skinButton13;  // Up
  TSkinButton* skinButton14;  // Down
  TSkinButton* skinButton15;  // Clear
  TSkinButton* skinButton1;   // Find drawing
  TSkinButton* skinButton2;   // Find segment
  TSkinButton* skinButton3;   // Find ILD
  TSkinButton* skinButton4;   // Convert list->Segment
  TSkinButton* skinButton9;   // Convert list->ILD
  TSkinButton* skinButton8;   // Segment->ILD
  TSkinButton* skinButton7;   // Segment<-ILD
  TSkinButton* skinButton16;  // Merge ILD file
  TSkinButton* skinButton17;  // Refresh all list
  QLabel* Image2;   // drawing preview
  QLabel* Label29;  // its points
  QLabel* Image3;   // ILDA preview
  QLabel* Label6;   // points of the frame shown
  QLabel* Label5;   // size of the selected ILDA file
  QLabel* Label15;  // size of the clicked merge-list file
  TMessageLine* Label18;  // status line
  QTimer* Timer3;

 protected:
  bool event(QEvent* event) override;

 private:
  void BuildMenus();
  void ShowList(TSkinListBox* box, const TConverterList& list);
  std::vector<int> SelectedRows(TSkinListBox* box) const;
  void ShowStatus(const std::string& text) { Label18->Say(text); }
  void FileListBox1Change();
  void FileListBox3Change();
  void ListBox1Click();
  void ListBox2Click();
  void PreviewDrawing(const std::string& path, Drawing& drawing, QImage& bitmap);
  void PreviewSelectedDrawing();
  void PreviewCurrentConvertItem();
  void LoadIldaPreview(const std::string& path);
  bool RunConversion(const std::function<bool(TConverterConversions&)>& conversion);
  void ConvertToIlda(const std::function<bool(TConverterConversions&)>& conversion);

  TConverterList convert_;
  TConverterList merge_;
  Drawing listDrawing_;
  Drawing convertDrawing_;
  QImage listBitmap_{128, 128, QImage::Format_RGB32};
  QImage convertBitmap_{128, 128, QImage::Format_RGB32};
  QImage ildaBitmap_{128, 128, QImage::Format_RGB32};
  TIldaPreviewAnimation preview_;
  std::string ildaFolder_;
  bool showing_ = false;  // a list box is being filled from its model
};

extern TForm9* Form9;

}  // namespace kavri
