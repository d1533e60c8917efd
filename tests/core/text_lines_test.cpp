#include "core/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

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

// Each field of a delimited line with how it was written.
std::vector<std::pair<std::string, tFieldQuoting>> Delimited(std::string_view line, char separator) {
  std::vector<std::pair<std::string, tFieldQuoting>> fields;
  std::size_t position = 0;
  std::string field;
  tFieldQuoting quoting = tFieldQuoting::Plain;
  while (NextDelimitedField(line, separator, position, field, quoting)) fields.emplace_back(field, quoting);
  return fields;
}

TEST(TextLines, DelimitedFieldsAsSpreadsheetsWriteThem) {
  using F = std::vector<std::pair<std::string, tFieldQuoting>>;
  constexpr auto P = tFieldQuoting::Plain;
  constexpr auto Q = tFieldQuoting::Quoted;
  EXPECT_EQ(Delimited(" 1 ,\t\"a, \"\"b\"\"\" , ,x y,", ','),
            (F{{"1", P}, {"a, \"b\"", Q}, {"", P}, {"x y", P}, {"", P}}));
  EXPECT_EQ(Delimited("", ';'), (F{{"", P}}));
  EXPECT_EQ(Delimited(" a b \t\"c\td\"", '\t'), (F{{"a b", P}, {"c\td", Q}}));  // a tab separates, blanks pad
  EXPECT_EQ(Delimited("1;\"2", ';'), (F{{"1", P}, {"2", tFieldQuoting::UnclosedQuote}}));
  EXPECT_EQ(Delimited("\"1\"2;3", ';'), (F{{"1", tFieldQuoting::TextAfterQuote}}));
  EXPECT_TRUE(HoldsOutsideQuotes("\"a;b\";c", ';'));
  EXPECT_FALSE(HoldsOutsideQuotes("\"a;b\",c", ';'));
}

}  // namespace
