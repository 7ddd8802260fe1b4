#pragma once
// The row of colour-mode panels ("Black" .. "Rnd3" and the hidden palette panels) that the segment,
// quick-play and show windows choose the colour mode with. The chosen panel shows a lowered inner
// bevel.
//
//   auto* strip = new TColourModeStrip(this);
//   strip->OnChoose = [this](int32_t mode) { SegmentColourMode = mode; Label50->SetCaption(...); };
//   strip->Choose(ColourModeAuto);          // the Color menu items call this
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>

namespace kavri {

class TColourModePanelBox;

class TColourModeStrip : public QWidget {
  Q_OBJECT
 public:
  explicit TColourModeStrip(QWidget* parent = nullptr);

  static constexpr int kPanelCount = 21;
  // Panel i (0-based) of ColourModePanels, named "Panel1".. as the windows name them; panels 13 to 21
  // start hidden.
  QWidget* Panel(int i) const;
  int32_t Mode() const { return mode_; }
  int ChosenPanel() const { return chosen_; }  // -1 while none is chosen

  // What a click on the panel of `mode` does: chooses it and tells OnChoose.
  void Choose(int32_t mode);
  std::function<void(int32_t mode)> OnChoose;

  // Wide enough that every shown panel holds its caption whole.
  QSize minimumSizeHint() const override;
  QSize sizeHint() const override { return minimumSizeHint().expandedTo(QSize(12 * 40, 22)); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class TColourModePanelBox;
  void PlacePanels();

  std::array<TColourModePanelBox*, kPanelCount> panels_{};
  int32_t mode_ = 257;
  int chosen_ = -1;
};

}  // namespace kavri
