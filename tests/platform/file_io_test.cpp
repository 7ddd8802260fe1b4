#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/text_lines.h"
#include "tests/support/child_run.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::FileSizeLimit;
using kavri_test::ReadBytes;
using kavri_test::RunInChild;
using kavri_test::ScratchDir;

namespace {

// Every name in the folder, hidden ones included: a temporary file may start with a dot.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Room for every file these tests read whole.
constexpr uint64_t kRoomy = uint64_t{1} << 30;

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

// Every change of the process's file mode mask while counting is on; the mask is shared by all
// threads, so a save that changes it even for a moment gives files other threads create the wrong mode.
int umaskChanges = -1;
// Set in a child process: its next save dies between writing the temporary file and renaming it.
bool dieAtSync = false;

}  // namespace

// Takes the place of the C library's umask for the whole test program and passes every call on.
extern "C" mode_t umask(mode_t mask) {
  const auto old = static_cast<mode_t>(::syscall(SYS_umask, mask));
  if (umaskChanges >= 0 && old != mask) ++umaskChanges;
  return old;
}

extern "C" int fsync(int fd) {
  if (dieAtSync) _exit(9);
  return static_cast<int>(::syscall(SYS_fsync, fd));
}

TEST(FileIo, ReplaceWritesWholeImageAndReadsBack) {
  ScratchDir dir;
  std::string path = dir.Path("a.bin");
  Bytes image = {1, 2, 3, 0, 255};
  ASSERT_TRUE(ReplaceFileAtomically(path, image));
  EXPECT_EQ(ReadBytes(path), image);
  ASSERT_TRUE(ReplaceFileAtomically(path, Bytes{9}));
  auto back = ReadWholeFile(path, kRoomy);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, Bytes{9});
}

TEST(FileIo, FailedReplaceKeepsOldFileAndReportsWhy) {
  ScratchDir dir;
  std::string path = dir.Path("keep.bin");
  ASSERT_TRUE(ReplaceFileAtomically(path, Bytes{7, 7, 7}));
  // Root writes into read-only folders: the check runs as an ordinary user.
  EXPECT_EQ(RunInChild(20, [&] {
              if (!kavri_test::BecomeOrdinaryUser({dir.Path()})) return false;
              if (chmod(dir.Path().c_str(), 0500) != 0) return false;
              std::string error;
              const bool replaced = ReplaceFileAtomically(path, Bytes{1}, &error);
              chmod(dir.Path().c_str(), 0700);
              EXPECT_FALSE(replaced);
              EXPECT_FALSE(error.empty());
              EXPECT_EQ(ReadBytes(path), (Bytes{7, 7, 7}));
              return !::testing::Test::HasFailure();
            }),
            "");
}

TEST(FileIo, WriteFailingHalfwayKeepsOldFile) {
  // A file size limit makes the write itself fail, which works for root too.
  ScratchDir dir;
  std::string path = dir.Path("keep.bin");
  ASSERT_TRUE(ReplaceFileAtomically(path, Bytes(10, 0x5A)));
  std::string error;
  bool ok = true;
  {
    FileSizeLimit limit(100);
    ASSERT_TRUE(limit.Active());
    ok = ReplaceFileAtomically(path, Bytes(4096, 1), &error);
  }
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("Cannot write"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(path), Bytes(10, 0x5A));
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"keep.bin"}) << "no temporary file is left behind";
}

TEST(FileIo, FileSizeLimitFailsTheWriteInsteadOfKillingTheProgram) {
  ScratchDir dir;
  const std::string path = dir.Path("keep.bin");
  ASSERT_TRUE(ReplaceFileAtomically(path, Bytes(10, 0x5A)));
  // A freshly started program has the default action for the signal: it ends the process.
  const std::string ended = RunInChild(20, [&] {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit small {};
    getrlimit(RLIMIT_FSIZE, &small);
    small.rlim_cur = 100;
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) return false;
    std::string error;
    return !ReplaceFileAtomically(path, Bytes(4096, 1), &error) && error.find("Cannot write") != std::string::npos;
  });
  EXPECT_EQ(ended, "");
  EXPECT_EQ(ReadBytes(path), Bytes(10, 0x5A));
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"keep.bin"}) << "no temporary file is left behind";
}

