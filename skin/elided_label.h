#pragma once
// A one-line label for texts of any length, a window's message line above all: it takes the width
// its layout gives it and never asks for more, shows a text too long for it cut with "…", and shows
// the whole text as a tooltip while it is cut. Its size hint does not follow its text, so a long
// message cannot make its window grow.
#include <QLabel>

namespace kavri {

class TElidedLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TElidedLabel(const QString& text = {}, QWidget* parent = nullptr);

  // The line as it is drawn at the label's present width.
  QString ShownText() const;
  bool IsCut() const { return ShownText() != OneLine(); }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QString OneLine() const;
};

}  // namespace kavri
