#include "core/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

TEST(TextLines, LinesEndAtLfCrLfOrCrAndFieldsAtBlanks) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(SplitLines("a\nb\r\nc\rd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n\n"), (V{"a", ""}));  // the empty second line counts, nothing after the last end
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitFields(" \t40  12\t55 9 "), (V{"40", "12", "55", "9"}));
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
