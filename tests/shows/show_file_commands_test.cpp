#include "shows/show_file_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/drawing.h"
#include "engine/ilda_file.h"
#include "engine/section_file.h"
#include "platform/file_io.h"
#include "platform/program_folder.h"
#include "platform/text_lines.h"
#include "segments/file_list_commands.h"
#include "shows/show_music.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/recording_dialogs.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::ReadBytes;
using kavri_test::TextBytes;
using kavri_test::WriteBytes;

std::vector<TShowRow> Rows(std::initializer_list<TShowRow> rows) { return rows; }

class ShowFileCommandsTest : public ::testing::Test {
 protected:
  ShowFileCommandsTest() : scope(dir.Path()) {
    EnsureContentFolders();
    const std::pair<TFileList*, std::pair<const char*, std::string>> lists[] = {
        {&drawings, {"*.ddr", DrawingFolder()}},
        {&segments, {"*.sec", SectionFolder()}},
        {&ildas, {"*.ild", IldaFolder()}},
        {&shows, {"*.SEQ", SequenceFolder()}}};
    for (const auto& [list, setup] : lists) {
      list->SetMask(setup.first);
      list->SetDirectory(setup.second);
    }
  }
  std::string ShowPath(const std::string& name) { return SequenceFolder() + name; }
  void Select(TFileList& list, const std::string& name) {
    list.Refresh();
    list.SetItemIndex(list.IndexOf(name));
  }

  kavri_test::ScratchDir dir;
  kavri_test::ProgramFolderScope scope;
  kavri_test::RecordingDialogs dialogs;
  TShowGridModel show;
  TFileList drawings, segments, ildas, shows;
  int drawingPreviews = 0, ildaPreviews = 0;
  std::vector<std::string> edited;
  TShowFileCommands files{show,
                          {&drawings, &segments, &ildas, &shows},
                          {[this] { ++drawingPreviews; }, [this] { ++ildaPreviews; }, [this] { ++ildaPreviews; },
                           [this](const std::string& p) {
                             edited.push_back(p);
                             return true;
                           }}};
};

TEST_F(ShowFileCommandsTest, SaveAsksForTheFirstNameAndWritesTheExactBytes) {
  show.Track(0).ReplaceRows(Rows({{"Star.DDR", "100"}, {"b.ddr", "5"}}));
  show.Track(2).ReplaceRows(Rows({{"X.ILD", "7"}}));
  show.SetMusic("C:\\Music\\Song.MP3");
  dialogs.inputAnswers.push_back(std::string(" Gig "));
  ASSERT_TRUE(files.Save());
  EXPECT_EQ(dialogs.shown.at(0).text, "show name");
  EXPECT_EQ(show.ShowName(), "Gig");
  EXPECT_EQ(show.Status(), "Save show success.");
  EXPECT_EQ(shows.SelectedName(), "Gig.seq");
  // The music line as typed, names and times lowered, an empty track as "|0".
  EXPECT_EQ(ReadBytes(ShowPath("Gig.seq")), TextBytes("[Music]\r\nC:\\Music\\Song.MP3\r\n"
                                                      "[Track1]\r\nstar.ddr|100\r\nb.ddr|5\r\n"
                                                      "[Track2]\r\n|0\r\n"
                                                      "[Track3]\r\nx.ild|7\r\n"));
  show.Track(1).SetCell(0, 1, "c.sec");
  ASSERT_TRUE(files.Save());  // named now: nothing asked, the file replaced
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(ReadBytes(ShowPath("Gig.seq")), TextBytes("[Music]\r\nC:\\Music\\Song.MP3\r\n"
                                                      "[Track1]\r\nstar.ddr|100\r\nb.ddr|5\r\n"
                                                      "[Track2]\r\nc.sec|0\r\n"
                                                      "[Track3]\r\nx.ild|7\r\n"));

  dialogs.inputAnswers.push_back(std::string("copy"));
  ASSERT_TRUE(files.SaveAs());
  EXPECT_EQ(show.Status(), "Save as show success.");
  EXPECT_EQ(show.ShowName(), "copy");
  EXPECT_EQ(ReadBytes(ShowPath("copy.seq")), ReadBytes(ShowPath("Gig.seq")));
}

