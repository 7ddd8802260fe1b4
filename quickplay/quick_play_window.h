#pragma once
// The "Quick play" window: plays one drawing, ILDA file or rolled text at a time, live under the
// effect sliders, colour panels and toolbar toggles, with a preview of what is being sent; the
// drawings are picked on a grid of thumbnails and the ILDA files from a folder browser with an
// animated preview.
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/ilda_preview.h"
#include "platform/dialog_service.h"
#include "quickplay/thumbnail_grid.h"
#include "quickplay/thumbnail_tile.h"
#include "shell/play_commands.h"
#include "shell/run_controls.h"
#include "shell/shell_controls.h"
#include "shell/window_menu_bar.h"
#include "skin/colour_mode_strip.h"
#include "skin/file_list_box.h"
#include "skin/list_box.h"
#include "skin/memo.h"
#include "skin/scroll_bar.h"
#include "skin/skin_group_box.h"

namespace kavri {

// Drawing, ILD file and Text.
constexpr int kPlayModeCount = 3;

class TForm4 : public QWidget, public TRunControls {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Quick play";
  static constexpr int kIldaPreviewInterval = 20;  // ms

  explicit TForm4(QWidget* parent = nullptr);
  ~TForm4() override;

  // Points the lists at the content folders and shows the first page of thumbnails.
  void FormCreate();
  void FormActivate();

  // Play stops whatever plays, waits for it, then starts the source of the play mode; Stop only
  // asks the loops to end.
  void Play();
  void Stop();
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();

  // The thumbnail grid and the ILDA list.
  void TileClick(int tile);
  void PreviousPage();
  void NextPage();
  void RefreshDrawings();
  void FindDrawing();
  void FindIlda();
  void RefreshIldas();
  void DeleteIlda();
  void SetIldPreview(bool on);
  void BrowseIldaFolder(const std::string& folder);
  void EditSelectedDrawing();

  TThumbnailGrid& Grid() { return *grid_; }
  const TIldaPreviewAnimation& IldaPreview() const { return preview_; }
  uint32_t Run() const { return run_; }

  TWindowMenuBar* skinMainMenu1;
  std::array<QAction*, kPlayModeCount> ModeItems{};  // Drawing, ILD file, Text
  QAction* IldPreviewItem;
  TSkinRadioGroup* skinRadioGroup1;  // play mode
  TColourModeStrip* ColourPanels;
  TSkinMemo* skinMemo1;
  TSkinScrollBar* skinScrollBar1;  // the memo's vertical bar
  TSkinScrollBar* skinScrollBar2;  // the memo's horizontal bar
  TSkinCheckBox* skinCheckBox1;  // ILD preview
  TSkinCheckBox* skinCheckBox3;  // Point draw (hidden)
  TSkinCheckBox* skinCheckBox4;  // vertical roll
  TSkinCheckBox* skinCheckBox5;  // Large Size
  TSkinButton* skinButton1;      // Font
  TSkinButton* skinButton2;      // Find drawing
  TSkinButton* skinButton3;      // Find ILD
  TSkinButton* skinButton4;      // previous page
  TSkinButton* skinButton5;      // next page
  TSkinButton* skinButton6;      // refresh drawings
  TSkinTrackBar* skinTrackBar9;  // scan rate
  TFileListBox* FileListBox1;    // drawings (hidden)
  TFileListBox* FileListBox2;    // ILDA files
  TSkinComboBox* DriveComboBox1;
  TSkinListBox* DirectoryListBox1;
  std::array<TThumbnailTile*, kTilesPerPage> Tiles{};  // Image4 .. Image33
  QLabel* Image1;   // play preview
  QLabel* Image3;   // ILD preview
  QLabel* Label1;   // points of the play preview
  QLabel* Label6;   // points of the ILD preview frame
  QLabel* Label18;  // status line
  QLabel* Label24;  // size of the selected ILDA file
  QLabel* Label29;  // points of the selected drawing
  QLabel* Label86;  // pages
  QLabel* Label87;  // current page
  QLabel* Label92;  // scan rate
  QLabel* Label94;  // selected drawing
  QTimer* Timer1;   // frame clock
  QTimer* Timer2;   // play preview and end of play
  QTimer* Timer3;   // ILD preview

  // One effect slider with its value label and the live value it feeds.
  struct TEffectSlider {
    TSkinTrackBar* bar;
    QLabel* value;
    std::atomic<int32_t>* live;
  };
  std::vector<TEffectSlider> Sliders;
  TSkinTrackBar* Slider(const char* name) const;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildGrid();
  QWidget* BuildIldaSide();
  QLayout* BuildSliders();
  QLayout* BuildScanRate();
  void BuildMenus();
  void SetPlayMode(int mode);
  void ShowPage();
  void ShowSelection();
  void ShowStatus(const std::string& text) { Label18->setText(QString::fromStdString(text)); }
  void ShowSelectedIldaSize();
  void FileListBox2Change();
  void ReadSelectedIlda();
  // Prepares the play list of the mode; false when there is nothing to start.
  bool PrepareMode(int mode, uint8_t& job);
  void DrawPlayPreview();
  // The frame clock stops and the message line tells of the end of our run.
  void EndOfRun(int mode);

  std::unique_ptr<TThumbnailGrid> grid_;  // over FileListBox1's list
  TIldaPreviewAnimation preview_;
  QImage playBitmap_{256, 256, QImage::Format_RGB32};
  QImage ildaBitmap_{128, 128, QImage::Format_RGB32};
  TFontChoice font_{"Arial"};  // the rolling text's, from the Font button
  uint32_t run_ = 0;
  bool running_ = false;  // a run of ours was started and its end not yet shown
};

extern TForm4* Form4;

}  // namespace kavri
