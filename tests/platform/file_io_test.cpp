#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "platform/file_io.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::ReadBytes;
using kavri_test::ScratchDir;

TEST(FileIo, ReplaceWritesWholeImageAndReadsBack) {
  ScratchDir dir;
  std::string path = dir.Path("a.bin");
  Bytes image = {1, 2, 3, 0, 255};
  ASSERT_TRUE(ReplaceFileAtomically(path, image));
  EXPECT_EQ(ReadBytes(path), image);
  ASSERT_TRUE(ReplaceFileAtomically(path, Bytes{9}));
  auto back = ReadWholeFile(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, Bytes{9});
}

TEST(FileIo, FailedReplaceKeepsOldFileAndReportsWhy) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ScratchDir dir;
  std::string path = dir.Path("keep.bin");
  ASSERT_TRUE(ReplaceFileAtomically(path, Bytes{7, 7, 7}));
  ASSERT_EQ(chmod(dir.Path().c_str(), 0500), 0);
  std::string error;
  EXPECT_FALSE(ReplaceFileAtomically(path, Bytes{1}, &error));
  chmod(dir.Path().c_str(), 0700);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadBytes(path), (Bytes{7, 7, 7}));
}

TEST(FileIo, WriteFailingHalfwayKeepsOldFile) {
  // A file size limit makes the write itself fail, which works for root too.
  ScratchDir dir;
  std::string path = dir.Path("keep.bin");
  ASSERT_TRUE(ReplaceFileAtomically(path, Bytes(10, 0x5A)));
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  bool ok = ReplaceFileAtomically(path, Bytes(4096, 1), &error);
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_NE(error.find("Cannot write"), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(path), Bytes(10, 0x5A));
  auto left = QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files);
  EXPECT_EQ(left.size(), 1) << "no temporary file is left behind";
}

TEST(FileIo, MissingFolderOrFileIsReportedNotCreated) {
  ScratchDir dir;
  EXPECT_FALSE(ReplaceFileAtomically(dir.Path("no/such/folder.bin"), Bytes{1}));
  EXPECT_FALSE(ReadWholeFile(dir.Path("missing.bin")).has_value());
  EXPECT_FALSE(ReadWholeFile(dir.Path()).has_value()) << "a folder is not a file";
  EXPECT_FALSE(FileExists(dir.Path()));
}
