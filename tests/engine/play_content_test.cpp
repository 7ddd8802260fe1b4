#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "engine/play_content.h"
#include "engine/show_file.h"
#include "tests/engine/content_folder.h"
#include "tests/support/child_run.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::WriteBytes;

namespace {

// A drawing file of `points` lit points in one object.
std::vector<uint8_t> DrawingImage(size_t points) {
  std::vector<uint8_t> image;
  for (size_t i = 0; i < points; ++i) {
    const bool last = i + 1 == points;
    image.insert(image.end(), {static_cast<uint8_t>(i), 7, 0, 3, static_cast<uint8_t>(last ? 0x80 : 0)});
  }
  return image;
}

std::string Repeat(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line + "\r\n";
  return text;
}

// A file of `size` bytes that takes no disk space: the loaders must refuse it from its size alone.
void WriteSparse(const std::string& path, uintmax_t size) {
  WriteBytes(path, {});
  std::filesystem::resize_file(path, size);
}

}  // namespace

TEST(PlayDrawing, ReadsTheSameObjectsAndPointsAsTheEditorsReader) {
  const std::vector<std::vector<uint8_t>> images = {
      {},
      {1, 2, 3, 4, 0x81, 5, 6, 7, 8, 0x02, 9, 10, 11, 12, 0x80, 13, 14, 0, 1},  // closed, open, partial record
      {1, 2, 0, 0, 0x00, 3, 4, 0, 0, 0x00},                                  // last object never closed
      {255, 255, 255, 255, 0xFF},
  };
  for (const auto& image : images) {
    Drawing expected;
    DecodeDrawing(image.data(), image.size(), expected, 1);
    const TPlayDrawing flat = TPlayDrawing::Decode(image.data(), image.size());
    ASSERT_EQ(flat.ObjectCount(), expected.Count()) << image.size();
    EXPECT_EQ(flat.PointCount(), expected.PointCount());
    for (size_t o = 0; o < expected.Count(); ++o) {
      ASSERT_EQ(flat.Object(o).size(), expected[o].Count());
      for (size_t i = 0; i < expected[o].Count(); ++i) EXPECT_EQ(flat.Object(o)[i], expected[o][i]) << o << "/" << i;
    }
  }
}

TEST(PlayContent, RowsNamingTheSameFileShareOneCopyAcrossTheWholeShow) {
  ContentFolder f;
  WriteBytes(f.root + "Drawing/Star.ddr", DrawingImage(3));
  WriteBytes(f.root + "Drawing/Moon.ddr", DrawingImage(2));
  f.Write("Section/Seg.sec", Repeat("star.ddr|1", 50) + "STAR.DDR|2\r\nmoon.ddr|3\r\n");
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames[0]->points.resize(4);
  ASSERT_TRUE(WriteIldaFile(f.root + "ILDAimage/clip.ild", image));

  TSectionList rows;
  ASSERT_TRUE(LoadSectionFile(f.root + "Section/Seg.sec", rows, f.root));
  ASSERT_EQ(rows.size(), 52u);
  for (size_t i = 0; i < 51; ++i) EXPECT_EQ(rows[i]->drawing, rows[0]->drawing) << i;  // any case, one copy
  EXPECT_EQ(rows[0]->drawing->PointCount(), 3u);
  EXPECT_NE(rows[51]->drawing, rows[0]->drawing);

  TSequence show;
  ASSERT_TRUE(LoadShowFileWithContent(f.Write("Sequence/s.seq", "[Music]\n\n[Track1]\nstar.ddr|1\nseg.sec|2\n"
                                                                "[Track2]\nseg.sec|3\nclip.ild|4\n[Track3]\nclip.ild|5\n"),
                                      f.root, show));
  const TSectionListPtr& segment = show.track1[1]->rows;
  ASSERT_EQ(segment->size(), 52u);
  EXPECT_EQ(show.track2[0]->rows, segment);
  EXPECT_EQ((*segment)[0]->drawing, show.track1[0]->drawing);  // a segment's drawings are the show's
  EXPECT_EQ(show.track3[0]->ilda, show.track2[1]->ilda);
  EXPECT_EQ(show.track3[0]->ilda->frames.size(), 1u);
}

