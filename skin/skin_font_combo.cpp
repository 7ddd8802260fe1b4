// The font family and font size combo boxes; the installed fonts come from fontconfig.
#include <fontconfig/fontconfig.h>

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "skin/skin_combo.h"
#include "skin/skin_pictures.h"

namespace kavri {

namespace {

struct FcDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
  void operator()(FcObjectSet* o) const { FcObjectSetDestroy(o); }
  void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
template <typename T>
using FcPtr = std::unique_ptr<T, FcDeleter>;

// Every face fontconfig lists, optionally for one family.
FcPtr<FcFontSet> ListFaces(const QString& family) {
  FcPtr<FcPattern> pattern(FcPatternCreate());
  if (!family.isEmpty())
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.toUtf8().constData()));
  FcPtr<FcObjectSet> objects(
      FcObjectSetBuild(FC_FAMILY, FC_OUTLINE, FC_SCALABLE, FC_SPACING, FC_CHARSET, FC_PIXEL_SIZE, nullptr));
  return FcPtr<FcFontSet>(FcFontList(nullptr, pattern.get(), objects.get()));
}

bool BoolOf(FcPattern* p, const char* object, bool fallback) {
  FcBool value;
  return FcPatternGetBool(p, object, 0, &value) == FcResultMatch ? value == FcTrue : fallback;
}

}  // namespace

std::vector<TFontFamilyInfo> InstalledFontFamilies() {
  std::map<QString, TFontFamilyInfo> byName;
  FcPtr<FcFontSet> faces = ListFaces(QString());
  for (int i = 0; faces && i < faces->nfont; ++i) {
    FcPattern* face = faces->fonts[i];
    FcChar8* family = nullptr;
    if (FcPatternGetString(face, FC_FAMILY, 0, &family) != FcResultMatch) continue;
    const QString name = QString::fromUtf8(reinterpret_cast<const char*>(family));
    const bool scalable = BoolOf(face, FC_SCALABLE, BoolOf(face, FC_OUTLINE, false));
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(face, FC_SPACING, 0, &spacing);
    FcCharSet* charset = nullptr;
    bool latin = false;
    if (FcPatternGetCharSet(face, FC_CHARSET, 0, &charset) == FcResultMatch)
      latin = FcCharSetHasChar(charset, 'A') && FcCharSetHasChar(charset, 'z') && FcCharSetHasChar(charset, 0xE9);
    auto [it, fresh] = byName.try_emplace(name);
    TFontFamilyInfo& info = it->second;
    if (fresh) {
      info.Name = name;
      info.FixedPitch = spacing >= FC_MONO;
    } else {
      info.FixedPitch = info.FixedPitch && spacing >= FC_MONO;
    }
    // A family counts as outline when any face is; as text (not symbol) when any face covers Latin.
    info.Flags |= scalable ? kTrueTypeFontType : kRasterFontType;
    if (latin) info.Flags |= kNotSymbolFont;
    info.Ansi = info.Ansi || latin;
  }
  std::vector<TFontFamilyInfo> out;
  for (auto& [name, info] : byName) {
    if (info.Flags & kTrueTypeFontType) info.Flags &= ~kRasterFontType;
    out.push_back(info);
  }
  return out;
}

bool FontPassesOptions(const TFontFamilyInfo& font, TFontListOptions options) {
  const bool symbol = !(font.Flags & kNotSymbolFont);
  if ((options & foAnsiOnly) && !font.Ansi) return false;
  if ((options & foTrueTypeOnly) && !(font.Flags & kTrueTypeFontType)) return false;
  if ((options & foFixedPitchOnly) && !font.FixedPitch) return false;
  if (options & foOEMFontsOnly) return false;  // no font here carries an OEM character set
  if ((options & foNoSymbolFonts) && symbol) return false;
  if ((options & foScalableOnly) && (font.Flags & kRasterFontType)) return false;
  return true;
}

TSkinFontComboBox::TSkinFontComboBox(QWidget* owner) : TSkinFontDrawComboBox(owner) {
  trueTypeMark_ = QPixmap::fromImage(LoadSkinPicture("FONTCOMBO_TRUETYPE_FNT"));
  deviceMark_ = QPixmap::fromImage(LoadSkinPicture("FONTCOMBO_DEVICE_FNT"));
  for (QPixmap* mark : {&trueTypeMark_, &deviceMark_})
    if (!mark->isNull()) mark->setMask(mark->createHeuristicMask());
  ResetItemHeight();
  updating_ = true;
  PopulateList();
  updating_ = false;
  // Fonts added or removed while the program runs show up at once.
  connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, [this] { Reset(); });
}

uint32_t TSkinFontComboBox::ItemFlags(int index) const { return itemData(index).toUInt(); }

