#include "platform/media_player.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/file_io.h"
#include "platform/terminal_text.h"

namespace kavri {

namespace {

// A killed player is normally reapable within a millisecond; one stuck in the kernel longer is left
// to be reaped later rather than holding up the window.
constexpr std::chrono::milliseconds kReapGrace{20};
constexpr std::chrono::milliseconds kReapPoll{2};

// By its absolute path: the child changes to the player's folder before it starts the program.
TMediaPlayerProgram ProgramAt(const std::string& given) {
  const std::string path = AbsolutePath(given);
  const size_t slash = path.find_last_of('/');
  return {path, path.substr(slash + 1), slash == 0 ? "/" : path.substr(0, slash)};
}

// In the child between fork and exec: only async-signal-safe calls.
[[noreturn]] void RunChild(const char* path, char* const argv[], const char* folder, int devNull, int output,
                           int errorPipe, pid_t parent) {
  setpgid(0, 0);
  // Dies with the program even when the program is killed. The signal follows the forking thread,
  // which is the window thread: it lives as long as the program.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);  // the program died before the line above
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int sig = 1; sig < NSIG; ++sig)
    if (sig != SIGKILL && sig != SIGSTOP) signal(sig, SIG_DFL);  // ignored signals survive exec
  dup2(devNull, STDIN_FILENO);
  // Both outputs: mpv writes its own errors to the standard output, its libraries to the other.
  dup2(output, STDOUT_FILENO);
  dup2(output, STDERR_FILENO);
  // The program's own files (device handles, pipes) are not the player's business.
  syscall(SYS_close_range, 3U, ~0U, CLOSE_RANGE_CLOEXEC);
  int error = 0;
  if (*folder != '\0' && chdir(folder) != 0) {
    error = errno;
  } else {
    execv(path, argv);
    error = errno;
  }
  while (write(errorPipe, &error, sizeof error) < 0 && errno == EINTR) {
  }
  _exit(127);
}

// Room for what the player writes between two looks; more only waits.
constexpr int kOutputPipeSize = 1 << 20;

// The default mpv is asked for its errors alone: its status line and its chatter would hide the
// cause of a failure.
constexpr const char* kMpvOptions[] = {"--msg-level=all=error", "--term-osd=no"};

// Some process is still in the group. While one is, the group's id cannot be handed out again;
// once none is, the id may go to another program's group and must never be signalled.
bool GroupHasMembers(pid_t group) { return kill(-group, 0) == 0 || errno == EPERM; }

template <typename Done>
bool WaitUntil(std::chrono::milliseconds limit, Done done) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kReapPoll);
  }
  return true;
}

}  // namespace

std::optional<TMediaPlayerProgram> FindMediaPlayer(const std::string& settingsPath) {
  const char* path = std::getenv("PATH");
  return FindMediaPlayer(settingsPath, path ? path : "");
}

std::optional<TMediaPlayerProgram> FindMediaPlayer(const std::string& settingsPath, const std::string& searchPath) {
  if (FileExists(settingsPath)) return ProgramAt(settingsPath);
  size_t start = 0;
  while (start <= searchPath.size()) {
    size_t end = searchPath.find(':', start);
    if (end == std::string::npos) end = searchPath.size();
    const std::string folder = end == start ? "." : searchPath.substr(start, end - start);
    const std::string candidate = folder + "/mpv";
    if (FileExists(candidate) && access(candidate.c_str(), X_OK) == 0) {
      TMediaPlayerProgram program = ProgramAt(candidate);
      program.defaultMpv = true;
      return program;
    }
    start = end + 1;
  }
  return std::nullopt;
}

TMediaPlayerProcess::TMediaPlayerProcess(TSignalSender sendSignal) : sendSignal_(sendSignal ? sendSignal : &::kill) {}

TMediaPlayerProcess::~TMediaPlayerProcess() { End(); }

