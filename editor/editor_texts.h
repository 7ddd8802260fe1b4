#pragma once
// The status texts of the drawing editor, as the user sees them (spelling included).
#include <string_view>

namespace kavri::editor_texts {

// Shown when a tool is chosen by its button or menu item; "" for an unknown code.
inline std::string_view ToolChosen(int tool) {
  switch (tool) {
    case 1: return "L _Line, draw a line by two endpoint,Press Ctrl draw horizontal or vertical line...";
    case 2: return "MLine ,draw a muti-point line,press Ctrl draw horizontal or vertical line...";
    case 3: return "Arc, Draw a arc,select a center point,then select start endpoint and end endpoint...";
    case 4: return "Circle,press Ctrl draw a circle,else draw a ellipse...";
    case 5: return "Rectangle,draw a 4 pionts rectangle...";
    case 6: return "MRectangle,draw many points rectangle...";
    case 7: return "Polygon,draw a polygon it have only vertex...";
    case 8: return "MP Polygon ,draw a polygon it have many points...";
    case 9: return "Point, Draw a point...";
    case 20: return " Select Point, click a point or clice space to drag a box,rightclick to cancel...";
    case 21: return "Select Object, click one point of an object will select this object,rightclick to cancel...";
    case 22: return "Move Point,Click a point,then move mouse,click agin to finish(right click to cancel...)";
    case 23: return "Add Point, click on line will add a point to this line...";
    case 24: return "Change color for line, select a line to change color...";
    case 25: return "Blankling for line,select a line to change its blanking status...";
    case 26: return "M _Move  move selected objects...";
    case 27: return "Scale,Click a center point,and move mouse to scale factor,press Ctrl to constrain Horizontal and "
                    "Vertical factor";
    case 28: return "Dropper,click a point or line,its color will be set to current color...";
    default: return "";
  }
}

inline constexpr std::string_view kEscape = "Esc, cancel opreation...";
inline constexpr std::string_view kUndo = "undo a action.";
inline constexpr std::string_view kErase = "E _Erase, delete objects success.";
inline constexpr std::string_view kBlankingSelected =
    "Blanking object,The blanking status of selected objects have been changed.";
inline constexpr std::string_view kSelectAll = "All objects have been selected.";
inline constexpr std::string_view kUnselectAll = "UnSelect,Cancel selected...(or press Esc)";
inline constexpr std::string_view kSaveToBuffer = "Save selected objects to buffer success.";
inline constexpr std::string_view kLoadFromBuffer = "Load objects from buffer.";
inline constexpr std::string_view kImportTextKey = "T _text,Import text...";
inline constexpr std::string_view kImportTextButton = "T Text,Import text...";
inline constexpr std::string_view kImportTextMenu = "Import text...";

}  // namespace kavri::editor_texts
