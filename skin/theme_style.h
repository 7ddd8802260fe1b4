#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/tcolor.h"

namespace kavri {

// The look every skinned control publishes as UIStyle. Custom means "no theme": the control keeps its
// own colours and pictures. Values 6..255 can arrive from stored data and behave as Custom.
enum class TSkinUIStyle : uint8_t { Custom = 0, Graphite = 1, Azure = 2, Navy = 3, Pearl = 4, Frost = 5 };

enum class TSkinType : uint8_t { Int = 0, Color = 1, Str = 2, Bool = 3 };

constexpr int kThemeElementCount = 91;
constexpr int kThemeStyleCount = 5;
constexpr TSkinUIStyle kThemedStyles[kThemeStyleCount] = {TSkinUIStyle::Graphite, TSkinUIStyle::Azure,
                                                          TSkinUIStyle::Navy, TSkinUIStyle::Pearl,
                                                          TSkinUIStyle::Frost};

// One element of a theme. For Str elements Value is 0 and Name holds the full picture name.
struct TThemeElement {
  TSkinType Type = TSkinType::Int;
  int32_t Value = -1;
  std::string_view Name;
};

bool IsThemedStyle(TSkinUIStyle style);
// "GRAPHITE" ... "FROST"; empty for Custom and out-of-range values.
std::string_view StylePrefix(TSkinUIStyle style);

// Element index 1..91. Custom, out-of-range styles and out-of-range indexes give {Int, -1}.
TThemeElement GetThemeElement(TSkinUIStyle style, int index);
int GetThemeInt(TSkinUIStyle style, int index);            // -1 unless the element is an Int
TColor GetThemeColor(TSkinUIStyle style, int index);       // 0 unless the element is a Color
bool GetThemeBool(TSkinUIStyle style, int index);          // false unless the element is a Bool
std::string GetThemeString(TSkinUIStyle style, int index);  // "" unless the element is a Str

// Every picture a themed style needs: the names its table gives plus those its drawing code names
// directly (form background, Graphite menu and combo pictures). Sorted, no duplicates.
std::vector<std::string> ThemeBitmapNames(TSkinUIStyle style);
// Pictures shared by all styles (menu check mark, dialog icons, side channel, font combo, navigator).
std::vector<std::string> SharedBitmapNames();
// Both of the above for all five styles.
std::vector<std::string> AllSkinBitmapNames();

}  // namespace kavri
