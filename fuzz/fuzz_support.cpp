#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/ilda_file.h"

namespace kavri_fuzz {

namespace {

void Put(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) {
    std::perror(path.c_str());
    std::abort();
  }
}

// `points` drawing-file records, an object closed after every `perObject` of them.
std::string DrawingImage(int points, int perObject) {
  std::string image;
  for (int i = 0; i < points; ++i) {
    const bool last = (i + 1) % perObject == 0 || i + 1 == points;
    image += {static_cast<char>(i * 7), static_cast<char>(i * 3), static_cast<char>(i % 4), static_cast<char>(i),
              static_cast<char>((last ? 0x80 : 0) | (i % 5 == 0 ? 1 : 0))};
  }
  return image;
}

struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kavri-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      std::perror("mkdtemp");
      std::abort();
    }
    path = pattern + "/";
    for (const char* sub : {"Drawing", "Section", "ILDAimage"}) std::filesystem::create_directory(path + sub);
    Put(path + "Drawing/a.ddr", DrawingImage(3, 3));
    Put(path + "Drawing/Big.ddr", DrawingImage(300, 40));
    Put(path + "Drawing/empty.ddr", "");
    Put(path + "Drawing/caf\xE9.ddr", DrawingImage(2, 1));
    Put(path + "outside.ddr", DrawingImage(4, 4));
    Put(path + "Section/seg.sec", "a.ddr|10|1|2|3|4|5|6|7|8|9|257|20|0|30|0|30000|0|0\r\nBIG.DDR|5\r\nmissing.ddr|1\r\n");
    Put(path + "Section/bad.sec", "a.ddr|x\r\n");
    kavri::TILDAimage image;
    for (int f = 0; f < 2; ++f) {
      image.frames.push_back(std::make_unique<kavri::TILDAframe>());
      image.frames.back()->points.resize(static_cast<size_t>(5 + f));
    }
    if (!kavri::WriteIldaFile(path + "ILDAimage/clip.ild", image)) std::abort();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& ContentProgramFolder() {
  static ScratchFolder folder;
  return folder.path;
}

}  // namespace kavri_fuzz
