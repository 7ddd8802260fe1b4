#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/file_list.h"
#include "tests/support/test_support.h"

namespace kavri {
namespace {

using Names = std::vector<std::string>;

class FileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"b.ddr", "A.DDR", "c.Ddr", "notes.txt", "ddr", ".hidden.ddr", "Zeta.ddr"})
      kavri_test::WriteBytes(dir.Path(name), {1});
    ::mkdir(dir.Path("folder.ddr").c_str(), 0755);  // only regular files are listed
  }
  TFileList Listed(const std::string& mask) {
    TFileList list;
    list.SetMask(mask);
    list.SetDirectory(dir.Path());
    return list;
  }
  kavri_test::ScratchDir dir;
};

TEST_F(FileListTest, MasksMatchTheExtensionWithoutCaseAndSortWithoutCase) {
  EXPECT_EQ(Listed("*.ddr").Items(), (Names{"A.DDR", "b.ddr", "c.Ddr", "Zeta.ddr"}));
  EXPECT_EQ(Listed("*.DDR").Items(), (Names{"A.DDR", "b.ddr", "c.Ddr", "Zeta.ddr"}));
  EXPECT_EQ(Listed("*.txt").Items(), (Names{"notes.txt"}));
  EXPECT_EQ(Listed("*.*").Items(), (Names{"A.DDR", "b.ddr", "c.Ddr", "ddr", "notes.txt", "Zeta.ddr"}));
  EXPECT_TRUE(Listed("*.sec").Items().empty());
}

TEST_F(FileListTest, FindsNamesWithoutCaseAndGivesTheirPaths) {
  TFileList list = Listed("*.ddr");
  EXPECT_EQ(list.ItemIndex(), -1);
  EXPECT_EQ(list.SelectedPath(), "");
  list.SetItemIndex(list.IndexOf("ZETA.ddr"));
  EXPECT_EQ(list.SelectedName(), "Zeta.ddr");
  EXPECT_EQ(list.SelectedPath(), dir.Path("Zeta.ddr"));
  EXPECT_EQ(list.IndexOf("missing.ddr"), -1);
  list.SetItemIndex(17);
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(FileListTest, RefreshKeepsTheSelectedNameOrFallsBackToTheFirst) {
  TFileList list = Listed("*.ddr");
  list.SetItemIndex(list.IndexOf("c.Ddr"));
  kavri_test::WriteBytes(dir.Path("Aa.ddr"), {1});
  list.Refresh();
  EXPECT_EQ(list.SelectedName(), "c.Ddr");
  ASSERT_EQ(std::remove(dir.Path("c.Ddr").c_str()), 0);
  list.Refresh();
  EXPECT_EQ(list.ItemIndex(), 0);
  list.Update();
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(FileListTest, MultiSelectMarksSeveralItemsInListOrder) {
  TFileList list = Listed("*.ddr");
  list.SetSelected(3, true);
  list.SetSelected(1, true);
  EXPECT_EQ(list.SelectedNames(), (Names{"b.ddr"}));  // one at a time without multi-select
  list.SetMultiSelect(true);
  list.SetSelected(3, true);
  list.SetSelected(0, true);
  EXPECT_EQ(list.SelectedNames(), (Names{"A.DDR", "b.ddr", "Zeta.ddr"}));
  list.SetSelected(1, false);
  EXPECT_EQ(list.SelectedNames(), (Names{"A.DDR", "Zeta.ddr"}));
}

TEST(FileExtension, IsTheLastDotAfterTheLastSeparator) {
  EXPECT_EQ(FileExtension("abc.DDR"), ".DDR");
  EXPECT_EQ(FileExtension("a.b.sec"), ".sec");
  EXPECT_EQ(FileExtension("abc"), "");
  EXPECT_EQ(FileExtension("dir.x/abc"), "");
  EXPECT_EQ(FileExtension("dir.x\\abc"), "");
}

TEST(WithExtension, AppendsUnlessTheExtensionMatchesInLowerCase) {
  EXPECT_EQ(WithExtension("abc", ".sec"), "abc.sec");
  EXPECT_EQ(WithExtension("abc.SEC", ".sec"), "abc.SEC");
  EXPECT_EQ(WithExtension("abc.txt", ".sec"), "abc.txt.sec");
  EXPECT_EQ(WithExtension("abc.ild.x", ".ild"), "abc.ild.x.ild");
  EXPECT_EQ(WithExtension("ab.sec.", ".sec"), "ab.sec..sec");
}

}  // namespace
}  // namespace kavri
