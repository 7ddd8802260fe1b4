#include <gtest/gtest.h>

#include <functional>

#include "engine/show_file.h"
#include "platform/int_convert.h"
#include "platform/text.h"
#include "tests/engine/content_folder.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::ReadBytes;
using kavri_test::ScratchDir;
using kavri_test::TextBytes;
using kavri_test::WriteBytes;

namespace {

struct ShowFolder : ContentFolder {
  std::string Show(const std::string& text) { return Write("Sequence/s.seq", text); }
};

std::vector<std::string> Names(const TSequenceTrack& track) {
  std::vector<std::string> names;
  for (const auto& r : track) names.push_back(r->name + "=" + std::to_string(r->time));
  return names;
}

}  // namespace

TEST(ShowFile, WriterLowerCasesRowsKeepsMusicAndReadsBack) {
  ShowFolder f;
  TShowTrackCells cells;
  cells[0] = {{"Star.DDR", "100"}, {"Intro.sec", "350"}};
  cells[1] = {{"", "0"}};  // the grid's blank row
  cells[2] = {{"Laser.ILD", "12"}};
  const std::string path = f.root + "Sequence/w.seq";
  ASSERT_TRUE(SaveShowFile(path, "My Song.MP3", cells));
  EXPECT_EQ(ReadBytes(path), TextBytes("[Music]\r\nMy Song.MP3\r\n[Track1]\r\nstar.ddr|100\r\nintro.sec|350\r\n"
                                   "[Track2]\r\n|0\r\n[Track3]\r\nlaser.ild|12\r\n"));
  TSequence show;
  LoadShowFile(path, show);
  EXPECT_EQ(show.music, "My Song.MP3");
  EXPECT_EQ(Names(show.track1), (std::vector<std::string>{"star.ddr=100", "intro.sec=350"}));
  EXPECT_EQ(Names(show.track2), (std::vector<std::string>{"=0"}));
  EXPECT_EQ(Names(show.track3), (std::vector<std::string>{"laser.ild=12"}));
  // Written again from the records, the file is the same.
  const std::string again = f.root + "Sequence/w2.seq";
  ASSERT_TRUE(SaveShowFile(again, show));
  EXPECT_EQ(ReadBytes(again), ReadBytes(path));
  EXPECT_FALSE(SaveShowFile(f.root + "none/x.seq", show));

  // A name with "|" or a text with a line break would not read back: refused, the file kept.
  std::string error;
  cells[0] = {{"a|b.ddr", "1"}};
  EXPECT_FALSE(SaveShowFile(path, "m", cells, &error));
  EXPECT_NE(error.find("a|b.ddr"), std::string::npos);
  cells[0] = {{"a.ddr", "1\r\n[Track2]"}};
  EXPECT_FALSE(SaveShowFile(path, "m", cells));
  EXPECT_FALSE(SaveShowFile(path, "m\nx", TShowTrackCells{}));
  EXPECT_EQ(ReadBytes(path), ReadBytes(again));
}

TEST(ShowFile, RowTimesEmptyTracksAndReloading) {
  ShowFolder f;
  TSequence show;
  LoadShowFile(f.Show("[Music]\nsong.mp3\n[Track1]\na.ddr|\nb.ddr| 7 \nc.ddr\n[Track2]\n[Track3]\n"), show);
  EXPECT_EQ(show.music, "song.mp3");
  EXPECT_EQ(Names(show.track1), (std::vector<std::string>{"a.ddr=0", "b.ddr=7", "c.ddr=0"}));
  EXPECT_TRUE(show.track2.empty());
  EXPECT_TRUE(show.track3.empty());
  LoadShowFile(f.Show("[Music]\r\n\r\n[Track1]\r\n[Track2]\r\n[Track3]\r\nz.ild|3\r\n"), show);
  EXPECT_EQ(show.music, "");
  EXPECT_TRUE(show.track1.empty());
  EXPECT_EQ(Names(show.track3), (std::vector<std::string>{"z.ild=3"}));
}

TEST(ShowFile, MissingOrMisplacedSectionLinesNeverReachPastTheLines) {
  ShowFolder f;
  TSequence show;
  LoadShowFile(f.Show("[Track1]\na|1\n[Music]"), show);
  EXPECT_EQ(show.music, "");
  EXPECT_EQ(Names(show.track1), (std::vector<std::string>{"a=1"}));
  LoadShowFile(f.Show("[Track3]\nc|3\n[Track2]\nb|2\n[Music]\nm\n"), show);
  EXPECT_EQ(show.music, "m");
  EXPECT_TRUE(show.track1.empty());
  EXPECT_EQ(Names(show.track2), (std::vector<std::string>{"b=2"}));
  EXPECT_EQ(Names(show.track3), (std::vector<std::string>{"c=3"}));
  LoadShowFile(f.Show("[Music]\n[Track1]\n"), show);
  EXPECT_EQ(show.music, "");
  LoadShowFile(f.root + "Sequence/missing.seq", show);
  EXPECT_TRUE(show.track3.empty());
}

