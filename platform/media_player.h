#pragma once
// The external media player that plays a show's music: a child process in its own process group,
// hidden (no terminal), started and ended, never waited for; its output is read for the message
// line when it fails.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/terminal_text.h"

namespace kavri {

// What the message line says when no player can be found.
constexpr const char* kMediaPlayerMissingText = "mpv not installed.";

// How a player that failed by itself ended: its exit status or the signal that ended it, and the
// line of its output that gives the cause (see TCauseLineReader; at most kMediaPlayerErrorLineLimit
// bytes of it).
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
  // The mpv found on the search path, standing in for the default player: asked for its errors
  // alone. A player chosen in Settings gets its name and the music, nothing more.
  bool defaultMpv = false;
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

  // Starts `player` on `music`, which reaches it as one argument whatever it holds, after ending what
  // the last player left in its group. Refused (false) while a player runs or when the program
  // cannot be started; in the second case *error says why, for the message line.
  bool Start(const TMediaPlayerProgram& player, const std::string& music, std::string* error = nullptr);
  // Ends the player's whole group, with the children the player started even when the player itself
  // has ended, and reaps the player. Never waits more than a few milliseconds.
  void End();
  // True while the player runs; a player that has ended by itself is reaped here. Never waits.
  bool Running();
  // Looks at the player as Running does; how it failed when it failed by itself, handed out once.
  // Nothing while it runs, after it played to its end (exit status 0), or once End or Start came
  // after its end. Never waits.
  std::optional<TMediaPlayerEnd> TakeFailure();
  // The running player's process id, 0 when none.
  pid_t Pid() const { return pid_; }

 private:
  bool ReapIfEnded(pid_t pid, int* status = nullptr);
  void ReapStragglers();
  // Reads what the player wrote, and reaps it when it has ended.
  void Look();
  void ReadOutput();
  void CloseOutput();

  TSignalSender sendSignal_;
  pid_t pid_ = 0;
  // The player's group, kept after the player is reaped while anything it started lives on.
  pid_t group_ = 0;
  // Killed but not reaped within the wait (a process stuck in the kernel): reaped later, so that
  // its id is never handed out again while we might still signal it.
  std::vector<pid_t> stragglers_;
  int output_ = -1;  // the read end of the player's output
  TCauseLineReader cause_{kMediaPlayerErrorLineLimit};
  std::optional<TMediaPlayerEnd> ended_;
};

// The one media player of the program (the show's music); any window's Play or Stop ends it.
TMediaPlayerProcess& MediaPlayer();

}  // namespace kavri
