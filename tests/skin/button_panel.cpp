// The button family's sections of the screenshot panel.
#include "skin/skin_button.h"
#include "skin/skin_check_box.h"
#include "skin/skin_pictures.h"
#include "tests/skin/screenshot_panel.h"

using namespace kavri;

namespace {

int FillButtons(QWidget* area, TSkinUIStyle style) {
  const char* captions[] = {"Normal", "Mouse on", "Pressed", "Disabled"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new TSkinButton(area);
    b->SetUIStyle(style);
    b->SetCaption(captions[i]);
    b->setGeometry(i * 78, 0, 74, 27);
    if (i == 1) kavri_test::SimulateMouseOn(b);
    if (i == 2) kavri_test::SimulatePressed(b);
    if (i == 3) b->setEnabled(false);
  }
  QImage glyph = LoadSkinPicture("DBNAV_BUTTON_POST");
  auto* left = new TSkinButton(area);
  left->SetUIStyle(style);
  left->SetCaption("&Apply");
  left->SetGlyph(glyph);
  left->setGeometry(0, 34, 96, 27);
  auto* top = new TSkinButton(area);
  top->SetUIStyle(style);
  top->SetCaption("Refresh");
  top->SetGlyph(LoadSkinPicture("DBNAV_BUTTON_REFRESH"));
  // Graphite buttons are always 23 high: no room for a glyph above the caption.
  top->SetLayout(style == TSkinUIStyle::Graphite ? TButtonLayout::blGlyphRight : TButtonLayout::blGlyphTop);
  top->setGeometry(102, 34, 72, 44);
  auto* wide = new TSkinButton(area);
  wide->SetUIStyle(style);
  wide->SetCaption("A wide push button");
  wide->setGeometry(180, 34, 130, 34);
  auto* disabledGlyph = new TSkinButton(area);
  disabledGlyph->SetUIStyle(style);
  disabledGlyph->SetCaption("Cancel");
  disabledGlyph->SetGlyph(LoadSkinPicture("DBNAV_BUTTON_CANCEL"));
  disabledGlyph->setGeometry(0, 66, 96, 27);
  disabledGlyph->setEnabled(false);
  return 100;
}

template <typename T>
int FillTwoState(QWidget* area, TSkinUIStyle style, const char* noun) {
  struct TCase {
    const char* label;
    bool checked, enabled;
    int state;  // 0 normal, 1 mouse on, 2 pressed
  };
  const TCase cases[] = {{"off", false, true, 0},       {"on", true, true, 0},
                         {"off, mouse on", false, true, 1}, {"on, mouse on", true, true, 1},
                         {"off, pressed", false, true, 2},  {"on, pressed", true, true, 2},
                         {"off, disabled", false, false, 0}, {"on, disabled", true, false, 0}};
  int i = 0;
  for (const TCase& c : cases) {
    auto* box = new T(area);
    box->SetUIStyle(style);
    box->SetCaption(QString("%1 %2").arg(noun, c.label));
    box->SetGroupIndexIfRadio(i);
    box->SetChecked(c.checked);
    box->setGeometry((i % 2) * 155, (i / 2) * 21, 150, 17);
    box->setEnabled(c.enabled);
    if (c.state == 1) kavri_test::SimulateMouseOn(box);
    if (c.state == 2) kavri_test::SimulatePressed(box);
    ++i;
  }
  return 4 * 21;
}

// Each radio button in its own group, so that all states can show at once.
class TPanelRadio : public TSkinRadioButton {
 public:
  using TSkinRadioButton::TSkinRadioButton;
  void SetGroupIndexIfRadio(int i) { SetGroupIndex(i); }
};
class TPanelCheck : public TSkinCheckBox {
 public:
  using TSkinCheckBox::TSkinCheckBox;
  void SetGroupIndexIfRadio(int) {}
};

const bool kButtons = kavri_test::AddPanelSection(10, "Push buttons", FillButtons);
const bool kChecks = kavri_test::AddPanelSection(
    20, "Check boxes", [](QWidget* a, TSkinUIStyle s) { return FillTwoState<TPanelCheck>(a, s, "Check"); });
const bool kRadios = kavri_test::AddPanelSection(
    30, "Radio buttons", [](QWidget* a, TSkinUIStyle s) { return FillTwoState<TPanelRadio>(a, s, "Radio"); });

}  // namespace
