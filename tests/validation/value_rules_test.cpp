#include "validation/value_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/validation/notice_recorder.h"

namespace {

using Rule = bool (*)(std::string_view, extended, const tNoticeHook&);

struct tOutcome {
  bool holds;
  std::string message;
};

tOutcome Apply(Rule rule, const char* label, extended value) {
  tNoticeRecorder r;
  const bool holds = rule(label, value, r.Hook());
  EXPECT_EQ(r.notices.size(), holds ? 0u : 1u);
  if (!r.notices.empty()) {
    EXPECT_EQ(r.notices[0].kind, tMessageKind::Warning);
    EXPECT_EQ(r.notices[0].caption, "Warning");
  }
  return {holds, r.OnlyText()};
}

TEST(CheckCovariateCount, WholeNumbersOneToFive) {
  const char* label = "Number of covariates :";
  EXPECT_TRUE(Apply(CheckCovariateCount, label, 1).holds);
  EXPECT_TRUE(Apply(CheckCovariateCount, label, 5).holds);
  for (extended v : {0.0L, 6.0L, -1.0L, 2.5L, 5.0000001L, 0.5L})
    EXPECT_FALSE(Apply(CheckCovariateCount, label, v).holds) << static_cast<double>(v);
  EXPECT_EQ(Apply(CheckCovariateCount, label, 2.5L).message,
            "INPUT ERROR\r(  Number of covariates :  2.500  )\r"
            "The value must be a positive integer and be less than 6.");
  EXPECT_EQ(Apply(CheckCovariateCount, label, -1).message,
            "INPUT ERROR\r(  Number of covariates :  -1.000  )\r"
            "The value must be a positive integer and be less than 6.");
}

TEST(CheckSampleSize, WholeNumbersFromThree) {
  const char* label = "Sample size (N) of control sample:";
  EXPECT_TRUE(Apply(CheckSampleSize, label, 3).holds);
  EXPECT_TRUE(Apply(CheckSampleSize, label, 999999).holds);
  EXPECT_FALSE(Apply(CheckSampleSize, label, 2).holds);
  EXPECT_EQ(Apply(CheckSampleSize, label, 3.5L).message,
            "INPUT ERROR\r(  Sample size (N) of control sample:  3.500  )\r"
            "The value for sample size must be an integer greater than 2.");
}

TEST(CheckSampleSize, RefusesCountsTooLargeForAnInt) {
  // A pasted 64-digit text reads as a finite whole number; it must not
  // reach a conversion to int.
  const tOutcome r = Apply(CheckSampleSize, "n", 1e40L);
  EXPECT_FALSE(r.holds);
  EXPECT_NE(r.message.find("at most 100000000."), std::string::npos);
  EXPECT_TRUE(Apply(CheckSampleSize, "n", MaxSampleSize).holds);
}

TEST(ValueRules, RefuseNonFiniteValues) {
  const extended nan = std::numeric_limits<extended>::quiet_NaN();
  const extended inf = std::numeric_limits<extended>::infinity();
  for (extended v : {nan, inf, -inf}) {
    EXPECT_FALSE(Apply(CheckCovariateCount, "k", v).holds);
    EXPECT_FALSE(Apply(CheckSampleSize, "n", v).holds);
  }
  EXPECT_FALSE(Apply(CheckPositiveSd, "Test No.1", nan).holds);
}

TEST(CheckPositiveSd, StrictlyPositive) {
  EXPECT_TRUE(Apply(CheckPositiveSd, "Test No.2", 0.001L).holds);
  EXPECT_FALSE(Apply(CheckPositiveSd, "Test No.2", -1).holds);
  EXPECT_EQ(Apply(CheckPositiveSd, "Test No.2", 0).message,
            "INPUT ERROR\r(  Test No.2  0.000  )\rStandard deviations must have a positive value.");
}

TEST(CrossFieldRule, NMinusOneMustExceedK) {
  tNoticeRecorder r;
  EXPECT_TRUE(CheckCovariatesForSampleSize(6, 4, r.Hook()));
  EXPECT_TRUE(CheckCovariatesForSampleSize(3, 1, r.Hook()));
  EXPECT_TRUE(r.notices.empty());
  EXPECT_FALSE(CheckCovariatesForSampleSize(5, 4, r.Hook()));
  ASSERT_EQ(r.notices.size(), 1u);
  EXPECT_EQ(r.notices[0].kind, tMessageKind::Error);
  EXPECT_EQ(r.notices[0].caption, "Error");
  EXPECT_EQ(r.notices[0].text, " With a control sample size of  5, the maximum number of covariates is  3 ");
}

TEST(CrossFieldRule, ExtremeArgumentsDoNotOverflow) {
  tNoticeRecorder r;
  EXPECT_FALSE(CheckCovariatesForSampleSize(std::numeric_limits<int>::min(), 1, r.Hook()));
  EXPECT_TRUE(CheckCovariatesForSampleSize(std::numeric_limits<int>::max(), 5, r.Hook()));
}

}  // namespace