TEST(PlayContent, ContentIsCountedOnceAndALoadPastTheBudgetIsRefusedBeforeReading) {
  ContentFolder f;
  WriteBytes(f.root + "Drawing/a.ddr", DrawingImage(100));
  WriteBytes(f.root + "Drawing/b.ddr", DrawingImage(100));
  TPlayContentLoader content(f.root, 4000);
  const TPlayDrawingPtr a = content.Drawing("a.ddr");
  const uint64_t held = content.HeldBytes();
  EXPECT_GE(held, 100 * sizeof(PointRecord));
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(content.Drawing("A.ddr"), a);
  EXPECT_EQ(content.HeldBytes(), held);
  try {
    content.Drawing("b.ddr");
    ADD_FAILURE() << "b.ddr fitted";
  } catch (const EContentTooLarge& refusal) {
    EXPECT_EQ(refusal.Name(), "b.ddr");
  }
  EXPECT_EQ(content.HeldBytes(), held);  // nothing was kept for the refused file

  // Through the segment reader: refused with a message naming the segment and the drawing.
  const std::string segment = f.Write("Section/two.sec", "a.ddr|1\r\nb.ddr|1\r\n");
  TPlayContentLoader small(f.root, 4000);
  TSectionList rows;
  rows.push_back(std::make_unique<TSectionRecord>());
  std::string error;
  EXPECT_FALSE(LoadSectionFile(segment, rows, small, &error));
  EXPECT_TRUE(rows.empty());
  EXPECT_NE(error.find("\"" + segment + "\" names more content than fits in memory"), std::string::npos) << error;
  EXPECT_NE(error.find("\"b.ddr\""), std::string::npos) << error;
}

