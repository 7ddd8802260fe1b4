#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/drawing.h"
#include "tests/support/child_run.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::FileSizeLimit;
using kavri_test::ReadBytes;
using kavri_test::ScratchDir;
using kavri_test::WriteBytes;

namespace {

PointRecord Pt(int x, int y, int kind = 0, int colour = 0, int blanked = 0) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.kind = kind;
  p.colour = static_cast<uint8_t>(colour);
  p.blanked = static_cast<uint8_t>(blanked);
  return p;
}

}  // namespace

TEST(DrawingFile, ReadsRecordsFlagsAndObjectBoundaries) {
  ScratchDir dir;
  // Blanked non-closing point, blanked last point, lit last point, then 2 stray bytes.
  WriteBytes(dir.Path("d.ddr"), {10, 20, 2, 5, 0x02, 11, 21, 0, 6, 0x81, 12, 22, 3, 7, 0x80, 99, 99});
  Drawing d;
  ASSERT_TRUE(LoadDrawingFile(dir.Path("d.ddr"), d, 1));
  ASSERT_EQ(d.Count(), 2u);
  ASSERT_EQ(d[0].Count(), 2u);
  ASSERT_EQ(d[1].Count(), 1u);
  EXPECT_EQ(d[0][0], Pt(10, 20, 2, 5, 1));
  EXPECT_EQ(d[0][1], Pt(11, 21, 0, 6, 1));
  EXPECT_EQ(d[1][0], Pt(12, 22, 3, 7, 0));
}

TEST(DrawingFile, TwelveByteFileGivesTwoPointsAndUnclosedLastObjectIsKept) {
  ScratchDir dir;
  WriteBytes(dir.Path("d.ddr"), {1, 1, 0, 0, 0, 2, 2, 0, 0, 0, 3, 3});
  Drawing d;
  LoadDrawingFile(dir.Path("d.ddr"), d, 1);
  ASSERT_EQ(d.Count(), 1u);
  EXPECT_EQ(d[0].Count(), 2u);
}

TEST(DrawingFile, MissingOrEmptyFileGivesEmptyDrawingReplacingOldContents) {
  ScratchDir dir;
  Drawing d;
  d.AddObject()->Add(Pt(1, 1));
  EXPECT_FALSE(LoadDrawingFile(dir.Path("missing.ddr"), d, 1));
  EXPECT_TRUE(d.Empty());
  WriteBytes(dir.Path("empty.ddr"), {});
  d.AddObject()->Add(Pt(1, 1));
  EXPECT_TRUE(LoadDrawingFile(dir.Path("empty.ddr"), d, 1));
  EXPECT_TRUE(d.Empty());
}

TEST(DrawingFile, RoundTripAtScaleOneKeepsEveryFieldAndBoundary) {
  ScratchDir dir;
  Drawing d;
  auto* a = d.AddObject();
  a->Add(Pt(0, 255, 2, 17, 1));
  a->Add(Pt(128, 3, 0, 200, 0));
  d.AddObject();  // empty objects write nothing and do not come back
  auto* b = d.AddObject();
  b->Add(Pt(255, 0, 0x103, 255, 1));
  ASSERT_TRUE(SaveDrawingFile(dir.Path("r.ddr"), d, 1));
  EXPECT_EQ(ReadBytes(dir.Path("r.ddr")).size(), 15u);

  Drawing back;
  LoadDrawingFile(dir.Path("r.ddr"), back, 1);
  ASSERT_EQ(back.Count(), 2u);
  EXPECT_EQ(back[0][0], Pt(0, 255, 2, 17, 1));
  EXPECT_EQ(back[0][1], Pt(128, 3, 0, 200, 0));
  EXPECT_EQ(back[1][0], Pt(255, 0, 3, 255, 1)) << "kind keeps only its low byte";
}

