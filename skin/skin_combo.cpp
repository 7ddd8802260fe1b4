#include "skin/skin_combo.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>

#include "skin/system_colors.h"
#include "skin/skin_draw.h"
#include "skin/skin_pictures.h"

namespace kavri {

TSkinCustomComboBox::TSkinCustomComboBox(QWidget* owner) : QComboBox(owner) {
  setFrame(false);
  setMaxVisibleItems(8);
  // Enter takes the typed text as the combo's text; the list holds only what the program put there.
  setInsertPolicy(QComboBox::NoInsert);
  SetStyle(TComboBoxStyle::csDropDown);
  // activated comes only from the operator (mouse pick or keys), never from setCurrentIndex.
  connect(this, &QComboBox::activated, this, [this](int) { Click(); });
  SetUIStyle(GetSkinFormStyle(OwnerForm(owner)));
}

void TSkinCustomComboBox::SetUIStyle(TSkinUIStyle style) {
  uiStyle_ = style;
  // Custom reads 0 from the theme: black button, arrow and border, as a themeless combo shows.
  buttonColor_ = GetThemeColor(style, 74);
  arrowColor_ = GetThemeColor(style, 8);
  borderColor_ = GetThemeColor(style, 8);
  update();
}

void TSkinCustomComboBox::SetBorderColor(TColor c) { borderColor_ = c; update(); }
void TSkinCustomComboBox::SetButtonColor(TColor c) { buttonColor_ = c; update(); }
void TSkinCustomComboBox::SetArrowColor(TColor c) { arrowColor_ = c; update(); }

TColor TSkinCustomComboBox::Color() const { return FromQColor(palette().color(QPalette::Base)); }

void TSkinCustomComboBox::SetStyle(TComboBoxStyle style) {
  style_ = style;
  const bool editable = style != TComboBoxStyle::csDropDownList;
  if (editable == isEditable()) return;
  setEditable(editable);
  if (editable) {
    lineEdit()->setFrame(false);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString&) { Change(); });
  }
}

QStringList TSkinCustomComboBox::Items() const {
  QStringList items;
  for (int i = 0; i < count(); ++i) items << itemText(i);
  return items;
}

void TSkinCustomComboBox::SetItems(const QStringList& items) {
  const QSignalBlocker block(this);
  clear();
  addItems(items);
  setCurrentIndex(-1);
}

int TSkinCustomComboBox::AddItem(const QString& text) {
  const QSignalBlocker block(this);
  const bool wasEmpty = count() == 0;
  addItem(text);
  // A new first item is not chosen by itself.
  if (wasEmpty) setCurrentIndex(-1);
  return count() - 1;
}

void TSkinCustomComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= count()) return;
  setCurrentIndex(index);
}

void TSkinCustomComboBox::SetText(const QString& text) {
  if (isEditable()) {
    setEditText(text);
  } else {
    setCurrentIndex(findText(text));
  }
}

void TSkinCustomComboBox::SetEnabled(bool enabled) {
  setEnabled(enabled);
  update();
}

void TSkinCustomComboBox::Change() {
  if (OnChange) OnChange();
}

void TSkinCustomComboBox::Click() {
  if (OnChange) OnChange();
}

QRect TSkinCustomComboBox::ButtonRect() const {
  QStyleOptionComboBox opt;
  initStyleOption(&opt);
  return style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, this);
}

void TSkinCustomComboBox::DrawButton(QPainter& canvas) const {
  const QRect b = ButtonRect();
  if (b.isEmpty()) return;
  if (uiStyle_ == TSkinUIStyle::Graphite) {
    canvas.drawImage(b, LoadSkinPicture("GRAPHITE_COMBOBOX_BUTTON"));
  } else {
    canvas.fillRect(b, ToQColor(ColorToRGB(buttonColor_)));
  }
  const int x = b.left() + b.width() / 2 - 4;
  const int y = b.height() / 2;  // not offset by the button's top
  auto triangle = [&](int dx, int dy, const QColor& colour) {
    const QPoint pts[3] = {{x + dx, y + dy}, {x + 6 + dx, y + dy}, {x + 3 + dx, y + 3 + dy}};
    canvas.setPen(colour);
    canvas.setBrush(colour);
    canvas.drawPolygon(pts, 3);
  };
  if (isEnabled()) {
    triangle(0, 0, ToQColor(ColorToRGB(arrowColor_)));
  } else {
    triangle(1, 1, Qt::white);
    triangle(0, 0, QColor(0x80, 0x80, 0x80));
  }
}

void TSkinCustomComboBox::paintEvent(QPaintEvent* event) {
  QComboBox::paintEvent(event);
  QPainter p(this);
  DrawButton(p);
  DrawControlBorder(p, width(), height(), borderColor_, Color());
}

// ---- owner-drawn list ----

namespace {

class TComboItemDelegate : public QStyledItemDelegate {
 public:
  TComboItemDelegate(QObject* owner, std::function<void(QPainter&, int, const QRect&, bool)> draw,
                     std::function<int()> height)
      : QStyledItemDelegate(owner), draw_(std::move(draw)), height_(std::move(height)) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    draw_(*painter, index.row(), option.rect, option.state & QStyle::State_Selected);
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height_());
  }

 private:
  std::function<void(QPainter&, int, const QRect&, bool)> draw_;
  std::function<int()> height_;
};

}  // namespace

void SetOwnerDrawnItems(QComboBox* combo, std::function<void(QPainter&, int, const QRect&, bool)> draw,
                        std::function<int()> itemHeight) {
  combo->setItemDelegate(new TComboItemDelegate(combo, std::move(draw), std::move(itemHeight)));
}

TSkinFontDrawComboBox::TSkinFontDrawComboBox(QWidget* owner) : TSkinCustomComboBox(owner) {
  SetStyle(TComboBoxStyle::csDropDownList);
  SetOwnerDrawnItems(
      this, [this](QPainter& canvas, int index, const QRect& rect, bool selected) { DrawItem(canvas, index, rect, selected); },
      [this] { return ItemHeight(); });
  ResetItemHeight();
}

int TSkinFontDrawComboBox::MinItemHeight() const { return std::max(fontMetrics().height() + 1, 9); }

void TSkinFontDrawComboBox::ResetItemHeight() {
  itemHeight_ = MinItemHeight();
  if (view()) view()->doItemsLayout();
}

void TSkinFontDrawComboBox::changeEvent(QEvent* event) {
  TSkinCustomComboBox::changeEvent(event);
  if (event->type() == QEvent::FontChange) ResetItemHeight();
}

void TSkinFontDrawComboBox::DrawItem(QPainter& canvas, int index, const QRect& rect, bool selected) {
  const QPalette pal = palette();
  canvas.fillRect(rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
  canvas.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
  canvas.drawText(rect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
}

}  // namespace kavri
