#include "segments/file_list_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/recording_dialogs.h"

namespace kavri {
namespace {

// The one rule every window applies to a typed name: a name no list would show again, or one that
// reaches outside the list's folder, is refused with the shared text.
TEST(FileNameRule, NamesThatAListCouldNotShowOrThatLeaveTheFolderAreRefusedWithTheSharedText) {
  struct Case {
    std::string name;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"show", true},       {"my show.seq", true}, {"show.", true},    {"a.b.c", true},   {"show.seq", true},
      {".show", false},     {".seq", false},       {".", false},       {"..", false},     {".hidden.ddr", false},
      {"../up", false},     {"a/b", false},        {"a\\b", false},    {"x..y", false},   {"a\tb", false},
      {std::string("a\0b", 3), false},             {"a\x7f", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kavri_test::RecordingDialogs dialogs;
    EXPECT_EQ(CheckFileName(c.name), c.accepted);
    EXPECT_EQ(dialogs.messages, c.accepted ? std::vector<std::string>{} : std::vector<std::string>{kRefusedNameText});
  }
  kavri_test::RecordingDialogs dialogs;
  EXPECT_FALSE(CheckFileName(""));
  EXPECT_TRUE(dialogs.messages.empty());
  // The text names each refused form, the leading "." among them.
  for (const char* part : {"\".\"", "start with \".\"", "\"/\"", "\"\\\"", "\"..\"", "control characters"})
    EXPECT_NE(std::string(kRefusedNameText).find(part), std::string::npos) << part;
}

}  // namespace
}  // namespace kavri
