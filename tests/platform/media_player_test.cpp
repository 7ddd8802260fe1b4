#include "platform/media_player.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "tests/support/current_folder_scope.h"
#include "tests/support/fake_player.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::FakePlayer;
using kavri_test::FakePlayerStart;
using kavri_test::ProcessEnds;
using kavri_test::ScratchDir;

void WriteExecutable(const std::string& path) {
  std::ofstream(path) << "#!/bin/sh\n";
  chmod(path.c_str(), 0755);
}

TEST(MediaPlayerFind, SettingsPlayerWinsThenMpvOnThePath) {
  ScratchDir dir;
  mkdir(dir.Path("bin").c_str(), 0755);
  mkdir(dir.Path("other").c_str(), 0755);
  WriteExecutable(dir.Path("bin/mpv"));
  WriteExecutable(dir.Path("my player"));
  std::ofstream(dir.Path("other/mpv")) << "not a program";  // not executable: passed over
  const std::string path = dir.Path("other") + ":" + dir.Path("missing") + ":" + dir.Path("bin");
  struct Case {
    std::string settings, searchPath;
    std::optional<TMediaPlayerProgram> expected;
  };
  const Case cases[] = {
      {dir.Path("my player"), path, TMediaPlayerProgram{dir.Path("my player"), "my player", dir.Path()}},
      {dir.Path("gone"), path, TMediaPlayerProgram{dir.Path("bin/mpv"), "mpv", dir.Path("bin"), true}},
      {"", path, TMediaPlayerProgram{dir.Path("bin/mpv"), "mpv", dir.Path("bin"), true}},
      {dir.Path("bin"), dir.Path("other"), std::nullopt},  // a folder is no player
      {"", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings + " | " + c.searchPath);
    const auto found = FindMediaPlayer(c.settings, c.searchPath);
    ASSERT_EQ(found.has_value(), c.expected.has_value());
    if (!found) continue;
    EXPECT_EQ(found->path, c.expected->path);
    EXPECT_EQ(found->name, c.expected->name);
    EXPECT_EQ(found->folder, c.expected->folder);
    EXPECT_EQ(found->defaultMpv, c.expected->defaultMpv);
  }
}

class MediaPlayerProcessTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
  TMediaPlayerProgram Program(const FakePlayer& fake) { return {fake.Path(), "player", dir_.Path()}; }
};

TEST_F(MediaPlayerProcessTest, MusicWithBlanksIsOneArgumentAndThePlayerRunsInItsFolder) {
  FakePlayer fake(dir_.Path());
  TMediaPlayerProcess player;
  const std::string music = "/music folder/my  song *.mp3";
  ASSERT_TRUE(player.Start(Program(fake), music));
  FakePlayerStart start;
  ASSERT_TRUE(fake.WaitForStart(&start));
  EXPECT_EQ(start.pid, player.Pid());
  EXPECT_EQ(getpgid(start.pid), start.pid);  // a group of its own
  EXPECT_EQ(start.folder, dir_.Path());
  EXPECT_EQ(start.arguments, std::vector<std::string>{music});
  EXPECT_FALSE(player.Start(Program(fake), music)) << "one player at a time";
}

// The mpv on the PATH stands in for the default player and is asked for its errors alone; a player
// chosen in Settings gets the music alone, even when it is an mpv.
TEST_F(MediaPlayerProcessTest, OnlyTheMpvOnThePathIsAskedForItsErrorsAloneAndForNoStatusLine) {
  FakePlayer fake(dir_.Path());
  for (const char* folder : {"bin", "chosen"}) {
    ASSERT_EQ(mkdir(dir_.Path(folder).c_str(), 0755), 0);
    ASSERT_EQ(symlink(fake.Path().c_str(), dir_.Path(std::string(folder) + "/mpv").c_str()), 0);
  }
  const std::string music = dir_.Path("a.wav");
  const std::vector<std::string> mpvArguments{"--msg-level=all=error", "--term-osd=no", music};
  struct Case {
    std::string settings;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"", mpvArguments},
      {dir_.Path("chosen/mpv"), {music}},
      {fake.Path(), {music}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    std::remove(dir_.Path("started.txt").c_str());
    const auto found = FindMediaPlayer(c.settings, dir_.Path("bin"));
    ASSERT_TRUE(found);
    TMediaPlayerProcess player;
    ASSERT_TRUE(player.Start(*found, music));
    FakePlayerStart start;
    ASSERT_TRUE(fake.WaitForStart(&start));
    EXPECT_EQ(start.arguments, c.arguments);
  }
}

