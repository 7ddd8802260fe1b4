#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "platform/picture_loader.h"
#include "tests/support/child_run.h"
#include "tests/support/test_support.h"

extern "C" {
#include <jpeglib.h>
}

using namespace kavri;
using kavri_test::ReadBytes;
using kavri_test::ScratchDir;
using kavri_test::WriteBytes;

namespace {

// A w x h JPEG, left half red and right half blue (or grey levels when grey), at high quality.
void WriteJpeg(const std::string& path, int w, int h, bool grey) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = grey ? 1 : 3;
  cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(w) * cinfo.input_components);
  while (cinfo.next_scanline < cinfo.image_height) {
    for (int x = 0; x < w; ++x) {
      const bool left = x < w / 2;
      if (grey) {
        row[x] = left ? 40 : 200;
      } else {
        row[x * 3 + 0] = left ? 255 : 0;
        row[x * 3 + 1] = 0;
        row[x * 3 + 2] = left ? 0 : 255;
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(f);
}

// The JPEG with its frame header changed to claim w x h pixels.
std::vector<uint8_t> ClaimingSize(std::vector<uint8_t> jpeg, int w, int h) {
  for (size_t i = 0; i + 8 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = static_cast<uint8_t>(h >> 8);
      jpeg[i + 6] = static_cast<uint8_t>(h);
      jpeg[i + 7] = static_cast<uint8_t>(w >> 8);
      jpeg[i + 8] = static_cast<uint8_t>(w);
      break;
    }
  return jpeg;
}

bool Near(QRgb p, int r, int g, int b) {
  return std::abs(qRed(p) - r) < 24 && std::abs(qGreen(p) - g) < 24 && std::abs(qBlue(p) - b) < 24;
}

}  // namespace

TEST(PictureLoader, LoadsBmpExactly) {
  ScratchDir dir;
  QImage source(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) source.setPixel(x, y, qRgb(x * 30, y * 50, 99));
  ASSERT_TRUE(source.save(QString::fromStdString(dir.Path("p.bmp")), "BMP"));
  QImage loaded;
  std::string error;
  ASSERT_TRUE(LoadPicture(dir.Path("p.bmp"), &loaded, &error)) << error;
  ASSERT_EQ(loaded.size(), source.size());
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(loaded.pixel(x, y) & 0xFFFFFF, source.pixel(x, y) & 0xFFFFFF);
}

TEST(PictureLoader, DecodesColourAndGreyJpegWhateverTheFileIsCalled) {
  ScratchDir dir;
  WriteJpeg(dir.Path("c.jpg"), 32, 16, false);
  QImage image;
  std::string error;
  ASSERT_TRUE(LoadPicture(dir.Path("c.jpg"), &image, &error)) << error;
  ASSERT_EQ(image.width(), 32);
  ASSERT_EQ(image.height(), 16);
  EXPECT_TRUE(Near(image.pixel(4, 8), 255, 0, 0));
  EXPECT_TRUE(Near(image.pixel(28, 8), 0, 0, 255));

  WriteJpeg(dir.Path("grey.bmp"), 16, 16, true);  // a JPEG under a bitmap name
  ASSERT_TRUE(LoadPicture(dir.Path("grey.bmp"), &image, &error)) << error;
  EXPECT_TRUE(Near(image.pixel(2, 2), 40, 40, 40));
  EXPECT_TRUE(Near(image.pixel(13, 2), 200, 200, 200));
}

TEST(PictureLoader, BadFilesGiveAClearErrorAndANullImage) {
  ScratchDir dir;
  WriteJpeg(dir.Path("good.jpg"), 64, 64, false);
  const std::vector<uint8_t> jpeg = ReadBytes(dir.Path("good.jpg"));

  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"jpeg signature only", {0xFF, 0xD8, 0xFF}},
      {"jpeg header cut", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + 40)},
      {"bmp signature only", {'B', 'M', 0, 0, 0, 0}},
  };
  std::vector<uint8_t> garbage = {0xFF, 0xD8, 0xFF, 0xE0};
  for (int i = 0; i < 200; ++i) garbage.push_back(static_cast<uint8_t>(i * 37));
  cases.push_back({"jpeg garbage", garbage});
  std::vector<uint8_t> huge = jpeg;  // the frame header claims 65535 x 65535
  for (size_t i = 0; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = huge[i + 6] = huge[i + 7] = huge[i + 8] = 0xFF;
      break;
    }
  cases.push_back({"jpeg too large", huge});
  for (const Case& c : cases) {
    WriteBytes(dir.Path("bad"), c.bytes);
    QImage image(3, 3, QImage::Format_RGB32);
    std::string error;
    EXPECT_FALSE(LoadPicture(dir.Path("bad"), &image, &error)) << c.name;
    EXPECT_TRUE(image.isNull()) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }

  QImage image;
  std::string error;
  EXPECT_FALSE(LoadPicture(dir.Path("missing.bmp"), &image, &error));
  EXPECT_NE(error.find("missing.bmp"), std::string::npos);
}

