// The unit's functions: equality, argument rules and messages, log-gamma,
// incomplete gamma and beta, the power function and the generator.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>

#include "distrib/argument_checks.h"
#include "distrib/distribution_errors.h"
#include "distrib/incomplete_beta.h"
#include "distrib/incomplete_gamma.h"
#include "distrib/ln_gamma.h"
#include "distrib/power.h"
#include "distrib/uniform_random.h"
#include "distrib_test_support.h"

namespace {

// The identifier and message of the EArgumentError that f raises.
template <class F>
std::pair<int, std::string> ArgumentErrorOf(F f) {
  try {
    f();
  } catch (const EArgumentError& e) {
    return {e.Identifier(), e.what()};
  }
  return {0, "no error"};
}

TEST(NearlyEqual, IsAnAbsoluteToleranceOf5e12) {
  EXPECT_TRUE(NearlyEqual(0, 4.9e-12L));
  EXPECT_FALSE(NearlyEqual(0, 5.1e-12L));
  EXPECT_TRUE(NearlyEqual(-1, -1 - 4e-12L));
  // Absolute, not relative: large numbers a millionth apart differ.
  EXPECT_FALSE(NearlyEqual(1e6L, 1e6L + 1e-6L));
}

TEST(CheckArgument, RulesByIdentifierWithTheBoundInTheMessage) {
  EXPECT_TRUE(CheckArgument(1301, 0.1L, 0));
  EXPECT_EQ(ArgumentErrorOf([] { CheckArgument(1301, 0, 0); }),
            std::make_pair(1301, std::string("Parameter 1 must be greater than 0")));
  EXPECT_EQ(ArgumentErrorOf([] { CheckArgument(1305, -1, 0); }).first, 1305);
  EXPECT_EQ(ArgumentErrorOf([] { CheckArgument(1309, 2, 2.5L); }),
            std::make_pair(1309, std::string("Parameter 3 must be greater than 2.5")));
  EXPECT_TRUE(CheckArgument(1302, 0, 0));
  EXPECT_EQ(ArgumentErrorOf([] { CheckArgument(1302, -0.1L, 0); }).first, 1302);
  EXPECT_EQ(ArgumentErrorOf([] { CheckArgument(1303, 2147483647.0L, 2147483647.0L); }),
            std::make_pair(1303, std::string("Parameter must be less than 2147483647")));
  EXPECT_TRUE(CheckArgument(1315, 1, 1));
  EXPECT_EQ(ArgumentErrorOf([] { CheckArgument(1315, 1.1L, 1); }),
            std::make_pair(1315, std::string("Argument must be at most 1")));
  // Identifiers without a rule never raise.
  EXPECT_TRUE(CheckArgument(1304, -1e30L, 0));
}

TEST(CheckArgument, NaNBreaksEveryRule) {
  for (int id : {1301, 1302, 1303, 1305, 1306, 1307, 1309, 1310, 1311, 1315})
    EXPECT_EQ(ArgumentErrorOf([id] { CheckArgument(id, NaN, 0); }).first, id) << id;
}

TEST(FormatBound, ZeroPointTwelveHashes) {
  EXPECT_EQ(FormatBound(0), "0");
  EXPECT_EQ(FormatBound(-2147483647.0L), "-2147483647");
  EXPECT_EQ(FormatBound(0.5L), "0.5");
  EXPECT_EQ(FormatBound(1.0L / 3), "0.333333333333");
  EXPECT_EQ(FormatBound(2.0L / 3), "0.666666666667");
  EXPECT_EQ(FormatBound(1e-13L), "0");
  EXPECT_EQ(FormatBound(-1e-13L), "0");
  EXPECT_EQ(FormatBound(1e20L), "100000000000000000000");
}

TEST(RaiseArgumentErrorIf, RaisesTheTextAloneWhenTheConditionHolds) {
  EXPECT_NO_THROW(RaiseArgumentErrorIf(false, 1362));
  EXPECT_EQ(ArgumentErrorOf([] { RaiseArgumentErrorIf(true, 1362); }),
            std::make_pair(1362, std::string("The distribution has no mean")));
  EXPECT_EQ(ArgumentErrorOf([] { RaiseArgumentErrorIf(true, 1363); }).first, 1363);
  // The text names what was out of range and the limit.
  EXPECT_EQ(ArgumentErrorOf([] { RaiseArgumentErrorIf(true, 1361); }),
            std::make_pair(1361, std::string("Too far out in the tail to compute (incomplete gamma "
                                             "argument above 2147483647)")));
}

TEST(LnGamma, ReferenceValuesWithinTheLanczosAccuracy) {
  EXPECT_NEAR(LnGamma(1), 0, 1e-10);
  EXPECT_NEAR(LnGamma(2), 0, 1e-10);
  EXPECT_NEAR(LnGamma(0.5L), 0.5723649429247001L, 1e-10);  // ln sqrt(pi)
  EXPECT_NEAR(LnGamma(10), 12.801827480081469L, 1e-9);     // ln 9!
  EXPECT_NEAR(LnGamma(1000.5L), 5908.674175848678L, 1e-8);
}

TEST(LnGamma, NonPositiveArgumentsAreArithmeticFaults) {
  EXPECT_THROW(LnGamma(0), EArithmeticError);
  EXPECT_THROW(LnGamma(-2), EArithmeticError);
  EXPECT_THROW(LnGamma(NaN), EArithmeticError);
}

TEST(IncompleteGamma, ExponentialAndErrorFunctionOnBothBranches) {
  // P(1, x) = 1 - e^-x: x = 0.5 takes the series, x = 5 the continued fraction.
  EXPECT_NEAR(IncompleteGamma(0.5L, 1), 1 - std::exp(-0.5L), 1e-10);
  EXPECT_NEAR(IncompleteGamma(5, 1), 1 - std::exp(-5.0L), 1e-10);
  // P(1/2, z^2/2) = erf(z / sqrt 2).
  for (extended z : {0.1L, 1.0L, 1.959963984540054L, 4.0L, 9.0L})
    EXPECT_NEAR(IncompleteGamma(z * z / 2, 0.5L), std::erf(z / std::sqrt(2.0L)), 1e-10) << z;
  EXPECT_EQ(IncompleteGamma(0, 3), 0);
}

TEST(IncompleteGamma, ArgumentRules) {
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(-1e-3L, 1); }).first, 1302);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(3e9L, 1); }).first, 1361);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(1, 0); }).first, 1301);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(1, 3e9L); }).first, 1361);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(NaN, 1); }).first, 1302);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(1, NaN); }).first, 1301);
}

