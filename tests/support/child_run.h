#pragma once
// Runs a check in a child process that is killed after a time limit, so a check that would hang,
// or that a signal would kill, fails instead of stopping the whole test run.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

namespace kavri_test {

// "" when `check` returned true in the child; otherwise how the child ended.
inline std::string RunInChild(unsigned seconds, const std::function<bool()>& check) {
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return "cannot start a child process";
  if (pid == 0) {
    std::signal(SIGALRM, SIG_DFL);
    alarm(seconds);
    bool ok = false;
    try {
      ok = check();
    } catch (...) {
      ok = false;
    }
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return "lost the child process";
  if (WIFEXITED(status)) return WEXITSTATUS(status) == 0 ? "" : "the check failed";
  if (WIFSIGNALED(status)) {
    if (WTERMSIG(status) == SIGALRM) return "still waiting after " + std::to_string(seconds) + " s";
    return std::string("killed by ") + strsignal(WTERMSIG(status));
  }
  return "ended in an unexpected way";
}

// In a child of RunInChild: lets the process's address space grow by at most `bytes` beyond what
// it maps now, so a check fails where a case would take more memory than it should.
inline bool LimitAddressSpaceGrowth(unsigned long long bytes) {
  unsigned long long pages = 0;
  if (!(std::ifstream("/proc/self/statm") >> pages)) return false;
  const rlim_t limit = static_cast<rlim_t>(pages * static_cast<unsigned long long>(sysconf(_SC_PAGESIZE)) + bytes);
  const rlimit bound{limit, limit};
  return setrlimit(RLIMIT_AS, &bound) == 0;
}

}  // namespace kavri_test