TEST(PictureLoader, APictureClaimingMorePixelsThanItsFileCanHoldIsRefused) {
  ScratchDir dir;
  WriteJpeg(dir.Path("small.jpg"), 16, 16, false);
  const std::vector<uint8_t> small = ReadBytes(dir.Path("small.jpg"));
  QImage image;
  std::string error;
  const std::vector<uint8_t> claims = ClaimingSize(small, 8000, 8000);
  EXPECT_FALSE(DecodePicture(claims.data(), claims.size(), &image, &error));
  EXPECT_TRUE(image.isNull());
  EXPECT_NE(error.find("8000 x 8000"), std::string::npos) << error;

  // An uncompressed bitmap holds every row; one that claims more than it holds is refused.
  QImage source(4, 4, QImage::Format_RGB32);
  source.fill(Qt::red);
  ASSERT_TRUE(source.save(QString::fromStdString(dir.Path("small.bmp")), "BMP"));
  std::vector<uint8_t> bmp = ReadBytes(dir.Path("small.bmp"));
  ASSERT_GE(bmp.size(), 26u);
  for (int i = 0; i < 4; ++i) {
    bmp[18 + i] = static_cast<uint8_t>(8000 >> (8 * i));  // width
    bmp[22 + i] = static_cast<uint8_t>(8000 >> (8 * i));  // height
  }
  EXPECT_FALSE(DecodePicture(bmp.data(), bmp.size(), &image, &error));
  EXPECT_TRUE(image.isNull());
  EXPECT_NE(error.find("8000 x 8000"), std::string::npos) << error;
  bmp[22] = 0xFF, bmp[23] = 0xFF, bmp[24] = 0xFF, bmp[25] = 0xFF;  // 8000 x -1: one top-down row
  EXPECT_FALSE(DecodePicture(bmp.data(), bmp.size(), &image, &error));
  bmp[18] = 4, bmp[19] = 0, bmp[20] = 0, bmp[21] = 0;  // 4 x -1 fits
  EXPECT_TRUE(DecodePicture(bmp.data(), bmp.size(), &image, &error)) << error;
  EXPECT_EQ(image.size(), QSize(4, 1));

  // A large picture of few colours is small on disk and still loads.
  WriteJpeg(dir.Path("plain.jpg"), 2048, 1024, false);
  ASSERT_LT(ReadBytes(dir.Path("plain.jpg")).size(), 64u * 1024);
  ASSERT_TRUE(LoadPicture(dir.Path("plain.jpg"), &image, &error)) << error;
  EXPECT_EQ(image.size(), QSize(2048, 1024));
}

TEST(PictureLoader, AFifoIsNotWaitedOn) {
  ScratchDir dir;
  const std::string fifo = dir.Path("Start1.bmp");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(kavri_test::RunInChild(10, [&] {
              QImage image;
              std::string error;
              return !LoadPicture(fifo, &image, &error) && error.find("Start1.bmp") != std::string::npos;
            }),
            "");
}

TEST(PictureLoader, TruncatedJpegDataNeverCrashes) {
  ScratchDir dir;
  WriteJpeg(dir.Path("good.jpg"), 64, 64, false);
  const std::vector<uint8_t> jpeg = ReadBytes(dir.Path("good.jpg"));
  // Every cut either decodes (the missing rest filled in) or fails with an error; never a crash.
  for (size_t cut = 3; cut < jpeg.size(); cut += 7) {
    QImage image;
    std::string error;
    const bool ok = DecodePicture(jpeg.data(), cut, &image, &error);
    EXPECT_EQ(ok, !image.isNull()) << cut;
    if (ok) EXPECT_EQ(image.size(), QSize(64, 64)) << cut;
    else EXPECT_FALSE(error.empty()) << cut;
  }
}
