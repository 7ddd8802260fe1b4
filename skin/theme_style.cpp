#include "skin/theme_style.h"

#include <algorithm>
#include <array>
#include <set>

namespace kavri {
namespace {

using TSkinRow = std::array<int32_t, kThemeStyleCount>;
using TSkinNames = std::array<const char*, kThemeStyleCount>;

// A Str element names "<STYLE>_<suffix>"; a suffix starting with '!' is used without the prefix.
struct TElementDef {
  TSkinType Type;
  TSkinRow Values;
  TSkinNames Suffixes;
};

constexpr TElementDef Num(TSkinType type, int32_t g, int32_t a, int32_t n, int32_t p, int32_t f) {
  return {type, {g, a, n, p, f}, {nullptr, nullptr, nullptr, nullptr, nullptr}};
}
constexpr TElementDef Int(int32_t g, int32_t a, int32_t n, int32_t p, int32_t f) {
  return Num(TSkinType::Int, g, a, n, p, f);
}
constexpr TElementDef Col(int32_t g, int32_t a, int32_t n, int32_t p, int32_t f) {
  return Num(TSkinType::Color, g, a, n, p, f);
}
constexpr TElementDef Bool(int32_t g, int32_t a, int32_t n, int32_t p, int32_t f) {
  return Num(TSkinType::Bool, g, a, n, p, f);
}
constexpr TElementDef Str(const char* all) {
  return {TSkinType::Str, {0, 0, 0, 0, 0}, {all, all, all, all, all}};
}
// Azure has its own picture where the other four share one.
constexpr TElementDef StrAzure(const char* azure, const char* others) {
  return {TSkinType::Str, {0, 0, 0, 0, 0}, {others, azure, others, others, others}};
}

// Element i lives at index i - 1.
constexpr std::array<TElementDef, kThemeElementCount> kTable = {{
    Int(1, 2, 3, 4, 5),                                               // 1 style number
    Col(0x7F7F7F, 0xC82C00, 0x000000, 0x000000, 0x000000),           // 2 form border
    Col(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),           // 3 form colour
    Int(1, 3, 1, 1, 1),                                               // 4 form border width
    Int(21, 27, 30, 21, 31),                                          // 5
    Int(130, 150, 130, 130, 270),                                     // 6 form min width
    Int(0, 13, 0, 0, 11),                                             // 7 corner radius
    Col(0x7F7F7F, 0x686868, 0x000000, 0x000000, 0x000000),           // 8 control border
    Col(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),           // 9 control fill
    Col(0x000000, 0xCF4602, 0x000000, 0x000000, 0x000000),           // 10 group box font
    Col(0xC47339, 0xC66931, 0xA04A44, 0xC4302D, 0xEC5E5E),           // 11 menu selected border
    Col(0xC47339, 0xEFD3C6, 0xA04A44, 0xC4302D, 0xEC5E5E),           // 12 menu selected fill
    Col(0xFFFFFF, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF),           // 13 menu selected font
    Col(0x000000, 0x000000, 0x000000, 0x000000, 0x000000),           // 14
    Col(0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xE7E7E7),           // 15 menu colour
    Col(0x000000, 0x000000, 0x000000, 0x000000, 0x000000),           // 16 menu font
    Col(0x000000, 0xCED3D6, 0xCED3D6, 0xCED3D6, 0xCED3D6),           // 17 menu bar
    Col(0x000000, 0x848284, 0x848284, 0x848284, 0x848284),           // 18 menu separator
    Col(0x000000, 0x9CA6AD, 0x9CA6AD, 0x9CA6AD, 0x9CA6AD),           // 19
    Int(20, 21, 21, 21, 21),                                          // 20 menu item height
    Int(12, 5, 5, 5, 5),                                              // 21 separator height
    Int(26, 26, 26, 26, 26),                                          // 22 menu bar width
    Str("!MENU_CHECKED"),                                             // 23
    Str("BUTTON_NORMAL"),                                             // 24
    Str("BUTTON_MOUSEON"),                                            // 25
    Str("BUTTON_MOUSEDOWN"),                                          // 26
    Str("CHECKBOX_DISABLE_CHECK"),                                    // 27
    Str("CHECKBOX_DISABLE_UNCHECK"),                                  // 28
    StrAzure("CHECKBOX_NORMAL_CHECK", "CHECKBOX_CHECK"),              // 29
    StrAzure("CHECKBOX_NORMAL_UNCHECK", "CHECKBOX_UNCHECK"),          // 30
    StrAzure("CHECKBOX_MOUSEON_CHECK", "CHECKBOX_CHECK"),             // 31
    StrAzure("CHECKBOX_MOUSEON_UNCHECK", "CHECKBOX_UNCHECK"),         // 32
    StrAzure("CHECKBOX_MOUSEDOWN_CHECK", "CHECKBOX_CHECK"),           // 33
    StrAzure("CHECKBOX_MOUSEDOWN_UNCHECK", "CHECKBOX_UNCHECK"),       // 34
    Str("RADIOBUTTON_DISABLE_CHECK"),                                 // 35
    Str("RADIOBUTTON_DISABLE_UNCHECK"),                               // 36
    StrAzure("RADIOBUTTON_NORMAL_CHECK", "RADIOBUTTON_CHECK"),        // 37
    StrAzure("RADIOBUTTON_NORMAL_UNCHECK", "RADIOBUTTON_UNCHECK"),    // 38
    StrAzure("RADIOBUTTON_MOUSEON_CHECK", "RADIOBUTTON_CHECK"),       // 39
    StrAzure("RADIOBUTTON_MOUSEON_UNCHECK", "RADIOBUTTON_UNCHECK"),   // 40
    StrAzure("RADIOBUTTON_MOUSEDOWN_CHECK", "RADIOBUTTON_CHECK"),     // 41
    StrAzure("RADIOBUTTON_MOUSEDOWN_UNCHECK", "RADIOBUTTON_UNCHECK"), // 42
    Str("PROGRESSBAR"),                                               // 43
    Str("PROGRESSBAR_V"),                                             // 44
    Str("TITLE_LEFT"),                                                // 45
    Str("TITLE_CLIENT"),                                              // 46
    Str("TITLE_RIGHT"),                                               // 47
    Str("TITLEBTN_CLOSE_NORMAL"),                                     // 48
    Str("TITLEBTN_CLOSE_MOUSEON"),                                    // 49
    Str("TITLEBTN_CLOSE_MOUSEDOWN"),                                  // 50
    Str("TITLEBTN_MAX_NORMAL"),                                       // 51
    Str("TITLEBTN_MAX_MOUSEON"),                                      // 52
    Str("TITLEBTN_MAX_MOUSEDOWN"),                                    // 53
    Str("TITLEBTN_MIN_NORMAL"),                                       // 54
    Str("TITLEBTN_MIN_MOUSEON"),                                      // 55
    Str("TITLEBTN_MIN_MOUSEDOWN"),                                    // 56
    Str("TITLEBTN_HELP_NORMAL"),                                      // 57
    Str("TITLEBTN_HELP_MOUSEON"),                                     // 58
    Str("TITLEBTN_HELP_MOUSEDOWN"),                                   // 59
    Str("TITLEBTN_CTLBOX_NORMAL"),                                    // 60
    Str("TITLEBTN_CTLBOX_MOUSEON"),                                   // 61
    Str("TITLEBTN_CTLBOX_MOUSEDOWN"),                                 // 62
    StrAzure("TITLEBTN_RST_NORMAL", "TITLEBTN_MAX_NORMAL"),           // 63
    StrAzure("TITLEBTN_RST_MOUSEON", "TITLEBTN_MAX_MOUSEON"),         // 64
    StrAzure("TITLEBTN_RST_MOUSEDOWN", "TITLEBTN_MAX_MOUSEDOWN"),     // 65
    Bool(0, 0, 0, 1, 1),                                              // 66 title buttons transparent
    Int(3, 2, 0, 0, 4),                                               // 67 LeftBtnXOffset
    Int(-2, -2, 0, 0, -3),                                            // 68 RightBtnXOffset
    Int(4, 5, 2, 2, 6),                                               // 69 title buttons Top
    Str("TAB_ACTIVE"),                                                // 70
    Str("TAB_INACTIVE"),                                              // 71
    Str("TAB_LINE"),                                                  // 72
    Int(34, 19, 22, 22, 22),                                          // 73 tab strip height
    Col(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE9D6D5),           // 74 combo button
    Str("TRACKBAR_BAR"),                                              // 75
    Str("TRACKBAR_SLIDER"),                                           // 76
    Str("TRACKBAR_BAR"),                                              // 77
    Str("TRACKBAR_SLIDER_V"),                                         // 78
    Col(0xEEEEEE, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),           // 79 track bar colour
    Col(0x474747, 0xC66931, 0x474747, 0x474747, 0x474747),           // 80 tool button border
    Col(0xEFEFEF, 0xEFD3C6, 0xEFEFEF, 0xEFEFEF, 0xEFEFEF),           // 81 tool button
    Col(0xD8D8D8, 0xE1AC93, 0xD8D8D8, 0xD8D8D8, 0xD8D8D8),           // 82 tool button down
    Col(0xE7E7E7, 0xDEEBEF, 0xE8E8E8, 0xFBFBFB, 0xE7E7E7),           // 83 tool bar
    Col(0xC9C9C9, 0xF9F9F9, 0xF5F5F5, 0xF5F5F5, 0xF4F4F4),           // 84 scroll bar
    Str("SCROLLBAR_TOPBUTTON_NORMAL"),                                // 85
    Str("SCROLLBAR_TOPBUTTON_MOUSEON"),                               // 86
    Str("SCROLLBAR_TOPBUTTON_MOUSEDOWN"),                             // 87
    Str("SCROLLBAR_BTMBUTTON_NORMAL"),                                // 88
    Str("SCROLLBAR_BTMBUTTON_MOUSEON"),                               // 89
    Str("SCROLLBAR_BTMBUTTON_MOUSEDOWN"),                             // 90
    Str("SCROLLBAR_TRACK"),                                           // 91
}};

constexpr std::array<const char*, kThemeStyleCount> kPrefixes = {"GRAPHITE", "AZURE", "NAVY", "PEARL", "FROST"};

// Full names are built once so lookups can hand out views that stay valid.
struct TNameTable {
  std::array<std::array<std::string, kThemeStyleCount>, kThemeElementCount> Names;
  TNameTable() {
    for (int i = 0; i < kThemeElementCount; ++i) {
      if (kTable[i].Type != TSkinType::Str) continue;
      for (int s = 0; s < kThemeStyleCount; ++s) {
        std::string_view suffix = kTable[i].Suffixes[s];
        Names[i][s] = suffix.front() == '!' ? std::string(suffix.substr(1))
                                            : std::string(kPrefixes[s]) + "_" + std::string(suffix);
      }
    }
  }
};

const TNameTable& Names() {
  static const TNameTable table;
  return table;
}

}  // namespace

bool IsThemedStyle(TSkinUIStyle style) {
  auto v = static_cast<uint8_t>(style);
  return v >= 1 && v <= kThemeStyleCount;
}

std::string_view StylePrefix(TSkinUIStyle style) {
  return IsThemedStyle(style) ? kPrefixes[static_cast<uint8_t>(style) - 1] : std::string_view();
}

TThemeElement GetThemeElement(TSkinUIStyle style, int index) {
  if (!IsThemedStyle(style) || index < 1 || index > kThemeElementCount) return {};
  int s = static_cast<uint8_t>(style) - 1;
  const TElementDef& def = kTable[index - 1];
  TThemeElement e;
  e.Type = def.Type;
  e.Value = def.Values[s];
  if (def.Type == TSkinType::Str) e.Name = Names().Names[index - 1][s];
  return e;
}

int GetThemeInt(TSkinUIStyle style, int index) {
  TThemeElement e = GetThemeElement(style, index);
  return e.Type == TSkinType::Int ? e.Value : -1;
}

TColor GetThemeColor(TSkinUIStyle style, int index) {
  TThemeElement e = GetThemeElement(style, index);
  return e.Type == TSkinType::Color ? static_cast<TColor>(e.Value) : 0;
}

bool GetThemeBool(TSkinUIStyle style, int index) {
  TThemeElement e = GetThemeElement(style, index);
  return e.Type == TSkinType::Bool && (e.Value & 0xFF) != 0;
}

std::string GetThemeString(TSkinUIStyle style, int index) {
  TThemeElement e = GetThemeElement(style, index);
  return e.Type == TSkinType::Str ? std::string(e.Name) : std::string();
}

std::vector<std::string> ThemeBitmapNames(TSkinUIStyle style) {
  if (!IsThemedStyle(style)) return {};
  std::set<std::string> names;
  for (int i = 1; i <= kThemeElementCount; ++i) {
    TThemeElement e = GetThemeElement(style, i);
    if (e.Type == TSkinType::Str && e.Name.find('_') != std::string_view::npos &&
        e.Name.substr(0, e.Name.find('_')) == StylePrefix(style))
      names.insert(std::string(e.Name));
  }
  // Pictures the form, menu and combo code name directly.
  if (style == TSkinUIStyle::Graphite) {
    names.insert({"GRAPHITE_FORM_BACKGROUND", "GRAPHITE_MENU_BAR", "GRAPHITE_MENU_SELECT",
                  "GRAPHITE_COMBOBOX_BUTTON"});
  }
  if (style == TSkinUIStyle::Pearl) names.insert("PEARL_FORM_BACKGROUND");
  return {names.begin(), names.end()};
}

std::vector<std::string> SharedBitmapNames() {
  std::vector<std::string> names = {
      "MENU_CHECKED",           "MSGDLG_ERROR",           "MSGDLG_INFORMATION",      "MSGDLG_QUESTION",
      "MSGDLG_WARNING",         "SIDECHANNEL_BAR_NORMAL", "SIDECHANNEL_BAR_MOUSEON", "SIDECHANNEL_BTN_ONTOP",
      "SIDECHANNEL_BTN_NOONTOP", "FONTCOMBO_TRUETYPE_FNT", "FONTCOMBO_DEVICE_FNT",   "DBNAV_BUTTON_FIRST",
      "DBNAV_BUTTON_PRIOR",     "DBNAV_BUTTON_NEXT",      "DBNAV_BUTTON_LAST",       "DBNAV_BUTTON_INSERT",
      "DBNAV_BUTTON_DELETE",    "DBNAV_BUTTON_EDIT",      "DBNAV_BUTTON_POST",       "DBNAV_BUTTON_CANCEL",
      "DBNAV_BUTTON_REFRESH"};
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> AllSkinBitmapNames() {
  std::vector<std::string> all = SharedBitmapNames();
  for (TSkinUIStyle s : kThemedStyles) {
    std::vector<std::string> n = ThemeBitmapNames(s);
    all.insert(all.end(), n.begin(), n.end());
  }
  return all;
}

}  // namespace kavri
