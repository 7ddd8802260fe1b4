#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <optional>

#include "engine/colour_tables.h"
#include "engine/ilda_file.h"
#include "tests/support/child_run.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/shrinking_ilda_reads.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::ReadBytes;
using kavri_test::RecordingDialogs;
using kavri_test::ScratchDir;
using kavri_test::ShrinkingIldaReads;
using kavri_test::WriteBytes;

namespace {

using Bytes = std::vector<uint8_t>;

// A section header as other tools write it.
Bytes Header(uint8_t format, uint16_t count, uint16_t number = 0, uint16_t total = 0, const char* name = "name\0\0\0\0",
             const char* company = "company\0") {
  Bytes h = {'I', 'L', 'D', 'A', 0, 0, 0, format};
  h.insert(h.end(), name, name + 8);
  h.insert(h.end(), company, company + 8);
  for (uint16_t v : {count, number, total}) {
    h.push_back(static_cast<uint8_t>(v >> 8));
    h.push_back(static_cast<uint8_t>(v));
  }
  h.push_back(7);  // projector
  h.push_back(9);  // reserved
  return h;
}

void Append(Bytes& to, const Bytes& what) { to.insert(to.end(), what.begin(), what.end()); }

// Bytes this process has read from files so far.
uint64_t BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  uint64_t value = 0;
  while (io >> key >> value)
    if (key == "rchar:") return value;
  return 0;
}

// `head` followed by zeros up to `size` bytes, without using the disk.
void WriteSparse(const std::string& path, const Bytes& head, off_t size) {
  WriteBytes(path, head);
  ASSERT_EQ(truncate(path.c_str(), size), 0);
}

PointRecord IldaPoint(int x, int y, int colour = 0, int blanked = 0, int kind = 0) {
  PointRecord p;
  p.x = x;
  p.y = y;
  p.kind = kind;
  p.colour = static_cast<uint8_t>(colour);
  p.blanked = static_cast<uint8_t>(blanked);
  return p;
}

// Palette, 3-D true colour, 3-D indexed, 2-D true colour, 2-D indexed, end mark.
Bytes MixedFile() {
  Bytes f;
  Append(f, Header(2, 2, 0, 0));
  Append(f, {255, 0, 0, 0, 0, 255});
  Append(f, Header(4, 1));
  Append(f, {0, 1, 0, 2, 0, 3, 0x80, 4, 5, 6});
  Append(f, Header(0, 2, 0, 2));
  Append(f, {0x80, 0x00, 0x7F, 0xFF, 0xFE, 0x00, 0x40, 12,    // x -128, y 127, z -2, blanked
             0x7F, 0xFF, 0x80, 0x00, 0x05, 0x10, 0x80, 64});  // x 127, y -128, z 5, last
  Append(f, Header(5, 2));
  Append(f, {0, 1, 0, 2, 0, 1, 2, 3, 0, 1, 0, 2, 0x80, 1, 2, 3});
  Append(f, Header(1, 3, 1, 2));
  Append(f, {0x01, 0x00, 0x02, 0x00, 0x00, 1,  //
             0x03, 0x00, 0x04, 0x00, 0x40, 2,  //
             0xFF, 0x00, 0xFE, 0x00, 0x80, 3});
  Append(f, Header(0, 0));
  return f;
}

}  // namespace

