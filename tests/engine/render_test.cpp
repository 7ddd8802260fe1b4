#include <gtest/gtest.h>

#include "engine/marked_points.h"
#include "engine/render.h"
#include "engine/shape_generators.h"
#include "platform/picture_loader.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::ScratchDir;

namespace {

// Palette indexes used below and their colours.
constexpr int kWhite = 1, kRed = 2, kGreen = 4, kBlue = 6;
constexpr TColor kGrey = 0x808080;

struct TSurface {
  QImage image{kEditorCanvasSize, kEditorCanvasSize, QImage::Format_RGB32};
  TCanvas canvas{image};
  TSurface() { image.fill(Qt::black); }
  TColor At(int x, int y) const { return canvas.Pixel(x, y); }
};

PointRecord Pt(int x, int y, int colour, int blanked = 0, int kind = 0, int state = 0) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.colour = static_cast<uint8_t>(colour);
  p.blanked = static_cast<uint8_t>(blanked);
  p.kind = kind;
  p.state = static_cast<uint8_t>(state);
  return p;
}

DrawingObject Path(std::initializer_list<PointRecord> points) {
  DrawingObject o;
  for (const PointRecord& p : points) o.Add(p);
  return o;
}

}  // namespace

TEST(DrawEditorGrid, BackgroundDotsAndDashedAxes) {
  TSurface s;
  ASSERT_TRUE(DrawEditorGrid(s.canvas, false, "", 16, 32, kBlue));
  EXPECT_EQ(s.At(8, 8), clBlue);
  EXPECT_EQ(s.At(511, 511), clBlue);
  // A dot is the 2x2 block up and left of each grid point.
  EXPECT_EQ(s.At(16, 32), kGrey);
  EXPECT_EQ(s.At(15, 31), kGrey);
  EXPECT_EQ(s.At(17, 32), clBlue);
  EXPECT_EQ(s.At(16, 33), clBlue);
  EXPECT_EQ(s.At(16, 16), clBlue);  // y steps by 32
  EXPECT_EQ(s.At(0, 0), kGrey);
  // Axes: dashes of 18 pixels with gaps of 6, ending before 510.
  EXPECT_EQ(s.At(256, 5), kGrey);
  EXPECT_EQ(s.At(256, 20), clBlue);
  EXPECT_EQ(s.At(5, 256), kGrey);
  EXPECT_EQ(s.At(20, 256), clBlue);
  EXPECT_EQ(s.At(256, 510), clBlue);
  EXPECT_EQ(s.canvas.Brush.Style, TBrushStyle::Clear);
  EXPECT_EQ(s.canvas.Pen.Style, TPenStyle::Solid);

  TSurface bare;
  ASSERT_TRUE(DrawEditorGrid(bare.canvas, false, "", 0, 16, 0));  // no dots, no endless loop
  EXPECT_EQ(bare.At(0, 0), clBlack);
  EXPECT_EQ(bare.At(256, 5), kGrey);
}

