#pragma once
// The "Rotating" window: turns the editor's selection by whole degrees about a centre picked on a
// half-size preview that shows the selection and its turned image.
#include <QLabel>
#include <QWidget>

#include "editor/preview_image.h"
#include "engine/drawing.h"
#include "shell/shell_controls.h"

namespace kavri {

class TForm1;

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "Rotating";

  explicit TForm3(TForm1* editor, QWidget* parent = nullptr);
  ~TForm3() override;

  void FormActivate();
  void TrackBar1Change();
  void Image1MouseDown(int x, int y);
  void BitBtn1Click();  // "OK"
  void BitBtn2Click();  // "Cancel"

  double Angle() const { return angle_; }
  int CentreX() const { return centreX_; }
  int CentreY() const { return centreY_; }
  // The turned copies of the selection the preview shows, in canvas pixels.
  const DrawingObject& PreviewList() const { return preview_; }

  TSkinTrackBar* TrackBar1;
  QLabel* Label1;
  TSkinCheckBox* skinCheckBox1;  // "anticlockwise"
  TPreviewImage* Image1;
  TSkinButton* BitBtn1;
  TSkinButton* BitBtn2;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ReadAngle();
  // `markSelection`: the selection is drawn with point markers; otherwise only with CopyFlag.
  void RebuildPreview(bool markSelection);

  TForm1* editor_;
  double angle_ = 0;
  int centreX_ = 128;
  int centreY_ = 128;
  DrawingObject preview_;
};

extern TForm3* Form3;

}  // namespace kavri