TEST(IldaRead, ReadsIndexedFramesAndPalettesAndPassesOverTrueColourSections) {
  Bytes f = MixedFile();
  TILDAimage image;
  ASSERT_EQ(DecodeIldaImage(f.data(), f.size(), image), TIldaReadResult::Ok);
  ASSERT_EQ(image.palettes.size(), 1u);
  EXPECT_EQ(image.palettes[0]->entryCount, 2);
  EXPECT_EQ(image.palettes[0]->entries, (std::vector<TIldaPaletteEntry>{{255, 0, 0}, {0, 0, 255}}));
  ASSERT_EQ(image.frames.size(), 2u);
  const TILDAframe& a = *image.frames[0];
  EXPECT_EQ(a.name, "name");
  EXPECT_EQ(a.company, "company");
  EXPECT_EQ(a.pointCount, 2);
  EXPECT_EQ(a.totalFrames, 2);
  EXPECT_EQ(a.projector, 7);
  EXPECT_EQ(a.reserved, 9);
  ASSERT_EQ(a.points.size(), 2u);
  EXPECT_EQ(a.points[0], IldaPoint(-128, 127, 12, 1, -2));
  EXPECT_EQ(a.points[1], IldaPoint(127, -128, 64, 0, 5));
  const TILDAframe& b = *image.frames[1];
  EXPECT_EQ(b.frameNumber, 1);
  ASSERT_EQ(b.points.size(), 3u);
  EXPECT_EQ(b.points[0], IldaPoint(1, 2, 1, 0, 0));
  EXPECT_EQ(b.points[1], IldaPoint(3, 4, 2, 1, 0));
  EXPECT_EQ(b.points[2], IldaPoint(-1, -2, 3, 0, 0));
  EXPECT_EQ(IldaTotalFrames(f.data(), f.size()), 2);
}

TEST(IldaRead, TheRecordCountBoundsAFrameWhateverTheLastPointBitSays) {
  Bytes f;
  Append(f, Header(1, 3));
  Append(f, {1, 0, 1, 0, 0x80, 0, 2, 0, 2, 0, 0x80, 0, 3, 0, 3, 0, 0, 0});  // last bit early and missing
  Append(f, Header(1, 1));
  Append(f, {9, 0, 9, 0, 0, 0});
  // No closing header: many files from other tools end right after their last frame.
  TILDAimage image;
  ASSERT_EQ(DecodeIldaImage(f.data(), f.size(), image), TIldaReadResult::Ok);
  ASSERT_EQ(image.frames.size(), 2u);
  EXPECT_EQ(image.frames[0]->points.size(), 3u);
  ASSERT_EQ(image.frames[1]->points.size(), 1u);
  EXPECT_EQ(image.frames[1]->points[0].x, 9);
}

TEST(IldaRead, EveryTruncatedPrefixReadsTheCompleteSectionsAndRecordsBeforeTheCut) {
  const Bytes full = MixedFile();
  TILDAimage whole;
  ASSERT_EQ(DecodeIldaImage(full.data(), full.size(), whole), TIldaReadResult::Ok);
  for (size_t n = 0; n < full.size(); ++n) {
    // A copy of exactly n bytes, so that AddressSanitizer sees any read past the data.
    Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
    TILDAimage image;
    TIldaReadResult r = DecodeIldaImage(prefix.data(), prefix.size(), image);
    EXPECT_TRUE(r == TIldaReadResult::Ok || r == TIldaReadResult::Truncated) << n;
    ASSERT_LE(image.frames.size(), whole.frames.size()) << n;
    for (size_t i = 0; i < image.frames.size(); ++i) {
      const auto& got = image.frames[i]->points;
      const auto& want = whole.frames[i]->points;
      ASSERT_LE(got.size(), want.size()) << n;
      EXPECT_TRUE(std::equal(got.begin(), got.end(), want.begin())) << n;
      if (i + 1 < image.frames.size()) {
        EXPECT_EQ(got.size(), want.size()) << n;
      }
    }
    IldaTotalFrames(prefix.data(), prefix.size());
  }
}