TEST_F(ShowFileCommandsTest, SaveOfAShowOpenedFromAnUpperCaseFileReplacesThatFile) {
  WriteBytes(ShowPath("OLD.SEQ"), TextBytes("[Music]\r\n\r\n[Track1]\r\na.ddr|1\r\n[Track2]\r\n[Track3]\r\n"));
  Select(shows, "OLD.SEQ");
  ASSERT_TRUE(files.Open());
  show.Track(0).SetCell(1, 1, "2");
  ASSERT_TRUE(files.Save());
  shows.Refresh();
  EXPECT_EQ(shows.Items(), std::vector<std::string>{"OLD.SEQ"});
  EXPECT_EQ(shows.SelectedName(), "OLD.SEQ");
}

TEST_F(ShowFileCommandsTest, BlankOrCancelledNamesWriteNothing) {
  dialogs.inputAnswers.push_back(std::string("   "));
  dialogs.inputAnswers.push_back(std::nullopt);
  EXPECT_FALSE(files.Save());
  EXPECT_FALSE(files.SaveAs());
  EXPECT_EQ(show.ShowName(), "NewSequence");
  shows.Update();
  EXPECT_EQ(shows.Count(), 0);
}

TEST_F(ShowFileCommandsTest, NewRefusesAListedShowAndOtherwiseStartsBlankKeepingTheMusic) {
  WriteBytes(ShowPath("Party.SEQ"), TextBytes("[Music]\r\n"));
  shows.Refresh();
  show.Track(0).ReplaceRows(Rows({{"a.ddr", "1"}, {"b.ddr", "2"}}));
  show.SetMusic("song.mp3");
  dialogs.inputAnswers.push_back(std::string("party"));
  files.New();
  EXPECT_EQ(show.Status(), "This show have exists,create failure.");
  EXPECT_EQ(show.ShowName(), "NewSequence");
  EXPECT_EQ(show.Track(0).LastRow(), 2);

  dialogs.inputAnswers.push_back(std::string("Fresh"));
  files.New();
  EXPECT_EQ(show.Status(), "Create a new show.");
  EXPECT_EQ(show.ShowName(), "Fresh");
  EXPECT_EQ(show.Track(0).Rows(), Rows({{"", "0"}}));
  EXPECT_EQ(show.Music(), "song.mp3");
  EXPECT_FALSE(FileExists(ShowPath("Fresh.seq")));
}

// A show file with more lines than the track grids take is refused before any row is made, with a
// message naming the file and the limit; the show stays as it was.
TEST_F(ShowFileCommandsTest, OpenRefusesAFileWithMoreLinesThanTheGridsTake) {
  std::string text = "[Music]\r\nsong.mp3\r\n[Track1]\r\n";
  for (size_t i = 0; i + 5 < kMaxShowLines; ++i) text += "a.ddr|1\r\n";
  text += "[Track2]\r\n[Track3]\r\n";
  WriteBytes(ShowPath("full.seq"), TextBytes(text));
  WriteBytes(ShowPath("over.seq"), TextBytes(text + "b.ddr|1\r\n"));
  Select(shows, "over.seq");
  EXPECT_FALSE(files.Open());
  EXPECT_EQ(dialogs.messages,
            std::vector<std::string>{"\"over.seq\" was not opened: it has 100001 lines, more than the 100000 that Show Edit takes."});
  EXPECT_EQ(show.ShowName(), TShowGridModel::kNoName);
  EXPECT_EQ(show.Track(0).LastRow(), 1);

  Select(shows, "full.seq");
  EXPECT_TRUE(files.Open());
  EXPECT_EQ(show.Track(0).LastRow(), static_cast<int>(kMaxShowLines - 5));
  EXPECT_EQ(dialogs.messages.size(), 1u);
}

// A line longer than any the program writes (the music as a full path is the longest) is refused
// before any row is made, with the line's number and the limit.
TEST_F(ShowFileCommandsTest, OpenRefusesALineLongerThanAnyShowLineAndTakesTheLongestMusicPath) {
  const std::string longestPath = "/" + std::string(4094, 'm');
  WriteBytes(ShowPath("path.seq"), TextBytes("[Music]\r\n" + longestPath + "\r\n[Track1]\r\na.ddr|1\r\n"));
  WriteBytes(ShowPath("long.seq"),
             TextBytes("[Music]\r\n\r\n[Track1]\r\na.ddr|1\r\n" + std::string(196602, 'x') + "|1\r\n"));
  Select(shows, "long.seq");
  EXPECT_FALSE(files.Open());
  const std::string refusal =
      "\"long.seq\" was not opened: its line 5 is 196604 bytes long, more than the 196603 that Show Edit takes.";
  EXPECT_EQ(dialogs.messages, std::vector<std::string>{refusal});
  EXPECT_EQ(show.ShowName(), TShowGridModel::kNoName);
  EXPECT_EQ(show.Track(0).LastRow(), 1);

  Select(shows, "path.seq");
  EXPECT_TRUE(files.Open());
  EXPECT_EQ(show.Music(), longestPath);
  EXPECT_EQ(show.Track(0).Rows(), Rows({{"a.ddr", "1"}}));
}