TEST(ShowFile, ABadTimeStopsTheLoadKeepingWhatWasRead) {
  ShowFolder f;
  TSequence show;
  try {
    LoadShowFile(f.Show("[Music]\nm\n[Track1]\na|1\n[Track2]\nb|2\nc|x\n[Track3]\nd|4\n"), show);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
  }
  EXPECT_EQ(show.track1.size(), 1u);
  EXPECT_EQ(show.track2.size(), 1u);
  EXPECT_TRUE(show.track3.empty());
}

TEST(ShowFile, ContentIsLoadedByExactExtensionWithCaseBlindNames) {
  ShowFolder f;
  WriteBytes(f.root + "Drawing/MyPic.ddr", {1, 2, 0, 0, 0x80});
  WriteBytes(f.root + "Section/Seg.sec", TextBytes("mypic.ddr|10\r\nnodrawing.ddr|20\r\n"));
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames[0]->points.resize(4);
  ASSERT_TRUE(WriteIldaFile(f.root + "ILDAimage/clip.ild", image));
  kavri_test::RecordingDialogs dialogs;
  TSequence show;
  show.track2.push_back(std::make_unique<TSequenceRecord>());
  LoadShowFileWithContent(f.Show("[Music]\n\n[Track1]\nmypic.ddr|5\nseg.sec|30\nclip.ild|1\n"
                                 "[Track2]\nMYPIC.DDR|5\nmissing.ddr|1\nmypic.txt|1\n[Track3]\n"),
                          f.root, show);
  ASSERT_EQ(show.track1.size(), 3u);
  EXPECT_EQ(show.track1[0]->drawing->PointCount(), 1u);
  ASSERT_EQ(show.track1[1]->rows->size(), 2u);
  EXPECT_EQ((*show.track1[1]->rows)[0]->drawing->PointCount(), 1u);
  EXPECT_TRUE((*show.track1[1]->rows)[1]->drawing->Empty());  // its drawing does not exist
  ASSERT_EQ(show.track1[2]->ilda->frames.size(), 1u);
  EXPECT_EQ(show.track1[2]->ilda->frames[0]->points.size(), 4u);
  ASSERT_EQ(show.track2.size(), 3u);
  for (const auto& r : show.track2) {
    EXPECT_TRUE(r->drawing->Empty()) << r->name;  // capital extension, missing file, other kind
    EXPECT_TRUE(r->rows->empty());
    EXPECT_TRUE(r->ilda->frames.empty());
  }
  EXPECT_TRUE(dialogs.shown.empty());

  // The plain reader loads names and times only.
  LoadShowFile(f.root + "Sequence/s.seq", show);
  EXPECT_TRUE(show.track1[0]->drawing->Empty());
}

TEST(ShowFile, AMusicTextEqualToASectionLineIsRefused) {
  ShowFolder f;
  const std::string path = f.root + "Sequence/w.seq";
  ASSERT_TRUE(SaveShowFile(path, "[track1]", TShowTrackCells{}));  // section lines match exactly
  const std::vector<uint8_t> kept = ReadBytes(path);
  for (const char* music : {"[Music]", "[Track1]", "[Track2]", "[Track3]"}) {
    std::string error;
    EXPECT_FALSE(SaveShowFile(path, music, TShowTrackCells{}, &error)) << music;
    EXPECT_NE(error.find(music), std::string::npos) << error;
  }
  EXPECT_EQ(ReadBytes(path), kept);
}

