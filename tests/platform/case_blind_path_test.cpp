#include <gtest/gtest.h>

#include <QDir>

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