TEST_F(ShowFileCommandsTest, OpenOfAShowWrittenOnWindowsFindsItsContentAndMusicWithoutRegardToCase) {
  // Files copied from a case-blind system, named in other case than the show names them.
  Drawing star;
  star.AddObject()->Add({10, 20, 0, 2, 0, 0});
  ASSERT_TRUE(SaveDrawingFile(DrawingFolder() + "STAR.DDR", star, 1));
  ASSERT_TRUE(SaveSectionFile(SectionFolder() + "INTRO.SEC", {{"Star.ddr", "40"}}));
  TILDAimage image;
  image.frames.push_back(std::make_unique<TILDAframe>());
  image.frames.back()->points.push_back({1, 2, 0, 3, 0, 0});
  ASSERT_TRUE(WriteIldaFile(IldaFolder() + "Beam.ILD", image));
  WriteBytes(MusicFolder() + "Song.Mp3", TextBytes("ID3"));
  WriteBytes(ShowPath("GIG.SEQ"), TextBytes("[Music]\r\nC:\\Laser\\Music\\SONG.MP3\r\n"
                                            "[Track1]\r\nStar.ddr|100\r\n"
                                            "[Track2]\r\nIntro.sec|40\r\n"
                                            "[Track3]\r\nBEAM.ild| 1\r\n"));
  Select(shows, "GIG.SEQ");
  ASSERT_TRUE(files.Open());
  EXPECT_EQ(show.ShowName(), "GIG");
  EXPECT_EQ(show.Music(), "C:\\Laser\\Music\\SONG.MP3");
  EXPECT_EQ(show.Track(0).Rows(), Rows({{"Star.ddr", "100"}}));
  EXPECT_EQ(show.Track(1).Rows(), Rows({{"Intro.sec", "40"}}));
  EXPECT_EQ(show.Track(2).Rows(), Rows({{"BEAM.ild", "1"}}));
  EXPECT_EQ(FindShowMusic(show.Music(), MusicFolder()), MusicFolder() + "Song.Mp3");

  // Saved again, as playback reads it: every row finds its file.
  ASSERT_TRUE(files.Save());
  TSequence played;
  ASSERT_TRUE(LoadShowFileWithContent(ShowPath("GIG.SEQ"), ProgramFolder(), played));
  ASSERT_EQ(played.track1.size(), 1u);
  EXPECT_EQ(played.track1[0]->name, "star.ddr");
  EXPECT_EQ(played.track1[0]->drawing->PointCount(), 1u);
  ASSERT_EQ(played.track2.at(0)->rows->size(), 1u);
  EXPECT_EQ(played.track2[0]->rows->at(0)->drawing->PointCount(), 1u);
  EXPECT_EQ(played.track3.at(0)->ilda->frames.size(), 1u);
}

TEST_F(ShowFileCommandsTest, AnOpenThatFailsKeepsNameMusicAndGridsSoSaveCannotOverwriteTheFile) {
  const auto broken = TextBytes("[Music]\r\nnew.mp3\r\n[Track1]\r\na.ddr|abc\r\n");
  WriteBytes(ShowPath("broken.seq"), broken);
  WriteBytes(ShowPath("huge.seq"), TextBytes("[Music]\r\n"));
  ASSERT_EQ(::truncate(ShowPath("huge.seq").c_str(), kMaxTextFileBytes + 1), 0);  // sparse: no disk space
  show.SetShowName("mine");
  show.SetMusic("old.mp3");
  show.Track(0).ReplaceRows(Rows({{"x.ddr", "9"}}));
  for (const char* name : {"broken.seq", "huge.seq"}) {
    SCOPED_TRACE(name);
    Select(shows, name);
    EXPECT_FALSE(files.Open());
    EXPECT_EQ(show.ShowName(), "mine");
    EXPECT_EQ(show.Music(), "old.mp3");
    EXPECT_EQ(show.Track(0).Rows(), Rows({{"x.ddr", "9"}}));
  }
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0], "'abc' is not a valid integer value");
  EXPECT_EQ(dialogs.messages[1].rfind("Cannot read " + ShowPath("huge.seq"), 0), 0u);
  // The show being edited is saved under its own name, not over the file that failed.
  ASSERT_TRUE(files.Save());
  EXPECT_TRUE(FileExists(ShowPath("mine.seq")));
  EXPECT_EQ(ReadBytes(ShowPath("broken.seq")), broken);
}

