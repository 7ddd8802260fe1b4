#include "shows/show_playback.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>

#include "tests/shows/playing_show.h"
#include "tests/support/current_folder_scope.h"

namespace kavri {
namespace {

using namespace std::chrono_literals;
using kavri_test::FakePlayerStart;
using kavri_test::IsEndText;
using kavri_test::PumpUntil;

class ShowPlayback : public kavri_test::PlayingShow {
 protected:
  void TearDown() override {
    playback_.reset();
    PlayingShow::TearDown();
  }
  TShowPlayback& Playback() {
    if (!playback_)
      playback_ = std::make_unique<TShowPlayback>(
          TShowPlayback::THooks{[this](const std::string& text) { messages_.push_back(text); },
                                [this](const std::vector<TPreviewPoint>& p) { previewed_ += p.size(); },
                                {}});
    return *playback_;
  }
  int Count(const std::string& text) const { return static_cast<int>(std::count(messages_.begin(), messages_.end(), text)); }
  bool Ended() const { return std::any_of(messages_.begin(), messages_.end(), IsEndText); }

  std::unique_ptr<TShowPlayback> playback_;
  std::vector<std::string> messages_;
  size_t previewed_ = 0;
};

TEST_F(ShowPlayback, ThreadsAShowEndsByItselfAndItsMusicEnds) {
  Playback().Play(show_, {});
  const FakePlayerStart player = PlayerStart();
  EXPECT_EQ(player.arguments, std::vector<std::string>{folder_.root + "Music/song one.wav"});
  EXPECT_EQ(player.folder, player_.Path("bin"));
  EXPECT_EQ(Count("Loading..."), 1);
  EXPECT_EQ(Count("Show playing start..."), 1);
  ASSERT_TRUE(PumpUntil([&] { return Ended(); })) << "no end text";
  EXPECT_FALSE(AnyShowTrackRunning());
  EXPECT_TRUE(StopFlag);
  EXPECT_FALSE(ShowPlayingFlag);
  EXPECT_FALSE(Playback().ClockRunning());
  EXPECT_GT(previewed_, 0u);
  EXPECT_EQ(TracksSent(), (std::set<int>{1, 2, 3}));
  ExpectNothingLeft(player);
  // The loop timer switches itself off at its next event.
  EXPECT_TRUE(PumpUntil([&] { return !Playback().LoopTimerActive(); }, 3s));
  EXPECT_EQ(Count("Show playing start..."), 1);
}

// The preview may come before any track's worker has begun: the show is already playing then.
// (Play's own stop of the round before may show an end text: only what follows the start counts.)
TEST_F(ShowPlayback, ThreadsTheFirstPreviewAfterPlaySeesTheShowPlaying) {
  for (int i = 0; i < 5; ++i) {
    Playback().Play(show_, {});
    // The run this Play stopped may say its end while Play waits for it; only what comes after
    // counts.
    ASSERT_EQ(messages_.back(), "Show playing start...") << "round " << i;
    messages_.clear();
    Playback().PreviewTick();
    EXPECT_FALSE(Ended()) << "round " << i;
    EXPECT_TRUE(ShowPlayingFlag);
    EXPECT_TRUE(Playback().PreviewTimerActive());
  }
}

TEST_F(ShowPlayback, ThreadsWithLoopOnTheShowAndItsMusicStartAgain) {
  Playback().Play(show_, {.loop = true});
  PlayerStart();
  ASSERT_TRUE(PumpUntil([&] { return Count("Show playing start...") == 2; })) << "no restart";
  EXPECT_EQ(Count("Loading..."), 2);
  EXPECT_TRUE(Ended());
  const FakePlayerStart again = PlayerStart();
  EXPECT_EQ(again.arguments, std::vector<std::string>{folder_.root + "Music/song one.wav"});
  Playback().Stop();
  ASSERT_TRUE(PumpUntil([] { return !PlayController().AnyWorkerRunning(); }));
  ExpectNothingLeft(again);
}

TEST_F(ShowPlayback, ThreadsStopDuringTheRestartWaitLeavesNothingRunning) {
  Playback().Play(show_, {.loop = true});
  const FakePlayerStart player = PlayerStart();
  // With Loop on only the restart clears the playing flag, just before its wait: Stop comes then,
  // from an event the wait pumps, as a click would.
  bool stopped = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!stopped && Ended() && !ShowPlayingFlag) {
      Playback().Stop();
      stopped = true;
    }
  });
  poll.start(1);
  ASSERT_TRUE(PumpUntil([&] { return stopped; }));
  PumpUntil([] { return false; }, 1500ms);
  EXPECT_EQ(Count("Show playing start..."), 1);
  EXPECT_FALSE(PlayController().AnyWorkerRunning());
  EXPECT_FALSE(AnyShowTrackRunning());
  EXPECT_FALSE(Playback().LoopTimerActive());
  EXPECT_FALSE(Playback().PreviewTimerActive());
  EXPECT_FALSE(Playback().ClockRunning());
  ExpectNothingLeft(player);
}

