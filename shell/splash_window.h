#pragma once
// The splash window shown while the program starts: "Start1.bmp" from the current folder, when
// there is one.
#include <QLabel>
#include <QWidget>

namespace kavri {

class TForm14 : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kSplashFile = "Start1.bmp";

  explicit TForm14(QWidget* parent = nullptr);
  // Loads the splash picture from the current folder; a missing or unreadable one leaves it blank.
  void FormCreate();
  // Shows the splash and returns once its picture is on the screen. A window manager maps and
  // exposes the window some time after show(); painting before that shows nothing, so this waits
  // for the exposure (at most `timeoutMs`, in case no exposure ever comes).
  void ShowPainted(int timeoutMs = 2000);

  QLabel* Image1;
};

}  // namespace kavri
