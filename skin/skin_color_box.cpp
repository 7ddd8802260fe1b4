#include "skin/skin_color_box.h"

#include <QKeyEvent>
#include <QWheelEvent>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <utility>

#include "platform/dialog_service.h"
#include "skin/system_colors.h"

namespace kavri {

const std::vector<TNamedColor>& NamedColors() {
  using K = TColorKind;
  static const std::vector<TNamedColor> colors = {
      {"clBlack", 0x000000, K::Standard},       {"clMaroon", 0x000080, K::Standard},
      {"clGreen", 0x008000, K::Standard},       {"clOlive", 0x008080, K::Standard},
      {"clNavy", 0x800000, K::Standard},        {"clPurple", 0x800080, K::Standard},
      {"clTeal", 0x808000, K::Standard},        {"clGray", 0x808080, K::Standard},
      {"clSilver", 0xC0C0C0, K::Standard},      {"clRed", 0x0000FF, K::Standard},
      {"clLime", 0x00FF00, K::Standard},        {"clYellow", 0x00FFFF, K::Standard},
      {"clBlue", 0xFF0000, K::Standard},        {"clFuchsia", 0xFF00FF, K::Standard},
      {"clAqua", 0xFFFF00, K::Standard},        {"clWhite", 0xFFFFFF, K::Standard},
      {"clMoneyGreen", 0xC0DCC0, K::Extended},  {"clSkyBlue", 0xF0CAA6, K::Extended},
      {"clCream", 0xF0FBFF, K::Extended},       {"clMedGray", 0xA4A0A0, K::Extended},
      {"clActiveBorder", 0x8000000A, K::System}, {"clActiveCaption", 0x80000002, K::System},
      {"clAppWorkSpace", 0x8000000C, K::System}, {"clBackground", 0x80000001, K::System},
      {"clBtnFace", 0x8000000F, K::System},     {"clBtnHighlight", 0x80000014, K::System},
      {"clBtnShadow", 0x80000010, K::System},   {"clBtnText", 0x80000012, K::System},
      {"clCaptionText", 0x80000009, K::System}, {"clGrayText", 0x80000011, K::System},
      {"clHighlight", 0x8000000D, K::System},   {"clHighlightText", 0x8000000E, K::System},
      {"clInactiveBorder", 0x8000000B, K::System}, {"clInactiveCaption", 0x80000003, K::System},
      {"clInactiveCaptionText", 0x80000013, K::System}, {"clInfoBk", 0x80000018, K::System},
      {"clInfoText", 0x80000017, K::System},    {"clMenu", 0x80000004, K::System},
      {"clMenuText", 0x80000007, K::System},    {"clScrollBar", 0x80000000, K::System},
      {"cl3DDkShadow", 0x80000015, K::System},  {"cl3DLight", 0x80000016, K::System},
      {"clWindow", 0x80000005, K::System},      {"clWindowFrame", 0x80000006, K::System},
      {"clWindowText", 0x80000008, K::System},  {"clNone", clNone, K::None},
      {"clDefault", clDefault, K::Default},
  };
  return colors;
}

QString PrettyColorName(const QString& name) {
  QString bare = name.startsWith("cl") ? name.mid(2) : name;
  QString out;
  for (qsizetype i = 0; i < bare.size(); ++i) {
    if (i > 0 && bare[i].isUpper()) out += ' ';
    out += bare[i];
  }
  return out;
}

namespace {
constexpr int kColorRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
}  // namespace

TSkinCustomColorBox::TSkinCustomColorBox(QWidget* owner) : TSkinCustomComboBox(owner) {
  TSkinCustomComboBox::SetStyle(TComboBoxStyle::csDropDownList);
  SetOwnerDrawnItems(
      this, [this](QPainter& canvas, int index, const QRect& rect, bool selected) { DrawItem(canvas, index, rect, selected); },
      [this] { return std::max(fontMetrics().height() + 2, 16); });
  PopulateList();
}

void TSkinCustomColorBox::PopulateList() {
  const QSignalBlocker block(this);
  const TColor custom = (boxStyle_ & cbCustomColor) && count() > 0 && Kinds(0) == TColorKind::Custom
                            ? Colors(0)
                            : clBlack;
  const TColor keep = Selected();
  clear();
  for (const TNamedColor& c : NamedColors()) {
    bool wanted = false;
    switch (c.Kind) {
      case TColorKind::Standard: wanted = boxStyle_ & cbStandardColors; break;
      case TColorKind::Extended: wanted = boxStyle_ & cbExtendedColors; break;
      case TColorKind::System: wanted = boxStyle_ & cbSystemColors; break;
      case TColorKind::None: wanted = boxStyle_ & cbIncludeNone; break;
      case TColorKind::Default: wanted = boxStyle_ & cbIncludeDefault; break;
      case TColorKind::Custom: break;
    }
    if (!wanted) continue;
    const QString name = (boxStyle_ & cbPrettyNames) ? PrettyColorName(c.Name) : QString(c.Name);
    addItem(name);
    setItemData(count() - 1, static_cast<uint>(c.Value), kColorRole);
    setItemData(count() - 1, static_cast<int>(c.Kind), kKindRole);
  }
  if (boxStyle_ & cbCustomColor) {
    insertItem(0, "Custom...");
    setItemData(0, static_cast<uint>(custom), kColorRole);
    setItemData(0, static_cast<int>(TColorKind::Custom), kKindRole);
  }
  setCurrentIndex(-1);
  SetSelected(keep);
}

int TSkinCustomColorBox::IndexOf(TColor colour) const {
  for (int i = 0; i < count(); ++i)
    if (Colors(i) == colour && Kinds(i) != TColorKind::Custom) return i;
  return -1;
}

TColor TSkinCustomColorBox::Colors(int index) const {
  return index >= 0 && index < count() ? itemData(index, kColorRole).toUInt() : kNoColor;
}

QString TSkinCustomColorBox::ColorNames(int index) const { return itemText(index); }

TColorKind TSkinCustomColorBox::Kinds(int index) const {
  return static_cast<TColorKind>(itemData(index, kKindRole).toInt());
}

TColor TSkinCustomColorBox::Selected() const {
  if (count() == 0) return selectedColor_;
  return currentIndex() >= 0 ? Colors(currentIndex()) : kNoColor;
}

void TSkinCustomColorBox::SetSelected(TColor colour) {
  selectedColor_ = colour;
  const QSignalBlocker block(this);
  int index = IndexOf(colour);
  if (index < 0 && (boxStyle_ & cbCustomColor) && colour != kNoColor && count() > 0) {
    setItemData(0, static_cast<uint>(colour), kColorRole);
    index = 0;
  }
  setCurrentIndex(index);
  lastIndex_ = index;
  update();
}

void TSkinCustomColorBox::SetStyle(TColorBoxStyle style) {
  if (style == boxStyle_) return;
  boxStyle_ = style;
  setEnabled(style & (cbStandardColors | cbExtendedColors | cbSystemColors | cbCustomColor));
  PopulateList();
  if (count() > 0 && currentIndex() < 0) {
    const QSignalBlocker block(this);
    setCurrentIndex(0);
    lastIndex_ = 0;
  }
}

void TSkinCustomColorBox::SetDefaultColorColor(TColor c) {
  if (c == defaultColorColor_) return;
  defaultColorColor_ = c;
  update();
}

void TSkinCustomColorBox::SetNoneColorColor(TColor c) {
  if (c == noneColorColor_) return;
  noneColorColor_ = c;
  update();
}

bool TSkinCustomColorBox::PickCustomColor() {
  const std::optional<TColor> chosen = Dialogs().ChooseColor(ColorToRGB(Colors(0)));
  if (!chosen) return false;
  setItemData(0, static_cast<uint>(*chosen), kColorRole);
  update();
  return true;
}

void TSkinCustomColorBox::hidePopup() {
  TSkinCustomComboBox::hidePopup();
  listSelected_ = true;
}

void TSkinCustomColorBox::Click() {
  const bool fromList = std::exchange(listSelected_, false);
  if (fromList && (boxStyle_ & cbCustomColor) && currentIndex() == 0 && !PickCustomColor()) {
    // A cancelled custom colour leaves the choice as it was.
    const QSignalBlocker block(this);
    setCurrentIndex(lastIndex_);
    return;
  }
  lastIndex_ = currentIndex();
  selectedColor_ = Selected();
  TSkinCustomComboBox::Click();
}

void TSkinCustomColorBox::keyPressEvent(QKeyEvent* event) {
  listSelected_ = false;
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && (boxStyle_ & cbCustomColor) &&
      currentIndex() == 0) {
    if (PickCustomColor()) TSkinCustomComboBox::Click();
    event->accept();
    return;
  }
  TSkinCustomComboBox::keyPressEvent(event);
}