TEST(PlayContent, HugeContentFilesAreRefusedFromTheirSizeWithTheDefaultBudget) {
  ContentFolder f;
  WriteSparse(f.root + "Drawing/huge.ddr", uintmax_t{4} << 30);
  const std::string segment = f.Write("Section/s.sec", Repeat("huge.ddr|1", 10));
  TSectionList rows;
  std::string error;
  EXPECT_FALSE(LoadSectionFile(segment, rows, f.root, &error));
  EXPECT_NE(error.find("\"huge.ddr\""), std::string::npos) << error;

  kavri_test::RecordingDialogs dialogs;
  for (const std::string row : {"s.sec|1", "huge.ddr|1"}) {
    TSequence show;
    error.clear();
    const std::string file = f.Write("Sequence/s.seq", "[Music]\nm.mp3\n[Track1]\nnone.ddr|1\n" + row + "\n");
    EXPECT_FALSE(LoadShowFileWithContent(file, f.root, show, &error)) << row;
    EXPECT_TRUE(show.track1.empty()) << row;
    EXPECT_NE(error.find("\"" + file + "\" names more content than fits in memory"), std::string::npos) << error;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

// The editor and playback take the same drawing files: the largest the editor opens plays, and
// one byte more is refused by the editor and plays as missing.
TEST(PlayContent, TheEditorAndPlaybackAgreeOnTheLargestDrawingFile) {
  const std::vector<uint8_t> most = DrawingImage(kMaxDrawingPoints);
  const struct {
    uint64_t size;
    bool taken;
  } cases[] = {
      {kMaxDrawingPoints * kDrawingRecordSize, true},
      {kMaxDrawingPoints * kDrawingRecordSize + 1, true},  // a partial record after the last point
      {kMaxDrawingFileBytes, true},
      {kMaxDrawingFileBytes + 1, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    ContentFolder f;
    std::vector<uint8_t> file = most;
    file.resize(c.size, 0);
    WriteBytes(f.root + "Drawing/edge.ddr", file);
    Drawing drawing;
    EXPECT_EQ(LoadDrawingFile(f.root + "Drawing/edge.ddr", drawing, 1), c.taken);
    EXPECT_EQ(drawing.PointCount(), c.taken ? kMaxDrawingPoints : 0u);
    TPlayContentLoader content(f.root);
    EXPECT_EQ(content.Drawing("edge.ddr")->PointCount(), c.taken ? kMaxDrawingPoints : 0u);
  }
}

// What a show reserves for an ILDA file bounds what reading it holds, and is small enough that any
// file within the reader's limits, and anything the converter writes, loads within the budget.
TEST(PlayContent, TheIldaReserveBoundsWhatAReadHoldsAndFitsEveryReadableFileInTheBudget) {
  auto fileOf = [](size_t n, uint8_t format, uint16_t count, bool cutLast = false) {
    const size_t record = format == 0 ? 8 : format == 1 ? 6 : format == 2 ? 3 : 10;
    std::vector<uint8_t> file;
    for (size_t s = 0; s < n; ++s) {
      file.insert(file.end(), {'I', 'L', 'D', 'A', 0, 0, 0, format});
      file.insert(file.end(), 16, 'I');
      file.insert(file.end(), {static_cast<uint8_t>(count >> 8), static_cast<uint8_t>(count), 0, 0, 0, 0, 0, 0});
      for (size_t r = 0; r < count; ++r) {
        file.insert(file.end(), record, 0);
        if (format <= 1 && r + 1 == count) file[file.size() - 2] = 0x80;  // the status byte
      }
    }
    if (cutLast) file.erase(file.end() - static_cast<std::ptrdiff_t>(count * record), file.end());
    return file;
  };
  const struct {
    const char* what;
    std::vector<uint8_t> file;
  } files[] = {
      {"one-point 2-D frames", fileOf(3000, 1, 1)},
      {"one-point 3-D frames, the last cut to its header", fileOf(3000, 0, 1, true)},
      {"one-entry palettes", fileOf(3000, 2, 1)},
      {"full 2-D frames", fileOf(3, 1, 65535)},
      {"full 3-D frames", fileOf(2, 0, 65535)},
      {"true-colour frames", fileOf(100, 4, 100)},
  };
  ContentFolder f;
  for (const auto& c : files) {
    SCOPED_TRACE(c.what);
    const std::string path = f.root + "ILDAimage/x.ild";
    WriteBytes(path, c.file);
    TILDAimage image;
    ReadIldaFile(path, image);
    EXPECT_LE(IldaHeldBytes(image), IldaBytesAtMost(c.file.size()));
  }

  const uint64_t points2D = 512 * (32 + 65535 * 6) + 32;  // 512 full 2-D frames
  const uint64_t merged = 512 * (32 + 65535 * 8) + 32;    // the same frames as the converter writes them
  const uint64_t mostRecords = kIldaMaxRecords, mostSections = kIldaMaxSections;
  const uint64_t largestWritten = 32 * (mostSections + 1) + 8 * mostRecords;  // the most the writer takes
  const uint64_t largestRead = 32 * mostSections + 10 * mostRecords;          // true-colour records
  const struct {
    const char* what;
    uint64_t size;
    uint64_t atLeast;  // what reading such a file may hold
  } sizes[] = {
      {"512 frames of 65535 2-D points", points2D, uint64_t{512} * 65535 * sizeof(PointRecord)},
      {"their merge", merged, uint64_t{512} * 65535 * sizeof(PointRecord)},
      {"the converter's largest file", largestWritten, mostRecords * sizeof(PointRecord)},
      {"the reader's largest file", largestRead, mostRecords * sizeof(PointRecord)},
      {"points at the reader's limit", 6 * mostRecords, mostRecords * sizeof(PointRecord)},
      {"one point over it", 6 * mostRecords + 6, mostRecords * sizeof(PointRecord)},
      {"a 4 GiB file", uint64_t{4} << 30, mostRecords * sizeof(PointRecord)},
      {"the largest file size", UINT64_MAX, mostRecords * sizeof(PointRecord)},
  };
  for (const auto& c : sizes) {
    SCOPED_TRACE(c.what);
    EXPECT_GE(IldaBytesAtMost(c.size), c.atLeast);
    EXPECT_LE(IldaBytesAtMost(c.size), kPlayContentBudget);
  }
  // Past the reader's limits a larger file can hold no more.
  EXPECT_EQ(IldaBytesAtMost(6 * mostRecords + 6), IldaBytesAtMost(6 * mostRecords));
  EXPECT_EQ(IldaBytesAtMost(UINT64_MAX), IldaBytesAtMost(largestRead));
}

// What Segment Edit or Show Edit refuses to open is refused alike when played, on its own or named
// by a show, in the same words, and found before the lines are made.
TEST(PlayContent, FilesTheEditorsRefuseAreRefusedForPlayInTheirWords) {
  ContentFolder f;
  f.Write("Section/ok.sec", "a.ddr|1\r\n");
  const struct {
    const char* segment;
    std::string text;
    const char* words;
  } segments[] = {
      {"over.sec", Repeat("a.ddr|1", 100001),
       "\"over.sec\" was not opened: it has 100001 lines, more than the 100000 that Segment Edit takes."},
      {"breaks.sec", std::string(3u << 20, '\n'),
       "\"breaks.sec\" was not opened: it has 3145728 lines, more than the 100000 that Segment Edit takes."},
      {"long.sec", "a.ddr|1\r\n" + std::string(3u << 20, 'a'),
       "\"long.sec\" was not opened: its line 2 is 3145728 bytes long, more than the 1867737 that Segment Edit takes."}};
  for (const auto& c : segments) {
    SCOPED_TRACE(c.segment);
    const std::string path = f.Write(std::string("Section/") + c.segment, c.text);
    TSectionList rows;
    rows.push_back(std::make_unique<TSectionRecord>());
    std::string error;
    EXPECT_FALSE(LoadSectionFile(path, rows, f.root, &error));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(error, c.words);
    TSequence show;
    error.clear();
    const std::string file =
        f.Write("Sequence/s.seq", "[Music]\r\n\r\n[Track1]\r\nok.sec|1\r\n" + std::string(c.segment) + "|1\r\n");
    EXPECT_FALSE(LoadShowFileWithContent(file, f.root, show, &error));
    EXPECT_TRUE(show.track1.empty());
    EXPECT_NE(error.find(c.words), std::string::npos) << error;
  }
  const struct {
    const char* show;
    std::string text;
    const char* words;
  } shows[] = {
      {"over.seq", "[Music]\r\n\r\n[Track1]\r\n" + Repeat("a.ddr|1", 99998),
       "\"over.seq\" was not opened: it has 100001 lines, more than the 100000 that Show Edit takes."},
      {"long.seq", "[Music]\r\n" + std::string(196604, 'm') + "\r\n[Track1]\r\na.ddr|1\r\n",
       "\"long.seq\" was not opened: its line 2 is 196604 bytes long, more than the 196603 that Show Edit takes."}};
  for (const auto& c : shows) {
    SCOPED_TRACE(c.show);
    const std::string file = f.Write(std::string("Sequence/") + c.show, c.text);
    TSequence show;
    std::string error;
    EXPECT_FALSE(LoadShowFileWithContent(file, f.root, show, &error));
    EXPECT_TRUE(show.track1.empty());
    EXPECT_EQ(error, c.words);
  }
}

// Why a segment that is there but cannot be read is refused when played on its own (as Segment Edit
// and the converter load it) and when a show names it, never played as an empty segment; "" when
// both refuse it with the file and `words`.
std::string SegmentRefusalFault(ContentFolder& f, const std::string& segment, const std::string& words) {
  const std::string path = f.root + "Section/" + segment;
  TSectionList rows;
  rows.push_back(std::make_unique<TSectionRecord>());
  std::string error;
  if (LoadSectionFile(path, rows, f.root, &error)) return "the segment loaded on its own";
  if (!rows.empty()) return "rows stayed after the refusal";
  if (error.find(path + ": " + words) == std::string::npos) return "on its own: " + error;
  TSequence show;
  error.clear();
  const std::string file = f.Write("Sequence/s.seq", "[Music]\r\n\r\n[Track1]\r\n" + segment + "|1\r\n");
  if (LoadShowFileWithContent(file, f.root, show, &error)) return "the show naming it loaded";
  if (!show.track1.empty()) return "the refused show kept rows";
  if (error.find(path + ": " + words) == std::string::npos) return "in a show: " + error;
  return "";
}

TEST(PlayContent, AnOversizedSegmentIsRefusedForPlayAloneAndInAShow) {
  ContentFolder f;
  WriteSparse(f.root + "Section/huge.sec", kMaxTextFileBytes + 1);
  EXPECT_EQ(SegmentRefusalFault(f, "huge.sec", "the file is larger than 67108864 bytes"), "");
}

// Root reads a file whatever its permissions: the check runs as an ordinary user.
TEST(PlayContent, ASegmentWithoutReadPermissionIsRefusedForPlayAloneAndInAShow) {
  ContentFolder f;
  const std::string path = f.Write("Section/locked.sec", "a.ddr|1\r\n");
  EXPECT_EQ(kavri_test::RunInChild(30, [&] {
              if (!kavri_test::BecomeOrdinaryUser({f.dir.Path()}) || ::chmod(path.c_str(), 0) != 0) return false;
              const std::string fault = SegmentRefusalFault(f, "locked.sec", "Permission denied");
              if (!fault.empty()) std::fprintf(stderr, "%s\n", fault.c_str());
              return fault.empty();
            }),
            "");
}

// What stands under a row's name and is no regular file is missing content, whatever the row's
// kind: the row stays, empty, and the rest of the show loads and plays, without a word. Segment
// Edit's own Play keeps refusing such a segment.
TEST(PlayContent, AShowRowNamingAFolderALinkToNothingOrAFifoLoadsEmptyAndTheShowPlays) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> make;
    const char* ownPlayWords;  // the refusal of Segment Edit's Play; "" when it finds no file
  } kinds[] = {
      {"folder", [](const std::string& p) { ASSERT_TRUE(QDir().mkpath(QString::fromStdString(p))); },
       "not a regular file"},
      {"link to nothing", [](const std::string& p) { ASSERT_EQ(::symlink("gone", p.c_str()), 0); },
       "No such file or directory"},
      {"fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }, "not a regular file"},
      {"missing", [](const std::string&) {}, "No such file or directory"},
  };
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.what);
    ContentFolder f;
    WriteBytes(f.root + "Drawing/real.ddr", DrawingImage(3));
    for (const char* name : {"Drawing/x.ddr", "Section/x.sec", "ILDAimage/x.ild"}) kind.make(f.root + name);
    const std::string file = f.Write("Sequence/s.seq", "[Music]\r\n\r\n[Track1]\r\nx.sec|5\r\nreal.ddr|7\r\n"
                                                       "[Track2]\r\nx.ddr|5\r\n[Track3]\r\nx.ild|5\r\n");
    TSequence show;
    std::string error;
    ASSERT_TRUE(LoadShowFileWithContent(file, f.root, show, &error)) << error;
    EXPECT_EQ(error, "");
    ASSERT_EQ(show.track1.size(), 2u);
    EXPECT_EQ(show.track1[0]->name, "x.sec");
    EXPECT_EQ(show.track1[0]->time, 5);
    EXPECT_TRUE(show.track1[0]->rows->empty());
    EXPECT_EQ(show.track1[1]->drawing->PointCount(), 3u);
    ASSERT_EQ(show.track2.size(), 1u);
    EXPECT_EQ(show.track2[0]->drawing->PointCount(), 0u);
    ASSERT_EQ(show.track3.size(), 1u);
    EXPECT_TRUE(show.track3[0]->ilda->frames.empty());

    TSectionList rows;
    EXPECT_FALSE(LoadSectionFile(f.root + "Section/x.sec", rows, f.root, &error));
    EXPECT_NE(error.find(f.root + "Section/x.sec: " + kind.ownPlayWords), std::string::npos) << error;
  }
}

