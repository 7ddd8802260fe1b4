#include "engine/hpgl_import.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <tuple>
#include <vector>

#include "tests/support/child_run.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

// (x, y, blanked) of each point, object by object.
using Pt = std::tuple<int, int, int>;
std::vector<std::vector<Pt>> Shape(const Drawing& d) {
  std::vector<std::vector<Pt>> out;
  for (const auto& o : d.Objects()) {
    out.emplace_back();
    for (const auto& p : o->Points()) out.back().emplace_back(p->x, p->y, p->blanked);
  }
  return out;
}

THpglImport Import(const TextLines& lines, int fine = 0, int size = 0) { return ImportPlt(lines, {fine, size, 6}); }

TEST(HpglImport, ReadsBlocksFitsAndFlips) {
  struct Case {
    const char* name;
    TextLines lines;
    int fine, size;
    std::vector<std::vector<Pt>> expected;
  };
  const std::vector<Case> cases = {
      {"one block, d = 1, y flipped",
       {"IN;", "PD9 9;", "LT;", "PU0 0;", "PD1000 0;", "PD1000 1000;", "SP0;", "PD5 5;"}, 0, 0,
       {{{0, 510, 1}, {1000, 510, 0}, {1000, -490, 0}}}},
      {"small extents are not enlarged", {"LT;", "PU10 20;", "PD30 60;", "SP0;"}, 0, 0, {{{0, 510, 1}, {20, 470, 0}}}},
      {"size factor 0 divides by 21", {"LT;", "PU0 0;", "PD210 420;", "SP0;"}, 0, 20, {{{0, 510, 1}, {10, 490, 0}}}},
      {"extents over 512 give the divisor", {"LT;", "PU0 0;", "PD5120 2560;", "PD-0 0;", "sp0;"}, 0, 0,
       {{{0, 510, 1}, {512, 254, 0}, {0, 510, 0}}}},
      {"blocks, blanks and other lines", {"  LT1;  ", "PU0 0;", "SP1;", "pd4 4;", "PD8 0;", "LT;", "LT;", "PU8 8;",
                                          "PD0 8;", "SP0;", "PD100 100;"},
       0, 0, {{{0, 510, 1}, {8, 510, 0}}, {{8, 502, 1}, {0, 502, 0}}}},
      // The last block runs to the end of a file that has no "SP0;".
      {"no SP0 line", {"LT;", "PU0 0;", "PD2 0;", "LT;", "PU0 2;", "PD2 2;"}, 0, 0,
       {{{0, 510, 1}, {2, 510, 0}}, {{0, 508, 1}, {2, 508, 0}}}},
      {"no LT line gives nothing", {"IN;", "PU0 0;", "PD1 1;", "SP0;"}, 5, 0, {}},
      {"bare PU and PD carry no point", {"LT;", "PU;", "PD;", "PU4 4;", "PD", "PD6 4;"}, 0, 0,
       {{{0, 510, 1}, {2, 510, 0}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const THpglImport r = Import(c.lines, c.fine, c.size);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(Shape(r.objects), c.expected);
  }
}

TEST(HpglImport, PointsGetColourKindAndState) {
  const THpglImport r = Import({"LT;", "PU0 0;", "PD4 4;"});
  ASSERT_EQ(r.objects.Count(), 1u);
  for (const auto& p : r.objects[0].Points()) {
    EXPECT_EQ(p->colour, 6);
    EXPECT_EQ(p->kind, 0);
    EXPECT_EQ(p->state, 0);
  }
}

TEST(HpglImport, ThinsCloseDiagonalPointsButKeepsRowsColumnsAndPenUps) {
  // Reference (0,510): (3,507) is close and diagonal, dropped; (3,510) lies on the row, kept.
  EXPECT_EQ(Shape(Import({"LT;", "PU0 0;", "PD3 3;", "PD3 0;", "PD10 0;"}, 5).objects),
            (std::vector<std::vector<Pt>>{{{0, 510, 1}, {3, 510, 0}, {10, 510, 0}}}));
  // A pen-up in the middle of a block is a blanked move, and thinning never removes it.
  EXPECT_EQ(Shape(Import({"LT;", "PU0 0;", "PD100 0;", "PU102 2;", "PD200 2;"}, 5).objects),
            (std::vector<std::vector<Pt>>{{{0, 510, 1}, {100, 510, 0}, {102, 508, 1}, {200, 508, 0}}}));
  // Fine 0 keeps even duplicates.
  const Drawing fine = Import({"LT;", "PU0 0;", "PD0 0;", "PD0 0;"}, 0).objects;
  ASSERT_EQ(fine.Count(), 1u);
  EXPECT_EQ(fine[0].Count(), 3u);
}

TEST(HpglImport, ExtremeCoordinatesDoNotOverflow) {
  const THpglImport r = Import({"LT;", "PU-2147483648 -2147483648;", "PD2147483647 2147483647;"});
  ASSERT_TRUE(r.ok);
  // Extents 2^32 - 1 give d = 8388607; the far corner lands at 512.
  EXPECT_EQ(Shape(r.objects), (std::vector<std::vector<Pt>>{{{0, 510, 1}, {512, -2, 0}}}));
}

TEST(HpglImport, NonIntegerValueStopsWithTheConversionError) {
  for (const TextLines& lines : {TextLines{"LT;", "PU0 0;", "PDx 4;"}, TextLines{"LT;", "PD12,40;"},
                                 TextLines{"LT;", "PU0 0;", "LT;", "PD99999999999 1;"}}) {
    const THpglImport r = Import(lines);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("is not a valid integer value"), std::string::npos) << r.error;
  }
}

// The last block ends at its "SP0;": what follows it is not read, unless another block comes.
TEST(HpglImport, AFaultPastTheLastBlocksEndIsNotReadButOneBeforeAnotherBlockIs) {
  const THpglImport past = Import({"LT;", "PU0 0;", "PD2 0;", "SP0;", "PDx 1;", "PD7 7;"});
  ASSERT_TRUE(past.ok) << past.error;
  EXPECT_EQ(Shape(past.objects), (std::vector<std::vector<Pt>>{{{0, 510, 1}, {2, 510, 0}}}));
  const THpglImport before = Import({"LT;", "PU0 0;", "SP0;", "PDx 1;", "LT;", "PU1 1;"});
  EXPECT_FALSE(before.ok);
  EXPECT_NE(before.error.find("is not a valid integer value"), std::string::npos) << before.error;
}

// A file of line breaks costs its size, not a string per line (about 2 GB for this one).
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limit leaves
TEST(HpglImport, AFileOfLineBreaksIsReadWithoutAStringForEachLine) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  kavri_test::ScratchDir dir;
  std::string text(60u << 20, '\n');
  text += "LT;\nPU0 0;\nPD8 0;\n";
  kavri_test::WriteBytes(dir.Path("breaks.plt"), kavri_test::TextBytes(text));
  text = std::string();
  EXPECT_EQ(kavri_test::RunInChild(30, [&] {
              if (!kavri_test::LimitAddressSpaceGrowth(1024u << 20)) return false;
              const THpglImport r = ImportPltFile(dir.Path("breaks.plt"), {0, 0, 4});
              return r.ok && Shape(r.objects) == std::vector<std::vector<Pt>>{{{0, 510, 1}, {8, 510, 0}}};
            }),
            "");
}
#endif

// An import that would make more points than a drawing may hold is refused before they are made:
// three times that many would take about 200 MB made.
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limit leaves
TEST(HpglImport, AnImportPastTheDrawingLimitIsRefusedBeforeItsPointsAreMade) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  kavri_test::ScratchDir dir;
  const struct {
    size_t points;
    const char* error;  // "" when taken
  } cases[] = {
      {kMaxDrawingPoints, ""},
      {kMaxDrawingPoints + 1, "The plotter file makes 1048577 points, more than the 1048576 a drawing may hold."},
      {3 * kMaxDrawingPoints, "The plotter file makes 3145728 points, more than the 1048576 a drawing may hold."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.points);
    std::string text = "IN;\nLT;\n";
    // Far enough apart that thinning keeps every point.
    for (size_t i = 0; i < c.points; ++i) text += i % 2 ? "PD9 9;\n" : "PD0 0;\n";
    kavri_test::WriteBytes(dir.Path("large.plt"), kavri_test::TextBytes(text));
    text = std::string();
    EXPECT_EQ(kavri_test::RunInChild(30, [&] {
                if (!kavri_test::LimitAddressSpaceGrowth(128u << 20)) return false;
                const THpglImport r = ImportPltFile(dir.Path("large.plt"), {5, 0, 4});
                return *c.error ? !r.ok && r.error == c.error : r.ok && r.objects.PointCount() == c.points;
              }),
              "");
  }
}
#endif

TEST(HpglImport, ReadsAFileWithCrLfLines) {
  kavri_test::ScratchDir dir;
  kavri_test::WriteBytes(dir.Path("a.plt"), kavri_test::TextBytes("IN;\r\nLT;\r\nPU0 0;\r\nPD8 0;\r\nSP0;\r\n"));
  const THpglImport r = ImportPltFile(dir.Path("a.plt"), {0, 0, 4});
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(Shape(r.objects), (std::vector<std::vector<Pt>>{{{0, 510, 1}, {8, 510, 0}}}));
  EXPECT_FALSE(ImportPltFile(dir.Path("missing.plt"), {}).ok);
}

}  // namespace
}  // namespace kavri