TEST(DrawingFile, ScaleTwoHalvesTruncatesAndClamps) {
  ScratchDir dir;
  Drawing d;
  auto* o = d.AddObject();
  o->Add(Pt(511, 3));
  o->Add(Pt(-7, 600));
  ASSERT_TRUE(SaveDrawingFile(dir.Path("s.ddr"), d, 2));
  auto bytes = ReadBytes(dir.Path("s.ddr"));
  ASSERT_EQ(bytes.size(), 10u);
  EXPECT_EQ(bytes[0], 255);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(bytes[5], 0) << "negative coordinates are written as 0";
  EXPECT_EQ(bytes[6], 255);
  EXPECT_EQ(bytes[9], 0x80);
  Drawing back;
  LoadDrawingFile(dir.Path("s.ddr"), back, 2);
  ASSERT_TRUE(back.Count() >= 1 && back[0].Count() >= 1);
  EXPECT_EQ(back[0][0].x, 510);
  EXPECT_EQ(back[0][0].y, 2);
}

TEST(DrawingFile, NonPositiveScaleIsRejected) {
  ScratchDir dir;
  Drawing d;
  d.AddObject()->Add(Pt(1, 1));
  EXPECT_FALSE(SaveDrawingFile(dir.Path("z.ddr"), d, 0));
  EXPECT_FALSE(SaveDrawingFile(dir.Path("z.ddr"), d, -2));
  EXPECT_FALSE(LoadDrawingFile(dir.Path("z.ddr"), d, 0));
  EXPECT_TRUE(d.Empty());
}

TEST(DrawingFile, FailedSaveKeepsOldFileAndReportsFailure) {
  ScratchDir dir;
  Drawing d;
  d.AddObject()->Add(Pt(1, 1));
  EXPECT_FALSE(SaveDrawingFile(dir.Path("no-folder/x.ddr"), d, 1));

  // A save that fails while writing leaves the drawing that was there byte for byte.
  const std::string path = dir.Path("keep.ddr");
  ASSERT_TRUE(SaveDrawingFile(path, d, 1));
  const std::vector<uint8_t> old = ReadBytes(path);
  Drawing big;
  DrawingObject* o = big.AddObject();
  for (int i = 0; i < 2000; ++i) o->Add(Pt(i % 256, 7));
  bool saved = true;
  {
    FileSizeLimit limit(1000);
    ASSERT_TRUE(limit.Active());
    saved = SaveDrawingFile(path, big, 1);
  }
  EXPECT_FALSE(saved);
  EXPECT_EQ(ReadBytes(path), old);
}

TEST(DrawingFile, AFileLargerThanAnyDrawingIsRefusedAndAFifoIsNotWaitedOn) {
  ScratchDir dir;
  // Sparse files of zeros: they take no disk.
  const std::string huge = dir.Path("huge.ddr");
  kavri_test::WriteBytes(huge, {});
  ASSERT_EQ(truncate(huge.c_str(), off_t{1} << 40), 0);
  Drawing d;
  d.AddObject()->Add(Pt(1, 1));
  std::string error;
  EXPECT_NO_THROW(EXPECT_FALSE(LoadDrawingFile(huge, d, 1, &error)));
  EXPECT_TRUE(d.Empty());
  EXPECT_EQ(error, "Cannot read " + huge + ": the file is larger than 5242884 bytes");

  // The most a drawing may hold still loads, a trailing partial record ignored.
  ASSERT_EQ(truncate(huge.c_str(), off_t{kMaxDrawingPoints} * 5 + 4), 0);
  ASSERT_TRUE(LoadDrawingFile(huge, d, 1, &error)) << error;
  EXPECT_EQ(d.PointCount(), kMaxDrawingPoints);

  const std::string fifo = dir.Path("pipe.ddr");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(kavri_test::RunInChild(10, [&] {
              Drawing p;
              p.AddObject()->Add(Pt(1, 1));
              std::string error;
              return !LoadDrawingFile(fifo, p, 1, &error) && p.Empty() &&
                     error == "Cannot read " + fifo + ": not a regular file";
            }),
            "");
}

TEST(DrawingModel, PointsKeepTheirAddressesAndCopiesAreDeep) {
  Drawing d;
  auto* o = d.AddObject();
  PointRecord* first = o->Add(Pt(1, 1));
  for (int i = 0; i < 1000; ++i) o->Add(Pt(i, i));
  o->Insert(0, Pt(5, 5));
  EXPECT_EQ(o->IndexOf(first), 1);
  EXPECT_EQ(first->x, 1);
  Drawing copy = d;
  copy[0][1].x = 99;
  EXPECT_EQ(first->x, 1);
  EXPECT_EQ(d.PointCount(), 1002u);
}

