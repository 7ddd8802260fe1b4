#pragma once
// The "Segment Edit" window: the segment grid over its model, the drawing and segment file lists,
// the effect sliders and colour panels whose values go into new rows, the run controls of the
// segment and selected-drawing loops, and their two previews.
#include <QImage>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/drawing.h"
#include "segments/segment_file_commands.h"
#include "segments/segment_grid_model.h"
#include "shell/run_controls.h"
#include "shell/play_commands.h"
#include "shell/shell_controls.h"
#include "shell/window_menu_bar.h"
#include "skin/colour_mode_strip.h"
#include "skin/file_list_box.h"
#include "skin/skin_grid.h"
#include "skin/skin_menu.h"
#include "skin/tool_bar.h"

namespace kavri {

class TForm5 : public QWidget, public TRunControls {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Segment Edit";

  explicit TForm5(QWidget* parent = nullptr);
  ~TForm5() override;

  // Points the lists at the program folder's content folders and shows the fresh segment.
  void FormCreate();
  void FormActivate();

  // Play: the segment file selected in the segment list. Play drawing: the selected drawing with the
  // live sliders, until Stop.
  void Play();
  void PlayDrawing();
  void Stop();
  void Timer1Timer();
  void Timer2Timer();

  // The row the effect controls make, as Add and Insert take it.
  TSegmentControls Controls() const;
  TSegmentGridModel& Segment() { return segment_; }
  TSegmentFileCommands& Files() { return *files_; }

  TWindowMenuBar* skinMainMenu1;
  TFileListBox* FileListBox1;  // drawings
  TFileListBox* FileListBox2;  // segments
  TSkinStringGrid* skinStringGrid1;
  TSkinEdit* skinEdit1;  // segment name
  TSkinEdit* skinEdit2;  // time of new rows
  TSkinButton* BitBtn4;   // New
  TSkinButton* BitBtn17;  // Open
  TSkinButton* BitBtn5;   // Save
  TSkinButton* BitBtn16;  // Save As
  TSkinButton* BitBtn1;   // Add
  TSkinButton* BitBtn15;  // Insert
  TSkinButton* BitBtn2;   // Remove
  TSkinButton* skinButton3;  // Up
  TSkinButton* skinButton4;  // Down
  TSkinButton* skinButton1;  // Find drawing
  TSkinButton* skinButton2;  // Find segment
  TSkinButton* BitBtn28;     // Play drawing
  TColourModeStrip* ColourPanels;
  QLabel* Label50;  // colour mode
  QLabel* Image1;   // play preview
  QLabel* Image2;   // drawing and grid-row preview
  TMessageLine* Label18;  // status line
  QLabel* Label6;   // points of the drawing in Image2
  QLabel* Label31;  // points of the row being played
  QTimer* Timer1;   // row tick
  QTimer* Timer2;   // preview and end of play

  // One effect slider with its value label and the live value it feeds.
  struct TEffectSlider {
    char letter;
    TSkinTrackBar* bar;
    QLabel* value;
  };
  std::vector<TEffectSlider> Sliders;
  TSkinTrackBar* Slider(char letter) const;

 protected:
  bool event(QEvent* event) override;

 private:
  void BuildMenus();
  QLayout* BuildSliders();
  void SliderChanged(const TEffectSlider& slider);
  void ShowSegment();
  void OpenSegment();
  void RunCommand(const std::function<void()>& command);
  void ShowStatus(const std::string& text);
  void PreviewSelectedDrawing();
  void PreviewGridRow(int row);
  void ShowDrawingPreview(const QImage& bitmap, size_t points);
  bool StopRunning();
  void StartTimers(std::chrono::milliseconds tickFirst, std::chrono::milliseconds previewFirst);

  TSegmentGridModel segment_;
  std::unique_ptr<TSegmentFileCommands> files_;  // over the two lists, made once they exist
  Drawing selectedDrawing_;
  Drawing rowDrawing_;
  QImage playBitmap_{256, 256, QImage::Format_RGB32};
  QImage rowBitmap_{128, 128, QImage::Format_RGB32};
  uint32_t run_ = 0;
  bool showing_ = false;  // the grid is being filled from the model
};

extern TForm5* Form5;

}  // namespace kavri