// Frames read one at a time, and the measure taken from the headers, are what the reader gives, on
// every prefix of a file of every kind of section.
TEST(IldaRead, FramesReadOneAtATimeAndTheHeadersMeasureGiveWhatTheReaderGives) {
  const Bytes full = MixedFile();
  ScratchDir dir;
  const std::string path = dir.Path("prefix.ild");
  for (size_t n = 0; n <= full.size(); ++n) {
    WriteBytes(path, Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n)));
    TILDAimage whole;
    const TIldaReadResult read = ReadIldaFile(path, whole);
    TIldaFrameFile file;
    ASSERT_EQ(file.Open(path), read) << n;
    ASSERT_EQ(file.FrameCount(), whole.frames.size()) << n;
    size_t records = 0;
    for (size_t i = 0; i < whole.frames.size(); ++i) {
      TILDAframe frame;
      EXPECT_TRUE(file.ReadFrame(i, frame)) << n;
      EXPECT_EQ(frame.points, whole.frames[i]->points) << n;
      EXPECT_EQ(frame.totalFrames, whole.frames[i]->totalFrames) << n;
      EXPECT_EQ(frame.name, whole.frames[i]->name) << n;
      records += IldaFrameRecords(whole.frames[i]->points.size());
    }
    const TIldaMeasure measure = MeasureIldaFile(path);
    EXPECT_EQ(measure.frames, whole.frames.size()) << n;
    EXPECT_EQ(measure.records, records) << n;
  }
}

// A frame file whose file is cut, rewritten or fails after it was opened reads its frames as
// failures naming the file, never as shorter frames that pass for the file's.
TEST(IldaRead, AFrameOfAFileChangedAfterItWasOpenedIsAFailureNamingTheFile) {
  // Frame 1: 2-D, 3 points (bytes 0..49); frame 2: 3-D, 4 points (50..113); the end mark.
  Bytes file = Header(1, 3);
  for (uint8_t i = 0; i < 3; ++i) Append(file, {i, 0, i, 0, static_cast<uint8_t>(i == 2 ? 0x80 : 0), 5});
  Append(file, Header(0, 4));
  for (uint8_t i = 0; i < 4; ++i) Append(file, {i, 0, i, 0, 1, 0, static_cast<uint8_t>(i == 3 ? 0x80 : 0), 6});
  Append(file, Header(0, 0));
  enum class Change { None, Cut, FormatByte, FailingReads };
  const struct {
    const char* what;
    Change change;
    off_t keep;
    bool firstReads, secondReads;
    const char* reason;
  } cases[] = {
      {"unchanged", Change::None, 0, true, true, ""},
      {"cut inside frame 2's points", Change::Cut, 50 + 32 + 8 * 3 + 7, true, false, "(frame 2)"},
      {"cut inside frame 2's header", Change::Cut, 50 + 31, true, false, "(frame 2)"},
      {"cut inside frame 1's points", Change::Cut, 49, false, false, "(frame 1)"},
      {"frame 2 rewritten as a palette", Change::FormatByte, 0, true, false, "(frame 2)"},
      {"every read fails", Change::FailingReads, 0, false, false, std::strerror(EIO)},
  };
  ScratchDir dir;
  const std::string path = dir.Path("changing.ild");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path, file);
    TIldaFrameFile frames;
    ASSERT_EQ(frames.Open(path), TIldaReadResult::Ok);
    ASSERT_EQ(frames.FrameCount(), 2u);
    if (c.change == Change::Cut) {
      ASSERT_EQ(::truncate(path.c_str(), c.keep), 0);
    }
    if (c.change == Change::FormatByte) {
      std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
      out.seekp(50 + 7);
      out.put(2);
    }
    std::optional<ShrinkingIldaReads> failing;
    if (c.change == Change::FailingReads) {
      failing.emplace(0, ShrinkingIldaReads::Mode::Fail);
    }
    TILDAframe frame;
    std::string first, second;  // what each read says
    EXPECT_EQ(frames.ReadFrame(0, frame, &first), c.firstReads) << first;
    if (c.firstReads) {
      EXPECT_EQ(frame.points.size(), 3u);
      EXPECT_TRUE(first.empty()) << first;
    }
    EXPECT_EQ(frames.ReadFrame(1, frame, &second), c.secondReads) << second;
    if (c.secondReads) {
      EXPECT_EQ(frame.points.size(), 4u);
      EXPECT_EQ(frame.points[3].kind, 1);
      EXPECT_TRUE(second.empty()) << second;
    } else {
      const std::string& error = c.firstReads ? second : first;  // the first read that failed
      EXPECT_EQ(error.rfind("Cannot read " + path + ": ", 0), 0u) << error;
      EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
  }
}

