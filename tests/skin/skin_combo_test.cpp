#include "skin/skin_combo.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <set>

#include "skin/skin_color_box.h"

using namespace kavri;

namespace {

QColor Px(const QImage& img, QPoint p) { return img.pixelColor(p); }

TEST(SkinComboBox, OnChangeRunsForTheOperatorOnly) {
  QWidget window;
  TSkinComboBox combo(&window);
  combo.SetStyle(TComboBoxStyle::csDropDownList);
  combo.setGeometry(0, 0, 120, 22);
  int changes = 0;
  combo.OnChange = [&] { ++changes; };
  combo.AddItem("Usb-0");
  combo.AddItem("Usb-3");
  combo.AddItem("Usb-7");
  EXPECT_EQ(combo.ItemIndex(), -1);
  combo.SetItemIndex(1);  // code: as the main window mirrors the device window's choice
  combo.SetText("Usb-7");
  combo.SetItemIndex(5);  // out of range: ignored
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(changes, 0);

  window.show();
  combo.setFocus();
  QTest::keyClick(&combo, Qt::Key_Up);  // the operator steps through the closed list
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(changes, 1);

  // Picking from the open list.
  combo.showPopup();
  QAbstractItemView* view = combo.view();
  const QRect item0 = view->visualRect(view->model()->index(0, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item0.center());
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_EQ(changes, 2);

  // Typing into an editable combo is a choice too.
  combo.SetStyle(TComboBoxStyle::csDropDown);
  QTest::keyClicks(combo.lineEdit(), "x");
  EXPECT_EQ(changes, 3);
  combo.SetText("typed by code");
  EXPECT_EQ(changes, 3);
}

TEST(SkinComboBox, CustomStylePaintsBlackAndDisabledArrowIsGreyWithWhiteShadow) {
  QWidget window;
  TSkinComboBox combo(&window);
  combo.SetStyle(TComboBoxStyle::csDropDownList);
  combo.setGeometry(0, 0, 120, 24);
  combo.SetUIStyle(TSkinUIStyle::Navy);
  EXPECT_EQ(combo.ButtonColor(), GetThemeColor(TSkinUIStyle::Navy, 74));
  combo.SetUIStyle(TSkinUIStyle::Custom);
  EXPECT_EQ(combo.ButtonColor(), 0u);
  EXPECT_EQ(combo.ArrowColor(), 0u);
  EXPECT_EQ(combo.BorderColor(), 0u);
  QImage img = combo.grab().toImage();
  EXPECT_EQ(Px(img, {0, 12}), QColor(Qt::black));
  const QRect b = combo.ButtonRect();
  ASSERT_FALSE(b.isEmpty());
  EXPECT_EQ(Px(img, {b.left() + 1, b.bottom() - 2}), QColor(Qt::black));  // black button

  combo.SetUIStyle(TSkinUIStyle::Azure);
  combo.SetButtonColor(0xFFFFFF);
  combo.SetArrowColor(0x0000FF);
  img = combo.grab().toImage();
  const int x = b.left() + b.width() / 2 - 4, y = b.top() + b.height() / 2 - 1;
  EXPECT_EQ(Px(img, {x + 3, y + 1}), QColor(Qt::red));  // arrow tip area in the arrow colour
  combo.SetEnabled(false);
  img = combo.grab().toImage();
  EXPECT_EQ(Px(img, {x + 3, y + 1}), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(Px(img, {x + 4, y + 4}), QColor(Qt::white));  // the shadow one pixel right and down
}

// Every family fontconfig lists, first name each.
std::set<QString> FontconfigFamilies(const QString& pattern = ":") {
  QProcess fc;
  fc.start("fc-list", {pattern, "--format", "%{family[0]}\\n"});
  fc.waitForFinished();
  std::set<QString> names;
  for (const QString& line : QString::fromUtf8(fc.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
    names.insert(line);
  return names;
}

TEST(SkinFontComboBox, ListsTheInstalledFamiliesAsFontconfigDoes) {
  QWidget window;
  TSkinFontComboBox combo(&window);
  std::set<QString> listed;
  for (const QString& name : combo.Items()) listed.insert(name);
  const std::set<QString> expected = FontconfigFamilies();
  ASSERT_FALSE(expected.empty()) << "fc-list found no fonts";
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(static_cast<size_t>(combo.ItemCount()), expected.size());  // no duplicates
  const int dejavu = combo.findText("DejaVu Sans");
  ASSERT_GE(dejavu, 0);
  EXPECT_EQ(combo.ItemFlags(dejavu), uint32_t(kTrueTypeFontType | kNotSymbolFont));

  // The fixed-pitch filter agrees with fontconfig's monospaced families.
  combo.SetOptions(foFixedPitchOnly);
  std::set<QString> fixed;
  for (const QString& name : combo.Items()) fixed.insert(name);
  EXPECT_EQ(fixed, FontconfigFamilies(":spacing=mono"));
  EXPECT_TRUE(fixed.count("DejaVu Sans Mono"));
  EXPECT_FALSE(fixed.count("DejaVu Sans"));
  combo.SetOptions(foOEMFontsOnly);
  EXPECT_EQ(combo.ItemCount(), 0);
}

TEST(SkinFontComboBox, FontNameMatchesWithoutCaseAndCodeRunsNoOnChange) {
  QWidget window;
  TSkinFontComboBox combo(&window);
  int changes = 0;
  combo.OnChange = [&] { ++changes; };
  combo.SetFontName("dejavu sans mono");
  EXPECT_EQ(combo.FontName(), "DejaVu Sans Mono");
  combo.SetFontName("No Such Font");
  EXPECT_EQ(combo.ItemIndex(), -1);  // drop-down list style
  combo.SetFontName("Liberation Sans");
  combo.SetOptions(foTrueTypeOnly);  // re-listing keeps the chosen face
  EXPECT_EQ(combo.FontName(), "Liberation Sans");
  EXPECT_EQ(changes, 0);
  QStringList sizes = FontSizesOf("Liberation Sans", 96);
  EXPECT_EQ(sizes, (QStringList{"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36",
                                "48", "72"}));
  EXPECT_TRUE(FontSizesOf("No Such Font", 96).isEmpty());
  TSkinFontSizeComboBox sizeCombo(&window);
  sizeCombo.SetFontName("DejaVu Sans");
  EXPECT_EQ(sizeCombo.ItemCount(), 16);
}

TEST(SkinColorBox, FiltersByKindAndKeepsNoneAndDefaultWithoutSystemColours) {
  QWidget window;
  TSkinColorBox box(&window);
  // The default: standard, extended and system colours, no None or Default.
  EXPECT_EQ(box.ColorNames(0), "clBlack");
  EXPECT_EQ(box.findText("clNone"), -1);
  EXPECT_EQ(box.findText("clMoneyGreen"), 16);
  box.SetStyle(cbStandardColors | cbIncludeNone | cbIncludeDefault);
  EXPECT_EQ(box.ItemCount(), 18);
  EXPECT_EQ(box.Colors(16), clNone);
  EXPECT_EQ(box.Colors(17), clDefault);
  box.SetStyle(cbExtendedColors | cbIncludeDefault | cbPrettyNames);
  EXPECT_EQ(box.Items(), (QStringList{"Money Green", "Sky Blue", "Cream", "Med Gray", "Default"}));
}

TEST(SkinColorBox, CustomColourTakesTheFirstItem) {
  QWidget window;
  TSkinColorBox box(&window);
  int changes = 0;
  box.OnChange = [&] { ++changes; };
  box.SetStyle(cbCustomColor | cbPrettyNames);
  EXPECT_EQ(box.Items(), QStringList{"Custom..."});
  box.SetSelected(0x123456);
  EXPECT_EQ(box.ItemIndex(), 0);
  EXPECT_EQ(box.Colors(0), 0x123456u);
  EXPECT_EQ(box.Selected(), 0x123456u);
  box.SetStyle(cbStandardColors | cbCustomColor);
  EXPECT_EQ(box.Colors(0), 0x123456u);  // the custom colour survives a re-list
  box.SetSelected(clRed);
  EXPECT_EQ(box.ColorNames(box.ItemIndex()), "clRed");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(PrettyColorName("clMoneyGreen"), "Money Green");
}

TEST(SkinColorBox, SwatchFrameIsBlackForLightColoursAndWhiteWhenSelected) {
  QWidget window;
  TSkinColorBox box(&window);
  QImage img(100, 20, QImage::Format_RGB32);
  auto frameOf = [&](const QString& name, bool selected) {
    img.fill(Qt::gray);
    QPainter p(&img);
    box.DrawItem(p, box.findText(name), QRect(0, 0, 100, 20), selected);
    return img.pixelColor(1, 10);  // the swatch spans (1,1)-(18,18)
  };
  EXPECT_EQ(frameOf("clYellow", false), QColor(Qt::black));
  EXPECT_EQ(frameOf("clNavy", true), QColor(Qt::white));
  EXPECT_EQ(frameOf("clNavy", false), QColor(0, 0, 0x80));
  EXPECT_EQ(img.pixelColor(9, 10), QColor(0, 0, 0x80));
}

}  // namespace
