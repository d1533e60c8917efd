#include "validation/decimal_number.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace {

TEST(ReadDecimalNumber, TakesSignPointAndExponentWithCorrectRounding) {
  extended x = 0;
  for (auto [text, value] : {std::pair<const char*, extended>{"+.25", 0.25L}, {"-7.", -7}, {"1.5E-3", 1.5e-3L}}) {
    EXPECT_TRUE(ReadDecimalNumber(text, x)) << text;
    EXPECT_EQ(x, value) << text;
  }
  // 0.1 rounds to the nearest value of each type, not through the other.
  double d = 0;
  EXPECT_TRUE(ReadDecimalNumber("0.1", d));
  EXPECT_EQ(d, 0.1);
  EXPECT_TRUE(ReadDecimalNumber("0.1", x));
  EXPECT_EQ(x, 0.1L);
  // Exact digits over an exact power of ten: one correctly rounded division
  // in either format (WebAssembly's strtold once gave the double instead).
  for (auto [text, digits, power] : {std::tuple<const char*, extended, extended>{"51.1825", 511825, 1e4L},
                                     {"-59.8", -598, 10}, {"123456789.123456789", 123456789123456789, 1e9L},
                                     {"2.5e-7", 25, 1e8L}, {"0.00060", 6, 1e4L}}) {
    EXPECT_TRUE(ReadDecimalNumber(text, x)) << text;
    EXPECT_EQ(x, digits / power) << text;
  }
}

TEST(ReadDecimalNumber, RefusesEveryOtherFormAndLeavesTheValueAlone) {
  for (const char* bad : {"", "+", "-", ".", "e5", "1e", "1e+", "+-1", "-+1", "--1", "1,5", "1 ", " 1", "inf",
                          "-nan", "0x10", "1.2.3", "1e5.5"}) {
    extended x = 42;
    double d = 42;
    EXPECT_FALSE(ReadDecimalNumber(bad, x)) << bad;
    EXPECT_FALSE(ReadDecimalNumber(bad, d)) << bad;
    EXPECT_EQ(x, 42) << bad;
    EXPECT_EQ(d, 42) << bad;
  }
}

TEST(ReadDecimalNumber, RangeIsThatOfTheType) {
  extended x = 0;
  double d = 0;
  EXPECT_TRUE(ReadDecimalNumber("1e400", x));
  EXPECT_FALSE(ReadDecimalNumber("1e400", d));
  EXPECT_FALSE(ReadDecimalNumber("1e5000", x));
}

}  // namespace
