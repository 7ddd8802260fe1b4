#pragma once
// Runs a check in a child process that is killed after a time limit, so a check that would hang,
// or that a signal would kill, fails instead of stopping the whole test run.
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kavri_test {

// How the child `pid`, given `seconds` by an alarm, ended: "" when it exited with 0.
inline std::string ChildOutcome(pid_t pid, unsigned seconds) {
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
  return ChildOutcome(pid, seconds);
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

// In a child of RunInChild: when it runs as root, gives `paths` and everything below them to an
// ordinary user and becomes that user for good, so that file permissions hold for the check as they
// do for anyone else (root reads and writes whatever the permissions say). Not root: nothing to do.
inline bool BecomeOrdinaryUser(const std::vector<std::string>& paths) {
  if (geteuid() != 0) return true;
  constexpr uid_t kUser = 65534;
  constexpr gid_t kGroup = 65534;
  for (const std::string& path : paths) {
    if (lchown(path.c_str(), kUser, kGroup) != 0) return false;
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(path, error), end; !error && it != end; it.increment(error))
      if (lchown(it->path().c_str(), kUser, kGroup) != 0) return false;
    if (error) return false;
  }
  return setgroups(0, nullptr) == 0 && setgid(kGroup) == 0 && setuid(kUser) == 0 && geteuid() == kUser;
}

inline std::string CurrentTestName() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return test ? std::string(test->test_suite_name()) + "." + test->name() : std::string();
}

constexpr char kFreshProcessVariable[] = "KAVRI_TEST_FRESH_PROCESS";

// Whether this process is the copy that RunTestInFreshProcess started for the running test.
inline bool InFreshProcess() {
  const char* test = std::getenv(kFreshProcessVariable);
  return test && CurrentTestName() == test;
}

// Runs the running test once more, alone, in a newly started copy of the test program, killed after
// `seconds`: a bound on memory measured in a forked child depends on the heap that earlier tests
// left behind, which a fork shares and a new program does not. "" when the test passed there.
inline std::string RunTestInFreshProcess(unsigned seconds) {
  const std::string test = CurrentTestName();
  char program[4096];
  const ssize_t length = readlink("/proc/self/exe", program, sizeof program - 1);
  if (length <= 0) return "cannot find the test program";
  program[length] = '\0';
  // The copy runs this test once, in its own order, whatever this run repeats or shuffles.
  std::vector<std::string> settings;
  for (char** entry = environ; *entry; ++entry)
    if (std::strncmp(*entry, "GTEST_", 6) != 0 && std::strncmp(*entry, kFreshProcessVariable, sizeof kFreshProcessVariable - 1) != 0)
      settings.emplace_back(*entry);
  settings.push_back(std::string(kFreshProcessVariable) + "=" + test);
  std::vector<std::string> arguments{program, "--gtest_filter=" + test, "--gtest_repeat=1", "--gtest_shuffle=0"};
  std::vector<char*> argv, envp;
  for (std::string& a : arguments) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (std::string& s : settings) envp.push_back(s.data());
  envp.push_back(nullptr);
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return "cannot start a child process";
  if (pid == 0) {
    std::signal(SIGALRM, SIG_DFL);
    alarm(seconds);  // kept across exec
    execve(program, argv.data(), envp.data());
    _exit(127);
  }
  return ChildOutcome(pid, seconds);
}

}  // namespace kavri_test

// Opens a test that bounds the memory the process takes: unless this is its fresh copy, the test
// runs there (see RunTestInFreshProcess) and ends here with the copy's outcome.
#define KAVRI_RUN_IN_FRESH_PROCESS(seconds)                                      \
  if (!::kavri_test::InFreshProcess()) {                                         \
    EXPECT_EQ(::kavri_test::RunTestInFreshProcess(seconds), "") << "in a fresh copy of the test program"; \
    return;                                                                      \
  }
