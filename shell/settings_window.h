#pragma once
// "Settings": the output offset pad, scan rate, blanking delay, sizes with their lock, rotation,
// ILDA frame interval, colour gains and the media player. Every change acts at once.
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include "shell/offset_pad.h"
#include "shell/settings_window_model.h"
#include "shell/shell_controls.h"

namespace kavri {

class TForm13 : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kPadRedrawDelayMs = 90;

  explicit TForm13(QWidget* parent = nullptr);
  ~TForm13() override;

  // Takes the output settings from the main window's settings lines and shows them.
  void FormCreate();
  void FormActivate();

  void Timer1Timer();
  void Image1MouseDown(int x, int y);
  void Image1MouseMove(int x, int y);
  void Image1MouseUp();
  void skinButton2Click();   // "Reset to 0"
  void skinButton12Click();  // "Find..."

  const TSettingsWindowModel& Model() const { return model_; }

  TOffsetPad* Image1;
  QLabel* Label3;   // horizontal offset
  QLabel* Label4;   // vertical offset
  TSkinTrackBar* TrackBar6;  // scan rate
  QLabel* Label6;
  TSkinTrackBar* TrackBar7;  // blanking delay
  QLabel* Label41;
  TSkinTrackBar* skinTrackBar1;  // horizontal size
  QLabel* Label9;
  TSkinTrackBar* skinTrackBar2;  // vertical size
  QLabel* Label13;
  TSkinCheckBox* skinCheckBox1;  // "Lock XY size scale"
  TSkinTrackBar* skinTrackBar3;  // locate angle
  QLabel* Label14;
  TSkinTrackBar* TrackBar1;  // ILDA frame interval
  QLabel* Label19;
  TSkinTrackBar* skinTrackBar4;  // colour gains, hidden
  TSkinTrackBar* skinTrackBar5;
  TSkinTrackBar* skinTrackBar6;
  TSkinTrackBar* skinTrackBar7;
  QLabel* Label27;
  QLabel* Label32;
  QLabel* Label33;
  QLabel* Label37;
  TSkinEdit* skinEdit4;       // media player path
  TSkinButton* skinButton12;  // "Find..."
  TSkinButton* skinButton2;   // "Reset to 0"
  QTimer* Timer1;

 protected:
  void showEvent(QShowEvent* event) override;
  // Coming back to the window shows the scan rate another window may have changed meanwhile.
  bool event(QEvent* event) override;

 private:
  void ShowOffsets();

  TSettingsWindowModel model_;
};

extern TForm13* Form13;

}  // namespace kavri