void TSkinFontComboBox::PopulateList() {
  const QSignalBlocker block(this);
  clear();
  // Nothing answers for a printer here: printer fonts are the screen's outline fonts.
  for (const TFontFamilyInfo& font : InstalledFontFamilies()) {
    if (!FontPassesOptions(font, options_)) continue;
    uint32_t flags = font.Flags;
    if (device_ == TFontDevice::fdPrinter) {
      if (!(flags & kTrueTypeFontType)) continue;
    }
    addItem(font.Name, flags);
  }
  setCurrentIndex(-1);
}

void TSkinFontComboBox::SetFontName(const QString& name) {
  if (name == FontName()) return;
  {
    const QSignalBlocker block(this);
    const int index = findText(name, Qt::MatchFixedString);  // case-insensitive
    if (index >= 0) {
      setCurrentIndex(index);
    } else if (isEditable()) {
      setEditText(name);
    } else {
      setCurrentIndex(-1);
    }
  }
  DoChange();
}

void TSkinFontComboBox::SetOptions(TFontListOptions options) {
  if (options == options_) return;
  options_ = options;
  Reset();
}

void TSkinFontComboBox::SetDevice(TFontDevice device) {
  if (device == device_) return;
  device_ = device;
  Reset();
}

void TSkinFontComboBox::SetUseFonts(bool use) {
  if (use == useFonts_) return;
  useFonts_ = use;
  update();
}

void TSkinFontComboBox::SetStyle(TComboBoxStyle style) { TSkinFontDrawComboBox::SetStyle(style); }

void TSkinFontComboBox::Reset() {
  updating_ = true;
  const QString before = FontName();
  PopulateList();
  SetFontName(before);
  updating_ = false;
  if (FontName() != before) DoChange();
}

void TSkinFontComboBox::Change() {
  if (isEditable()) {
    const int index = findText(currentText(), Qt::MatchFixedString);
    if (index >= 0 && index != currentIndex()) {
      const QSignalBlocker block(this);
      const QString typed = currentText();
      setCurrentIndex(index);
      setEditText(typed);
    }
  }
  DoChange();
}

void TSkinFontComboBox::Click() { DoChange(); }

void TSkinFontComboBox::DoChange() {
  if (!updating_ && OnChange) OnChange();
}

int TSkinFontComboBox::MinItemHeight() const {
  return std::max(TSkinFontDrawComboBox::MinItemHeight(), trueTypeMark_.height() - 1);
}

void TSkinFontComboBox::DrawItem(QPainter& canvas, int index, const QRect& rect, bool selected) {
  const QPalette pal = palette();
  canvas.fillRect(rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
  const uint32_t flags = ItemFlags(index);
  const QPixmap* mark = (flags & kTrueTypeFontType) ? &trueTypeMark_ : (flags & kDeviceFontType) ? &deviceMark_ : nullptr;
  int textLeft = rect.left() + 20 + 6;
  if (mark && !mark->isNull()) {
    canvas.drawPixmap(rect.left() + 2, rect.top() + (rect.height() - mark->height()) / 2, *mark);
    textLeft = rect.left() + mark->width() + 6;
  }
  if (useFonts_ && (flags & kNotSymbolFont)) {
    QFont face = canvas.font();
    face.setFamily(itemText(index));
    canvas.setFont(face);
  }
  canvas.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
  canvas.drawText(QRect(textLeft, rect.top(), rect.right() - textLeft, rect.height()),
                  Qt::AlignVCenter | Qt::TextSingleLine, itemText(index));
}

// ---- font sizes ----

QStringList FontSizesOf(const QString& family, int pixelsPerInch) {
  static const QStringList kScalableSizes = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                             "20", "22", "24", "26", "28", "36", "48", "72"};
  if (family.isEmpty()) return {};
  FcPtr<FcFontSet> faces = ListFaces(family);
  std::set<int> sizes;
  for (int i = 0; faces && i < faces->nfont; ++i) {
    FcPattern* face = faces->fonts[i];
    if (BoolOf(face, FC_SCALABLE, BoolOf(face, FC_OUTLINE, false))) return kScalableSizes;
    // A bitmap face lists each of its strikes as one more pixel size.
    double pixels = 0;
    for (int n = 0; pixelsPerInch > 0 && FcPatternGetDouble(face, FC_PIXEL_SIZE, n, &pixels) == FcResultMatch; ++n)
      sizes.insert(static_cast<int>(std::lround(pixels * 72.0 / pixelsPerInch)));
  }
  QStringList out;
  for (int s : sizes) out << QString::number(s);
  return out;
}

TSkinFontSizeComboBox::TSkinFontSizeComboBox(QWidget* owner) : TSkinCustomComboBox(owner) {
  SetStyle(TComboBoxStyle::csDropDownList);
}

void TSkinFontSizeComboBox::SetFontName(const QString& name) {
  fontName_ = name;
  Build();
}

void TSkinFontSizeComboBox::Build() {
  const QSignalBlocker block(this);
  const QString keep = currentText();
  clear();
  if (!fontName_.isEmpty()) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    pixelsPerInch_ = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
    addItems(FontSizesOf(fontName_, pixelsPerInch_));
  }
  setCurrentIndex(findText(keep));
}

}  // namespace kavri
