#pragma once
// The "Show Edit" window: the three track grids over the show model, the drawing, segment, ILDA
// and show lists, the show's name, default time and music fields, the drawing and animated ILDA
// previews, the colour panels, the run switches and the menus. Play and Stop go to the show runner.
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "engine/drawing.h"
#include "engine/ilda_preview.h"
#include "shell/run_controls.h"
#include "shell/shell_controls.h"
#include "shell/window_menu_bar.h"
#include "shows/show_file_commands.h"
#include "shows/show_grid_model.h"
#include "shows/show_runner.h"
#include "skin/colour_mode_strip.h"
#include "skin/file_list_box.h"
#include "skin/skin_grid.h"
#include "skin/skin_group_box.h"

namespace kavri {

class TForm8 : public QWidget, public TRunControls {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Show Edit";
  static constexpr int kIldPreviewInterval = 20;  // ms

  explicit TForm8(QWidget* parent = nullptr);
  ~TForm8() override;

  // Points the lists at the program folder's content folders and shows the fresh show.
  void FormCreate();
  void FormActivate();

  // Playback takes over Play and Stop; without a runner Play does nothing and Stop only stops
  // whatever another window plays.
  void SetShowRunner(std::unique_ptr<TShowRunner> runner);
  void Play();
  void Stop();
  void Timer3Timer();

  TShowGridModel& Show() { return show_; }
  TShowFileCommands& Files() { return *files_; }
  const TIldaPreviewAnimation& IldPreview() const { return ildPreview_; }
  TSkinStringGrid* Grid(int track) const { return grids_.at(static_cast<size_t>(track)); }

  TWindowMenuBar* skinMainMenu1;
  TFileListBox* FileListBox1;  // drawings
  TFileListBox* FileListBox2;  // segments
  TFileListBox* FileListBox3;  // ILDA images
  TFileListBox* FileListBox4;  // shows
  TSkinStringGrid* SskinStringGrid1;
  TSkinStringGrid* SskinStringGrid2;
  TSkinStringGrid* SskinStringGrid3;
  TSkinRadioGroup* skinRadioGroup1;  // Edit track
  TSkinEdit* skinEdit1;  // show name
  TSkinEdit* skinEdit2;  // default time
  TSkinEdit* skinEdit3;  // music file
  TSkinButton* BitBtn4;      // New
  TSkinButton* BitBtn17;     // Open
  TSkinButton* BitBtn5;      // Save
  TSkinButton* BitBtn16;     // Save as
  TSkinButton* BitBtn1;      // Add drawing
  TSkinButton* BitBtn15;     // Insert drawing
  TSkinButton* skinButton7;  // Add segment
  TSkinButton* skinButton8;  // Insert segment
  TSkinButton* skinButton5;  // Add ILD
  TSkinButton* skinButton6;  // Insert ILD
  TSkinButton* BitBtn2;      // Remove
  TSkinButton* skinButton9;  // Up
  TSkinButton* skinButton10;  // Down
  TSkinButton* skinButton1;  // Find drawing
  TSkinButton* skinButton2;  // Find segment
  TSkinButton* skinButton3;  // Find ILD
  TSkinButton* skinButton4;  // music Find
  TSkinCheckBox* skinCheckBox1;  // PreviewILD
  TColourModeStrip* ColourPanels;
  QLabel* Image1;   // live show preview, drawn by playback
  QLabel* Image2;   // drawing preview
  QLabel* Image3;   // ILDA preview
  QLabel* Label29;  // points of the previewed drawing
  QLabel* Label6;   // points of the previewed ILDA frame
  QLabel* Label5;   // size of the selected ILDA file
  QLabel* Label31;  // points of the live preview
  TMessageLine* Label18;  // message line
  QTimer* Timer3;   // ILDA preview animation

 protected:
  bool event(QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  TSkinStringGrid* MakeTrackGrid(int track);
  QLayout* BuildLists();
  QLayout* BuildEditing();
  QLayout* BuildPreviews();
  void BuildMenus();
  void BuildPopups();
  void ChooseEditTrack(int track);
  void RunCommand(const std::function<void()>& command);
  void ShowTracks();
  void PreviewSelectedDrawing();
  void IldListChanged();
  void PreviewSelectedIld(bool on);

  TShowGridModel show_;
  std::unique_ptr<TShowFileCommands> files_;  // over the four lists, made once they exist
  std::unique_ptr<TShowRunner> runner_;
  std::array<TSkinStringGrid*, TShowGridModel::kTrackCount> grids_{};
  Drawing previewDrawing_;
  TIldaPreviewAnimation ildPreview_;
  QImage drawingBitmap_{256, 256, QImage::Format_RGB32};
  QImage ildBitmap_{128, 128, QImage::Format_RGB32};
  bool showing_ = false;  // the widgets are being filled from the model
};

extern TForm8* Form8;

}  // namespace kavri