bool TMediaPlayerProcess::Start(const TMediaPlayerProgram& player, const std::string& music, std::string* error) {
  ReapStragglers();
  if (Running()) return false;
  const auto fail = [&](int cause) {
    if (error) *error = "The media player \"" + player.name + "\" could not be started: " + std::strerror(cause) + ".";
    return false;
  };
  if (player.path.empty()) return fail(ENOENT);
  End();  // what the last player left behind in its group
  // Everything the child needs is built before the fork: it may not allocate. The music goes as an
  // absolute path, which the player can never take for one of its options.
  std::string name = player.name;
  std::string argument = AbsolutePath(music);
  if (argument.empty()) return fail(ENOENT);
  std::vector<char*> argv{name.data()};
  if (player.defaultMpv)
    for (const char* option : kMpvOptions) argv.push_back(const_cast<char*>(option));
  argv.push_back(argument.data());
  argv.push_back(nullptr);
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (devNull < 0) return fail(errno);
  // Its output comes to us: read without waiting, so the player never blocks on it.
  int output[2];
  if (pipe2(output, O_CLOEXEC) != 0) {
    const int cause = errno;
    close(devNull);
    return fail(cause);
  }
  fcntl(output[0], F_SETFL, O_NONBLOCK);
  fcntl(output[0], F_SETPIPE_SZ, kOutputPipeSize);  // a smaller pipe only means earlier waits
  int errorPipe[2];
  if (pipe2(errorPipe, O_CLOEXEC) != 0) {
    const int cause = errno;
    close(devNull);
    close(output[0]);
    close(output[1]);
    return fail(cause);
  }
  const pid_t parent = getpid();
  const pid_t pid = fork();
  const int forkError = errno;
  if (pid == 0)
    RunChild(player.path.c_str(), argv.data(), player.folder.c_str(), devNull, output[1], errorPipe[1], parent);
  close(devNull);
  close(output[1]);
  close(errorPipe[1]);
  if (pid < 0) {
    close(output[0]);
    close(errorPipe[0]);
    return fail(forkError);
  }
  setpgid(pid, pid);  // also here, so the group exists whichever side runs first
  // The pipe closes at exec; an errno arrives when the folder or the exec failed.
  int childError = 0;
  ssize_t got;
  while ((got = read(errorPipe[0], &childError, sizeof childError)) < 0 && errno == EINTR) {
  }
  close(errorPipe[0]);
  if (got > 0) {
    close(output[0]);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    return fail(childError);
  }
  pid_ = pid;
  group_ = pid;
  output_ = output[0];
  cause_ = TCauseLineReader(kMediaPlayerErrorLineLimit);
  return true;
}

bool TMediaPlayerProcess::ReapIfEnded(pid_t pid, int* status) {
  for (;;) {
    const pid_t got = waitpid(pid, status, WNOHANG);
    if (got == pid) return true;
    if (got == 0) return false;
    if (errno != EINTR) return true;  // not our child any more: nothing left to signal
  }
}

void TMediaPlayerProcess::ReadOutput() {
  char chunk[4096];
  // A pipe's worth at most per look, so a player that writes without end cannot hold the window.
  for (int reads = 0; output_ >= 0 && reads < kOutputPipeSize / static_cast<int>(sizeof chunk); ++reads) {
    const ssize_t got = read(output_, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (got == 0 || errno != EAGAIN) CloseOutput();  // every writer has gone
      return;
    }
    // All of it is read, so that the pipe never fills; only the cause of a failure is kept.
    cause_.Add(std::string_view(chunk, static_cast<size_t>(got)));
  }
}

void TMediaPlayerProcess::CloseOutput() {
  if (output_ >= 0) close(output_);
  output_ = -1;
}

void TMediaPlayerProcess::Look() {
  if (pid_ == 0) {
    if (group_ != 0 && !GroupHasMembers(group_)) group_ = 0;
    return;
  }
  ReadOutput();
  int status = 0;
  if (!ReapIfEnded(pid_, &status)) return;
  ReadOutput();  // what it wrote last; a child it left may write on, unread
  CloseOutput();
  pid_ = 0;
  if (group_ != 0 && !GroupHasMembers(group_)) group_ = 0;
  // A player that played its music to the end says nothing.
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return;
  ended_ = TMediaPlayerEnd{WIFEXITED(status) ? WEXITSTATUS(status) : 0, WIFSIGNALED(status) ? WTERMSIG(status) : 0,
                           cause_.Line()};
}

bool TMediaPlayerProcess::Running() {
  Look();
  return pid_ != 0;
}

std::optional<TMediaPlayerEnd> TMediaPlayerProcess::TakeFailure() {
  Look();
  return std::exchange(ended_, std::nullopt);
}

void TMediaPlayerProcess::End() {
  ReapStragglers();
  ended_.reset();
  CloseOutput();
  pid_t pid = std::exchange(pid_, 0);
  const pid_t group = std::exchange(group_, 0);
  if (pid != 0 && ReapIfEnded(pid)) pid = 0;
  // An unreaped leader holds the group's id; without it, only a member still alive does.
  if (group == 0 || (pid == 0 && !GroupHasMembers(group))) return;
  // Killed outright, as Play and Stop must not wait for a player to wind down; the sound device
  // goes with its file handles. Children the player started, even after it ended, go with it.
  sendSignal_(-group, SIGKILL);
  if (pid != 0 && !WaitUntil(kReapGrace, [this, pid] { return ReapIfEnded(pid); })) stragglers_.push_back(pid);
}

void TMediaPlayerProcess::ReapStragglers() {
  std::erase_if(stragglers_, [this](pid_t pid) { return ReapIfEnded(pid); });
}

std::string MediaPlayerEndText(const TMediaPlayerEnd& end) {
  std::string text = end.signal != 0 ? "The media player ended by signal " + std::to_string(end.signal)
                                     : "The media player ended with exit status " + std::to_string(end.exitStatus);
  return text + (end.errorLine.empty() ? "." : ": " + end.errorLine);
}

TMediaPlayerProcess& MediaPlayer() {
  static TMediaPlayerProcess player;
  return player;
}

}  // namespace kavri
