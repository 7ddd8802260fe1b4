#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <tuple>
#include <vector>

#include "editor/editor_document.h"
#include "editor/tool_controller.h"

namespace kavri::testing_editor {

// (x, y, kind, colour, blanked) of one point.
using P = std::tuple<int, int, int, int, int>;

inline std::vector<P> PointsOf(const DrawingObject& object) {
  std::vector<P> out;
  for (const auto& p : object.Points()) out.emplace_back(p->x, p->y, p->kind, p->colour, p->blanked);
  return out;
}

inline std::vector<std::pair<int, int>> PlacesOf(const DrawingObject& object) {
  std::vector<std::pair<int, int>> out;
  for (const auto& p : object.Points()) out.emplace_back(p->x, p->y);
  return out;
}

// A fresh drawing document (baseline snapshot taken) with a tool controller on it.
class EditorTest : public ::testing::Test {
 protected:
  EditorTest() { doc.ReplaceDrawing(Drawing{}); }

  DrawingObject& AddLine(std::initializer_list<std::pair<int, int>> places, uint8_t colour = 4) {
    DrawingObject& object = *doc.EditorDrawing.AddObject();
    for (auto [x, y] : places) {
      PointRecord p;
      p.x = x;
      p.y = y;
      p.colour = colour;
      object.Add(p);
    }
    return object;
  }

  void Left(int x, int y, bool ctrl = false) { tools.Press(MouseButton::Left, ctrl, x, y); }
  void Right() { tools.Press(MouseButton::Right, false, 0, 0); }
  void SelectEverything() {
    for (auto& o : doc.EditorDrawing.Objects())
      for (auto& p : o->Points()) doc.Select(p.get());
  }

  EditorDocument doc;
  ToolController tools{doc};
};

}  // namespace kavri::testing_editor
