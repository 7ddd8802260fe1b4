#include <gtest/gtest.h>

#include <QWidget>
#include <set>

#include "skin/style_apply.h"
#include "skin/system_colors.h"
#include "skin/theme_style.h"

using namespace kavri;
using S = TSkinUIStyle;

TEST(ThemeTable, LookupsFallBackByElementType) {
  EXPECT_EQ(GetThemeInt(S::Custom, 6), -1);
  EXPECT_EQ(GetThemeColor(S::Navy, 4), 0u);  // element 4 is an Int
  EXPECT_EQ(GetThemeString(S::Azure, 2), "");
  EXPECT_EQ(GetThemeInt(S::Azure, 2), -1);   // element 2 is a Color
  EXPECT_TRUE(GetThemeBool(S::Pearl, 66));
  EXPECT_TRUE(GetThemeBool(S::Frost, 66));
  EXPECT_FALSE(GetThemeBool(S::Navy, 66));
  EXPECT_FALSE(GetThemeBool(S::Pearl, 67));  // an Int, however non-zero
  for (uint8_t bad : {0, 6, 7, 200, 255}) {
    TThemeElement e = GetThemeElement(static_cast<S>(bad), 2);
    EXPECT_EQ(e.Type, TSkinType::Int);
    EXPECT_EQ(e.Value, -1);
  }
  for (int badIndex : {0, -1, 92, 1000}) {
    EXPECT_EQ(GetThemeElement(S::Azure, badIndex).Type, TSkinType::Int);
    EXPECT_EQ(GetThemeInt(S::Azure, badIndex), -1);
  }
}

TEST(ThemeTable, SpotValuesPerStyle) {
  struct Spot {
    S style;
    int index;
    TSkinType type;
    int32_t value;
  };
  const Spot spots[] = {
      {S::Graphite, 1, TSkinType::Int, 1},           {S::Frost, 1, TSkinType::Int, 5},
      {S::Azure, 2, TSkinType::Color, 0xC82C00},     {S::Graphite, 3, TSkinType::Color, 0xE7E7E7},
      {S::Azure, 4, TSkinType::Int, 3},              {S::Frost, 6, TSkinType::Int, 270},
      {S::Azure, 7, TSkinType::Int, 13},             {S::Azure, 8, TSkinType::Color, 0x686868},
      {S::Pearl, 9, TSkinType::Color, 0xFBFBFB},     {S::Azure, 10, TSkinType::Color, 0xCF4602},
      {S::Navy, 11, TSkinType::Color, 0xA04A44},     {S::Azure, 12, TSkinType::Color, 0xEFD3C6},
      {S::Azure, 13, TSkinType::Color, 0x000000},    {S::Frost, 15, TSkinType::Color, 0xE7E7E7},
      {S::Graphite, 17, TSkinType::Color, 0},        {S::Pearl, 18, TSkinType::Color, 0x848284},
      {S::Graphite, 20, TSkinType::Int, 20},         {S::Graphite, 21, TSkinType::Int, 12},
      {S::Navy, 22, TSkinType::Int, 26},             {S::Pearl, 66, TSkinType::Bool, 1},
      {S::Graphite, 68, TSkinType::Int, -2},         {S::Frost, 68, TSkinType::Int, -3},
      {S::Azure, 69, TSkinType::Int, 5},             {S::Graphite, 73, TSkinType::Int, 34},
      {S::Frost, 74, TSkinType::Color, 0xE9D6D5},    {S::Graphite, 79, TSkinType::Color, 0xEEEEEE},
      {S::Azure, 80, TSkinType::Color, 0xC66931},    {S::Azure, 82, TSkinType::Color, 0xE1AC93},
      {S::Graphite, 84, TSkinType::Color, 0xC9C9C9}, {S::Frost, 84, TSkinType::Color, 0xF4F4F4},
  };
  for (const Spot& s : spots) {
    TThemeElement e = GetThemeElement(s.style, s.index);
    EXPECT_EQ(e.Type, s.type) << "style " << int(s.style) << " element " << s.index;
    EXPECT_EQ(e.Value, s.value) << "style " << int(s.style) << " element " << s.index;
  }
}

TEST(ThemeTable, PictureNamesCarryStylePrefixAndAzureDifferences) {
  EXPECT_EQ(GetThemeString(S::Graphite, 29), "GRAPHITE_CHECKBOX_CHECK");
  EXPECT_EQ(GetThemeString(S::Graphite, 31), "GRAPHITE_CHECKBOX_CHECK");
  EXPECT_EQ(GetThemeString(S::Azure, 29), "AZURE_CHECKBOX_NORMAL_CHECK");
  EXPECT_EQ(GetThemeString(S::Azure, 31), "AZURE_CHECKBOX_MOUSEON_CHECK");
  EXPECT_EQ(GetThemeString(S::Navy, 42), "NAVY_RADIOBUTTON_UNCHECK");
  EXPECT_EQ(GetThemeString(S::Azure, 42), "AZURE_RADIOBUTTON_MOUSEDOWN_UNCHECK");
  EXPECT_EQ(GetThemeString(S::Pearl, 23), "MENU_CHECKED");
  EXPECT_EQ(GetThemeString(S::Frost, 64), "FROST_TITLEBTN_MAX_MOUSEON");
  EXPECT_EQ(GetThemeString(S::Azure, 64), "AZURE_TITLEBTN_RST_MOUSEON");
  EXPECT_EQ(GetThemeString(S::Navy, 77), GetThemeString(S::Navy, 75));
  EXPECT_EQ(GetThemeString(S::Pearl, 91), "PEARL_SCROLLBAR_TRACK");
  EXPECT_EQ(GetThemeString(S::Custom, 24), "");
  // The type row is shared by all styles.
  for (int i = 1; i <= kThemeElementCount; ++i)
    for (S s : kThemedStyles) EXPECT_EQ(GetThemeElement(s, i).Type, GetThemeElement(S::Graphite, i).Type) << i;
}