TEST(FileIo, AFileWithoutWritePermissionIsLeftAsItIsAndTheReasonSaysSo) {
  ScratchDir dir;
  const std::string path = dir.Path("Kavri.ini");
  for (mode_t mode : {0444, 0400, 0555}) {
    ::unlink(path.c_str());
    kavri_test::WriteBytes(path, Bytes{4, 4});
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    std::string error;
    EXPECT_FALSE(ReplaceFileAtomically(path, Bytes{1}, &error)) << std::oct << mode;
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(ModeOf(path) & 07777, mode);
    EXPECT_EQ(ReadBytes(path), (Bytes{4, 4}));
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"Kavri.ini"});
  }
}

TEST(FileIo, AReplacedFileKeepsItsPermissionBits) {
  ScratchDir dir;
  const mode_t oldMask = ::umask(022);
  const std::string path = dir.Path("a.ddr");
  for (mode_t mode : {0600, 0604, 0640, 0755, 0200}) {
    kavri_test::WriteBytes(path, Bytes{4, 4});
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    EXPECT_TRUE(ReplaceFileAtomically(path, Bytes{1, 2}));
    EXPECT_EQ(ModeOf(path) & 07777, mode) << std::oct << mode;
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2}));
  }
  // A new file gets what any new file gets.
  EXPECT_TRUE(ReplaceFileAtomically(dir.Path("new.ddr"), Bytes{1}));
  EXPECT_EQ(ModeOf(dir.Path("new.ddr")) & 07777, 0644u);
  ::umask(oldMask);
}

TEST(FileIo, SavingNeverChangesTheProcessWideFileModeMask) {
  ScratchDir dir;
  const mode_t oldMask = ::umask(027);
  kavri_test::WriteBytes(dir.Path("old.ddr"), Bytes{4});
  ASSERT_EQ(chmod(dir.Path("old.ddr").c_str(), 0604), 0);
  umaskChanges = 0;
  EXPECT_TRUE(ReplaceFileAtomically(dir.Path("new.ddr"), Bytes{1}));
  EXPECT_TRUE(ReplaceFileAtomically(dir.Path("old.ddr"), Bytes{2}));
  EXPECT_EQ(umaskChanges, 0);
  umaskChanges = -1;
  EXPECT_EQ(ModeOf(dir.Path("new.ddr")) & 07777, 0640u);
  EXPECT_EQ(ModeOf(dir.Path("old.ddr")) & 07777, 0604u);
  ::umask(oldMask);
}

TEST(FileIo, TemporaryFilesThatInterruptedSavesLeftAreRemovedAndNothingElse) {
  ScratchDir dir;
  const std::string folder = dir.Path() + "/";
  struct Case {
    std::string name;
    bool removed;
  };
  const Case cases[] = {
      {".kavri-Ab12Z9", true},   {".kavri-000000", true},   {".kavri-abc", false},  // too short
      {".kavri-Ab12Z9x", false}, {".kavri-Ab_2Z9", false}, {"kavri-Ab12Z9", false},
      {"song.wav", false},       {"Kavri.lock", false},
  };
  for (const Case& c : cases) kavri_test::WriteBytes(folder + c.name, Bytes(100, 7));
  ASSERT_EQ(::mkdir((folder + ".kavri-Folder").c_str(), 0700), 0);  // a folder is not ours
  ASSERT_EQ(::symlink("song.wav", (folder + ".kavri-Linked").c_str()), 0);  // the link goes, not its target
  EXPECT_EQ(RemoveLeftTemporaryFiles(folder), 3);
  for (const Case& c : cases) EXPECT_EQ(ModeOf(folder + c.name) == 0, c.removed) << c.name;
  EXPECT_TRUE(S_ISDIR(ModeOf(folder + ".kavri-Folder")));
  EXPECT_EQ(ModeOf(folder + ".kavri-Linked"), 0u);
  EXPECT_EQ(ReadBytes(folder + "song.wav"), Bytes(100, 7));
  EXPECT_EQ(RemoveLeftTemporaryFiles(dir.Path("missing")), 0);
}

