#include "validation/value_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/validation/notice_recorder.h"

namespace {

using Rule = bool (*)(std::string_view, extended, const tNoticeHook&);

// Each rule on values either side of its bounds; a refusal gives one
// warning, whose text is checked where the row gives it.
TEST(ValueRules, BoundsAndMessages) {
  const extended nan = std::numeric_limits<extended>::quiet_NaN();
  const extended inf = std::numeric_limits<extended>::infinity();
  const char* count = "Number of covariates :";
  const char* size = "Sample size (N) of control sample:";
  struct tCase {
    Rule rule;
    const char* label;
    extended value;
    bool holds;
    const char* message = "";
  };
  const tCase cases[] = {
      {CheckCovariateCount, count, 1, true},
      {CheckCovariateCount, count, 5, true},
      {CheckCovariateCount, count, 0, false},
      {CheckCovariateCount, count, 6, false},
      {CheckCovariateCount, count, 5.0000001L, false},
      {CheckCovariateCount, count, 0.5L, false},
      {CheckCovariateCount, count, 2.5L, false,
       "INPUT ERROR\r(  Number of covariates :  2.500  )\rThe value must be a positive integer and be less than 6."},
      {CheckCovariateCount, count, -1, false,
       "INPUT ERROR\r(  Number of covariates :  -1.000  )\rThe value must be a positive integer and be less than 6."},
      {CheckSampleSize, size, 3, true},
      {CheckSampleSize, size, MaxSampleSize, true},
      {CheckSampleSize, size, 2, false},
      {CheckSampleSize, size, 3.5L, false,
       "INPUT ERROR\r(  Sample size (N) of control sample:  3.500  )\r"
       "The value for sample size must be an integer greater than 2."},
      {CheckPositiveSd, "Test No.2", 0.001L, true},
      {CheckPositiveSd, "Test No.2", -1, false},
      {CheckPositiveSd, "Test No.2", 0, false,
       "INPUT ERROR\r(  Test No.2  0.000  )\rStandard deviations must have a positive value."},
      {CheckPositiveSd, "Test No.2", nan, false},
  };
  for (const tCase& c : cases) {
    tNoticeRecorder r;
    EXPECT_EQ(c.rule(c.label, c.value, r.Hook()), c.holds) << c.label << " " << static_cast<double>(c.value);
    ASSERT_EQ(r.notices.size(), c.holds ? 0u : 1u) << c.label << " " << static_cast<double>(c.value);
    if (c.holds) continue;
    EXPECT_EQ(r.notices[0].kind, tMessageKind::Warning);
    EXPECT_EQ(r.notices[0].caption, "Warning");
    if (*c.message) {
      EXPECT_EQ(r.notices[0].text, c.message);
    }
  }
  tNoticeRecorder r;
  for (extended v : {nan, inf, -inf}) {
    EXPECT_FALSE(CheckCovariateCount("k", v, r.Hook()));
    EXPECT_FALSE(CheckSampleSize("n", v, r.Hook()));
  }
  // A pasted 64-digit text reads as a finite whole number; it must not
  // reach a conversion to int.
  r.notices.clear();
  EXPECT_FALSE(CheckSampleSize("n", 1e40L, r.Hook()));
  EXPECT_NE(r.OnlyText().find("at most 100000000."), std::string::npos);
}

TEST(CrossFieldRule, NMinusOneMustExceedKWithoutOverflow) {
  tNoticeRecorder r;
  EXPECT_TRUE(CheckCovariatesForSampleSize(6, 4, r.Hook()));
  EXPECT_TRUE(CheckCovariatesForSampleSize(3, 1, r.Hook()));
  EXPECT_TRUE(CheckCovariatesForSampleSize(std::numeric_limits<int>::max(), 5, r.Hook()));
  EXPECT_TRUE(r.notices.empty());
  EXPECT_FALSE(CheckCovariatesForSampleSize(5, 4, r.Hook()));
  ASSERT_EQ(r.notices.size(), 1u);
  EXPECT_EQ(r.notices[0].kind, tMessageKind::Error);
  EXPECT_EQ(r.notices[0].caption, "Error");
  EXPECT_EQ(r.notices[0].text, " With a control sample size of  5, the maximum number of covariates is  3 ");
  EXPECT_FALSE(CheckCovariatesForSampleSize(std::numeric_limits<int>::min(), 1, r.Hook()));
}

}  // namespace
