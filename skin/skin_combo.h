#pragma once
// Themed combo boxes: a flat border and a flat drop-down button painted over the native one.
//
// OnChange reports the operator's choices only (picking an item, arrow keys, typing); setting the
// index or the text from code never runs it, so windows can mirror one combo into another safely.
// The font combo is the exception: a new font name, however it came, is reported.
#include <QComboBox>
#include <functional>

#include "platform/tcolor.h"
#include "skin/style_apply.h"
#include "skin/theme_style.h"

namespace kavri {

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TSkinCustomComboBox : public QComboBox, public TSkinStyleHooks {
  Q_OBJECT
 public:
  explicit TSkinCustomComboBox(QWidget* owner = nullptr);

  TSkinUIStyle UIStyle() const { return uiStyle_; }
  void SetUIStyle(TSkinUIStyle style);
  void ApplyContainerStyle(TSkinUIStyle style) override { SetUIStyle(style); }
  TColor BorderColor() const { return borderColor_; }
  TColor ButtonColor() const { return buttonColor_; }
  TColor ArrowColor() const { return arrowColor_; }
  void SetBorderColor(TColor c);
  void SetButtonColor(TColor c);
  void SetArrowColor(TColor c);
  TColor Color() const;

  TComboBoxStyle Style() const { return style_; }
  virtual void SetStyle(TComboBoxStyle style);

  QStringList Items() const;
  void SetItems(const QStringList& items);
  int AddItem(const QString& text);
  void ClearItems() { clear(); }
  int ItemCount() const { return count(); }
  int ItemIndex() const { return currentIndex(); }
  void SetItemIndex(int index);  // -1 clears; out of range is ignored
  QString Text() const { return currentText(); }
  void SetText(const QString& text);
  void SetEnabled(bool enabled);

  std::function<void()> OnChange;

  // The drop-down button rectangle the skin paints over.
  QRect ButtonRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Operator-made changes land here; the font combo adds its own.
  virtual void Change();
  virtual void Click();

 private:
  void DrawButton(QPainter& canvas) const;

  TSkinUIStyle uiStyle_ = TSkinUIStyle::Custom;
  TColor borderColor_ = 0;
  TColor buttonColor_ = 0;
  TColor arrowColor_ = 0;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
};

class TSkinComboBox : public TSkinCustomComboBox {
  Q_OBJECT
 public:
  explicit TSkinComboBox(QWidget* owner = nullptr) : TSkinCustomComboBox(owner) {}
};

// Lets draw paint every item of the combo's drop-down list, each itemHeight() high.
void SetOwnerDrawnItems(QComboBox* combo, std::function<void(QPainter&, int index, const QRect&, bool selected)> draw,
                        std::function<int()> itemHeight);

// A combo box whose list items are painted by DrawItem, all of one height.
class TSkinFontDrawComboBox : public TSkinCustomComboBox {
  Q_OBJECT
 public:
  explicit TSkinFontDrawComboBox(QWidget* owner = nullptr);
  int ItemHeight() const { return itemHeight_; }
  void ResetItemHeight();
  virtual int MinItemHeight() const;
  virtual void DrawItem(QPainter& canvas, int index, const QRect& rect, bool selected);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  int itemHeight_ = 0;
};

// Font-type flags of a font combo item.
enum TFontTypeFlag : uint32_t {
  kRasterFontType = 1,
  kDeviceFontType = 2,
  kTrueTypeFontType = 4,
  kNotSymbolFont = 0x100,
};
enum class TFontDevice { fdScreen, fdPrinter, fdBoth };
enum TFontListOption : uint32_t {
  foAnsiOnly = 1u << 0,
  foTrueTypeOnly = 1u << 1,
  foFixedPitchOnly = 1u << 2,
  foNoOEMFonts = 1u << 3,
  foOEMFontsOnly = 1u << 4,
  foScalableOnly = 1u << 5,
  foNoSymbolFonts = 1u << 6,
};
using TFontListOptions = uint32_t;

// One installed font family as the font combo lists it.
struct TFontFamilyInfo {
  QString Name;
  uint32_t Flags = 0;  // TFontTypeFlag bits
  bool FixedPitch = false;
  bool Ansi = false;    // covers the Latin-1 letters
};
// The installed families (fontconfig), first name of each, sorted, without duplicates.
std::vector<TFontFamilyInfo> InstalledFontFamilies();
bool FontPassesOptions(const TFontFamilyInfo& font, TFontListOptions options);

class TSkinFontComboBox : public TSkinFontDrawComboBox {
  Q_OBJECT
 public:
  explicit TSkinFontComboBox(QWidget* owner = nullptr);

  QString FontName() const { return currentText(); }
  void SetFontName(const QString& name);
  TFontListOptions Options() const { return options_; }
  void SetOptions(TFontListOptions options);
  TFontDevice Device() const { return device_; }
  void SetDevice(TFontDevice device);
  bool UseFonts() const { return useFonts_; }
  void SetUseFonts(bool use);
  void SetStyle(TComboBoxStyle style) override;
  uint32_t ItemFlags(int index) const;

  // Fills the list afresh; no name is chosen afterwards.
  virtual void PopulateList();
  // Re-reads the installed fonts keeping the chosen name (fonts were added or removed); reports
  // the name when it is no longer listed.
  void Reset();

  int MinItemHeight() const override;
  void DrawItem(QPainter& canvas, int index, const QRect& rect, bool selected) override;

 protected:
  void Change() override;
  void Click() override;

 private:
  void DoChange();

  TFontDevice device_ = TFontDevice::fdScreen;
  TFontListOptions options_ = 0;
  bool useFonts_ = false;
  bool updating_ = false;
  QPixmap trueTypeMark_;
  QPixmap deviceMark_;
};

// The point sizes one font offers: the sixteen standard sizes for a scalable font, the font's own
// sizes for a bitmap font.
QStringList FontSizesOf(const QString& family, int pixelsPerInch);

class TSkinFontSizeComboBox : public TSkinCustomComboBox {
  Q_OBJECT
 public:
  explicit TSkinFontSizeComboBox(QWidget* owner = nullptr);
  QString FontName() const { return fontName_; }
  void SetFontName(const QString& name);

 private:
  void Build();
  QString fontName_;
  int pixelsPerInch_ = 96;
};

}  // namespace kavri