TEST(IncompleteGamma, ContinuedFractionRaisesOnNaNInsteadOfLoopingForEver) {
  EXPECT_THROW(IncompleteGammaContinuedFraction(NaN, 1), EArithmeticError);
  EXPECT_THROW(IncompleteGammaContinuedFraction(5, NaN), EArithmeticError);
}

TEST(IncompleteBeta, EndsUniformCaseAndIdentities) {
  EXPECT_EQ(IncompleteBeta(0, 2, 3), 0);
  EXPECT_EQ(IncompleteBeta(-1, 2, 3), 0);
  EXPECT_EQ(IncompleteBeta(1, 2, 3), 1);
  EXPECT_EQ(IncompleteBeta(2, 2, 3), 1);
  EXPECT_NEAR(IncompleteBeta(0.5L, 1, 1), 0.5L, 1e-11);
  // I_x(a, 1) = x^a on both sides of the switch point.
  for (extended x : {0.1L, 0.5L, 0.9L})
    EXPECT_NEAR(IncompleteBeta(x, 2.5L, 1), std::pow(x, 2.5L), 1e-10) << x;
  // I_x(a, b) = 1 - I_(1-x)(b, a).
  EXPECT_NEAR(IncompleteBeta(0.3L, 4, 7), 1 - IncompleteBeta(0.7L, 7, 4), 1e-10);
}

TEST(IncompleteBeta, ArithmeticFaultsGiveOne) {
  EXPECT_EQ(IncompleteBeta(0.5L, 0, 1), 1);  // ln Gamma(0) divides by zero
  EXPECT_EQ(IncompleteBeta(0.5L, NaN, 1), 1);
  EXPECT_EQ(IncompleteBeta(NaN, 2, 3), 1);
  EXPECT_THROW(IncompleteBetaContinuedFraction(NaN, 2, 3), EArithmeticError);
  EXPECT_THROW(IncompleteBetaContinuedFraction(0.3L, NaN, 3), EArithmeticError);
}

TEST(Power, WholeAndFractionalExponents) {
  EXPECT_EQ(Power(0, 0), 1);
  EXPECT_EQ(Power(5.5L, 0), 1);
  EXPECT_EQ(Power(0, 2.5L), 0);
  EXPECT_EQ(Power(2, 10), 1024);
  EXPECT_EQ(Power(-3, 3), -27);
  EXPECT_EQ(Power(2, -2), 0.25L);
  EXPECT_NEAR(Power(8, 1.0L / 3), 2, 1e-18);
  EXPECT_NEAR(Power(10, 0.5L), std::sqrt(10.0L), 1e-18);
}

TEST(Power, FaultsRaise) {
  EXPECT_THROW(Power(0, -1), EArithmeticError);     // division by zero
  EXPECT_THROW(Power(0, -0.5L), EArithmeticError);  // logarithm of zero
  EXPECT_THROW(Power(-8, 1.0L / 3), EArithmeticError);
  EXPECT_THROW(Power(1e3000L, 2), EArithmeticError);  // overflow
  EXPECT_THROW(Power(10, 1e5L + 0.5L), EArithmeticError);
}

TEST(UniformRandom, FixedSequenceFromTheStartSeeds) {
  RandomSeed1 = InitialRandomSeed1;
  RandomSeed2 = InitialRandomSeed2;
  EXPECT_EQ(UniformRandom(), 1120735397 * 4.656613e-10L);
  EXPECT_EQ(UniformRandom(), 376398899 * 4.656613e-10L);
  EXPECT_EQ(UniformRandom(), 248445365 * 4.656613e-10L);
  RandomSeed1 = InitialRandomSeed1;
  RandomSeed2 = InitialRandomSeed2;
  EXPECT_NEAR(UniformRandom(), 0.5218831019L, 1e-10);
  EXPECT_NEAR(UniformRandom(), 0.1752744006L, 1e-10);
  EXPECT_NEAR(UniformRandom(), 0.1156913916L, 1e-10);
}

TEST(UniformRandom, DrawsLieInsideTheUnitIntervalAndEveryThreadStartsAlike) {
  RandomSeed1 = InitialRandomSeed1;
  RandomSeed2 = InitialRandomSeed2;
  extended sum = 0;
  for (int i = 0; i < 100000; ++i) {
    extended u = UniformRandom();
    ASSERT_GT(u, 0);
    ASSERT_LT(u, 1);
    sum += u;
  }
  EXPECT_NEAR(sum / 100000, 0.5L, 0.005L);
  extended first = 0;
  std::thread([&first] { first = UniformRandom(); }).join();
  EXPECT_EQ(first, 1120735397 * 4.656613e-10L);
}

}  // namespace