TEST(FileIo, ASaveKilledBeforeItsRenameLeavesATemporaryFileThatIsRemovedLater) {
  ScratchDir dir;
  const std::string folder = dir.Path() + "/";
  kavri_test::WriteBytes(folder + "a.ddr", Bytes{1, 2, 3});
  RunInChild(5, [&] {
    dieAtSync = true;
    return ReplaceFileAtomically(folder + "a.ddr", Bytes(5000, 9));
  });
  const std::vector<std::string> left = NamesIn(folder);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(ReadBytes(folder + left[0]).size(), 5000u) << left[0] << " is as big as the image";
  EXPECT_EQ(RemoveLeftTemporaryFiles(folder), 1);
  EXPECT_EQ(NamesIn(folder), std::vector<std::string>{"a.ddr"});
  EXPECT_EQ(ReadBytes(folder + "a.ddr"), (Bytes{1, 2, 3}));
}

TEST(FileIo, ReplacingThroughSymbolicLinksWritesTheirTargetAndKeepsTheLinks) {
  ScratchDir dir;
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.Path("real"))));
  kavri_test::WriteBytes(dir.Path("real/target.ini"), Bytes{1});
  ASSERT_EQ(symlink("real/target.ini", dir.Path("near").c_str()), 0);  // relative to its own folder
  ASSERT_EQ(symlink(dir.Path("near").c_str(), dir.Path("far").c_str()), 0);  // a link to a link
  ASSERT_EQ(symlink("real/later.ini", dir.Path("dangling").c_str()), 0);

  EXPECT_TRUE(ReplaceFileAtomically(dir.Path("far"), Bytes{2, 2}));
  EXPECT_TRUE(S_ISLNK(ModeOf(dir.Path("far"))));
  EXPECT_TRUE(S_ISLNK(ModeOf(dir.Path("near"))));
  EXPECT_EQ(ReadBytes(dir.Path("real/target.ini")), (Bytes{2, 2}));

  EXPECT_TRUE(ReplaceFileAtomically(dir.Path("dangling"), Bytes{3}));
  EXPECT_TRUE(S_ISLNK(ModeOf(dir.Path("dangling"))));
  EXPECT_EQ(ReadBytes(dir.Path("real/later.ini")), Bytes{3});

  EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"dangling", "far", "near", "real"}));
  EXPECT_EQ(NamesIn(dir.Path("real")), (std::vector<std::string>{"later.ini", "target.ini"}));

  ASSERT_EQ(symlink("loop2", dir.Path("loop1").c_str()), 0);
  ASSERT_EQ(symlink("loop1", dir.Path("loop2").c_str()), 0);
  std::string error;
  EXPECT_FALSE(ReplaceFileAtomically(dir.Path("loop1"), Bytes{1}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(S_ISLNK(ModeOf(dir.Path("loop1"))));
}

TEST(FileIo, NamesUpToTheLongestAFolderTakesCanBeReplaced) {
  ScratchDir dir;
  for (size_t length : {size_t{200}, size_t{248}, size_t{249}, size_t{252}, size_t{255}}) {
    const std::string name = std::string(length - 4, 'n') + ".ddr";
    const std::string path = dir.Path(name);
    std::string error;
    EXPECT_TRUE(ReplaceFileAtomically(path, Bytes{1}, &error)) << length << ": " << error;
    EXPECT_TRUE(ReplaceFileAtomically(path, Bytes{2, 3}, &error)) << length << ": " << error;
    EXPECT_EQ(ReadBytes(path), (Bytes{2, 3})) << length;
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{name});
    ::unlink(path.c_str());
  }
}

TEST(FileIo, OnlyRegularFilesAreReadOrReplacedAndAFifoIsNeverWaitedOn) {
  ScratchDir dir;
  const std::string fifo = dir.Path("Kavri.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const std::string ended = RunInChild(10, [&] {
    std::string wholeError, linesError, deviceError;
    return !ReadWholeFile(fifo, kRoomy, &wholeError) && !ReadTextLines(fifo, &linesError) &&
           !ReadWholeFile("/dev/zero", kRoomy, &deviceError) &&
           wholeError == "Cannot read " + fifo + ": not a regular file" && linesError == wholeError &&
           deviceError == "Cannot read /dev/zero: not a regular file";
  });
  EXPECT_EQ(ended, "");
  std::string error;
  EXPECT_FALSE(ReplaceFileAtomically(fifo, Bytes{1}, &error));
  EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
  EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"Kavri.ini"});
}