// Every way the program stops a playing show ends the music and leaves no process behind; another
// window's Play then plays undisturbed by the show's timers.
TEST_F(ShowPlayback, ThreadsStopAnotherWindowsPlayAndExitEndTheMusic) {
  std::atomic<bool> otherRunning{false};
  RegisterPlayLoop(kPlayJobSegment, [&] {
    otherRunning = true;
    while (!StopFlag) std::this_thread::sleep_for(1ms);
    otherRunning = false;
  });
  struct Way {
    const char* name;
    std::function<void()> end;
  };
  const Way ways[] = {
      {"Stop", [&] { Playback().Stop(); }},
      {"another window's Play",
       [&] {
         ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
         ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
       }},
      {"exit", [] { PlayController().Shutdown(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    ASSERT_EQ(PlayController().StopAndWait(), TStopResult::Stopped);
    messages_.clear();
    Playback().Play(show_, {});
    const FakePlayerStart player = PlayerStart();
    ASSERT_TRUE(AnyShowTrackRunning());
    way.end();
    ExpectNothingLeft(player);
    ASSERT_TRUE(PumpUntil([] { return !AnyShowTrackRunning(); }));
  }
  // The other window's loop begins before the show's timers run again (no event between): they
  // leave that loop alone, and the message line says the show has ended.
  Playback().Play(show_, {});
  messages_.clear();
  PlayerStart();
  PlayController().RequestStop();
  for (int i = 0; i < 5000 && PlayController().AnyWorkerRunning(); ++i) std::this_thread::sleep_for(1ms);
  ASSERT_TRUE(PlayController().StartPlayJob(kPlayJobSegment));
  PumpUntil([] { return false; }, 1500ms);
  EXPECT_FALSE(StopFlag);
  EXPECT_TRUE(otherRunning);
  EXPECT_FALSE(AnyShowTrackRunning());
  ASSERT_FALSE(messages_.empty());
  EXPECT_EQ(messages_.back(), "Show Playing end.");
  EXPECT_EQ(Count("Show Playing end."), 1);
  EXPECT_FALSE(Playback().PreviewTimerActive());
  EXPECT_FALSE(Playback().LoopTimerActive());
  EXPECT_FALSE(Playback().ClockRunning());
}

// Play of a show that cannot be loaded, while another plays: the reason stays on the message line,
// not hidden afterwards by the end text of the show that Play stopped.
TEST_F(ShowPlayback, ThreadsAShowThatCannotLoadKeepsItsReasonAfterThePlayingShowEnds) {
  // A sparse drawing file whose size alone is more than a load may hold.
  const std::string huge = folder_.Write("Drawing/huge.ddr", "");
  ASSERT_EQ(truncate(huge.c_str(), off_t{4} << 30), 0);
  const std::string big = folder_.Write("Sequence/big.seq", "[Music]\r\n\r\n[Track1]\r\nhuge.ddr|100\r\n");
  Playback().Play(show_, {});
  PlayerStart();
  // The tracks have ended before Play looks, so its stop pumps no event: the old preview is still due.
  PlayController().RequestStop();
  for (int i = 0; i < 5000 && PlayController().AnyWorkerRunning(); ++i) std::this_thread::sleep_for(1ms);
  Playback().Play(big, {});
  ASSERT_FALSE(messages_.empty());
  const std::string reason = messages_.back();
  EXPECT_NE(reason.find("more content than fits in memory"), std::string::npos) << reason;
  PumpUntil([] { return false; }, 300ms);
  EXPECT_EQ(messages_.back(), reason);
  EXPECT_EQ(Count("Show Playing end.") + Count("Show play end."), 1);
  EXPECT_FALSE(Playback().PreviewTimerActive());
  EXPECT_FALSE(Playback().ClockRunning());
  EXPECT_FALSE(AnyShowTrackRunning());
}

TEST_F(ShowPlayback, ThreadsWithoutAPlayerTheShowPlaysSilently) {
  SetMediaPlayerPath(player_.Path("missing"));
  const std::string path = std::getenv("PATH");
  setenv("PATH", player_.Path().c_str(), 1);  // no mpv there
  EXPECT_EQ(TShowPlayback::PlayerCheckText(), "mpv not installed.");
  Playback().Play(show_, {});
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(Count("mpv not installed."), 1);
  EXPECT_EQ(MediaPlayer().Pid(), 0);
  ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
  EXPECT_EQ(TracksSent(), (std::set<int>{1, 2, 3}));
}

// A player chosen in Settings that exists but cannot be run says so where mpv's own failures are
// said, and the show plays on without music.
TEST_F(ShowPlayback, ThreadsAPlayerThatCannotBeStartedIsSaidAndTheShowPlaysSilently) {
  const std::string text = player_.Path("not a program");
  std::ofstream(text) << "#!/bin/sh\n";
  ASSERT_EQ(chmod(text.c_str(), 0644), 0);
  SetMediaPlayerPath(text);
  EXPECT_EQ(TShowPlayback::PlayerCheckText(), "");  // it is there
  Playback().Play(show_, {});
  const std::string reason = "The media player \"not a program\" could not be started: Permission denied.";
  EXPECT_EQ(Count(reason), 1);
  EXPECT_EQ(Count("Show playing start..."), 0);  // it would hide why the music is silent
  EXPECT_EQ(MediaPlayer().Pid(), 0);
  ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
  EXPECT_EQ(TracksSent(), (std::set<int>{1, 2, 3}));
}

// Whatever the music text holds, the player gets one argument: the music file's absolute path, which
// it can never read as one of its options nor look up again in its own folder.
TEST_F(ShowPlayback, ThreadsTheMusicReachesThePlayerAsItsAbsolutePathAlone) {
  kavri_test::ScratchDir here;  // the program's current folder
  kavri_test::CurrentFolderScope scope(here.Path());
  ASSERT_EQ(mkdir(here.Path("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink(folder_.dir.Path().c_str(), here.Path("-home").c_str()), 0);
  struct Case {
    std::string music, programFolder, file;
  };
  const Case cases[] = {
      {"--log-file=x", folder_.dir.Path(), here.Path("--log-file=x")},
      {"-o.wav", folder_.dir.Path(), here.Path("-o.wav")},
      {"--script=x.lua", folder_.dir.Path(), here.Path("--script=x.lua")},
      {"sub/song.wav", folder_.dir.Path(), here.Path("sub/song.wav")},
      {"song one.wav", "-home", here.Path("-home/Music/song one.wav")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.music + " | " + c.programFolder);
    qputenv("KAVRI_HOME", QByteArray::fromStdString(c.programFolder));
    ResetProgramFolderForTests();
    kavri_test::WriteBytes(here.Path(c.music), kavri_test::TextBytes("music"));
    const std::string show = folder_.Write("Sequence/music.seq", "[Music]\r\n" + c.music + "\r\n[Track1]\r\ntrack1.ddr|100\r\n");
    Playback().Play(show, {});
    const FakePlayerStart player = PlayerStart();
    ASSERT_EQ(player.arguments.size(), 1u);
    EXPECT_EQ(player.arguments[0].front(), '/') << player.arguments[0];
    EXPECT_TRUE(std::filesystem::equivalent(player.arguments[0], c.file)) << player.arguments[0];
    Playback().Stop();
    ASSERT_TRUE(PumpUntil([] { return !AnyShowTrackRunning(); }));
  }
  qputenv("KAVRI_HOME", QByteArray::fromStdString(folder_.dir.Path()));
  ResetProgramFolderForTests();
}

// A player that cannot play (no sound device, a file it cannot read) ends at once: the message line
// says so and why, no zombie stays behind, and the show plays on.
TEST_F(ShowPlayback, ThreadsAPlayerThatEndsAtOnceIsReapedAndSaysWhyWhileTheShowPlaysOn) {
  fake_ = std::make_unique<kavri_test::FakePlayer>(player_.Path("bin"), /*exitAtOnce=*/true,
                                                   "echo 'Cannot open the audio device.'", 2);
  Playback().Play(show_, {});
  const FakePlayerStart player = PlayerStart();
  const std::string said = "The media player ended with exit status 2: Cannot open the audio device.";
  ASSERT_TRUE(PumpUntil([&] { return Count(said) == 1; })) << "the message line says nothing";
  EXPECT_TRUE(AnyShowTrackRunning()) << "the show plays on";
  EXPECT_EQ(MediaPlayer().Pid(), 0);
  errno = 0;
  EXPECT_EQ(waitpid(player.pid, nullptr, WNOHANG), -1) << "reaped, no zombie left";
  EXPECT_EQ(errno, ECHILD);
  ASSERT_TRUE(PumpUntil([&] { return Ended(); }));
  EXPECT_EQ(Count(said), 1);
  EXPECT_EQ(TracksSent(), (std::set<int>{1, 2, 3}));
}

// The preview reads indexes the tracks move: one outside what it indexes draws nothing.
TEST(LiveShowPreview, DrawsRunningTracksAndNothingAtAnIndexOutsideTheContent) {
  ResetShowTrackState();
  Drawing d;
  d.AddObject()->Add({1, 1, 0, 2, 0, 0});
  auto image = std::make_shared<TILDAimage>();
  image->frames.push_back(std::make_unique<TILDAframe>());
  image->frames[0]->points = {{0, 0, 0, 2, 0, 0}, {5, 5, 0, 2, 0, 0}};
  TSequence show;
  show.track1.push_back(std::make_unique<TSequenceRecord>());
  show.track1[0]->name = "a.DDR";
  show.track1[0]->drawing = std::make_shared<TPlayDrawing>(TPlayDrawing::FromDrawing(d));
  show.track2.push_back(std::make_unique<TSequenceRecord>());
  show.track2[0]->name = "b.ild";
  show.track2[0]->ilda = image;
  show.track3.push_back(std::make_unique<TSequenceRecord>());
  show.track3[0]->name = "c.sec";  // no items
  SetShowTrackRows(show);
  struct Case {
    const char* what;
    std::array<bool, 3> running;
    std::array<int32_t, 3> row;
    int32_t ildaFrame;
    size_t points;
  };
  const Case cases[] = {
      {"all running", {true, true, true}, {0, 0, 0}, 0, 3},
      {"track 1 ended", {false, true, true}, {0, 0, 0}, 0, 2},
      {"rows past the end", {true, true, true}, {1, -1, 7}, 0, 0},
      {"frame past the end", {true, true, true}, {0, 0, 0}, 1, 1},
  };
  for (const Case& c : cases) {
    for (int t = 0; t < 3; ++t) {
      ShowTrackRunning[t] = c.running[t];
      ShowTrackRow[t] = c.row[t];
    }
    ShowTrackIldaFrame[1] = c.ildaFrame;
    ShowTrackItem[2] = 0;
    EXPECT_EQ(LiveShowPreview().size(), c.points) << c.what;
  }
  ResetShowTrackState();
}

}  // namespace
}  // namespace kavri
