#include <gtest/gtest.h>

#include <limits>

#include "platform/numeric.h"

using namespace kavri;

TEST(Numeric, TruncToIntCutsTowardZeroAndSaturates) {
  EXPECT_EQ(TruncToInt(2.9), 2);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(-0.5), 0);
  EXPECT_EQ(TruncToInt(2147483646.9), 2147483646);
  EXPECT_EQ(TruncToInt(-2147483648.9), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(TruncToInt(3e9), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(TruncToInt(-3e9), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(TruncToInt(std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(TruncToInt(-std::numeric_limits<double>::infinity()), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(TruncToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}