TEST_F(MediaPlayerProcessTest, EndingKillsTheWholeGroupAndReapsIt) {
  FakePlayer fake(dir_.Path());
  FakePlayerStart start;
  {
    TMediaPlayerProcess player;
    ASSERT_TRUE(player.Start(Program(fake), "a.wav"));
    ASSERT_TRUE(fake.WaitForStart(&start));
    player.End();
    EXPECT_EQ(player.Pid(), 0);
    EXPECT_FALSE(player.Running());
    errno = 0;
    EXPECT_EQ(waitpid(start.pid, nullptr, WNOHANG), -1) << "already reaped";
    EXPECT_EQ(errno, ECHILD);
    EXPECT_TRUE(ProcessEnds(start.childPid)) << "the player's own child is in its group";
    // Ended by the owner's end too (the program's exit).
    std::remove(dir_.Path("started.txt").c_str());
    ASSERT_TRUE(player.Start(Program(fake), "b.wav"));
    ASSERT_TRUE(fake.WaitForStart(&start));
  }
  EXPECT_TRUE(ProcessEnds(start.pid));
  EXPECT_TRUE(ProcessEnds(start.childPid));
}

// A wrapper that backgrounds the real player and ends: its child would play on after Stop.
TEST_F(MediaPlayerProcessTest, AChildThePlayerLeftBehindEndsWithTheGroupWhenThePlayerHasGone) {
  ASSERT_EQ(mkdir(dir_.Path("next").c_str(), 0755), 0);
  FakePlayer next(dir_.Path("next"));
  struct Case {
    const char* what;
    bool looked;  // the player's end was seen before the group's end came
    std::function<void(std::optional<TMediaPlayerProcess>&)> end;
  };
  const Case cases[] = {
      {"Stop after the end was seen", true, [](auto& player) { player->End(); }},
      {"Stop before anyone looked", false, [](auto& player) { player->End(); }},
      {"a new Play", true,
       [&](auto& player) { ASSERT_TRUE(player->Start({next.Path(), "player", dir_.Path("next")}, "b.wav")); }},
      {"the program's end", true, [](auto& player) { player.reset(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::remove(dir_.Path("started.txt").c_str());
    FakePlayer wrapper(dir_.Path(), /*exitAtOnce=*/true, "", 0, /*leavesChild=*/true);
    std::optional<TMediaPlayerProcess> player(std::in_place);
    ASSERT_TRUE(player->Start(Program(wrapper), "a.wav"));
    FakePlayerStart start;
    ASSERT_TRUE(wrapper.WaitForStart(&start));
    if (c.looked) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (player->Running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      ASSERT_FALSE(player->Running());
    } else {
      siginfo_t info{};
      ASSERT_EQ(waitid(P_PID, static_cast<id_t>(start.pid), &info, WEXITED | WNOWAIT), 0);
    }
    ASSERT_EQ(kill(start.childPid, 0), 0) << "the child outlives the player";
    c.end(player);
    EXPECT_TRUE(ProcessEnds(start.childPid));
    if (player) player->End();
    kill(start.childPid, SIGKILL);
  }
}

// True once the player is seen to have ended, looking as the show window does.
bool WaitUntilEnded(TMediaPlayerProcess& player) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (player.Running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return !player.Running();
}

int signalsSent = 0;
int CountSignal(pid_t, int) { return ++signalsSent, 0; }

// Once nothing of the group lives, its id may belong to another program's group.
TEST_F(MediaPlayerProcessTest, AGroupWithNothingLeftInItIsNeverSignalled) {
  FakePlayer fake(dir_.Path(), /*exitAtOnce=*/true);
  signalsSent = 0;
  TMediaPlayerProcess player(&CountSignal);
  // Gone and reaped by whoever is its parent.
  const auto gone = [](pid_t pid) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (kill(pid, 0) == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return kill(pid, 0) != 0;
  };
  ASSERT_TRUE(player.Start(Program(fake), "a.wav"));
  FakePlayerStart start;
  ASSERT_TRUE(fake.WaitForStart(&start));
  ASSERT_TRUE(WaitUntilEnded(player));
  ASSERT_TRUE(gone(start.childPid));
  ASSERT_NE(kill(-start.pid, 0), 0);
  player.End();
  EXPECT_EQ(signalsSent, 0);
  // Ended before anyone looked: End reaps it without a signal.
  std::remove(dir_.Path("started.txt").c_str());
  ASSERT_TRUE(player.Start(Program(fake), "b.wav"));
  const pid_t pid = player.Pid();
  ASSERT_TRUE(fake.WaitForStart(&start));
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT), 0);
  ASSERT_TRUE(gone(start.childPid));
  player.End();
  EXPECT_EQ(signalsSent, 0);
  EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), -1) << "reaped";
}

