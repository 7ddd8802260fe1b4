#pragma once
// The "Import plt" window: brings a plotter file into the editor, previewed at half size first.
#include <QLabel>
#include <QWidget>

#include "editor/preview_image.h"
#include "engine/drawing.h"
#include "shell/shell_controls.h"

namespace kavri {

class TForm1;

// Said when a file gives no point: which form of plotter file is read.
constexpr const char* kNoPlotterLinesText =
    "No plotter lines were found in this file. It is read one command per line: a line starting with "
    "\"LT\" starts a block, and lines such as \"PU1200 3400;\" and \"PD1200 3400;\" give its points.";

class TForm17 : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Import plt";

  explicit TForm17(TForm1* editor, QWidget* parent = nullptr);
  ~TForm17() override;

  void Button1Click();  // "Find...."
  void BitBtn3Click();  // "Preview"
  void BitBtn1Click();  // "OK"
  void BitBtn2Click();  // "Cancel"

  TSkinEdit* Edit1;
  TSkinButton* Button1;
  TSkinTrackBar* TrackBar1;  // fine/coarse
  TSkinTrackBar* TrackBar2;  // size
  QLabel* Label1;
  QLabel* Label7;
  QLabel* Label5;  // point count
  TPreviewImage* Image1;
  TSkinButton* BitBtn3;
  TSkinButton* BitBtn1;
  TSkinButton* BitBtn2;

  // The objects of the last successful import, until OK hands them to the drawing.
  Drawing ImportList;

 private:
  // Imports the file named in Edit1 into ImportList; false (list untouched, error shown) when a
  // value is not a number. A file that gives no point says which form is read.
  bool ImportPlt();
  void CloseAndRedraw();

  TForm1* editor_;
};

extern TForm17* Form17;

}  // namespace kavri
