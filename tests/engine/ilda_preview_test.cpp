#include "engine/ilda_preview.h"

#include <gtest/gtest.h>

#include <QImage>

#include "engine/colour_tables.h"
#include "tests/support/child_run.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/shrinking_ilda_reads.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffff; }
QRgb Rgb(TColor c) { return ToQColor(c).rgb() & 0xffffff; }

TEST(IldaPreviewFrame, MapsTheCornersFlipsYAndMovesBlindToBlankedPoints) {
  QImage image(128, 128, QImage::Format_RGB32);
  image.fill(Qt::red);
  TILDAframe frame;
  // Left edge top to bottom in colour 10, a blanked jump, then the bottom edge in colour 40.
  frame.points = {{-128, 127, 0, 10, 0, 0}, {-128, -128, 0, 10, 0, 0}, {127, 80, 0, 40, 0, 1},
                  {127, -128, 0, 40, 0, 0}};
  TCanvas canvas(image);
  DrawIldaPreviewFrame(canvas, frame, 7);
  EXPECT_EQ(At(image, 0, 64), Rgb(IldaColorToTColor(10)));   // x -128 is column 0
  EXPECT_EQ(At(image, 127, 120), Rgb(IldaColorToTColor(40)));  // (127, -128) is column 127, row 128
  EXPECT_EQ(At(image, 64, 60), 0u);  // the blanked jump crosses here unseen, on a black ground
  EXPECT_EQ(At(image, 100, 100), 0u);
}

TEST(IldaPreviewAnimation, WrapsAndStaysQuietWhileOffOrEmpty) {
  TIldaPreviewAnimation preview;
  int number = 0;
  preview.SetOn(true);
  EXPECT_EQ(preview.Tick(number), nullptr);  // nothing loaded
  preview.Load("/nonexistent/x.ild");
  EXPECT_EQ(preview.Tick(number), nullptr);
  EXPECT_EQ(preview.Index(), 0);
}

// The preview reads a frame when it shows it, so a large file costs one frame's memory; read whole,
// this one would take 67 MB.
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the limit leaves
// A frame that fails to read once the file was loaded stops the animation with one message naming
// the file; the picture shown last stays.
TEST(IldaPreviewAnimation, AFrameThatFailsToReadStopsTheAnimationWithOneMessage) {
  kavri_test::ScratchDir dir;
  const std::string path = dir.Path("two.ild");
  TILDAimage image;
  for (int f = 0; f < 2; ++f) {
    image.frames.push_back(std::make_unique<TILDAframe>());
    image.frames.back()->points = {{f, f, 0, 1, 0, 0}};
  }
  ASSERT_TRUE(WriteIldaFile(path, image));  // two frames of 40 bytes
  kavri_test::RecordingDialogs dialogs;
  TIldaPreviewAnimation preview;
  preview.Load(path);
  preview.SetOn(true);
  kavri_test::ShrinkingIldaReads shrinking(40 + 39);
  int number = 0;
  const TILDAframe* first = preview.Tick(number);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(number, 1);
  EXPECT_EQ(first->points.size(), 1u);
  EXPECT_EQ(preview.Tick(number), nullptr);
  EXPECT_FALSE(preview.On());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(preview.Tick(number), nullptr);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind("Cannot read " + path + ": ", 0), 0u) << dialogs.messages[0];
}

TEST(IldaPreviewAnimation, ShowsTheFramesOfALargeFileInTheMemoryOfOne) {
  KAVRI_RUN_IN_FRESH_PROCESS(120);
  kavri_test::ScratchDir dir;
  const std::string path = dir.Path("large.ild");
  {
    TILDAimage image;
    for (int f = 0; f < 64; ++f) {
      image.frames.push_back(std::make_unique<TILDAframe>());
      image.frames.back()->points.resize(kIldaMaxFramePoints);
      image.frames.back()->points.back().x = f;
    }
    ASSERT_TRUE(WriteIldaFile(path, image));
  }
  EXPECT_EQ(kavri_test::RunInChild(30, [&] {
              if (!kavri_test::LimitAddressSpaceGrowth(24u << 20)) return false;
              TIldaPreviewAnimation preview;
              preview.SetOn(true);
              preview.Load(path);
              if (preview.FrameCount() != 64) return false;
              for (int f = 0; f < 66; ++f) {
                int number = 0;
                const TILDAframe* frame = preview.Tick(number);
                if (!frame || number != f % 64 + 1 || frame->points.size() != kIldaMaxFramePoints ||
                    frame->points.back().x != f % 64)
                  return false;
              }
              return true;
            }),
            "");
}
#endif

}  // namespace
}  // namespace kavri
