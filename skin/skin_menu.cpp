#include "skin/skin_menu.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QIcon>
#include <QPainter>
#include <QRegularExpression>
#include <QStyleOptionMenuItem>

#include "skin/menu_draw.h"
#include "skin/style_apply.h"
#include "skin/system_colors.h"
#include "skin/skin_pictures.h"

namespace kavri {

namespace {

QColor Rgb(TColor c) { return ToQColor(ColorToRGB(c)); }

constexpr int kFlatFrame = 3;  // Menu_DrawWindowBorder's widest side
constexpr int kPlainFrame = 1;

QString CaptionWithoutMarks(QString caption) {
  caption.remove(QRegularExpression("&(?!&)"));
  return caption;
}

void SplitMenuText(const QString& text, QString& caption, QString& shortcut) {
  const qsizetype tab = text.indexOf('\t');
  caption = tab < 0 ? text : text.left(tab);
  shortcut = tab < 0 ? QString() : text.mid(tab + 1);
}

// The menu bar of a window without a themed form takes the theme's form colour.
TColor MenuBarColor(TSkinUIStyle style) {
  return IsThemedStyle(style) ? GetThemeColor(style, 3) : 0x8000000F;
}

}  // namespace

void TSkinMenuSettings::ApplyStyle(TSkinUIStyle style) {
  UIStyle = style;
  if (!IsThemedStyle(style)) return;
  MenuItemHeight = GetThemeInt(style, 20);
  SeparatorHeight = GetThemeInt(style, 21);
  BarColor = GetThemeColor(style, 17);
  BarWidth = GetThemeInt(style, 22);
  Color = GetThemeColor(style, 15);
  SeparatorColor = GetThemeColor(style, 18);
  SelectedBorderColor = GetThemeColor(style, 11);
  SelectedColor = GetThemeColor(style, 12);
  SelectedFontColor = GetThemeColor(style, 13);
  FontColor = GetThemeColor(style, 16);
  BorderColor = GetThemeColor(style, 2);
}

void TSkinMenuSettings::SetMenuItemHeight(int height) {
  if (UIStyle != TSkinUIStyle::Graphite) MenuItemHeight = height;
}

void TSkinMenuSettings::SetSeparatorHeight(int height) {
  if (UIStyle != TSkinUIStyle::Graphite) SeparatorHeight = height;
}

QFont TSkinMenuSettings::ItemFont() const {
  QFont font = QApplication::font();
  if (UseSystemFont && Menu_GetSystemFont(font)) return font;
  font.setFamily(FontName);
  font.setPointSize(FontSize > 0 ? FontSize : 8);
  return font;
}

QSize MeasureMenuItem(const TSkinMenuSettings& settings, const TMenuItemView& item) {
  if (item.Separator) return QSize(settings.BarWidth + 40, settings.SeparatorHeight);
  const QFontMetrics fm(settings.ItemFont());
  const int text = fm.horizontalAdvance(CaptionWithoutMarks(item.Caption));
  const int shortcut = item.ShortcutText.isEmpty() ? 0 : fm.horizontalAdvance(item.ShortcutText);
  return QSize(text + shortcut + settings.BarWidth + 40, settings.MenuItemHeight);
}

QPixmap MenuCheckMark() {
  static QPixmap mark = [] {
    const QImage picture = LoadSkinPicture("MENU_CHECKED");
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setMask(pixmap.createMaskFromColor(Qt::white, Qt::MaskInColor));
    return pixmap;
  }();
  return mark;
}

namespace {

void DrawBarAndBack(QPainter& canvas, const TSkinMenuSettings& s, const QRect& rect) {
  QRect rest = rect;
  if (s.BarWidth > 0) {
    Menu_DrawBackGround(canvas, QRect(rect.left(), rect.top(), s.BarWidth, rect.height()), s.BarColor);
    rest.setLeft(rect.left() + s.BarWidth);
  }
  Menu_DrawBackGround(canvas, rest, s.Color);
}

QPixmap Greyed(const QPixmap& pixmap) {
  return QIcon(pixmap).pixmap(pixmap.size(), QIcon::Disabled);
}

}  // namespace

void DrawMenuItem(QPainter& canvas, const TSkinMenuSettings& s, const QRect& rect, const TMenuItemView& item) {
  const bool graphite = s.UIStyle == TSkinUIStyle::Graphite;
  canvas.save();
  if (item.Separator) {
    if (graphite) {
      Menu_DrawGraphiteLineItem(canvas, rect);
    } else {
      DrawBarAndBack(canvas, s, rect);
      Menu_DrawLineItem(canvas, rect, s.SeparatorColor, s.BarWidth);
    }
    canvas.restore();
    return;
  }
  const bool selected = item.Selected && item.Enabled;
  if (selected) {
    if (graphite) {
      Menu_DrawGraphiteSelectedItem(canvas, rect);
    } else {
      Menu_DrawBackGround(canvas, rect, s.SelectedColor);
      Menu_DrawBorder(canvas, rect, s.SelectedBorderColor);
    }
  } else if (graphite) {
    Menu_DrawGraphiteNonSelectedItem(canvas, rect);
  } else {
    DrawBarAndBack(canvas, s, rect);
  }

  QFont font = s.ItemFont();
  font.setBold(item.Default);
  canvas.setFont(font);
  canvas.setBrush(Qt::NoBrush);
  const QColor text = !item.Enabled ? QColor(0x80, 0x80, 0x80) : Rgb(selected ? s.SelectedFontColor : s.FontColor);
  canvas.setPen(text);
  const QRect captionRect(QPoint(rect.left() + s.BarWidth + 4, rect.top() + 4), rect.bottomRight());
  canvas.drawText(captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, item.Caption);
  if (!item.ShortcutText.isEmpty()) {
    const int w = canvas.fontMetrics().horizontalAdvance(item.ShortcutText);
    const int right = rect.left() + rect.width();
    canvas.drawText(QPoint(right - w - 16, rect.top() + 4 + canvas.fontMetrics().ascent()), item.ShortcutText);
  }
  if (item.SubMenu) {
    // The arrow of an item that opens a sub-menu.
    const int right = rect.left() + rect.width();
    const int cy = rect.top() + rect.height() / 2;
    const QPoint arrow[3] = {{right - 10, cy - 4}, {right - 6, cy}, {right - 10, cy + 4}};
    canvas.setPen(Qt::NoPen);
    canvas.setBrush(text);
    canvas.drawPolygon(arrow, 3);
    canvas.setBrush(Qt::NoBrush);
  }

  const bool hasImage = !item.Image.isNull();
  if (item.Checked) {
    if (hasImage) {
      // The image cell shown pressed.
      canvas.setPen(Qt::black);
      canvas.drawRect(QRect(QPoint(rect.left() + 2, rect.top() + 1), QPoint(rect.left() + 19, rect.top() + 18)));
      canvas.fillRect(QRect(QPoint(rect.left() + 3, rect.top() + 2), QPoint(rect.left() + 19, rect.top() + 18)),
                      Rgb(s.SelectedColor));
    } else {
      const QPixmap mark = MenuCheckMark();
      canvas.drawPixmap(rect.left() + 4, rect.top() + 3, item.Enabled ? mark : Greyed(mark));
    }
  }
  if (hasImage) canvas.drawPixmap(rect.left() + 4, rect.top() + 3, item.Enabled ? item.Image : Greyed(item.Image));
  canvas.restore();
}

// ---- style ----

TSkinMenuStyle::TSkinMenuStyle(const TSkinMenuSettings* settings, QObject* owner) : settings_(settings) {
  setParent(owner);
}

namespace {

TMenuItemView ViewOf(const QStyleOptionMenuItem& opt) {
  TMenuItemView v;
  SplitMenuText(opt.text, v.Caption, v.ShortcutText);
  v.Separator = opt.menuItemType == QStyleOptionMenuItem::Separator;
  v.Selected = opt.state & QStyle::State_Selected;
  v.Enabled = opt.state & QStyle::State_Enabled;
  v.Checkable = opt.checkType != QStyleOptionMenuItem::NotCheckable;
  v.Checked = v.Checkable && opt.checked;
  v.Default = opt.menuItemType == QStyleOptionMenuItem::DefaultItem;
  v.SubMenu = opt.menuItemType == QStyleOptionMenuItem::SubMenu;
  if (!opt.icon.isNull()) v.Image = opt.icon.pixmap(QSize(16, 16));
  return v;
}

}  // namespace

QSize TSkinMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                       const QWidget* widget) const {
  if (type == CT_MenuItem) {
    if (const auto* opt = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
      TMenuItemView v = ViewOf(*opt);
      // The menu adds the widest shortcut text to every item by itself.
      v.ShortcutText.clear();
      return MeasureMenuItem(*settings_, v);
    }
  }
  if (type == CT_MenuBarItem) {
    const QSize base = QProxyStyle::sizeFromContents(type, option, size, widget);
    return QSize(base.width() + 4, std::max(base.height(), 20));
  }
  return QProxyStyle::sizeFromContents(type, option, size, widget);
}

void TSkinMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
  const TSkinMenuSettings& s = *settings_;
  switch (element) {
    case CE_MenuItem:
      if (const auto* opt = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
        DrawMenuItem(*painter, s, opt->rect, ViewOf(*opt));
        return;
      }
      break;
    case CE_MenuEmptyArea:
      Menu_DrawBackGround(*painter, option->rect, s.Color);
      return;
    case CE_MenuBarEmptyArea:
      if (s.UIStyle == TSkinUIStyle::Graphite) {
        Menu_DrawGraphiteNonSelectedItem(*painter, option->rect);
      } else {
        Menu_DrawBackGround(*painter, option->rect, MenuBarColor(s.UIStyle));
      }
      return;
    case CE_MenuBarItem:
      if (const auto* opt = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
        const bool hot = (opt->state & (State_Selected | State_Sunken)) && (opt->state & State_Enabled);
        const bool pressed = opt->state & State_Sunken;
        const bool graphite = s.UIStyle == TSkinUIStyle::Graphite;
        QRect r = opt->rect;
        TColor textColour = FromQColor(QApplication::palette().color(QPalette::WindowText));
        if (graphite) {
          hot ? Menu_DrawGraphiteSelectedItem(*painter, r) : Menu_DrawGraphiteNonSelectedItem(*painter, r);
        } else {
          Menu_DrawBackGround(*painter, r, MenuBarColor(s.UIStyle));
        }
        if (hot) {
          textColour = IsThemedStyle(s.UIStyle) ? GetThemeColor(s.UIStyle, 13) : s.SelectedFontColor;
          if (!graphite) {
            QRect box = pressed ? r.adjusted(0, 0, -2, 0) : r;
            Menu_DrawBackGround(*painter, box, IsThemedStyle(s.UIStyle) ? GetThemeColor(s.UIStyle, 12) : s.SelectedColor);
            Menu_DrawBorder(*painter, box,
                            IsThemedStyle(s.UIStyle) ? GetThemeColor(s.UIStyle, 11) : s.SelectedBorderColor);
          }
          if (pressed) r.translate(1, 1);
        }
        if (!(opt->state & State_Enabled)) textColour = 0x808080;
        painter->save();
        painter->setFont(s.ItemFont());
        painter->setPen(Rgb(textColour));
        painter->drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, opt->text);
        painter->restore();
        return;
      }
      break;
    default: break;
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void TSkinMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                   const QWidget* widget) const {
  const TSkinMenuSettings& s = *settings_;
  switch (element) {
    case PE_PanelMenu:
      Menu_DrawBackGround(*painter, option->rect, s.Color);
      return;
    case PE_FrameMenu:
      if (s.FlatMenu) {
        Menu_DrawWindowBorder(*painter, option->rect, s.BorderColor,
                              IsThemedStyle(s.UIStyle) ? GetThemeColor(s.UIStyle, 3) : 0x8000000F);
      } else {
        Menu_DrawBorder(*painter, option->rect, 0x80000010);  // button shadow
      }
      return;
    case PE_PanelMenuBar:
      Menu_DrawBackGround(*painter, option->rect, MenuBarColor(s.UIStyle));
      return;
    default: break;
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

int TSkinMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_MenuPanelWidth: return settings_->FlatMenu ? kFlatFrame : kPlainFrame;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
    case PM_MenuBarPanelWidth:
    case PM_MenuBarVMargin:
    case PM_MenuBarHMargin:
    case PM_MenuBarItemSpacing:
    case PM_MenuDesktopFrameWidth: return 0;
    default: return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

int TSkinMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
  switch (hint) {
    case SH_Menu_AllowActiveAndDisabled: return 1;  // a disabled item under the mouse stays unhighlighted
    case SH_DrawMenuBarSeparator: return 0;
    default: return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
}

// ---- menus ----

TSkinMenu::TSkinMenu(const QString& title, QWidget* parent, QStyle* itemStyle)
    : QMenu(title, parent), itemStyle_(itemStyle) {
  if (itemStyle_) setStyle(itemStyle_);
  // Menus added by other means than AddSubMenu get drawn the same way before they open.
  connect(this, &QMenu::aboutToShow, this, [this] { Menu_SetItemEvent(this, itemStyle_); });
}

void TSkinMenu::SetItemStyle(QStyle* style) {
  itemStyle_ = style;
  Menu_SetItemEvent(this, style);
}

QAction* TSkinMenu::AddItem(const QString& caption, std::function<void()> onClick, const QKeySequence& shortcut) {
  if (caption == "-") return AddSeparator();
  QAction* action = addAction(caption);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  if (onClick) connect(action, &QAction::triggered, this, [onClick] { onClick(); });
  return action;
}

QAction* TSkinMenu::AddCheckItem(const QString& caption, std::function<void(bool)> onClick, bool checked) {
  QAction* action = addAction(caption);
  action->setCheckable(true);
  action->setChecked(checked);
  if (onClick) connect(action, &QAction::triggered, this, [onClick](bool on) { onClick(on); });
  return action;
}

QAction* TSkinMenu::AddSeparator() { return addSeparator(); }

TSkinMenu* TSkinMenu::AddSubMenu(const QString& caption) {
  auto* sub = new TSkinMenu(caption, this, itemStyle_);
  addMenu(sub);
  return sub;
}

namespace {
QAction* FindIn(const QList<QAction*>& actions, const QString& caption) {
  const QString wanted = CaptionWithoutMarks(caption);
  for (QAction* a : actions) {
    if (!a->isSeparator() && CaptionWithoutMarks(a->text()) == wanted) return a;
    if (a->menu())
      if (QAction* found = FindIn(a->menu()->actions(), caption)) return found;
  }
  return nullptr;
}
}  // namespace

QAction* TSkinMenu::FindItem(const QString& caption) const { return FindIn(actions(), caption); }

TSkinPopupMenu::TSkinPopupMenu(QWidget* owner)
    : TSkinMenu(QString(), owner, nullptr), style_(new TSkinMenuStyle(&settings_, this)) {
  // The base was built before the style existed.
  SetItemStyle(style_);
  SetUIStyle(GetSkinFormStyle(OwnerForm(owner)));
}

void TSkinPopupMenu::SetUIStyle(TSkinUIStyle style) {
  settings_.ApplyStyle(style);
  Menu_SetItemEvent(this, style_);
  update();
}

void TSkinPopupMenu::AttachTo(QWidget* widget) {
  if (!widget) return;
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(widget, &QWidget::customContextMenuRequested, this,
          [this, widget](const QPoint& pos) { Popup(widget->mapToGlobal(pos)); });
}

void TSkinPopupMenu::Popup(const QPoint& globalPos) {
  Menu_SetItemEvent(this, style_);
  popup(globalPos);
}

TSkinMainMenu::TSkinMainMenu(QWidget* owner) : QMenuBar(owner), style_(new TSkinMenuStyle(&settings_, this)) {
  setStyle(style_);
  setNativeMenuBar(false);
  SetUIStyle(GetSkinFormStyle(OwnerForm(owner)));
}

TSkinMainMenu::~TSkinMainMenu() {
  // The drop-downs go before the style they are drawn with.
  for (QMenu* menu : findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) delete menu;
}

void TSkinMainMenu::SetUIStyle(TSkinUIStyle style) {
  settings_.ApplyStyle(style);
  for (QAction* action : actions()) Menu_SetItemEvent(action->menu(), style_);
  setMinimumHeight(22);
  update();
}

TSkinMenu* TSkinMainMenu::AddMenu(const QString& caption) { return InsertMenu(nullptr, caption); }

TSkinMenu* TSkinMainMenu::InsertMenu(QAction* before, const QString& caption) {
  auto* menu = new TSkinMenu(caption, this, style_);
  insertMenu(before, menu);
  return menu;
}

QAction* TSkinMainMenu::AddItem(const QString& caption, std::function<void()> onClick) {
  QAction* action = addAction(caption);
  if (onClick) connect(action, &QAction::triggered, this, [onClick] { onClick(); });
  return action;
}

QAction* TSkinMainMenu::FindItem(const QString& caption) const {
  const QString wanted = CaptionWithoutMarks(caption);
  for (QAction* top : actions()) {
    if (!top->menu() && CaptionWithoutMarks(top->text()) == wanted) return top;
    if (top->menu())
      if (QAction* found = FindIn(top->menu()->actions(), caption)) return found;
  }
  return nullptr;
}

}  // namespace kavri
