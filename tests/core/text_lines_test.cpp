#include "core/text_lines.h"

#include <gtest/gtest.h>

namespace {

TEST(TextLines, LinesEndAtLfCrLfOrCrAndFieldsAtBlanks) {
  const auto lines = SplitLines("a\nb\r\nc\rd");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(lines[2], "c");
  EXPECT_EQ(lines[3], "d");
  EXPECT_EQ(SplitLines("a\n\n").size(), 2u);  // the empty second line counts, nothing after the last end
  EXPECT_TRUE(SplitLines("").empty());
  const auto fields = SplitFields(" \t40  12\t55 9 ");
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[3], "9");
  EXPECT_TRUE(IsBlankLine(" \t\f"));
  EXPECT_FALSE(IsBlankLine(" x"));
  EXPECT_EQ(FirstField(" \t40  12"), "40");
  EXPECT_EQ(FirstField("  "), "");
}

}  // namespace
