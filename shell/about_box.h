#pragma once
// The about box: product name, version and where the ILDA colour palette comes from.
#include <QFrame>
#include <QLabel>
#include <QWidget>

#include "shell/shell_controls.h"

namespace kavri {

class TAboutBox : public QWidget {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  ~TAboutBox() override;

  void OKButtonClick();

  QFrame* Panel1;
  QLabel* ProgramIcon;
  QLabel* ProductName;
  QLabel* Version;
  QLabel* Label1;
  TSkinButton* OKButton;
};

extern TAboutBox* AboutBox;

}  // namespace kavri