// The lines a show's line limit counts: all but a track's lone blank row, the one Show Edit shows
// and writes for an empty track; a track is read from its first section only.
TEST(ShowFile, TheLineLimitLeavesOutOnlyATracksLoneBlankRow) {
  const struct {
    const char* what;
    const char* text;
    size_t counted;
  } cases[] = {
      {"empty tracks", "[Music]\nm\n[Track1]\n[Track2]\n[Track3]\n", 5},
      {"lone blank rows", "[Music]\nm\n[Track1]\n|0\n[Track2]\n|\n[Track3]\n|0", 5},
      {"blank row then a row", "[Music]\nm\n[Track1]\n|0\na.ddr|1\n[Track2]\n[Track3]\n", 7},
      {"row then a blank row", "[Music]\nm\n[Track1]\na.ddr|1\n|0\n[Track2]\n[Track3]\n", 7},
      {"two blank rows", "[Music]\nm\n[Track1]\n|0\n|0\n[Track2]\n[Track3]\n", 7},
      {"other blank-looking rows", "[Music]\nm\n[Track1]\n|00\n[Track2]\n |0\n[Track3]\n|0|\n", 8},
      {"blank music", "[Music]\n|0\n[Track1]\n[Track2]\n[Track3]\n", 5},
      {"blank row before any section", "|0\n[Music]\nm\n[Track1]\n", 4},
      {"blank row after the music section", "[Music]\n[Track1]\n|0\n[Music]\n|0\n", 4},
      {"repeated section", "[Music]\nm\n[Track1]\n|0\n[Track1]\n|0\n[Track1]\n|0\n[Track2]\n[Track3]\n", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TRowFileMeasure measure;
    ForEachTextLine(c.text, [&](std::string_view line) { measure.Add(line, kShowFileRule); });
    EXPECT_EQ(measure.CountedLines(), c.counted);
    // The writer measures the lines it makes the same way.
    const TextLines lines = SplitTextLines(c.text);
    const TRowFileRule tight{c.counted, kShowFileRule.maxLineBytes, "Show Edit", kShowFileRule.sortLine};
    EXPECT_EQ(RowFileRefusal(c.text, "s.seq", tight), std::nullopt);
    EXPECT_EQ(RowLinesRefusal(lines, "s.seq", tight), std::nullopt);
    const TRowFileRule tighter{c.counted - 1, kShowFileRule.maxLineBytes, "Show Edit", kShowFileRule.sortLine};
    EXPECT_EQ(RowFileRefusal(c.text, "s.seq", tighter),
              "\"s.seq\" was not opened: it has " + std::to_string(c.counted) + " lines, more than the " +
                  std::to_string(c.counted - 1) + " that Show Edit takes.");
    EXPECT_NE(RowLinesRefusal(lines, "s.seq", tighter), std::nullopt);
  }
}

// A show line of exactly the reader's limit is written and opens; one byte more is refused before
// anything is written, with the limit named, and the old file stays.
TEST(ShowFile, TheWriterTakesALineOfExactlyTheReadersLimitAndRefusesOneByteMore) {
  ShowFolder f;
  const size_t limit = kShowFileRule.maxLineBytes;
  ASSERT_EQ(limit, 196603u);
  const std::string seven = std::string(kMaxTypedTextBytes - 1, ' ') + "7";
  // The music and a track 1 row whose longest line is `limit + over` bytes.
  const struct {
    const char* what;
    std::function<std::pair<std::string, TShowRowCells>(size_t over)> show;
    int line;  // the long line's number
  } shapes[] = {
      {"long name, time 0",
       [&](size_t over) { return std::make_pair(std::string("m"), TShowRowCells(std::string(limit - 2 + over, 'n'), "0")); },
       4},
      {"both cells full",
       [&](size_t over) {
         return std::make_pair(std::string("m"), TShowRowCells(std::string(kMaxTypedTextBytes + over, 'n'), seven));
       },
       4},
      {"long music",
       [&](size_t over) { return std::make_pair(std::string(limit + over, 'm'), TShowRowCells("a.ddr", "1")); }, 2},
  };
  const std::string path = f.root + "Sequence/long.seq";
  const auto kept = TextBytes("[Music]\r\nold\r\n");
  for (const auto& shape : shapes) {
    SCOPED_TRACE(shape.what);
    WriteBytes(path, kept);
    const auto [overMusic, overRow] = shape.show(1);
    TShowTrackCells cells;
    cells[0] = {overRow};
    std::string error;
    EXPECT_FALSE(SaveShowFile(path, overMusic, cells, &error));
    EXPECT_EQ(error, "\"long.seq\" was not saved: its line " + std::to_string(shape.line) +
                         " is 196604 bytes long, more than the 196603 that Show Edit takes.");
    EXPECT_EQ(ReadBytes(path), kept);

    const auto [music, row] = shape.show(0);
    cells[0] = {row};
    ASSERT_TRUE(SaveShowFile(path, music, cells, &error)) << error;
    TSequence show;
    ASSERT_TRUE(LoadShowFileWithContent(path, f.root, show, &error)) << error;
    EXPECT_EQ(show.music, music);
    ASSERT_EQ(show.track1.size(), 1u);
    EXPECT_EQ(show.track1[0]->name, row.first);
    EXPECT_EQ(show.track1[0]->time, StrToInt(Trim(row.second)));
  }
}

// The show's texts that cannot be stored are quoted by their start, as the segment's cells are.
TEST(ShowFileSave, ATextThatCannotBeStoredIsQuotedByItsStart) {
  ScratchDir dir;
  const std::string path = dir.Path("s.seq");
  const std::string name = std::string(98 * 1024, 'n') + "|.ddr";
  TShowTrackCells tracks;
  tracks[0] = {{name, "1"}};
  std::string error;
  EXPECT_FALSE(SaveShowFile(path, "m.mp3", tracks, &error));
  EXPECT_EQ(error, "The show text '" + std::string(40, 'n') + "…' cannot be stored: it holds '|' or a line break");
}