TEST_F(ShowFileCommandsTest, SaveRefusesABadTimeNamingTrackAndRowAndWritesNothing) {
  show.SetShowName("gig");
  show.Track(2).ReplaceRows(Rows({{"a.ild", "5"}, {"b.ild", "abc"}}));
  EXPECT_FALSE(files.Save());
  EXPECT_FALSE(files.SaveAs());
  EXPECT_EQ(dialogs.messages, std::vector<std::string>(
                                  2, "The show was not saved. Track3 row 2: 'abc' is not a valid integer value"));
  EXPECT_TRUE(dialogs.inputAnswers.empty());
  EXPECT_FALSE(FileExists(ShowPath("gig.seq")));
  EXPECT_EQ(show.Status(), "Auto create a new show.");
}

// Save writes only what Open and Play take: the longest music and cells and the most rows (the
// blank tracks written as their "|0" row, which the limit leaves out) are saved and read back; a row
// more is refused with the limit named, the old file kept.
TEST_F(ShowFileCommandsTest, SaveWritesWhatOpensAndRefusesWhatWouldNot) {
  std::string longest;
  for (size_t i = 0; i < kMaxTypedTextChars - 4; ++i) longest += "\u20ac";  // three bytes each
  const TShowRow longestRow{longest + ".ddr", std::string(kMaxTypedTextChars - 1, ' ') + "7"};
  const size_t mostRows = kMaxShowLines - 5;
  const struct {
    const char* name;
    std::string music;
    std::vector<TShowRow> rows;
    const char* refusal;  // "" when it saves
  } cases[] = {
      {"longest", longest + ".mp3", {longestRow, longestRow}, ""},
      {"most", "m.mp3", std::vector<TShowRow>(mostRows, {"a.ddr", "1"}), ""},
      {"over", "m.mp3", std::vector<TShowRow>(mostRows + 1, {"a.ddr", "1"}),
       "\"over.seq\" was not saved: it would have 100001 lines, more than the 100000 that Show Edit takes."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = ShowPath(std::string(c.name) + ".seq");
    WriteBytes(path, TextBytes("[Music]\r\nold\r\n"));
    show.ClearTracks();
    show.SetShowName(c.name);
    show.SetMusic(c.music);
    show.Track(0).ReplaceRows(c.rows);
    dialogs.messages.clear();
    if (*c.refusal) {
      EXPECT_FALSE(files.Save());
      dialogs.inputAnswers.push_back(std::string(c.name));
      EXPECT_FALSE(files.SaveAs());
      EXPECT_EQ(dialogs.messages, (std::vector<std::string>{c.refusal, c.refusal}));
      EXPECT_EQ(ReadBytes(path), TextBytes("[Music]\r\nold\r\n"));
      continue;
    }
    ASSERT_TRUE(files.Save());
    TSequence played;
    std::string error;
    ASSERT_TRUE(LoadShowFileWithContent(path, ProgramFolder(), played, &error)) << error;
    EXPECT_EQ(played.music, c.music);
    ASSERT_EQ(played.track1.size(), c.rows.size());
    EXPECT_EQ(played.track1.back()->name, c.rows.back().name);
    EXPECT_EQ(played.track2.size(), 1u);
    show.ClearTracks();
    Select(shows, std::string(c.name) + ".seq");
    ASSERT_TRUE(files.Open());
    EXPECT_EQ(show.Music(), c.music);
    EXPECT_EQ(show.Track(0).LastRow(), static_cast<int>(c.rows.size()));
  }
}

// The text of a show file: the music, then each track's row lines.
std::string ShowText(const std::array<std::vector<std::string>, 3>& tracks) {
  std::string text = "[Music]\r\nm.mp3\r\n";
  for (size_t t = 0; t < tracks.size(); ++t) {
    text += "[Track" + std::to_string(t + 1) + "]\r\n";
    for (const std::string& line : tracks[t]) text += line + "\r\n";
  }
  return text;
}

// A show of the most lines the grids take opens and is saved back unchanged, though an empty track
// shows, and is written as, a blank row: that row is not counted, in the file it was opened from or
// in the file written. A blank row among other rows is a row of the file's own and counts.
TEST_F(ShowFileCommandsTest, AnyShowOpenedAtTheLineLimitIsSavedBackAsItWasOpened) {
  const std::vector<std::string> many(kMaxShowLines - 6, "a.ddr|1");
  auto plus = [](std::vector<std::string> rows, std::initializer_list<const char*> more) {
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
  };
  const struct {
    const char* name;
    std::array<std::vector<std::string>, 3> opened, saved;
    const char* refusal;  // "" when it opens
  } cases[] = {
      {"one_empty", {many, {"b.sec|2"}, {}}, {many, {"b.sec|2"}, {"|0"}}, ""},
      {"two_empty", {plus(many, {"c.ild|3"}), {}, {}}, {plus(many, {"c.ild|3"}), {"|0"}, {"|0"}}, ""},
      {"blank_rows", {plus(many, {"c.ild|3"}), {"|0"}, {"|"}}, {plus(many, {"c.ild|3"}), {"|0"}, {"|0"}}, ""},
      {"blank_among_rows", {many, {"|0", "b.sec|2"}, {}}, {},
       "\"blank_among_rows.seq\" was not opened: it has 100001 lines, more than the 100000 that Show Edit takes."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = std::string(c.name) + ".seq";
    WriteBytes(ShowPath(file), TextBytes(ShowText(c.opened)));
    show.ClearTracks();
    show.SetShowName(TShowGridModel::kNoName);
    dialogs.messages.clear();
    Select(shows, file);
    if (*c.refusal) {
      EXPECT_FALSE(files.Open());
      EXPECT_EQ(dialogs.messages, std::vector<std::string>{c.refusal});
      continue;
    }
    ASSERT_TRUE(files.Open());
    EXPECT_EQ(show.ShowName(), c.name);
    const std::vector<TShowRow> opened[] = {show.Track(0).Rows(), show.Track(1).Rows(), show.Track(2).Rows()};
    ASSERT_TRUE(files.Save()) << (dialogs.messages.empty() ? "" : dialogs.messages[0]);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(ReadBytes(ShowPath(file)), TextBytes(ShowText(c.saved)));
    // What was saved opens again as the same show, and plays.
    ASSERT_TRUE(files.Open());
    for (int t = 0; t < 3; ++t) EXPECT_EQ(show.Track(t).Rows(), opened[t]) << t;
    TSequence played;
    std::string error;
    EXPECT_TRUE(LoadShowFileWithContent(ShowPath(file), ProgramFolder(), played, &error)) << error;
  }
}

TEST_F(ShowFileCommandsTest, AWriteTheWriterRefusesOrThatFailsShowsWhyNotSuccess) {
  show.SetShowName("gig");
  show.Track(0).ReplaceRows(Rows({{"a|b.ddr", "5"}}));
  EXPECT_FALSE(files.Save());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].rfind("The show was not saved. The show text 'a|b.ddr'", 0), 0u);
  EXPECT_EQ(show.Status(), "Auto create a new show.");

  // A folder where the file would go: the write fails and the folder stays.
  show.Track(0).ReplaceRows(Rows({{"a.ddr", "5"}}));
  ASSERT_EQ(::mkdir(ShowPath("gig.seq").c_str(), 0700), 0);
  EXPECT_FALSE(files.Save());
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].rfind("The show was not saved. ", 0), 0u);
  EXPECT_GT(dialogs.messages[1].size(), std::string("The show was not saved. ").size());
  EXPECT_EQ(show.Status(), "Auto create a new show.");
}