TEST(PlayContent, NamesReachingOutsideTheirFolderLoadNothing) {
  ContentFolder f;
  QDir().mkpath(QString::fromStdString(f.root + "Drawing/sub"));
  for (const char* path : {"secret.ddr", "Drawing/sub/deep.ddr", "Drawing/ok.ddr", "Section/other.ddr"})
    WriteBytes(f.root + path, DrawingImage(2));
  const std::vector<std::string> outside = {"../secret.ddr",   "..\\secret.ddr", f.root + "secret.ddr",
                                            "sub/deep.ddr",    "sub\\deep.ddr",  "../Section/other.ddr",
                                            "./ok.ddr",        ".",              ".."};
  TPlayContentLoader content(f.root);
  for (const std::string& name : outside) EXPECT_TRUE(content.Drawing(name)->Empty()) << name;
  EXPECT_EQ(content.Drawing("ok.ddr")->PointCount(), 2u);

  // The same through the readers, for each kind of content.
  f.Write("Section/ok.sec", "ok.ddr|1\r\n");
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames[0]->points.resize(1);
  ASSERT_TRUE(WriteIldaFile(f.root + "ILDAimage/ok.ild", image));
  TSectionList rows;
  ASSERT_TRUE(LoadSectionFile(f.Write("Section/s.sec", "../secret.ddr|1\r\nok.ddr|1\r\n"), rows, f.root));
  EXPECT_TRUE(rows[0]->drawing->Empty());
  EXPECT_FALSE(rows[1]->drawing->Empty());
  TSequence show;
  ASSERT_TRUE(LoadShowFileWithContent(f.Write("Sequence/s.seq", "[Music]\nC:\\Music\\song.mp3\n[Track1]\n"
                                                                "..\\Drawing\\ok.ddr|1\n../Section/ok.sec|1\n"
                                                                "../ILDAimage/ok.ild|1\n"),
                                      f.root, show));
  ASSERT_EQ(show.track1.size(), 3u);
  EXPECT_TRUE(show.track1[0]->drawing->Empty());
  EXPECT_TRUE(show.track1[1]->rows->empty());
  EXPECT_TRUE(show.track1[2]->ilda->frames.empty());
  EXPECT_EQ(show.music, "C:\\Music\\song.mp3");  // the music line keeps its path
}