// A music text or settings path that starts with "-" must never reach the player as an option, and
// a relative one would be looked up again in the player's own folder.
TEST_F(MediaPlayerProcessTest, ARelativePlayerAndMusicAreStartedByTheirAbsolutePaths) {
  kavri_test::CurrentFolderScope here(dir_.Path());
  ASSERT_EQ(mkdir(dir_.Path("-bin").c_str(), 0755), 0);
  FakePlayer fake(dir_.Path("-bin"));
  const auto found = FindMediaPlayer("-bin/player", "");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->path, dir_.Path("-bin/player"));
  EXPECT_EQ(found->name, "player");
  EXPECT_EQ(found->folder, dir_.Path("-bin"));
  TMediaPlayerProcess player;
  ASSERT_TRUE(player.Start(*found, "-o.wav"));
  FakePlayerStart start;
  ASSERT_TRUE(fake.WaitForStart(&start));
  EXPECT_EQ(start.arguments, std::vector<std::string>{dir_.Path("-o.wav")});
  EXPECT_EQ(start.folder, dir_.Path("-bin"));
}

// Watched the way the show window watches it: a poll now and then, which never waits.
std::optional<TMediaPlayerEnd> PollUntilEnded(TMediaPlayerProcess& player) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    if (auto end = player.TakeFailure()) return end;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return std::nullopt;
}

