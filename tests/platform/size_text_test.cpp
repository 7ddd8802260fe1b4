#include "platform/size_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/test_support.h"

namespace kavri {
namespace {

TEST(SizeTextTest, LabelAndHintAcrossTheUnitBoundaries) {
  struct Case {
    uint64_t bytes;
    const char* label;
    const char* hint;
  };
  const Case cases[] = {
      {0, "0 Byte", "0 Byte"},
      {1023, "1023 Byte", "1023 Byte"},
      {1024, "1 KB", "1 KB(1024 Byte)"},
      {1025, "1.00 KB", "1.00 KB(1025 Byte)"},  // 1.0009765625, cut not rounded
      {1536, "1.5 KB", "1.5 KB(1536 Byte)"},
      {102400, "100 KB", "100 KB(102400 Byte)"},  // whole numbers keep every digit
      {1048575, "1023.99 KB", "1023.99 KB(1048575 Byte)"},
      {1048576, "1024 KB", "1024 KB(1048576 Byte)"},
      {1049599, "1024.99 KB", "1024.99 KB(1049599 Byte)"},
      {1049600, "1.00 MB", "1.00 MB(1049600 Byte)"},
      {2097152, "2 MB", "2 MB(2097152 Byte)"},
      {uint64_t{5} << 40, "5242880 MB", "5242880 MB(5497558138880 Byte)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    const TSizeText text = FileSizeText(c.bytes);
    EXPECT_EQ(text.label, c.label);
    EXPECT_EQ(text.hint, c.hint);
  }
}

// Files past 4 GiB keep their whole size: a sparse file costs no disk space.
TEST(SizeTextTest, PathSizeTextReadsSizesBeyondThirtyTwoBits) {
  kavri_test::ScratchDir dir;
  const std::string big = dir.Path("big.ild");
  kavri_test::WriteBytes(big, {});
  ASSERT_EQ(::truncate(big.c_str(), (int64_t{5} << 30) + 1536), 0);
  const TSizeText text = PathSizeText(big);
  EXPECT_EQ(text.label, "5120.00 MB");
  EXPECT_EQ(text.hint, "5120.00 MB(5368710656 Byte)");
  EXPECT_EQ(PathSizeText(dir.Path("none.ild")).label, "0 Byte");
}

}  // namespace
}  // namespace kavri
