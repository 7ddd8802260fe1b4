#pragma once
// A stand-in for the media player: a shell script that records how it was started (its process id,
// working folder and arguments, one a line) and then waits, with a child of its own in its group.
#include <sys/types.h>

#include <string>
#include <vector>

namespace kavri_test {

struct FakePlayerStart {
  pid_t pid = 0;
  pid_t childPid = 0;  // the `sleep` it waits for
  std::string folder;
  std::vector<std::string> arguments;  // without the program name
};

class FakePlayer {
 public:
  // Written into `folder` as "player"; with `exitAtOnce` it records and ends instead of waiting,
  // after running `errorScript` (shell commands whose output goes to its error output, and to its
  // standard output through descriptor 3), with
  // `exitStatus`; its child ends first unless `leavesChild` (as a wrapper that backgrounds the real
  // player would).
  explicit FakePlayer(const std::string& folder, bool exitAtOnce = false, const std::string& errorScript = "",
                      int exitStatus = 0, bool leavesChild = false);
  const std::string& Path() const { return path_; }
  // Waits up to 5 s for the record; false when the player did not start.
  bool WaitForStart(FakePlayerStart* start) const;

 private:
  std::string path_;
  std::string record_;
};

// True once `pid` has ended (gone, or a zombie left for its new parent), waiting up to 2 s.
bool ProcessEnds(pid_t pid);

}  // namespace kavri_test
