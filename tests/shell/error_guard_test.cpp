#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "shell/error_guard.h"
#include "tests/support/recording_dialogs.h"

using namespace kavri;

TEST(ErrorGuardTest, AnEscapingErrorIsShownOnceAndReportedAsFailure) {
  kavri_test::RecordingDialogs dialogs;
  int ran = 0;
  EXPECT_TRUE(RunGuarded([&] { ++ran; }));
  EXPECT_EQ(ran, 1);
  EXPECT_TRUE(dialogs.messages.empty());

  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("Cannot open Kavri.ini"); }));
  EXPECT_FALSE(RunGuarded([] { throw 42; }));
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error(""); }));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"Cannot open Kavri.ini", "Unknown error", "Unknown error"}));
}

// Memory running out in a command says so in words, not as the library's "std::bad_alloc".
TEST(ErrorGuardTest, RunningOutOfMemoryIsShownAsAPlainMessage) {
  kavri_test::RecordingDialogs dialogs;
  EXPECT_FALSE(RunGuarded([] { throw std::bad_alloc(); }));
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kOutOfMemoryText}));
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer ends the process on a failed allocation instead of throwing
  EXPECT_FALSE(RunGuarded([] { std::vector<char> v; v.reserve(v.max_size()); }));  // a real failed allocation
  EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kOutOfMemoryText, kOutOfMemoryText}));
#endif
}