TEST(IldaRead, BadMagicShowsReadErrorAfterReadingAndKeepsEarlierSections) {
  ScratchDir dir;
  WriteBytes(dir.Path("bad.ild"), {'N', 'O', 'P', 'E', 0, 0, 0, 0, 1, 2, 3});
  RecordingDialogs dialogs;
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  EXPECT_EQ(ReadIldaFile(dir.Path("bad.ild"), image), TIldaReadResult::NotIlda);
  EXPECT_TRUE(image.frames.empty());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Read Error!"});
  EXPECT_EQ(ReadIldaTotalFrames(dir.Path("bad.ild")), 0);

  Bytes f = Header(1, 1);
  Append(f, {1, 0, 1, 0, 0x80, 0});
  Append(f, {'X', 'L', 'D', 'A'});
  Append(f, Header(1, 1));
  WriteBytes(dir.Path("tail.ild"), f);
  EXPECT_EQ(ReadIldaFile(dir.Path("tail.ild"), image), TIldaReadResult::NotIlda);
  EXPECT_EQ(image.frames.size(), 1u);

  // An unknown format stops reading the same way.
  f = Header(1, 1);
  Append(f, {1, 0, 1, 0, 0x80, 0});
  Append(f, Header(9, 1));
  WriteBytes(dir.Path("fmt.ild"), f);
  EXPECT_EQ(ReadIldaFile(dir.Path("fmt.ild"), image), TIldaReadResult::UnknownFormat);
  EXPECT_EQ(image.frames.size(), 1u);
  EXPECT_EQ(dialogs.messages.size(), 3u);

  // A file that cannot be read is an empty image, without a message box but with a reason.
  std::string error;
  EXPECT_EQ(ReadIldaFile(dir.Path("missing.ild"), image, &error), TIldaReadResult::Unreadable);
  EXPECT_TRUE(image.frames.empty());
  EXPECT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(error, "Cannot read " + dir.Path("missing.ild") + ": No such file or directory");
}

TEST(IldaRead, OnlyTheSectionsAreReadNotTheRestOfAHugeFile) {
  ScratchDir dir;
  Bytes head = Header(2, 1);
  Append(head, {1, 2, 3});
  Append(head, Header(0, 2, 0, 77));
  Append(head, {1, 0, 2, 0, 3, 0, 0, 4, 5, 0, 6, 0, 7, 0, 0x80, 8});
  const std::string path = dir.Path("zeros.ild");
  WriteSparse(path, head, off_t{256} << 20);
  RecordingDialogs dialogs;
  TILDAimage image;
  uint64_t before = BytesReadSoFar();
  EXPECT_EQ(ReadIldaFile(path, image), TIldaReadResult::NotIlda);
  EXPECT_LT(BytesReadSoFar() - before, uint64_t{1} << 20);
  ASSERT_EQ(image.frames.size(), 1u);
  EXPECT_EQ(image.frames[0]->points.size(), 2u);
  EXPECT_EQ(image.palettes.size(), 1u);
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Read Error!"});

  const std::string tera = dir.Path("tera.ild");
  WriteSparse(tera, head, off_t{1} << 40);
  before = BytesReadSoFar();
  EXPECT_EQ(ReadIldaTotalFrames(tera), 77);
  EXPECT_LT(BytesReadSoFar() - before, uint64_t{4096});
}

TEST(IldaRead, AnImageWithMoreSectionsThanAFileCanNumberIsRefusedWhole) {
  Bytes section = Header(2, 1);
  Append(section, {1, 2, 3});
  Bytes f;
  f.reserve(section.size() * (kIldaMaxSections + 1));
  for (size_t i = 0; i < kIldaMaxSections; ++i) Append(f, section);
  TILDAimage image;
  std::string reason;
  EXPECT_EQ(DecodeIldaImage(f.data(), f.size(), image, &reason), TIldaReadResult::Ok);
  EXPECT_EQ(image.palettes.size(), kIldaMaxSections);
  Append(f, section);
  EXPECT_EQ(DecodeIldaImage(f.data(), f.size(), image, &reason), TIldaReadResult::TooLarge);
  EXPECT_TRUE(image.palettes.empty());
  EXPECT_NE(reason.find("more than 262144 sections"), std::string::npos) << reason;
}

