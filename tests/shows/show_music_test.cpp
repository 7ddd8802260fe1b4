#include "shows/show_music.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/support/current_folder_scope.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using kavri_test::TextBytes;
using kavri_test::WriteBytes;

// The player runs in a folder of its own: a music file found through a relative music folder or
// the current folder must come back absolute, naming the file found.
TEST(ShowMusicTest, AFileFoundThroughARelativeFolderComesBackAbsolute) {
  kavri_test::ScratchDir dir;
  ASSERT_EQ(::mkdir(dir.Path("Music").c_str(), 0700), 0);
  WriteBytes(dir.Path("Music/Song.mp3"), TextBytes("x"));
  WriteBytes(dir.Path("here.mp3"), TextBytes("x"));
  kavri_test::CurrentFolderScope inDir(dir.Path());
  struct Case {
    std::string text, folder, file;
  };
  const Case cases[] = {
      {"Song.mp3", "Music/", "Music/Song.mp3"},      // by name in the music folder
      {"SONG.MP3", "Music", "Music/Song.mp3"},       // without regard to case
      {"here.mp3", "Music/", "here.mp3"},            // relative to the current folder
      {"./here.mp3", "elsewhere/", "here.mp3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " in " + c.folder);
    const std::string found = FindShowMusic(c.text, c.folder);
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), '/') << found;
    std::error_code error;
    EXPECT_TRUE(std::filesystem::equivalent(found, dir.Path(c.file), error)) << found;
  }
}

}  // namespace
}  // namespace kavri
