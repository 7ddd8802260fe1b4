#include "skin/skin_combo.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QWheelEvent>
#include <set>
#include <string>

#include "skin/skin_color_box.h"
#include "tests/support/recording_dialogs.h"

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

  // Enter takes the typed text without adding it to the list.
  combo.lineEdit()->selectAll();
  QTest::keyClicks(combo.lineEdit(), "Usb-9");
  QTest::keyClick(combo.lineEdit(), Qt::Key_Return);
  EXPECT_EQ(combo.Items().join('|').toStdString(), "Usb-0|Usb-3|Usb-7");
  EXPECT_EQ(combo.Text(), "Usb-9");
}

TEST(SkinComboBox, DropDownShowsEightItems) {
  QWidget window;
  TSkinComboBox combo(&window);
  combo.setGeometry(0, 0, 120, 22);
  for (int i = 0; i < 20; ++i) combo.AddItem(QString("Item %1").arg(i));
  window.show();
  combo.showPopup();
  QAbstractItemView* view = combo.view();
  const int rowHeight = view->visualRect(view->model()->index(0, 0)).height();
  ASSERT_GT(rowHeight, 0);
  EXPECT_EQ(view->viewport()->height() / rowHeight, 8);
  combo.hidePopup();
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
  // The arrow's top row is at half the button's height, whatever the button's top.
  const int x = b.left() + b.width() / 2 - 4, y = b.height() / 2;
  EXPECT_EQ(Px(img, {x + 3, y}), QColor(Qt::red));
  EXPECT_EQ(Px(img, {x + 3, y + 3}), QColor(Qt::red));  // the tip
  EXPECT_EQ(Px(img, {x + 3, y - 1}), QColor(Qt::white));
  EXPECT_EQ(Px(img, {x + 3, y + 4}), QColor(Qt::white));
  combo.SetEnabled(false);
  img = combo.grab().toImage();
  EXPECT_EQ(Px(img, {x + 3, y + 1}), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(Px(img, {x + 4, y + 4}), QColor(Qt::white));  // the shadow one pixel right and down
}

// Family names as standard strings, so that failures print them as text.
using TNames = std::set<std::string>;
TNames NamesOf(const QStringList& list) {
  TNames names;
  for (const QString& name : list) names.insert(name.toStdString());
  return names;
}

// One line per face fontconfig lists, in the given fc-list format.
QStringList FontconfigFaces(const QString& format) {
  QProcess fc;
  fc.start("fc-list", {":", "--format", format + "\\n"});
  fc.waitForFinished();
  return QString::fromUtf8(fc.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Every family fontconfig lists, first name each.
TNames FontconfigFamilies() { return NamesOf(FontconfigFaces("%{family[0]}")); }

// The families whose every face is monospaced or a character-cell font (spacing 100 or 110).
TNames FontconfigFixedPitchFamilies() {
  TNames fixed, proportional;
  for (const QString& line : FontconfigFaces("%{family[0]}|%{spacing}")) {
    const std::string family = line.section('|', 0, 0).toStdString();
    const int spacing = line.section('|', 1).toInt();  // absent: proportional (0)
    (spacing >= 100 ? fixed : proportional).insert(family);
  }
  for (const std::string& name : proportional) fixed.erase(name);
  return fixed;
}

TEST(SkinFontComboBox, ListsTheInstalledFamiliesAsFontconfigDoes) {
  QWidget window;
  TSkinFontComboBox combo(&window);
  const TNames listed = NamesOf(combo.Items());
  const TNames expected = FontconfigFamilies();
  ASSERT_FALSE(expected.empty()) << "fc-list found no fonts";
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(static_cast<size_t>(combo.ItemCount()), expected.size());  // no duplicates
  const int dejavu = combo.findText("DejaVu Sans");
  ASSERT_GE(dejavu, 0);
  EXPECT_EQ(combo.ItemFlags(dejavu), uint32_t(kTrueTypeFontType | kNotSymbolFont));

  // The fixed-pitch filter agrees with fontconfig's monospaced families.
  combo.SetOptions(foFixedPitchOnly);
  const TNames fixed = NamesOf(combo.Items());
  EXPECT_EQ(fixed, FontconfigFixedPitchFamilies());
  EXPECT_TRUE(fixed.count("DejaVu Sans Mono"));
  EXPECT_FALSE(fixed.count("DejaVu Sans"));
  combo.SetOptions(foOEMFontsOnly);
  EXPECT_EQ(combo.ItemCount(), 0);
}

TEST(SkinFontComboBox, FontNameMatchesWithoutCaseAndReportsEachChange) {
  QWidget window;
  TSkinFontComboBox combo(&window);
  int changes = 0;
  combo.OnChange = [&] { ++changes; };
  combo.SetFontName("dejavu sans mono");
  EXPECT_EQ(combo.FontName(), "DejaVu Sans Mono");
  EXPECT_EQ(changes, 1);
  combo.SetFontName("DejaVu Sans Mono");  // already chosen
  EXPECT_EQ(changes, 1);
  combo.SetFontName("No Such Font");
  EXPECT_EQ(combo.ItemIndex(), -1);  // drop-down list style
  EXPECT_EQ(changes, 2);
  combo.SetFontName("Liberation Sans");
  EXPECT_EQ(changes, 3);
  combo.SetOptions(foTrueTypeOnly);  // re-listing keeps the chosen face
  EXPECT_EQ(combo.FontName(), "Liberation Sans");
  combo.Reset();
  EXPECT_EQ(changes, 3);
  combo.SetOptions(foFixedPitchOnly);  // the chosen face is no longer listed
  EXPECT_EQ(combo.FontName(), "");
  EXPECT_EQ(changes, 4);

  // Typed into the editable style, the name stays and finds its item again after a re-list.
  combo.SetStyle(TComboBoxStyle::csDropDown);
  combo.SetFontName("dejavu sans mono");
  EXPECT_EQ(changes, 5);
  combo.SetOptions(0);
  EXPECT_EQ(combo.FontName(), "DejaVu Sans Mono");
  EXPECT_EQ(combo.ItemIndex(), combo.findText("DejaVu Sans Mono"));
  EXPECT_EQ(changes, 5);
}

// A copy of DejaVu Sans renamed to a family nobody has installed.
QByteArray RenamedFont(const QByteArray& to) {
  QProcess match;
  match.start("fc-match", {"--format", "%{file}", "DejaVu Sans:style=Book"});
  match.waitForFinished();
  QFile file(QString::fromUtf8(match.readAllStandardOutput()));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QByteArray data = file.readAll();
  const QByteArray from = "DejaVu Sans";
  auto utf16 = [](const QByteArray& ascii) {
    QByteArray out;
    for (char c : ascii) out.append('\0').append(c);
    return out;
  };
  data.replace(from, to);
  data.replace(utf16(from), utf16(to));
  return data;
}

TEST(SkinFontComboBox, AnAddedFontIsListedAtOnce) {
  QWidget window;
  TSkinFontComboBox combo(&window);
  combo.SetFontName("DejaVu Sans");
  int changes = 0;
  combo.OnChange = [&] { ++changes; };
  ASSERT_EQ(combo.findText("Kavri Probe"), -1);
  const QByteArray font = RenamedFont("Kavri Probe");
  ASSERT_FALSE(font.isEmpty()) << "DejaVu Sans is not installed";
  const int id = QFontDatabase::addApplicationFontFromData(font);
  ASSERT_GE(id, 0);
  QCoreApplication::processEvents();
  EXPECT_GE(combo.findText("Kavri Probe"), 0);
  EXPECT_EQ(combo.FontName(), "DejaVu Sans");
  EXPECT_EQ(changes, 0);
  QFontDatabase::removeApplicationFont(id);
  QCoreApplication::processEvents();
  EXPECT_EQ(combo.findText("Kavri Probe"), -1);
}

TEST(SkinFontSizeComboBox, ListsTheStandardSizesOfAnOutlineFontAndEverySizeOfABitmapFont) {
  QWidget window;
  QStringList sizes = FontSizesOf("Liberation Sans", 96);
  EXPECT_EQ(sizes, (QStringList{"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36",
                                "48", "72"}));
  EXPECT_TRUE(FontSizesOf("No Such Font", 96).isEmpty());
  TSkinFontSizeComboBox sizeCombo(&window);
  sizeCombo.SetFontName("DejaVu Sans");
  EXPECT_EQ(sizeCombo.ItemCount(), 16);

  // Terminus comes in pixel sizes 12 to 32; at 96 pixels per inch they are these points.
  ASSERT_TRUE(FontconfigFamilies().count("Terminus")) << "fonts-terminus-otb is not installed";
  EXPECT_EQ(FontSizesOf("Terminus", 96).join(' ').toStdString(), "9 11 12 14 15 17 18 21 24");
  EXPECT_EQ(FontSizesOf("Terminus", 72).size(), 9);
  sizeCombo.SetFontName("Terminus");
  EXPECT_EQ(sizeCombo.ItemCount(), 9);
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

TEST(SkinColorBox, ArrowKeysReachCustomAndEnterOrTheListOpensTheColourDialog) {
  kavri_test::RecordingDialogs dialogs;
  QWidget window;
  TSkinColorBox box(&window);
  box.setGeometry(0, 0, 140, 22);
  int changes = 0;
  box.OnChange = [&] { ++changes; };
  box.SetStyle(cbStandardColors | cbCustomColor);
  box.SetSelected(clMaroon);
  ASSERT_EQ(box.ItemIndex(), 2);
  window.show();
  box.setFocus();

  // Stepping across "Custom..." with the keys asks nothing.
  QTest::keyClick(&box, Qt::Key_Up);
  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(box.ItemIndex(), 0);
  QTest::keyClick(&box, Qt::Key_Down);
  QTest::keyClick(&box, Qt::Key_Up);
  EXPECT_EQ(box.ItemIndex(), 0);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(changes, 4);

  // Enter on it opens the dialog at the custom colour.
  dialogs.colorAnswers.push_back(0x123456);
  QTest::keyClick(&box, Qt::Key_Return);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.colorStarts, std::vector<TColor>{clBlack});
  EXPECT_EQ(box.Selected(), 0x123456u);

  // Picking it from the list opens the dialog too; cancelling it keeps the choice before.
  QTest::keyClick(&box, Qt::Key_Down);
  ASSERT_EQ(box.Selected(), clBlack);
  box.showPopup();
  QAbstractItemView* view = box.view();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(0, 0)).center());
  EXPECT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(box.Selected(), clBlack);

  // After the list closed without a choice, the wheel steps onto "Custom..." without asking.
  box.showPopup();
  box.hidePopup();
  const QPointF centre = QRectF(box.rect()).center();
  QWheelEvent up(centre, box.mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&box, &up);
  EXPECT_EQ(box.ItemIndex(), 0);
  EXPECT_EQ(dialogs.shown.size(), 2u);
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