TEST_F(MediaPlayerProcessTest, APlayerThatEndsByItselfIsReapedAtOnceAndAFailureSaysItsCause) {
  struct Case {
    const char* what;
    std::string errorScript;
    int status;
    std::string text;  // empty: no failure
  };
  const Case cases[] = {
      {"an error", "printf 'Cannot open the audio device.\r\nmore\n'", 2,
       "The media player ended with exit status 2: Cannot open the audio device."},
      {"nothing written", "", 0, ""},
      {"a normal end after status lines",
       "printf '\\033[0mA: 00:00:00 / 00:00:10 (0%%)\\r\\033[KA: 00:00:10 / 00:00:10 (100%%)\\r\\n"
       "\\nExiting... (End of file)\\n'",
       0, ""},
      {"a warning, then the error", "echo 'Warning: no config file here'; echo '[ao] Could not open audio device'", 2,
       "The media player ended with exit status 2: [ao] Could not open audio device"},
      {"status lines, then a coloured error",
       "printf 'A: 00:00:00\\rA: 00:00:01\\r\\033[1;31mError\\tloading file\\033[0m\\a\\n'", 2,
       "The media player ended with exit status 2: Error loading file"},
      {"no line reports an error: the first with text", "echo; echo 'Something odd.'; echo 'more'", 1,
       "The media player ended with exit status 1: Something odd."},
      {"its standard output counts too", "echo 'Warning: slow disk'; echo 'FAILED to decode' >&3", 2,
       "The media player ended with exit status 2: FAILED to decode"},
      // Far more than a pipe holds: the player must never block on its error output.
      {"much more after the first line", "echo 'Bad file.'; head -c 1000000 /dev/zero", 1,
       "The media player ended with exit status 1: Bad file."},
      {"a long line", "head -c 5000 /dev/zero | tr '\\0' x", 3,
       "The media player ended with exit status 3: " + std::string(kMediaPlayerErrorLineLimit, 'x')},
      {"a signal", "kill -TERM $$", 0, "The media player ended by signal 15."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::remove(dir_.Path("started.txt").c_str());
    FakePlayer fake(dir_.Path(), /*exitAtOnce=*/true, c.errorScript, c.status);
    TMediaPlayerProcess player;
    ASSERT_TRUE(player.Start(Program(fake), "a.wav"));
    FakePlayerStart start;
    ASSERT_TRUE(fake.WaitForStart(&start));
    if (c.text.empty()) {
      ASSERT_TRUE(WaitUntilEnded(player));
      EXPECT_FALSE(player.TakeFailure()) << "no failure";
    } else {
      const auto end = PollUntilEnded(player);
      ASSERT_TRUE(end) << "never seen to end";
      EXPECT_EQ(MediaPlayerEndText(*end), c.text);
    }
    EXPECT_EQ(player.Pid(), 0);
    errno = 0;
    EXPECT_EQ(waitpid(start.pid, nullptr, WNOHANG), -1) << "reaped, no zombie left";
    EXPECT_EQ(errno, ECHILD);
    EXPECT_FALSE(player.TakeFailure()) << "told once";
  }
}

TEST_F(MediaPlayerProcessTest, AnEndedPlayerIsToldOnlyUntilItIsEndedOrStartedAgain) {
  FakePlayer fake(dir_.Path(), /*exitAtOnce=*/true, "echo gone", 4);
  TMediaPlayerProcess player;
  // Running() reaps it as well; how it ended is kept for the next look.
  ASSERT_TRUE(player.Start(Program(fake), "a.wav"));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (player.Running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  const auto end = player.TakeFailure();
  ASSERT_TRUE(end);
  EXPECT_EQ(MediaPlayerEndText(*end), "The media player ended with exit status 4: gone");
  // Ended on purpose: nothing to tell.
  ASSERT_TRUE(player.Start(Program(fake), "a.wav"));
  while (player.Running() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  player.End();
  EXPECT_FALSE(player.TakeFailure());
  // Nor is a running player that is killed.
  ASSERT_EQ(mkdir(dir_.Path("waits").c_str(), 0755), 0);
  FakePlayer waiting(dir_.Path("waits"));
  ASSERT_TRUE(player.Start({waiting.Path(), "player", dir_.Path("waits")}, "a.wav"));
  FakePlayerStart start;
  ASSERT_TRUE(waiting.WaitForStart(&start));
  EXPECT_FALSE(player.TakeFailure());
  player.End();
  EXPECT_FALSE(player.TakeFailure());
  EXPECT_TRUE(ProcessEnds(start.childPid));
}

// Each says why, for the message line.
TEST_F(MediaPlayerProcessTest, AProgramThatCannotRunIsNotStartedAndSaysWhy) {
  TMediaPlayerProcess player;
  std::ofstream(dir_.Path("text")) << "no program";
  struct Case {
    TMediaPlayerProgram program;
    std::string reason;
  };
  const Case cases[] = {
      {{dir_.Path("missing"), "missing", dir_.Path()}, "The media player \"missing\" could not be started: No such file or directory."},
      {{dir_.Path("text"), "text", dir_.Path()}, "The media player \"text\" could not be started: Permission denied."},
      {{"/bin/true", "true", dir_.Path("no such folder")}, "The media player \"true\" could not be started: No such file or directory."},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(player.Start(c.program, "a.wav", &error)) << c.program.path;
    EXPECT_EQ(error, c.reason);
    EXPECT_EQ(player.Pid(), 0);
  }
}

TEST_F(MediaPlayerProcessTest, ThePlayerDiesWithTheProgram) {
  FakePlayer fake(dir_.Path());
  std::fflush(nullptr);
  const pid_t program = fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    // Starts the player and dies without ending it; a child stuck after the fork dies anyway.
    alarm(10);
    TMediaPlayerProcess player;
    FakePlayerStart start;
    if (!player.Start(Program(fake), "a.wav") || !fake.WaitForStart(&start)) _exit(1);
    kill(getpid(), SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(waitpid(program, &status, 0), program);
  ASSERT_TRUE(WIFSIGNALED(status));
  FakePlayerStart start;
  ASSERT_TRUE(fake.WaitForStart(&start));
  EXPECT_TRUE(ProcessEnds(start.pid));
  kill(start.childPid, SIGKILL);  // its sleep is not in reach of the death signal
}

// Writes one second of silence as a WAV file (8 kHz, 16-bit mono).
void WriteSilentWav(const std::string& path) {
  const uint32_t rate = 8000, bytes = rate * 2;
  std::ofstream out(path, std::ios::binary);
  const auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  const auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out << "RIFF";
  u32(36 + bytes);
  out << "WAVEfmt ";
  u32(16), u16(1), u16(1), u32(rate), u32(rate * 2), u16(2), u16(16);
  out << "data";
  u32(bytes);
  out << std::string(bytes, '\0');
}

TEST_F(MediaPlayerProcessTest, RealMpvPlaysASecondOfMusicToTheEndAndExits) {
  const auto mpv = FindMediaPlayer("");
  ASSERT_TRUE(mpv) << "mpv is installed by the project's set-up";
  // No sound device here: the player's own configuration sends the sound nowhere.
  mkdir(dir_.Path("mpv home").c_str(), 0755);
  std::ofstream(dir_.Path("mpv home/mpv.conf")) << "ao=null\n";
  setenv("MPV_HOME", dir_.Path("mpv home").c_str(), 1);
  const std::string music = dir_.Path("one second.wav");
  WriteSilentWav(music);
  TMediaPlayerProcess player;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(player.Start(*mpv, music));
  while (player.Running() && std::chrono::steady_clock::now() - started < std::chrono::seconds(20))
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  const auto played = std::chrono::steady_clock::now() - started;
  unsetenv("MPV_HOME");
  EXPECT_FALSE(player.Running()) << "the player exits at the end of the music";
  EXPECT_FALSE(player.TakeFailure()) << "a player that played to the end has not failed";
  // A player that cannot play the file gives up at once; this one played the whole second.
  EXPECT_GE(played, std::chrono::milliseconds(900));
}

TEST_F(MediaPlayerProcessTest, RealMpvThatCannotPlayTheFileEndsAtOnceAndItsStatusIsKept) {
  const auto mpv = FindMediaPlayer("");
  ASSERT_TRUE(mpv) << "mpv is installed by the project's set-up";
  mkdir(dir_.Path("mpv home").c_str(), 0755);
  std::ofstream(dir_.Path("mpv home/mpv.conf")) << "ao=null\n";
  setenv("MPV_HOME", dir_.Path("mpv home").c_str(), 1);
  std::ofstream(dir_.Path("not music.wav")) << "not music";
  TMediaPlayerProcess player;
  ASSERT_TRUE(player.Start(*mpv, dir_.Path("not music.wav")));
  const auto end = PollUntilEnded(player);
  unsetenv("MPV_HOME");
  ASSERT_TRUE(end);
  EXPECT_EQ(end->signal, 0);
  EXPECT_EQ(end->exitStatus, 2) << "mpv's status for a file it could not load";
  // Written to its standard output, and the only line it writes when asked for errors alone.
  EXPECT_EQ(end->errorLine, "Failed to recognize file format.");
  EXPECT_EQ(player.Pid(), 0);
}

TEST_F(MediaPlayerProcessTest, RealMpvWithoutItsSoundDeviceIsNamedByItsOwnReasonNotByTheSoundLibrarys) {
  const auto mpv = FindMediaPlayer("");
  ASSERT_TRUE(mpv) << "mpv is installed by the project's set-up";
  // A sound card that no machine has: ALSA says so on the error output, mpv its own reason on the other.
  mkdir(dir_.Path("mpv home").c_str(), 0755);
  std::ofstream(dir_.Path("mpv home/mpv.conf")) << "ao=alsa\naudio-device=alsa/hw:CARD=kavri\n";
  setenv("MPV_HOME", dir_.Path("mpv home").c_str(), 1);
  const std::string music = dir_.Path("one second.wav");
  WriteSilentWav(music);
  TMediaPlayerProcess player;
  ASSERT_TRUE(player.Start(*mpv, music));
  const auto end = PollUntilEnded(player);
  unsetenv("MPV_HOME");
  ASSERT_TRUE(end);
  EXPECT_EQ(MediaPlayerEndText(*end),
            "The media player ended with exit status 2: Could not open/initialize audio device -> no sound.");
}

}  // namespace
}  // namespace kavri