TEST(IldaRead, AFifoIsNotWaitedOn) {
  ScratchDir dir;
  const std::string fifo = dir.Path("pipe.ild");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(kavri_test::RunInChild(10, [&] {
              RecordingDialogs dialogs;
              TILDAimage image;
              image.frames.push_back(std::make_unique<TILDAframe>());
              std::string error;
              return ReadIldaFile(fifo, image, &error) == TIldaReadResult::Unreadable && image.frames.empty() &&
                     error == "Cannot read " + fifo + ": not a regular file" && ReadIldaTotalFrames(fifo) == 0 &&
                     dialogs.messages.empty();
            }),
            "");
}

TEST(IldaRead, TotalFramesComesFromTheFirstFrameSection) {
  Bytes f = Header(2, 1);
  Append(f, {1, 2, 3});
  Append(f, Header(0, 1, 0, 321));
  Append(f, Bytes(8, 0));
  EXPECT_EQ(IldaTotalFrames(f.data(), f.size()), 321);
  Bytes endOnly = Header(0, 0, 0, 5);
  EXPECT_EQ(IldaTotalFrames(endOnly.data(), endOnly.size()), 0);
  EXPECT_EQ(IldaTotalFrames(nullptr, 0), 0);
}

TEST(IldaWrite, TwoFrameImageIsWrittenByteForByte) {
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames[0]->name = "ignored";
  image.frames[0]->points = {IldaPoint(-128, 127, 5, 1), IldaPoint(200, -300, 64, 0, 3)};
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames[1]->points = {IldaPoint(0, -1, 255, 0)};
  ScratchDir dir;
  ASSERT_TRUE(WriteIldaFile(dir.Path("two.ild"), image));
  const Bytes I8(8, 'I');
  Bytes want;
  auto header = [&](uint8_t count, uint8_t number, uint8_t total) {
    Append(want, {'I', 'L', 'D', 'A', 0, 0, 0, 0});
    Append(want, I8);
    Append(want, I8);
    Append(want, {0, count, 0, number, 0, total, 0, 0});
  };
  header(2, 0, 2);
  Append(want, {0x80, 0, 0x7F, 0, 0, 0, 0x40, 5, 0x7F, 0, 0x80, 0, 0, 0, 0x80, 64});
  header(1, 1, 2);
  Append(want, {0x00, 0, 0xFF, 0, 0, 0, 0x80, 255});
  header(0, 0, 0);
  EXPECT_EQ(ReadBytes(dir.Path("two.ild")), want);

  TILDAimage none;
  EXPECT_EQ(EncodeIldaImage(none).size(), 32u);
}

TEST(IldaWrite, AnEmptyFrameDoesNotEndTheFileAndFramesKeepAtMost65535Points) {
  TILDAimage image;
  for (size_t n : {size_t{2}, size_t{0}, size_t{70000}}) {
    auto frame = std::make_unique<TILDAframe>();
    for (size_t i = 0; i < n; ++i) frame->points.push_back(IldaPoint(static_cast<int>(i % 200) - 100, 1));
    image.frames.push_back(std::move(frame));
  }
  ScratchDir dir;
  ASSERT_TRUE(WriteIldaFile(dir.Path("e.ild"), image));
  EXPECT_EQ(ReadIldaTotalFrames(dir.Path("e.ild")), 3);
  TILDAimage back;
  ASSERT_EQ(ReadIldaFile(dir.Path("e.ild"), back), TIldaReadResult::Ok);
  ASSERT_EQ(back.frames.size(), 3u);
  EXPECT_EQ(back.frames[0]->points, image.frames[0]->points);
  ASSERT_EQ(back.frames[1]->points.size(), 1u);
  EXPECT_EQ(back.frames[1]->points[0].blanked, 1);
  ASSERT_EQ(back.frames[2]->points.size(), kIldaMaxFramePoints);
  EXPECT_EQ(back.frames[2]->points.back().x, image.frames[2]->points[kIldaMaxFramePoints - 1].x);
  // The last point kept carries the last-point bit.
  const Bytes bytes = ReadBytes(dir.Path("e.ild"));
  EXPECT_EQ(bytes[bytes.size() - 32 - 2] & 0x80, 0x80);
}