// The wheel steps through the closed list as the arrow keys do.
void TSkinCustomColorBox::wheelEvent(QWheelEvent* event) {
  listSelected_ = false;
  TSkinCustomComboBox::wheelEvent(event);
}

void TSkinCustomColorBox::DrawItem(QPainter& canvas, int index, const QRect& rect, bool selected) {
  const QPalette pal = palette();
  const QColor back = pal.color(selected ? QPalette::Highlight : QPalette::Base);
  canvas.fillRect(rect, back);
  if (index < 0 || index >= count()) return;
  const int side = rect.height();
  const QRect swatch = QRect(rect.left(), rect.top(), side, side).adjusted(1, 1, -1, -1);
  TColor colour = Colors(index);
  if (colour == clDefault) colour = defaultColorColor_;
  else if (colour == clNone) colour = noneColorColor_;
  const TColor rgb = ColorToRGB(colour);
  canvas.fillRect(swatch, ToQColor(rgb));
  TColor frame = rgb;
  if (GetRValue(rgb) >= 193 || GetGValue(rgb) >= 193 || GetBValue(rgb) >= 193) frame = clBlack;
  else if (selected) frame = clWhite;
  canvas.setPen(ToQColor(frame));
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRect(swatch.adjusted(0, 0, -1, -1));
  canvas.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
  const QRect text(swatch.right() + 1 + 5, rect.top(), rect.right() - swatch.right() - 5, rect.height());
  canvas.drawText(text, Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
}

void TSkinCustomColorBox::paintEvent(QPaintEvent* event) {
  TSkinCustomComboBox::paintEvent(event);
  QStyleOptionComboBox opt;
  initStyleOption(&opt);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
  QPainter p(this);
  p.setClipRect(field.intersected(rect().adjusted(2, 2, -2, -2)));
  DrawItem(p, currentIndex(), field, false);
}

}  // namespace kavri
