#include "tests/support/fake_player.h"

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace kavri_test {

FakePlayer::FakePlayer(const std::string& folder, bool exitAtOnce, const std::string& errorScript, int exitStatus,
                       bool leavesChild)
    : path_(folder + "/player"), record_(folder + "/started.txt") {
  std::ofstream script(path_, std::ios::trunc);
  // Written whole and then renamed, so a reader never sees half a record.
  script << "#!/bin/sh\n"
         << "sleep 30 &\n"
         << "{ echo $$; echo $!; pwd; for a in \"$@\"; do echo \"$a\"; done; } > '" << record_ << ".part'\n"
         << "mv '" << record_ << ".part' '" << record_ << "'\n"
         << (!exitAtOnce    ? std::string("wait\n")
             : (leavesChild ? "" : "kill $!\n") + std::string("{\n") + errorScript + "\n:\n} 3>&1 >&2\nexit " +
                   std::to_string(exitStatus) + "\n");
  script.close();
  chmod(path_.c_str(), 0755);
}

bool FakePlayer::WaitForStart(FakePlayerStart* start) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  std::ifstream in;
  while (in.open(record_), !in) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  *start = {};
  in >> start->pid >> start->childPid;
  in.ignore(1);
  std::getline(in, start->folder);
  for (std::string line; std::getline(in, line);) start->arguments.push_back(line);
  return true;
}

bool ProcessEnds(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  for (;;) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string pidText, name, state;
    if (!(stat >> pidText >> name >> state) || state == "Z" || state == "X") return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace kavri_test
