#pragma once
// A combo box of named colours with swatches. Which colours it offers is chosen by kind
// (standard, extended, system, "None", "Default", a custom first item), never by list position.
#include <QString>
#include <vector>

#include "skin/skin_combo.h"

namespace kavri {

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor kNoColor = 0xFF000000;  // what Selected answers when nothing is chosen

enum TColorBoxStyleFlag : uint32_t {
  cbStandardColors = 1u << 0,
  cbExtendedColors = 1u << 1,
  cbSystemColors = 1u << 2,
  cbIncludeNone = 1u << 3,
  cbIncludeDefault = 1u << 4,
  cbCustomColor = 1u << 5,
  cbPrettyNames = 1u << 6,
};
using TColorBoxStyle = uint32_t;

enum class TColorKind { Standard, Extended, System, None, Default, Custom };

struct TNamedColor {
  const char* Name;  // "clMoneyGreen"
  TColor Value;
  TColorKind Kind;
};
// Every named colour, in list order.
const std::vector<TNamedColor>& NamedColors();
// "clMoneyGreen" -> "Money Green"; other names unchanged but for a leading "cl".
QString PrettyColorName(const QString& name);

class TSkinCustomColorBox : public TSkinCustomComboBox {
  Q_OBJECT
 public:
  explicit TSkinCustomColorBox(QWidget* owner = nullptr);

  TColorBoxStyle Style() const { return boxStyle_; }
  using TSkinCustomComboBox::SetStyle;
  void SetStyle(TColorBoxStyle style);
  TColor Selected() const;
  void SetSelected(TColor colour);  // no OnChange
  TColor Colors(int index) const;
  QString ColorNames(int index) const;
  TColorKind Kinds(int index) const;
  TColor DefaultColorColor() const { return defaultColorColor_; }
  TColor NoneColorColor() const { return noneColorColor_; }
  void SetDefaultColorColor(TColor c);
  void SetNoneColorColor(TColor c);

  // Asks the operator for the custom colour, starting from the first item's; true when chosen.
  virtual bool PickCustomColor();
  void DrawItem(QPainter& canvas, int index, const QRect& rect, bool selected);

  void hidePopup() override;

 protected:
  void Click() override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PopulateList();
  int IndexOf(TColor colour) const;

  TColorBoxStyle boxStyle_ = cbStandardColors | cbExtendedColors | cbSystemColors;
  TColor defaultColorColor_ = 0;
  TColor noneColorColor_ = 0;
  TColor selectedColor_ = 0;
  int lastIndex_ = -1;
  // A choice made in the open list (not by stepping with the keys) asks for the custom colour.
  bool listSelected_ = false;
};

class TSkinColorBox : public TSkinCustomColorBox {
  Q_OBJECT
 public:
  explicit TSkinColorBox(QWidget* owner = nullptr) : TSkinCustomColorBox(owner) {}
};

}  // namespace kavri