TEST(FileIo, FailedRenameIsReportedAndLeavesNoTemporaryFile) {
  // A folder with something in it cannot be replaced by a file, not even by root.
  ScratchDir dir;
  const std::string target = dir.Path("taken");
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.Path("taken/inside"))));
  std::string error;
  EXPECT_FALSE(ReplaceFileAtomically(target, Bytes{1, 2}, &error));
  EXPECT_NE(error.find("Cannot replace"), std::string::npos) << error;
  EXPECT_TRUE(QDir(QString::fromStdString(dir.Path("taken/inside"))).exists());
  EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"taken"});
}

TEST(FileIo, ReadsWholeFilesOfAnySizeAndFilesThatReportNoSize) {
  ScratchDir dir;
  for (size_t size : {size_t{0}, size_t{1}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{300001}}) {
    Bytes image(size);
    for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 7 + i / 251);
    const std::string path = dir.Path("f" + std::to_string(size));
    kavri_test::WriteBytes(path, image);
    const std::optional<Bytes> back = ReadWholeFile(path, kRoomy);
    ASSERT_TRUE(back.has_value()) << size;
    EXPECT_EQ(*back, image) << size;
  }
  // Kernel files report a size of 0 but have content; it must be read all the same.
  struct stat st {};
  ASSERT_EQ(stat("/proc/self/status", &st), 0);
  ASSERT_EQ(st.st_size, 0);
  const std::optional<Bytes> status = ReadWholeFile("/proc/self/status", kRoomy);
  ASSERT_TRUE(status.has_value());
  const std::string text(status->begin(), status->end());
  EXPECT_EQ(text.rfind("Name:", 0), 0u) << text.substr(0, 40);
  EXPECT_NE(text.find("\nPid:"), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
}

TEST(FileIo, AFileLargerThanTheReaderTakesIsRefusedBeforeItIsRead) {
  ScratchDir dir;
  const std::string path = dir.Path("big");
  kavri_test::WriteBytes(path, Bytes(1000, 7));
  std::string error;
  bool tooLarge = true;
  EXPECT_TRUE(ReadWholeFile(path, 1000, &error, &tooLarge).has_value()) << error;
  EXPECT_FALSE(tooLarge);
  EXPECT_FALSE(ReadWholeFile(path, 999, &error, &tooLarge).has_value());
  EXPECT_TRUE(tooLarge);
  EXPECT_EQ(error, "Cannot read " + path + ": the file is larger than 999 bytes");
  // A sparse terabyte: refused, neither read nor allocated.
  ASSERT_EQ(truncate(path.c_str(), off_t{1} << 40), 0);
  EXPECT_FALSE(ReadWholeFile(path, kRoomy, &error).has_value());
  EXPECT_NE(error.find("larger than"), std::string::npos) << error;
  // A kernel file reports no size; the limit holds all the same.
  tooLarge = false;
  EXPECT_FALSE(ReadWholeFile("/proc/self/status", 10, &error, &tooLarge).has_value());
  EXPECT_TRUE(tooLarge);
  EXPECT_EQ(error, "Cannot read /proc/self/status: the file is larger than 10 bytes");
  EXPECT_FALSE(ReadWholeFile(dir.Path("missing"), 10, &error, &tooLarge).has_value());
  EXPECT_FALSE(tooLarge);
}

TEST(FileIo, MissingFolderOrFileIsReportedNotCreated) {
  ScratchDir dir;
  EXPECT_FALSE(ReplaceFileAtomically(dir.Path("no/such/folder.bin"), Bytes{1}));
  std::string error;
  EXPECT_FALSE(ReadWholeFile(dir.Path("missing.bin"), kRoomy, &error).has_value());
  EXPECT_EQ(error, "Cannot read " + dir.Path("missing.bin") + ": No such file or directory");
  EXPECT_FALSE(ReadWholeFile(dir.Path(), kRoomy).has_value()) << "a folder is not a file";
  EXPECT_FALSE(FileExists(dir.Path()));
}
