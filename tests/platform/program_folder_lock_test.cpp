#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/program_folder_lock.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using TResult = TProgramFolderLock::TResult;

TEST(ProgramFolderLock, OneHolderAtATimeUntilReleased) {
  kavri_test::ScratchDir dir;
  const std::string folder = dir.Path() + "/";
  TProgramFolderLock first, second;
  ASSERT_EQ(first.Acquire(folder), TResult::Acquired);
  EXPECT_EQ(second.Acquire(folder), TResult::HeldByAnother);
  first.Release();
  EXPECT_EQ(second.Acquire(folder), TResult::Acquired);
}

TEST(ProgramFolderLock, TheSystemReleasesTheLockOfAProgramThatDied) {
  kavri_test::ScratchDir dir;
  const std::string folder = dir.Path() + "/";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TProgramFolderLock held;
    const char answer = held.Acquire(folder) == TResult::Acquired ? 'y' : 'n';
    (void)!write(ready[1], &answer, 1);
    pause();  // killed below, still holding the lock
    _exit(0);
  }
  char answer = 0;
  ASSERT_EQ(read(ready[0], &answer, 1), 1);
  ASSERT_EQ(answer, 'y');
  TProgramFolderLock mine;
  EXPECT_EQ(mine.Acquire(folder), TResult::HeldByAnother);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  EXPECT_EQ(mine.Acquire(folder), TResult::Acquired);
  close(ready[0]);
  close(ready[1]);
}

TEST(ProgramFolderLock, AFolderWithoutRoomForTheLockDoesNotBlockTheStart) {
  kavri_test::ScratchDir dir;
  std::string why;
  TProgramFolderLock lock;
  EXPECT_EQ(lock.Acquire(dir.Path("no-such-folder") + "/", &why), TResult::Unavailable);
  EXPECT_NE(why.find("Kavri.lock"), std::string::npos) << why;
  EXPECT_NE(ProgramFolderInUseMessage("/home/op/Kavri/").find("/home/op/Kavri/"), std::string::npos);
}

}  // namespace
}  // namespace kavri
