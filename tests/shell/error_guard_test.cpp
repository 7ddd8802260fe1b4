#include <gtest/gtest.h>

#include <stdexcept>

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
