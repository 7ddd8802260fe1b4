#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "platform/file_io.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::FileSizeLimit;
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
  auto left = QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files);
  EXPECT_EQ(left.size(), 1) << "no temporary file is left behind";
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
  EXPECT_TRUE(QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files).isEmpty());
}

TEST(FileIo, ReadsWholeFilesOfAnySizeAndFilesThatReportNoSize) {
  ScratchDir dir;
  for (size_t size : {size_t{0}, size_t{1}, size_t{65535}, size_t{65536}, size_t{65537}, size_t{300001}}) {
    Bytes image(size);
    for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(i * 7 + i / 251);
    const std::string path = dir.Path("f" + std::to_string(size));
    kavri_test::WriteBytes(path, image);
    const std::optional<Bytes> back = ReadWholeFile(path);
    ASSERT_TRUE(back.has_value()) << size;
    EXPECT_EQ(*back, image) << size;
  }
  // Kernel files report a size of 0 but have content; it must be read all the same.
  struct stat st {};
  ASSERT_EQ(stat("/proc/self/status", &st), 0);
  ASSERT_EQ(st.st_size, 0);
  const std::optional<Bytes> status = ReadWholeFile("/proc/self/status");
  ASSERT_TRUE(status.has_value());
  const std::string text(status->begin(), status->end());
  EXPECT_EQ(text.rfind("Name:", 0), 0u) << text.substr(0, 40);
  EXPECT_NE(text.find("\nPid:"), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
}

TEST(FileIo, MissingFolderOrFileIsReportedNotCreated) {
  ScratchDir dir;
  EXPECT_FALSE(ReplaceFileAtomically(dir.Path("no/such/folder.bin"), Bytes{1}));
  EXPECT_FALSE(ReadWholeFile(dir.Path("missing.bin")).has_value());
  EXPECT_FALSE(ReadWholeFile(dir.Path()).has_value()) << "a folder is not a file";
  EXPECT_FALSE(FileExists(dir.Path()));
}