TEST_F(ShowFileCommandsTest, TypedNamesThatWouldLeaveTheShowFolderAreRefusedWithAMessage) {
  const std::vector<std::string> names = {"../up", "a/b", "a\\b", "..", "x..y", std::string("a\0b", 3), "a\tb", "a\x7f"};
  for (const std::string& bad : names) {
    SCOPED_TRACE(bad);
    dialogs.messages.clear();
    dialogs.inputAnswers.push_back(bad);
    EXPECT_FALSE(files.Save());
    dialogs.inputAnswers.push_back(bad);
    EXPECT_FALSE(files.SaveAs());
    dialogs.inputAnswers.push_back(bad);
    files.New();
    EXPECT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(show.ShowName(), "NewSequence");
  }
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages[0], kRefusedNameText);
  shows.Update();
  EXPECT_EQ(shows.Count(), 0);
  EXPECT_FALSE(FileExists(dir.Path("up.seq")));
}

TEST_F(ShowFileCommandsTest, MusicFindStoresABareNameFromTheMusicFolderAndAFullPathFromElsewhere) {
  WriteBytes(MusicFolder() + "a.mp3", TextBytes("x"));
  WriteBytes(dir.Path("b.mp3"), TextBytes("x"));
  dialogs.fileAnswers.push_back(MusicFolder() + "a.mp3");
  files.FindMusic();
  EXPECT_EQ(show.Music(), "a.mp3");
  dialogs.fileAnswers.push_back(dir.Path("b.mp3"));
  files.FindMusic();
  EXPECT_EQ(show.Music(), dir.Path("b.mp3"));
  dialogs.fileAnswers.push_back(dir.Path("missing.mp3"));
  files.FindMusic();
  dialogs.fileAnswers.push_back(std::nullopt);
  files.FindMusic();
  EXPECT_EQ(show.Music(), dir.Path("b.mp3"));
}