TEST(DrawEditorGrid, BackgroundPictureUnderTheGridAndMissingPictureReported) {
  ScratchDir dir;
  QImage picture(100, 100, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString(dir.Path("back.bmp")), "BMP"));
  TSurface s;
  std::string error;
  ASSERT_TRUE(DrawEditorGrid(s.canvas, true, dir.Path("back.bmp"), 16, 16, kBlue, &error)) << error;
  EXPECT_EQ(s.At(50, 50), clRed);
  EXPECT_EQ(s.At(48, 48), kGrey);
  EXPECT_EQ(s.At(150, 150), clBlue);

  TSurface missing;
  EXPECT_FALSE(DrawEditorGrid(missing.canvas, true, dir.Path("gone.bmp"), 16, 16, kBlue, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(missing.At(16, 16), kGrey);  // the grid is drawn all the same
  EXPECT_EQ(missing.At(50, 50), clBlue);

  // The decoded picture gives the very pixels the file gives; no picture gives the bare grid.
  QImage decoded;
  ASSERT_TRUE(LoadPicture(dir.Path("back.bmp"), &decoded));
  TSurface fromImage;
  DrawEditorGrid(fromImage.canvas, &decoded, 16, 16, kBlue);
  EXPECT_EQ(fromImage.image, s.image);
  TSurface withoutImage;
  DrawEditorGrid(withoutImage.canvas, nullptr, 16, 16, kBlue);
  EXPECT_EQ(withoutImage.image, missing.image);
}

TEST(DrawPointLists, LitLinesBlankedMovesAndDivisor) {
  const DrawingObject path =
      Path({Pt(10, 10, kGreen), Pt(50, 10, kGreen), Pt(50, 50, kGreen, 1), Pt(90, 50, kRed)});
  TSurface hidden;
  DrawPointLists(hidden.canvas, path, 0, 1);
  EXPECT_EQ(hidden.At(30, 10), clLime);
  EXPECT_EQ(hidden.At(10, 10), clLime);
  EXPECT_EQ(hidden.At(50, 30), clBlack);  // blanked move not shown
  EXPECT_EQ(hidden.At(70, 50), clRed);    // each line in the colour of the point it runs to

  TSurface shown;
  DrawPointLists(shown.canvas, path, kWhite, 1);
  EXPECT_EQ(shown.At(50, 30), clWhite);
  EXPECT_EQ(shown.At(70, 50), clRed);

  TSurface half;
  DrawPointLists(half.canvas, path, 0, 2);
  EXPECT_EQ(half.At(15, 5), clLime);
  EXPECT_EQ(half.At(30, 10), clBlack);

  TSurface single;
  DrawPointLists(single.canvas, Path({Pt(100, 100, kWhite)}), kWhite, 1);
  EXPECT_EQ(single.At(100, 100), clBlack);
  EXPECT_EQ(single.canvas.PenPos(), QPoint(100, 100));
}

TEST(DrawPointLists, MarkedPointsAreSkippedButLeftInTheList) {
  DrawingObject path = Path({Pt(10, 100, kGreen), Pt(10, 200, kGreen, 0, 0, 2), Pt(110, 100, kGreen)});
  TSurface s;
  DrawPointLists(s.canvas, path, 0, 1);
  EXPECT_EQ(s.At(60, 100), clLime);   // straight from the first to the third point
  EXPECT_EQ(s.At(10, 150), clBlack);  // nothing towards the marked one
  EXPECT_EQ(path.Count(), 3u);
}

TEST(DrawPointListsMarked, RedSquareOnEveryPoint) {
  TSurface s;
  DrawPointListsMarked(s.canvas, Path({Pt(40, 40, kGreen), Pt(40, 80, kGreen), Pt(200, 200, kGreen, 1)}), 0, 2);
  for (auto [x, y] : {std::pair{20, 20}, {20, 40}, {100, 100}}) {
    EXPECT_EQ(s.At(x - 2, y - 2), clRed) << x << "," << y;
    EXPECT_EQ(s.At(x + 1, y + 1), clRed) << x << "," << y;
    EXPECT_EQ(s.At(x + 2, y - 2), clBlack) << x << "," << y;
    EXPECT_EQ(s.At(x - 2, y + 2), clBlack) << x << "," << y;
  }
  EXPECT_EQ(s.At(20, 30), clLime);
  EXPECT_EQ(s.At(60, 70), clBlack);  // blanked move hidden
  EXPECT_EQ(s.canvas.Brush.Style, TBrushStyle::Clear);
}

TEST(DrawEditorPoints, SelectionSquaresAndPointKindMarkers) {
  // Single-point lists: markers only, no lines.
  auto draw = [](TSurface& s, const PointRecord& p, bool selection, bool kinds) {
    DrawEditorPoints(s.canvas, Path({p}), selection, kinds, 0);
  };
  TSurface s;
  draw(s, Pt(100, 100, kGreen, 0, 2, 1), true, true);  // selected: filled red 6x6
  EXPECT_EQ(s.At(97, 97), clRed);
  EXPECT_EQ(s.At(100, 100), clRed);
  EXPECT_EQ(s.At(102, 102), clRed);
  EXPECT_EQ(s.At(103, 103), clBlack);

  draw(s, Pt(200, 100, kGreen, 0, 2, 1), false, true);  // selection hidden: kind square instead
  EXPECT_EQ(s.At(198, 98), clLime);
  EXPECT_EQ(s.At(201, 101), clLime);
  EXPECT_EQ(s.At(199, 99), clBlack);  // outline only
  EXPECT_EQ(s.At(197, 97), clBlack);

  draw(s, Pt(300, 100, kBlue, 0, 0), false, true);  // kind 0: small circle
  EXPECT_EQ(s.At(299, 98), clBlue);
  EXPECT_EQ(s.At(298, 98), clBlack);  // round corner
  EXPECT_EQ(s.At(298, 99), clBlue);

  draw(s, Pt(400, 100, kBlue, 0, 2), false, false);  // kinds hidden: nothing
  draw(s, Pt(100, 200, kBlue, 0, 0), false, false);
  for (int y = 95; y < 105; ++y)
    for (int x = 395; x < 405; ++x) EXPECT_EQ(s.At(x, y), clBlack) << x << "," << y;
  EXPECT_EQ(s.At(99, 198), clBlack);

  draw(s, Pt(200, 200, kRed, 0, 3), false, false);  // kind 3: larger circle always
  EXPECT_EQ(s.At(197, 200), clRed);
  EXPECT_EQ(s.At(202, 199), clRed);
  EXPECT_EQ(s.At(200, 200), clBlack);
}

TEST(DrawEditorPoints, LinesAtCanvasScaleAndBlankedMovesInBlankColour) {
  TSurface s;
  DrawEditorPoints(s.canvas, Path({Pt(10, 300, kRed, 1, 2), Pt(110, 300, kRed), Pt(110, 400, kRed, 1)}), false,
                   false, kWhite);
  EXPECT_EQ(s.At(60, 300), clRed);
  EXPECT_EQ(s.At(110, 350), clWhite);
}

TEST(RemoveMarkedPoints, FreesOnlyMarkedPointsAndLeavesCleanListsAlone) {
  Drawing d;
  DrawingObject* a = d.AddObject();
  a->Add(Pt(1, 1, 0));
  a->Add(Pt(2, 2, 0, 0, 0, 2));
  a->Add(Pt(3, 3, 0, 0, 0, 1));
  a->Add(Pt(4, 4, 0, 0, 0, 2));
  DrawingObject* b = d.AddObject();
  PointRecord* kept = b->Add(Pt(5, 5, 0));
  b->Add(Pt(6, 6, 0));
  const auto* storage = b->Points().data();

  EXPECT_TRUE(HasMarkedPoints(d));
  EXPECT_FALSE(HasMarkedPoints(*b));
  EXPECT_EQ(RemoveMarkedPoints(d), 2u);
  ASSERT_EQ(a->Count(), 2u);
  EXPECT_EQ((*a)[0].x, 1);
  EXPECT_EQ((*a)[1].x, 3);
  EXPECT_EQ((*a)[1].state, 1);
  EXPECT_EQ(b->At(0), kept);
  EXPECT_EQ(b->Points().data(), storage);
  EXPECT_FALSE(HasMarkedPoints(d));
  EXPECT_EQ(RemoveMarkedPoints(d), 0u);
}

TEST(DrawEditorPoints, GeneratedShapesOnTheGrid) {
  TSurface s;
  ASSERT_TRUE(DrawEditorGrid(s.canvas, false, "", 16, 16, 0));
  DrawingObject ellipse, polygon;
  EllipseToPoints(60, 60, 260, 200, 10, ellipse);
  CircleToPoints(380, 380, 380, 280, 5, polygon);
  for (DrawingObject* o : {&ellipse, &polygon}) {
    for (const auto& p : o->Points()) p->colour = kGreen;
    (*o)[0].kind = 2;
    (*o)[0].blanked = 1;
  }
  polygon[2].state = 1;
  DrawEditorPoints(s.canvas, ellipse, true, true, kWhite);
  DrawEditorPoints(s.canvas, polygon, true, true, kWhite);
  s.image.save(QString::fromStdString(kavri_test::ArtifactPath("editor_shapes.png")));
  EXPECT_EQ(s.At(polygon[2].x - 3, polygon[2].y - 3), clRed);
  EXPECT_EQ(s.At(ellipse[0].x - 2, ellipse[0].y - 2), clLime);  // kind 2 square at the start
  EXPECT_EQ(s.At(160, 130), clBlack);                             // inside the ellipse
}