TEST(ThemeTable, BitmapCountsPerStyle) {
  EXPECT_EQ(ThemeBitmapNames(S::Graphite).size(), 48u);
  EXPECT_EQ(ThemeBitmapNames(S::Azure).size(), 55u);
  EXPECT_EQ(ThemeBitmapNames(S::Navy).size(), 44u);
  EXPECT_EQ(ThemeBitmapNames(S::Pearl).size(), 45u);
  EXPECT_EQ(ThemeBitmapNames(S::Frost).size(), 44u);
  EXPECT_TRUE(ThemeBitmapNames(S::Custom).empty());
  EXPECT_EQ(SharedBitmapNames().size(), 21u);
  std::vector<std::string> all = AllSkinBitmapNames();
  EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), 48u + 55 + 44 + 45 + 44 + 21);
  // Every name a table element gives is in the list.
  std::set<std::string> set(all.begin(), all.end());
  for (S s : kThemedStyles)
    for (int i = 1; i <= kThemeElementCount; ++i)
      if (GetThemeElement(s, i).Type == TSkinType::Str) {
        EXPECT_TRUE(set.count(GetThemeString(s, i))) << i;
      }
}

namespace {

class FakeFormPanel : public QWidget, public TSkinFormStyleSource {
 public:
  FakeFormPanel(QWidget* parent, S style, TColor color) : QWidget(parent), style_(style), color_(color) {}
  S FormUIStyle() const override { return style_; }
  TColor FormColor() const override { return color_; }

 private:
  S style_;
  TColor color_;
};

// Stands in for a control class: records what its container pushed.
class FakeSkinned : public QWidget, public TSkinStyleHooks {
 public:
  explicit FakeSkinned(QWidget* parent, bool nesting = false) : QWidget(parent), nesting_(nesting) {}
  void ApplyContainerStyle(S style) override { container.push_back(style); }
  void ApplySubContainerStyle(S style) override {
    sub.push_back(style);
    if (nesting_) ContainerApplyUIStyle(this, style);
  }
  std::vector<S> container, sub;

 private:
  bool nesting_;
};

}  // namespace

TEST(FormStyle, WindowWithoutThemedPanelGivesNavyAndDefaults) {
  QWidget form;
  QWidget plain(&form);
  EXPECT_EQ(GetSkinFormStyle(&form), S::Navy);
  EXPECT_EQ(GetSkinFormStyle(nullptr), S::Navy);
  EXPECT_EQ(GetSkinFormColor(&form), clBtnFace);
  EXPECT_EQ(GetBorderColor(&form), 0u);
  EXPECT_EQ(OwnerForm(&plain), &form);
  EXPECT_EQ(OwnerForm(nullptr), nullptr);
}

TEST(FormStyle, FirstThemedPanelAmongDirectChildrenDecides) {
  QWidget form;
  QWidget nested(&form);
  FakeFormPanel deep(&nested, S::Frost, 0x123456);  // not a direct child: ignored
  FakeFormPanel first(&form, S::Azure, 0xABCDEF);
  FakeFormPanel second(&form, S::Pearl, 0x111111);
  EXPECT_EQ(GetSkinFormStyle(&form), S::Azure);
  EXPECT_EQ(GetSkinFormColor(&form), 0xABCDEFu);
  EXPECT_EQ(GetBorderColor(&form), 0x686868u);

  QWidget customForm;
  FakeFormPanel custom(&customForm, S::Custom, 0x222222);
  EXPECT_EQ(GetBorderColor(&customForm), 0u);
}

TEST(FormStyle, ContainerRoutinesReachDirectChildrenOnlyAndNestOneLevelThroughHooks) {
  QWidget form;
  FakeSkinned a(&form);
  QWidget plain(&form);
  FakeSkinned group(&form, /*nesting=*/true);
  FakeSkinned inner(&group);
  FakeSkinned innerInner(&inner);

  ContainerApplyUIStyle(&form, S::Pearl);
  EXPECT_EQ(a.container, std::vector<S>{S::Pearl});
  EXPECT_EQ(group.container, std::vector<S>{S::Pearl});
  EXPECT_TRUE(inner.container.empty());

  SubContainerApplyUIStyle(&form, S::Graphite);
  EXPECT_EQ(a.sub, std::vector<S>{S::Graphite});
  EXPECT_EQ(inner.container, std::vector<S>{S::Graphite});  // the group restyled its own children
  EXPECT_TRUE(innerInner.container.empty());
  ContainerApplyUIStyle(nullptr, S::Azure);  // no container: nothing happens
}

TEST(SystemColors, PlainColoursLoseTopByteSystemColoursResolve) {
  EXPECT_EQ(ColorToRGB(0x00123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(0x02123456), 0x123456u);
  EXPECT_FALSE(IsSystemColor(ColorToRGB(clBtnFace)));
  EXPECT_EQ(ColorToRGB(clBtnFace), FromQColor(QPalette().color(QPalette::Button)));
}