// A frame section holds at most 65,535 points: a drawing's frame keeps its first 65,535 and the
// conversion says how many it left out; the writer writes no more of a longer frame, and the last
// point it keeps carries the last-point bit.
TEST(IldaWrite, PointsPastWhatAFrameSectionHoldsAreLeftOutAndCounted) {
  for (size_t n : {kIldaMaxFramePoints - 1, kIldaMaxFramePoints, kIldaMaxFramePoints + 1, size_t{70000}}) {
    SCOPED_TRACE(n);
    const size_t kept = std::min(n, kIldaMaxFramePoints);
    Drawing drawing;
    DrawingObject* object = drawing.AddObject();
    TILDAframe whole;
    for (size_t i = 0; i < n; ++i) {
      object->Add(PointRecord{static_cast<int>(i % 256), static_cast<int>(i / 256 % 256), 1, 1, 0, 0});
      whole.points.push_back(IldaPoint(static_cast<int>(i % 256) - 128, static_cast<int>(i / 256 % 256) - 128));
    }
    TILDAframe converted;
    EXPECT_EQ(DrawingToIldaFrame(drawing, converted), n - kept);
    EXPECT_EQ(converted.points.size(), kept);
    // Room for every point, so that a point written past the cut shows in the file, not past its end.
    TIldaFileWriter writer(1, n);
    writer.Add(whole);
    const Bytes bytes = writer.Close();
    ASSERT_EQ(bytes.size(), 32 + 8 * kept + 32);
    EXPECT_EQ(size_t{bytes[24]} << 8 | bytes[25], kept);  // the frame's record count
    EXPECT_EQ(bytes[32 + 8 * (kept - 1) + 6] & 0x80, 0x80);
    TILDAimage back;
    ASSERT_EQ(DecodeIldaImage(bytes.data(), bytes.size(), back), TIldaReadResult::Ok);
    ASSERT_EQ(back.frames.size(), 1u);
    ASSERT_EQ(back.frames[0]->points.size(), kept);
    EXPECT_EQ(back.frames[0]->points.back().x, whole.points[kept - 1].x);
    EXPECT_EQ(back.frames[0]->points.back().y, whole.points[kept - 1].y);
  }
}

