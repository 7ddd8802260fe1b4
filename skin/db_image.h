#pragma once
#include <QImage>
#include <QWidget>

#include "platform/tcolor.h"
#include "skin/db_field_control.h"

namespace kavri {

// Shows the picture held in a blob field and edits it through the clipboard. Only bitmaps are
// written back: posting any other picture clears the field. With AutoDisplay off the field's label
// shows until Enter or a double click loads the picture.
class TSkinDBImage : public TDBFieldControl<QWidget> {
  Q_OBJECT
 public:
  explicit TSkinDBImage(QWidget* owner = nullptr);

  const QImage& Picture() const { return picture_; }
  bool PictureIsBitmap() const { return bitmap_; }
  // Copies the given picture; a bitmap or another kind of picture.
  void SetPicture(const QImage& picture, bool bitmap = true);
  bool PictureLoaded() const { return loaded_; }
  void LoadPicture();

  bool AutoDisplay() const { return autoDisplay_; }
  void SetAutoDisplay(bool value);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor c);

  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void SetFocused(bool) override { update(); }

 private:
  void DataChange();
  void UpdateData();
  void PictureChanged();

  QImage picture_;
  bool bitmap_ = false;
  bool loaded_ = false;
  bool autoDisplay_ = true;
  bool stretch_ = false;
  bool center_ = true;
  TColor borderColor_ = 0;
};

}  // namespace kavri
