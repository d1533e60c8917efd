#include "formats/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <utility>

#include "report/batch_output.h"

TEST(BatchText, ReadScoreTakesDecimalNumbersOnly) {
  extended v = 0;
  // 0.1 is correctly rounded in extended precision.
  for (auto [text, value] : {std::pair<const char*, extended>{"40", 40}, {"-0.5", -0.5L}, {"+.25", 0.25L},
                             {"1.5e-3", 1.5e-3L}, {"7.", 7}, {"0.1", 0.1L}}) {
    EXPECT_TRUE(ReadScore(text, v)) << text;
    EXPECT_EQ(v, value) << text;
  }
  for (const char* bad : {"", "-", ".", "4,0", "1e", "1e+", "+-1", "--1", "inf", "nan", "0x10", "1.2.3", "12a",
                          "1e99999"}) {
    extended before = 3;
    EXPECT_FALSE(ReadScore(bad, before)) << bad;
    EXPECT_EQ(before, 3.0L) << bad;
  }
  EXPECT_FALSE(ReadScore(std::string(65, '1'), v));
  EXPECT_TRUE(ReadScore(std::string(64, '1'), v));
}

// 14 significant digits, correctly rounded (half a unit of the 14th digit
// each side of 1.5, 2/3 and the worked t value), no decimal comma, the
// shortest form ("%g"), words for the non-finite.
TEST(BatchText, FiguresHaveFourteenSignificantDigits) {
  for (auto [x, text] : {std::pair<extended, const char*>{-1.8856180831641267L, "-1.8856180831641"},
                         {2.0L / 3.0L, "0.66666666666667"}, {1.5L + 0x1.dp-45L, "1.5000000000001"},
                         {1.5L + 0x1.cp-45L, "1.5"}, {0.048035796819923675L, "0.048035796819924"},
                         {1e-300L, "1e-300"}, {123456789.125L, "123456789.125"}, {-0.0L, "-0"}, {8.0L, "8"},
                         {12345678901234567.0L, "1.2345678901235e+16"}, {1.0L / 0.0L, "Inf"},
                         {-1.0L / 0.0L, "-Inf"}, {std::nanl(""), "NaN"}})
    EXPECT_EQ(BatchFigure(x), text);
}

TEST(BatchText, NoticeTextOnOneLine) {
  EXPECT_EQ(OneLineText("INPUT ERROR\r(  SD  0.000  )\r\rStandard deviations must have a positive value."),
            "INPUT ERROR (  SD  0.000  ) Standard deviations must have a positive value.");
  EXPECT_EQ(OneLineText(" With a control sample size of  3, the maximum number of covariates is  1 "),
            "With a control sample size of  3, the maximum number of covariates is  1");
}

// A label a spreadsheet would run as a formula (=cmd|calc) is written as
// text: an apostrophe before it, in quotes; other labels as before.
TEST(BatchText, CsvFieldsAreNeverFormulas) {
  for (auto [label, written] : {std::pair<const char*, const char*>{"P1", "P1"}, {"a,b", "\"a,b\""},
                                {"say \"x\"", "\"say \"\"x\"\"\""}, {"=cmd|calc", "\"'=cmd|calc\""},
                                {"+1x", "\"'+1x\""}, {"-x", "\"'-x\""}, {"@SUM(A1)", "\"'@SUM(A1)\""},
                                {"=\"a\",b", "\"'=\"\"a\"\",b\""}, {"a=b", "a=b"}, {"", ""}})
    EXPECT_EQ(CsvField(label), written) << label;
}