// The writer and the reader share each limit: an image of exactly the most frames, or a file of
// exactly the most point records, is written and read back; one more is refused by both, the
// writer naming the limit and keeping the old file.
TEST(IldaWrite, WriterAndReaderTakeExactlyTheMostFramesAndPointsAndRefuseOneMore) {
  ScratchDir dir;
  for (const size_t frames : {kIldaMaxSections, kIldaMaxSections + 1}) {
    SCOPED_TRACE(frames);
    const bool fits = frames == kIldaMaxSections;
    TILDAimage image;
    image.frames.reserve(frames);
    for (size_t i = 0; i < frames; ++i) image.frames.push_back(std::make_unique<TILDAframe>());
    const std::string path = dir.Path("frames.ild");
    WriteBytes(path, {'o', 'l', 'd'});
    std::string error;
    // The whole-image writer and the frame-at-a-time writer the conversions use.
    TIldaFileWriter writer(frames, frames);
    for (const auto& frame : image.frames) writer.Add(*frame);
    for (const bool framewise : {false, true}) {
      SCOPED_TRACE(framewise);
      WriteBytes(path, {'o', 'l', 'd'});
      std::string error;
      EXPECT_EQ(framewise ? writer.Write(path, &error) : WriteIldaFile(path, image, &error), fits) << error;
      if (fits) {
        EXPECT_EQ(MeasureIldaFile(path).frames, frames);
      } else {
        EXPECT_EQ(error, "Cannot write " + path + ": it would hold 262145 frames, more than the 262144 an ILDA file may hold");
        EXPECT_EQ(ReadBytes(path), (Bytes{'o', 'l', 'd'}));
      }
    }
    TILDAimage back;
    // The reader, on a file of that many one-point frames however it was made.
    Bytes f;
    f.reserve(frames * 40 + 32);
    for (size_t i = 0; i < frames; ++i) {
      Append(f, Header(0, 1));
      Append(f, {0, 0, 0, 0, 0, 0, 0x80, 1});
    }
    Append(f, Header(0, 0));
    std::string reason;
    EXPECT_EQ(DecodeIldaImage(f.data(), f.size(), back, &reason), fits ? TIldaReadResult::Ok : TIldaReadResult::TooLarge);
    EXPECT_EQ(back.frames.size(), fits ? frames : 0u);
  }

  // Points: full palettes and one frame bring the records to the limit, or one past it.
  constexpr size_t kFullPalettes = kIldaMaxRecords / kIldaMaxFramePoints;
  const size_t rest = kIldaMaxRecords - kFullPalettes * kIldaMaxFramePoints;
  for (const size_t last : {rest, rest + 1}) {
    SCOPED_TRACE(last);
    const bool fits = last == rest;
    EXPECT_EQ(IldaImageFits("p.ild", kFullPalettes + 1, kFullPalettes * kIldaMaxFramePoints + last), fits);
    Bytes f;
    f.reserve(kFullPalettes * (32 + 3 * kIldaMaxFramePoints) + 32 + 8 * last + 32);
    for (size_t i = 0; i < kFullPalettes; ++i) {
      Append(f, Header(2, static_cast<uint16_t>(kIldaMaxFramePoints)));
      f.resize(f.size() + 3 * kIldaMaxFramePoints);
    }
    Append(f, Header(0, static_cast<uint16_t>(last)));
    for (size_t i = 0; i < last; ++i) Append(f, {0, 0, 0, 0, 0, 0, static_cast<uint8_t>(i + 1 == last ? 0x80 : 0), 1});
    Append(f, Header(0, 0));
    TILDAimage back;
    std::string reason;
    EXPECT_EQ(DecodeIldaImage(f.data(), f.size(), back, &reason), fits ? TIldaReadResult::Ok : TIldaReadResult::TooLarge);
    ASSERT_EQ(back.frames.size(), fits ? 1u : 0u);
    if (fits) {
      EXPECT_EQ(back.frames[0]->points.size(), last);
    }
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer needs more address space than the image leaves
    // The frame-at-a-time writer, one full frame object added again and again.
    f = Bytes();
    TILDAframe full, tail;
    full.points.resize(kIldaMaxFramePoints);
    tail.points.resize(last);
    TIldaFileWriter writer(kFullPalettes + 1, kFullPalettes * kIldaMaxFramePoints + last);
    for (size_t i = 0; i < kFullPalettes; ++i) writer.Add(full);
    writer.Add(tail);
    const std::string path = dir.Path("points.ild");
    WriteBytes(path, {'o', 'l', 'd'});
    std::string error;
    EXPECT_EQ(writer.Write(path, &error), fits) << error;
    if (fits) {
      EXPECT_EQ(MeasureIldaFile(path).records, kIldaMaxRecords);
    } else {
      EXPECT_EQ(error, "Cannot write " + path + ": its frames would hold 33554433 points, more than the 33554432 an ILDA file may hold");
      EXPECT_EQ(ReadBytes(path), (Bytes{'o', 'l', 'd'}));
    }
#endif
  }
  std::string error;
  EXPECT_FALSE(IldaImageFits("p.ild", 1, kIldaMaxRecords + 1, &error));
  EXPECT_EQ(error, "Cannot write p.ild: its frames would hold 33554433 points, more than the 33554432 an ILDA file may hold");
}

TEST(IldaRead, OldShortEndMarkStillEndsTheFile) {
  Bytes f = Header(0, 1, 0, 1);
  Append(f, {5, 0, 6, 0, 0, 0, 0x80, 1});
  Bytes end = Header(0, 0);
  f.insert(f.end(), end.begin(), end.begin() + 26);
  TILDAimage image;
  EXPECT_EQ(DecodeIldaImage(f.data(), f.size(), image), TIldaReadResult::Ok);
  EXPECT_EQ(image.frames.size(), 1u);
}

