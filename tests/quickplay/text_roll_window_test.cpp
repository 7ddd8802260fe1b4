#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "quickplay/text_roll_window.h"

namespace kavri {
namespace {

using TLists = std::vector<std::vector<PointRecord>>;

PointRecord Pt(int x, int y, uint8_t blanked = 0, int kind = 0, uint8_t colour = 4) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.kind = kind;
  p.colour = colour;
  p.blanked = blanked;
  return p;
}

}  // namespace

void PrintTo(const PointRecord& p, std::ostream* os) {
  *os << "(" << p.x << "," << p.y << " kind " << p.kind << " colour " << int{p.colour} << (p.blanked ? " blanked" : "")
      << ")";
}

namespace {

TPlayDrawing Make(const TLists& lists) {
  TPlayDrawing d;
  for (const auto& list : lists) {
    d.BeginObject();
    for (const PointRecord& p : list) d.Append(p);
  }
  return d;
}

TLists Lists(const TPlayDrawing& d) {
  TLists out;
  for (size_t i = 0; i < d.ObjectCount(); ++i) out.emplace_back(d.Object(i).begin(), d.Object(i).end());
  return out;
}

struct ClipCase {
  const char* name;
  bool vertical;
  int offset;
  int rows;
  TLists window;
  TLists frame;
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }

class ClipTextWindow : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipTextWindow, CutsTheFirstAndLastListAtTheWindowEdges) {
  const ClipCase& c = GetParam();
  TPlayDrawing frame;
  frame.BeginObject();
  frame.Append(Pt(1, 1));  // whatever the frame held before goes
  if (c.vertical)
    ClipTextWindowV(Make(c.window), c.offset, c.rows, frame);
  else
    ClipTextWindowH(Make(c.window), c.offset, c.rows, frame);
  EXPECT_EQ(Lists(frame), c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    HandMadeLists, ClipTextWindow,
    ::testing::Values(
        // In, out and in again across x = 0: edge points blanked coming in, lit going out, kind 2
        // with the colour of the point before them.
        ClipCase{"LeftEdgeCrossings", false, 10, 4,
                 {{Pt(5, 50, 1, 2, 7), Pt(20, 50), Pt(30, 60), Pt(5, 60, 0, 0, 9), Pt(20, 70)}},
                 {{Pt(0, 50, 1, 2, 7), Pt(10, 50), Pt(20, 60), Pt(0, 60, 0, 2), Pt(0, 63, 1, 2, 9), Pt(10, 70)}}},
        // A point landing exactly on the edge after one beyond it is blanked, and no edge point is
        // added; a blanked point inside after one beyond gets no edge point either.
        ClipCase{"OnTheEdgeAndBlankedEntry", false, 10, 4,
                 {{Pt(5, 50, 1, 2), Pt(10, 50), Pt(20, 50), Pt(0, 40), Pt(30, 40, 1, 2)}},
                 {{Pt(0, 50, 1), Pt(10, 50), Pt(0, 45, 0, 2), Pt(20, 40, 1, 2)}}},
        // With several lists the last is cut at 255; the lists in between are never cut.
        ClipCase{"RightEdgeOfTheLastListOnly", false, 0, 4,
                 {{Pt(10, 0)}, {Pt(-100, 5)}, {Pt(116, 100, 1, 2), Pt(136, 100), Pt(126, 120)}},
                 {{Pt(10, 0)}, {Pt(-36, 5)}, {Pt(244, 100, 1, 2), Pt(255, 100, 0, 2), Pt(255, 118, 1, 2), Pt(254, 120)}}},
        // A window of one list is cut at 0 only.
        ClipCase{"SingleListNotCutAt255", false, 0, 4, {{Pt(250, 10, 1, 2), Pt(300, 10), Pt(400, 20)}},
                 {{Pt(250, 10, 1, 2), Pt(300, 10), Pt(400, 20)}}},
        // Five lists at R = 4 start at 0, 64, 128, 192 and 256: the fifth is beyond the window
        // until the offset brings it in.
        ClipCase{"FiveListsAtFourColumns", false, 0, 4,
                 TLists(5, {Pt(0, 100, 1, 2), Pt(10, 100)}),
                 {{Pt(0, 100, 1, 2), Pt(10, 100)}, {Pt(64, 100, 1, 2), Pt(74, 100)}, {Pt(128, 100, 1, 2), Pt(138, 100)},
                  {Pt(192, 100, 1, 2), Pt(202, 100)}, {}}},
        ClipCase{"FifthListEntersAt63", false, 63, 4, TLists(5, {Pt(0, 100, 1, 2), Pt(10, 100)}),
                 {{}, {Pt(1, 100, 1, 2), Pt(11, 100)}, {Pt(65, 100, 1, 2), Pt(75, 100)},
                  {Pt(129, 100, 1, 2), Pt(139, 100)}, {Pt(193, 100, 1, 2), Pt(203, 100)}}},
        // Vertical: list j moves down by j x 512 / R plus the offset; cuts at y = 0 and y = 255.
        ClipCase{"TopAndBottomEdges", true, -20, 4,
                 {{Pt(50, 10, 1, 2), Pt(50, 40), Pt(70, 10)}, {Pt(30, 140, 1, 2), Pt(30, 150)}},
                 {{Pt(50, 0, 1, 2), Pt(50, 20), Pt(63, 0, 0, 2)}, {Pt(30, 248, 1, 2), Pt(30, 255, 0, 2)}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kavri
