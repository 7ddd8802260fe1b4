#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>

#include "platform/case_blind_path.h"
#include "tests/support/test_support.h"

using namespace kavri;
using kavri_test::ScratchDir;
using kavri_test::WriteBytes;

TEST(CaseBlindPath, ExactNameIsKeptAndOtherCaseIsFoundInItsFolder) {
  ScratchDir dir;
  QDir().mkpath(QString::fromStdString(dir.Path("Drawing")));
  WriteBytes(dir.Path("Drawing/MyPic.ddr"), {1});
  EXPECT_EQ(ResolveFileName(dir.Path("Drawing/MyPic.ddr")), dir.Path("Drawing/MyPic.ddr"));
  EXPECT_EQ(ResolveFileName(dir.Path("Drawing/mypic.ddr")), dir.Path("Drawing/MyPic.ddr"));
  EXPECT_EQ(ResolveFileName(dir.Path("drawing/MYPIC.DDR")), dir.Path("Drawing/MyPic.ddr"));
}

TEST(CaseBlindPath, BackslashIsASeparatorInStoredNames) {
  ScratchDir dir;
  QDir().mkpath(QString::fromStdString(dir.Path("Drawing/Sub")));
  WriteBytes(dir.Path("Drawing/Sub/Star.ddr"), {1});
  EXPECT_EQ(ResolveFileName(dir.Path("Drawing") + "\\sub\\star.ddr"), dir.Path("Drawing/Sub/Star.ddr"));
  EXPECT_EQ(ToSlashes("a\\b\\c"), "a/b/c");
}

TEST(CaseBlindPath, MissingNameComesBackWithSlashesAndAnExactMatchWins) {
  ScratchDir dir;
  WriteBytes(dir.Path("abc.ddr"), {1});
  WriteBytes(dir.Path("ABC.ddr"), {2});
  EXPECT_EQ(ResolveFileName(dir.Path("ABC.ddr")), dir.Path("ABC.ddr"));
  // Two candidates differing only in case: the same one every time.
  EXPECT_EQ(ResolveFileName(dir.Path("Abc.ddr")), dir.Path("ABC.ddr"));
  EXPECT_EQ(ResolveFileName(dir.Path("none\\x.ddr")), dir.Path("none/x.ddr"));
  EXPECT_EQ(ResolveFileName(""), "");
}

TEST(CaseBlindPath, NamesThatAreNotUtf8MatchOnlyByteForByte) {
  ScratchDir dir;
  WriteBytes(dir.Path("caf\xE9.ddr"), {1});  // Latin-1 bytes, not UTF-8
  WriteBytes(dir.Path("Caf\xC3\xA9.ddr"), {2});
  EXPECT_EQ(ResolveFileName(dir.Path("caf\xE9.ddr")), dir.Path("caf\xE9.ddr"));
  // Another bad byte is another name, not the same replacement character.
  EXPECT_EQ(ResolveFileName(dir.Path("caf\xE8.ddr")), dir.Path("caf\xE8.ddr"));
  EXPECT_EQ(ResolveFileName(dir.Path("CAF\xE9.DDR")), dir.Path("CAF\xE9.DDR"));
  // Valid UTF-8 still matches without regard to case, beyond ASCII too.
  EXPECT_EQ(ResolveFileName(dir.Path("CAF\xC3\x89.DDR")), dir.Path("Caf\xC3\xA9.ddr"));
  std::filesystem::remove(dir.Path("caf\xE9.ddr"));  // the scratch folder cannot remove such a name
}

TEST(CaseBlindPath, AFolderIndexReadsItsFolderOnce) {
  ScratchDir dir;
  WriteBytes(dir.Path("One.ddr"), {1});
  TCaseBlindFolder folder(dir.Path());
  EXPECT_EQ(folder.Match("ONE.DDR"), "One.ddr");
  EXPECT_EQ(folder.Match("two.ddr"), std::nullopt);
  // Entries made after the first lookup are not seen: the folder was read once.
  WriteBytes(dir.Path("Two.ddr"), {2});
  EXPECT_EQ(folder.Match("two.ddr"), std::nullopt);
  EXPECT_EQ(TCaseBlindFolder(dir.Path()).Match("two.ddr"), "Two.ddr");
}
