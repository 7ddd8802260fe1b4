#pragma once
// The external media player that plays a show's music: a child process in its own process group,
// hidden (no terminal), started and ended, never waited for; its error output is read for the
// message line when it ends by itself.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace kavri {

// What the message line says when no player can be found.
constexpr const char* kMediaPlayerMissingText = "mpv not installed.";

// How a player that ended by itself ended: its exit status or the signal that ended it, and the
// first line it wrote to its error output (at most kMediaPlayerErrorLineLimit bytes of it).
struct TMediaPlayerEnd {
  int exitStatus = 0;
  int signal = 0;  // 0 when it exited
  std::string errorLine;
};
constexpr size_t kMediaPlayerErrorLineLimit = 200;

// The message line's text for such an end.
std::string MediaPlayerEndText(const TMediaPlayerEnd& end);

struct TMediaPlayerProgram {
  std::string path;    // the program file
  std::string name;    // its file-name part: the first word of the command line
  std::string folder;  // its folder: the player's working folder
};

// The player the Settings window names when that file exists; otherwise "mpv" found on `searchPath`
// (a PATH-style list, the program's own PATH when omitted). Nothing when neither exists.
std::optional<TMediaPlayerProgram> FindMediaPlayer(const std::string& settingsPath);
std::optional<TMediaPlayerProgram> FindMediaPlayer(const std::string& settingsPath, const std::string& searchPath);

// Used from the window thread only.
class TMediaPlayerProcess {
 public:
  // How a signal reaches the player's group; tests count the signals sent.
  using TSignalSender = int (*)(pid_t, int);
  explicit TMediaPlayerProcess(TSignalSender sendSignal = nullptr);
  // Ends the player.
  ~TMediaPlayerProcess();
  TMediaPlayerProcess(const TMediaPlayerProcess&) = delete;
  TMediaPlayerProcess& operator=(const TMediaPlayerProcess&) = delete;

  // Starts `player` on `music`, which reaches it as one argument whatever it holds. Refused (false)
  // while a player runs or when the program cannot be started.
  bool Start(const TMediaPlayerProgram& player, const std::string& music);
  // Ends the player and its whole group and reaps it; a player that has already ended is only
  // reaped. Never waits more than a few milliseconds.
  void End();
  // True while the player runs; a player that has ended by itself is reaped here. Never waits.
  bool Running();
  // Looks at the player as Running does; how it ended when it ended by itself, handed out once.
  // Nothing while it runs, or once End or Start came after its end. Never waits.
  std::optional<TMediaPlayerEnd> TakeEnd();
  // The running player's process id, 0 when none.
  pid_t Pid() const { return pid_; }

 private:
  bool ReapIfEnded(pid_t pid, int* status = nullptr);
  void ReapStragglers();
  // Reads what the player wrote to its error output, and reaps it when it has ended.
  void Look();
  void ReadErrorOutput();
  void CloseErrorOutput();

  TSignalSender sendSignal_;
  pid_t pid_ = 0;
  // Killed but not reaped within the wait (a process stuck in the kernel): reaped later, so that
  // its id is never handed out again while we might still signal it.
  std::vector<pid_t> stragglers_;
  int errorOutput_ = -1;  // the read end of the player's error output
  std::string errorLine_;  // its first line as far as it has come
  bool errorLineDone_ = false;
  std::optional<TMediaPlayerEnd> ended_;
};

// The one media player of the program (the show's music); any window's Play or Stop ends it.
TMediaPlayerProcess& MediaPlayer();

}  // namespace kavri