TEST_F(ShowFileCommandsTest, FindSelectsAndPreviewsTheItemOrSaysItIsNotThere) {
  WriteBytes(DrawingFolder() + "Star.ddr", {});
  WriteBytes(IldaFolder() + "beam.ild", {});
  drawings.Refresh();
  ildas.Refresh();
  for (const char* answer : {"STAR", "beam.ild", "moon", "x", "gone"}) dialogs.inputAnswers.push_back(std::string(answer));
  files.FindDrawing();
  files.FindIlda();
  EXPECT_EQ(drawings.SelectedName(), "Star.ddr");
  EXPECT_EQ(ildas.SelectedName(), "beam.ild");
  EXPECT_EQ(drawingPreviews + ildaPreviews, 2);
  std::vector<std::string> notFound;
  for (void (TShowFileCommands::*find)() :
       {&TShowFileCommands::FindDrawing, &TShowFileCommands::FindSegment, &TShowFileCommands::FindIlda}) {
    (files.*find)();
    notFound.push_back(show.Status());
  }
  EXPECT_EQ(notFound, (std::vector<std::string>{"Drawing not found!", "Segment not found!", "Image not found!"}));
  EXPECT_EQ(drawingPreviews + ildaPreviews, 2);
}

TEST_F(ShowFileCommandsTest, DeleteTakesTheFileWithoutAskingAndPreviewsTheNeighbour) {
  for (const char* name : {"a.ddr", "b.ddr", "c.ddr"}) WriteBytes(DrawingFolder() + name, {});
  Select(drawings, "c.ddr");
  files.DeleteDrawing();
  EXPECT_FALSE(FileExists(DrawingFolder() + "c.ddr"));
  EXPECT_EQ(drawings.SelectedName(), "b.ddr");
  EXPECT_EQ(drawingPreviews, 1);
  files.EditDrawing();
  EXPECT_EQ(edited, std::vector<std::string>{drawings.PathOf("b.ddr")});
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST(ShowMusicTest, AnAbsolutePathThenTheMusicFolderThenTheCurrentFolder) {
  kavri_test::ScratchDir dir;
  const std::string music = dir.Path("Music") + "/";
  ASSERT_EQ(::mkdir(music.c_str(), 0700), 0);
  WriteBytes(music + "Song.mp3", TextBytes("x"));
  WriteBytes(dir.Path("elsewhere.mp3"), TextBytes("x"));
  struct Case {
    std::string text, found;
  };
  const Case cases[] = {
      {dir.Path("elsewhere.mp3"), dir.Path("elsewhere.mp3")},
      {"Song.mp3", music + "Song.mp3"},
      {"SONG.MP3", music + "Song.mp3"},
      {"C:\\Shows\\music\\song.mp3", music + "Song.mp3"},
      {"/nowhere/song.MP3", music + "Song.mp3"},
      {"missing.mp3", ""},
      {"", ""},
      {"Music", ""},  // a folder is no music
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FindShowMusic(c.text, music), c.found);
  }
}

}  // namespace
}  // namespace kavri
