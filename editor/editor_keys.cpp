#include "editor/editor_keys.h"

namespace kavri {

std::optional<TEditorKey> EditorKeyOf(char letter) {
  using A = TEditorKey::TAction;
  switch (letter) {
    case 'A': return TEditorKey{A::Tool, 3, "A _arc ,Draw a arc,select a center point , then select start point and end point..."};
    case 'B': return TEditorKey{A::Tool, 25, "B _Blanking Line,Select a line to change its blanking status..."};
    case 'C': return TEditorKey{A::Tool, 4, "C _circle,press Ctrl to draw a cirlce,else draw a ellipse"};
    case 'E': return TEditorKey{A::Erase, 0, "E _erase,Delete selected objects."};
    case 'L':
      return TEditorKey{A::Tool, 1, "L _line,Draw a line by two endpoint,press Ctrl to draw horizontal or vertical line..."};
    case 'M': return TEditorKey{A::Tool, 26, "M _Move selected,click a base point,then move mouse,click agian to finish..."};
    case 'O':
      return TEditorKey{A::Tool, 21, "O _Select object,click one point of an objects,then the object will be selected..."};
    case 'P': return TEditorKey{A::Tool, 9, "P _point,Draw a point..."};
    case 'R': return TEditorKey{A::Tool, 5, "R _rectangle, draw a 4 pionts rectangle..."};
    case 'S':
      return TEditorKey{A::Tool, 20, "S _select point ,click a point or clice space to drag a box,rightclick to cancel..."};
    case 'T': return TEditorKey{A::ImportText, 0, "T _text,Import text..."};
    case 'U': return TEditorKey{A::Undo, 0, "U _undo,one action be undo."};
    // Its text names the blanking tool, so X chooses that tool rather than the line colour.
    case 'X': return TEditorKey{A::Tool, 25, "X _Blankling for line,select a line to change its blanking status..."};
    case 'Z':
      return TEditorKey{A::Tool, 27,
                        "Z _Scale,Click a center point,and move mouse to scale factor,press Ctrl to constrain Horizontal "
                        "and Vertical factor..."};
    default: return std::nullopt;
  }
}

}  // namespace kavri