TEST(IldaConvert, DrawingToFrameAndBackIsTheIdentityOnEveryPointOfTheFrameSpace) {
  Drawing drawing;
  DrawingObject* a = drawing.AddObject();
  DrawingObject* b = drawing.AddObject();
  for (int x = 0; x < 256; ++x)
    for (int y = 0; y < 256; ++y) {
      PointRecord p;
      p.x = x;
      p.y = y;
      p.kind = (x + y) % 4;
      p.colour = static_cast<uint8_t>(x ^ y);
      p.blanked = static_cast<uint8_t>(y & 1);
      p.state = static_cast<uint8_t>(x % 3);
      (x < 128 ? a : b)->Add(p);
    }
  // A frame holds one point fewer than the frame space has: the last, (255, 255), is left out.
  TILDAframe frame;
  EXPECT_EQ(DrawingToIldaFrame(drawing, frame), 1u);
  ASSERT_EQ(frame.points.size(), 65535u);
  // Top left of the frame space is the top left of ILDA space (y up).
  EXPECT_EQ(frame.points[0].x, -128);
  EXPECT_EQ(frame.points[0].y, 127);
  EXPECT_EQ(frame.points[255].y, -128);
  // The played copy of the drawing gives the same frame.
  TILDAframe played;
  EXPECT_EQ(DrawingToIldaFrame(TPlayDrawing::FromDrawing(drawing), played), 1u);
  ASSERT_EQ(played.points.size(), frame.points.size());
  for (size_t k = 0; k < frame.points.size(); ++k) {
    ASSERT_EQ(played.points[k].x, frame.points[k].x) << k;
    ASSERT_EQ(played.points[k].y, frame.points[k].y) << k;
    ASSERT_EQ(played.points[k].kind, frame.points[k].kind) << k;
    ASSERT_EQ(played.points[k].colour, frame.points[k].colour) << k;
    ASSERT_EQ(played.points[k].blanked, frame.points[k].blanked) << k;
  }
  Drawing back;
  back.AddObject()->Add(PointRecord{});
  IldaFrameToDrawing(back, frame);
  ASSERT_EQ(back.Count(), 1u);
  ASSERT_EQ(back[0].Count(), 65535u);
  size_t i = 0;
  for (const auto& object : drawing.Objects())
    for (const auto& p : object->Points()) {
      if (i == back[0].Count()) break;
      const PointRecord& q = back[0][i++];
      ASSERT_EQ(q.x, p->x);
      ASSERT_EQ(q.y, p->y);
      ASSERT_EQ(q.kind, p->kind);
      ASSERT_EQ(q.blanked, p->blanked);
      ASSERT_EQ(q.state, 0);
      ASSERT_EQ(q.colour, IldaColorToColorIndex(ColorIndexToIldaColor(p->colour)));
    }
  // Through a file the positions survive as well.
  ScratchDir dir;
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>(frame));
  ASSERT_TRUE(WriteIldaFile(dir.Path("r.ild"), image));
  TILDAimage read;
  ReadIldaFile(dir.Path("r.ild"), read);
  ASSERT_EQ(read.frames.size(), 1u);
  EXPECT_EQ(read.frames[0]->points.size(), 65535u);  // one frame section holds at most this many
  for (size_t k = 0; k < read.frames[0]->points.size(); ++k) {
    ASSERT_EQ(read.frames[0]->points[k].x, frame.points[k].x);
    ASSERT_EQ(read.frames[0]->points[k].y, frame.points[k].y);
  }
}

TEST(IldaConvert, AnEmptyFrameGivesAnEmptyDrawing) {
  Drawing drawing;
  drawing.AddObject()->Add(PointRecord{});
  IldaFrameToDrawing(drawing, TILDAframe{});
  EXPECT_TRUE(drawing.Empty());
}
