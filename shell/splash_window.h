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

  QLabel* Image1;
};

}  // namespace kavri
