#pragma once
#include "skin/skin_custom_button.h"

namespace kavri {

enum class TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Push button drawn from the theme's three button pictures, nine-sliced to any size, with an
// optional glyph beside the caption.
class TSkinButton : public TSkinCustomButton {
  Q_OBJECT

 public:
  explicit TSkinButton(QWidget* parent = nullptr);

  // Picture names read empty unless the style is Custom; setting one switches to Custom first.
  QString GetPicNormal() const override;
  QString GetPicMouseOn() const override;
  QString GetPicMouseDown() const override;
  void SetPicNormal(const QString& name) override;
  void SetPicMouseOn(const QString& name) override;
  void SetPicMouseDown(const QString& name) override;

  // A glyph exactly twice as wide as high holds two images: normal and disabled.
  const QImage& Glyph() const { return glyph_; }
  void SetGlyph(const QImage& glyph);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);

  void ApplyContainerStyle(TSkinUIStyle style) override;

 protected:
  void UIStyleChanged() override;
  void PaintPic(QImage& canvas, const QImage& picture) override;
  void PaintText(QImage& canvas, const QString& caption) override;
  void PaintFocus(QImage& canvas) override;
  void SetButtonPic(TSkinUIStyle style) override;

 private:
  void SwitchToCustom();
  QImage glyph_;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int spacing_ = 4;
  QPoint captionPos_;
};

// Button drawn from four pictures of its own (normal, mouse-on, mouse-down, disabled).
class TSkinImageButton : public TSkinCustomButton {
  Q_OBJECT

 public:
  explicit TSkinImageButton(QWidget* parent = nullptr);

  const QImage& PicNormal() const { return normal_; }
  const QImage& PicMouseOn() const { return mouseOn_; }
  const QImage& PicMouseDown() const { return mouseDown_; }
  const QImage& PicDisabled() const { return disabled_; }
  void SetPicNormal(const QImage& picture);
  void SetPicMouseOn(const QImage& picture);
  void SetPicMouseDown(const QImage& picture);
  void SetPicDisabled(const QImage& picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);

 protected:
  void AutoSizeChanged() override;
  void PaintPic(QImage& canvas, const QImage& picture) override;
  void PaintButtonNormal(QImage& picture) override;
  void PaintButtonMouseOn(QImage& picture) override;
  void PaintButtonMouseDown(QImage& picture) override;
  void PaintButtonDisabled(QImage& picture) override;
  void SetButtonPic(TSkinUIStyle) override {}

 private:
  void Assign(QImage& slot, const QImage& picture);
  QImage normal_, mouseOn_, mouseDown_, disabled_;
  bool stretch_ = false;
};

}  // namespace kavri
