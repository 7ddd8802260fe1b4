#include "platform/program_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/current_folder_scope.h"
#include "tests/support/program_folder_scope.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::ScratchDir;

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

TEST(ProgramFolder, ARelativeFolderIsMadeAbsoluteWhenFirstAskedFor) {
  ScratchDir dir;
  kavri_test::CurrentFolderScope here(dir.Path());
  for (const char* given : {"-home", "./-home/", "sub/../-home"}) {
    SCOPED_TRACE(given);
    kavri_test::ProgramFolderScope scope(given);
    EXPECT_EQ(ProgramFolder(), dir.Path("-home") + "/");
    EXPECT_EQ(MusicFolder(), dir.Path("-home") + "/Music/");
  }
}

TEST(ProgramFolder, TemporaryFilesOfInterruptedSavesAreRemovedFromItAndItsContentFolders) {
  ScratchDir dir;
  kavri_test::ProgramFolderScope scope(dir.Path());
  ASSERT_TRUE(EnsureContentFolders());
  ASSERT_EQ(::mkdir(dir.Path("Drawing/sub").c_str(), 0700), 0);
  const std::string left = ".kavri-Xy12ab";
  const std::string planted[] = {"", "Drawing/", "Section/", "ILDAimage/", "Sequence/", "Music/"};
  for (const std::string& folder : planted) {
    kavri_test::WriteBytes(dir.Path(folder + left), std::vector<uint8_t>(64, 1));
    kavri_test::WriteBytes(dir.Path(folder + "keep.txt"), {1});
  }
  kavri_test::WriteBytes(dir.Path("Drawing/sub/" + left), {1});  // below a content folder: not looked at
  EXPECT_EQ(RemoveInterruptedSaves(), 6);
  for (const std::string& folder : planted) {
    EXPECT_FALSE(Exists(dir.Path(folder + left))) << folder;
    EXPECT_TRUE(Exists(dir.Path(folder + "keep.txt"))) << folder;
  }
  EXPECT_TRUE(Exists(dir.Path("Drawing/sub/" + left)));
}

// A content folder that is a link may lead to another program's folder, where such names are not ours.
TEST(ProgramFolder, TheSweepDoesNotFollowAContentFolderThatIsALink) {
  ScratchDir dir;
  ASSERT_EQ(::mkdir(dir.Path("home").c_str(), 0700), 0);
  ASSERT_EQ(::mkdir(dir.Path("elsewhere").c_str(), 0700), 0);
  const std::string left = ".kavri-Xy12ab";
  kavri_test::WriteBytes(dir.Path("elsewhere/" + left), {1});
  ASSERT_EQ(::symlink(dir.Path("elsewhere").c_str(), dir.Path("home/Music").c_str()), 0);
  ASSERT_EQ(::symlink("../elsewhere", dir.Path("home/Section").c_str()), 0);
  kavri_test::ProgramFolderScope scope(dir.Path("home"));
  ASSERT_TRUE(EnsureContentFolders());
  kavri_test::WriteBytes(dir.Path("home/Drawing/" + left), {1});
  EXPECT_EQ(RemoveInterruptedSaves(), 1);
  EXPECT_FALSE(Exists(dir.Path("home/Drawing/" + left)));
  EXPECT_TRUE(Exists(dir.Path("elsewhere/" + left)));
}

}  // namespace
}  // namespace kavri
