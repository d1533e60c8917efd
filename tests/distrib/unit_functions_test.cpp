// The unit's functions: equality, argument rules and messages, log-gamma,
// ln(1 + u) - u, the quadrature rule, incomplete gamma and beta with their
// power terms, the power function and the generator.
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <tuple>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/distribution_errors.h"
#include "distrib/incomplete_beta.h"
#include "distrib/gauss_legendre.h"
#include "distrib/incomplete_gamma.h"
#include "distrib/ln_gamma.h"
#include "distrib/log1p_minus_x.h"
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
  // Identifiers without a rule never raise; NaN breaks every rule.
  EXPECT_TRUE(CheckArgument(1304, -1e30L, 0));
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

// ln Gamma at whole and half-whole arguments from factorials, on both
// sides of the switch to Stirling's series at 15; and the remainder of
// Stirling's formula, which has no cancellation of its own.
TEST(LnGamma, ClosedFormsToTheLastPlacesAndFaultsBelowZero) {
  extended factorial = 1, halfWhole = std::sqrt(3.14159265358979323846264338327950288L);  // Gamma(1/2)
  for (int n = 1; n <= 40; ++n) {
    // A few units of the last place of the ln Gamma(x + n) near 25 that
    // the recurrence starts from, then of the value itself.
    EXPECT_EXTENDED_NEAR(LnGamma(n), ExtendedLog(factorial), 4e-18L + 4e-19L * ExtendedLog(factorial)) << n;
    EXPECT_EXTENDED_NEAR(LnGamma(n - 0.5L), ExtendedLog(halfWhole), 4e-18L + 4e-19L * std::fabs(ExtendedLog(halfWhole)))
        << n;
    factorial *= n;
    halfWhole *= n - 0.5L;
  }
  EXPECT_EXTENDED_NEAR(LnGamma(1e-10L), -ExtendedLog(1e-10L) - 0.57721566490153286061e-10L, 1e-18L);
  for (extended x : {0.3L, 7.5L, 14.99L, 15.0L, 200.0L})
    EXPECT_EXTENDED_NEAR(LnGammaStirlingRemainder(x),
                         LnGamma(x) - ((x - 0.5L) * ExtendedLog(x) - x + 0.91893853320467274178L), 2e-18L)
        << x;
  EXPECT_EXTENDED_NEAR(LnGammaStirlingRemainder(1e6L), 1 / 12e6L - 1 / 360e18L, 1e-30L);
  for (extended x : {0.0L, -2.0L, NaN}) EXPECT_THROW(LnGamma(x), EArithmeticError) << x;
}

TEST(Log1pMinusX, SeriesAndDirectFormsAgree) {
  for (extended u : {1e-12L, -3e-5L, 0.01L, -0.2L, 0.249L})
    EXPECT_EXTENDED_NEAR(Log1pMinusX(u), -u * u / 2 + u * u * u / 3 - u * u * u * u / 4 + std::pow(u, 5) / 5 -
                                             std::pow(u, 6) / 6 + std::pow(u, 7) / 7,
                         std::fabs(std::pow(u, 8)) + 1e-19L * u * u)
        << u;
  EXPECT_EXTENDED_NEAR(Log1pMinusX(0.25L), ExtendedLog1p(0.25L) - 0.25L, 1e-19L);
  EXPECT_EXTENDED_NEAR(Log1pMinusX(-0.9L), ExtendedLog(0.1L) + 0.9L, 1e-18L);
}

// The 16-point rule integrates polynomials of degree 31 exactly.
TEST(GaussLegendre, ExactForDegreeThirtyOne) {
  const tGaussLegendreRule& rule = GaussLegendre();
  for (int degree : {0, 2, 10, 30, 31}) {
    extended sum = 0;
    for (int i = 0; i < GaussLegendreOrder; ++i) {
      extended power = 1;
      for (int j = 0; j < degree; ++j) power *= rule.node[i];
      sum += rule.weight[i] * power;
    }
    EXPECT_EXTENDED_NEAR(sum, degree % 2 ? 0 : 2.0L / (degree + 1), 1e-18L) << degree;
  }
}

TEST(IncompleteGamma, ExponentialAndErrorFunctionOnBothBranches) {
  // P(1, x) = 1 - e^-x: x = 0.5 takes the series, x = 5 the continued fraction.
  EXPECT_EXTENDED_NEAR(IncompleteGamma(0.5L, 1), -ExtendedExpm1(-0.5L), 1e-19L);
  EXPECT_EXTENDED_NEAR(IncompleteGamma(5, 1), -ExtendedExpm1(-5.0L), 1e-19L);
  // P(1/2, z^2/2) = erf(z / sqrt 2), also so close to 0 that the series
  // once took it as 0 (the normal distribution function was then 1/2
  // within 3e-6 standard deviations of the mean).
  for (extended z : {1e-9L, 1e-6L, 0.1L, 1.0L, 1.959963984540054L, 4.0L, 9.0L})
    EXPECT_EXTENDED_NEAR(IncompleteGamma(z * z / 2, 0.5L), ExtendedErf(z / std::sqrt(2.0L)),
                         2e-18L * ExtendedErf(z / std::sqrt(2.0L)))
        << z;
  EXPECT_EQ(IncompleteGamma(0, 3), 0);
}

// x^a e^-x / Gamma(a) and x^a y^b / B(a, b) against their closed forms
// for whole shapes, small and large.
TEST(PowerTerms, ClosedFormsForWholeShapes) {
  EXPECT_EXTENDED_NEAR(GammaPowerTerm(2.5L, 1), ExtendedExp(-2.5L) * 2.5L, 1e-18L);
  EXPECT_EXTENDED_NEAR(GammaPowerTerm(3, 3), 27 * ExtendedExp(-3.0L) / 2, 1e-18L);
  EXPECT_EQ(GammaPowerTerm(0, 3), 0);
  EXPECT_EXTENDED_NEAR(BetaPowerTerm(0.3L, 0.7L, 1, 1), 0.21L, 1e-18L);
  // B(2, 3) = 1/12.
  EXPECT_EXTENDED_NEAR(BetaPowerTerm(0.4L, 0.6L, 2, 3), 12 * 0.16L * 0.216L, 1e-18L);
  // a = b = 1e5 at x = 1/2, where ln Gamma(2a) - 2 ln Gamma(a) would lose
  // ten digits: 2^(-2a) / B(a, a) = sqrt(a / pi) / 2 (1 - 1/(8a) +
  // 1/(128 a^2) + ...) by the duplication formula.
  const extended a = 1e5L;
  EXPECT_EXTENDED_NEAR(BetaPowerTerm(0.5L, 0.5L, a, a),
                       std::sqrt(a / 3.14159265358979323846264338327950288L) / 2 * (1 - 1 / (8 * a) + 1 / (128 * a * a)),
                       2e-15L);
}

TEST(IncompleteGamma, ArgumentRules) {
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(-1e-3L, 1); }).first, 1302);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(3e9L, 1); }).first, 1361);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(1, 0); }).first, 1301);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(1, 3e9L); }).first, 1361);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(NaN, 1); }).first, 1302);
  EXPECT_EQ(ArgumentErrorOf([] { IncompleteGamma(1, NaN); }).first, 1301);
  // The continued fraction raises on NaN instead of looping for ever.
  EXPECT_THROW(IncompleteGammaContinuedFraction(NaN, 1), EArithmeticError);
  EXPECT_THROW(IncompleteGammaContinuedFraction(5, NaN), EArithmeticError);
}

TEST(IncompleteBeta, EndsUniformCaseIdentitiesAndFaults) {
  EXPECT_EQ(IncompleteBeta(0, 2, 3), 0);
  EXPECT_EQ(IncompleteBeta(-1, 2, 3), 0);
  EXPECT_EQ(IncompleteBeta(1, 2, 3), 1);
  EXPECT_EQ(IncompleteBeta(2, 2, 3), 1);
  EXPECT_EXTENDED_NEAR(IncompleteBeta(0.5L, 1, 1), 0.5L, 1e-19L);
  // I_x(a, 1) = x^a on both sides of the switch point.
  for (extended x : {0.1L, 0.5L, 0.9L})
    EXPECT_EXTENDED_NEAR(IncompleteBeta(x, 2.5L, 1), x * x * std::sqrt(x), 1e-18L) << x;
  // I_x(a, b) = 1 - I_(1-x)(b, a).
  EXPECT_EXTENDED_NEAR(IncompleteBeta(0.3L, 4, 7), 1 - IncompleteBeta(0.7L, 7, 4), 1e-18L);
  // Arithmetic faults give 1.
  EXPECT_EQ(IncompleteBeta(0.5L, 0, 1), 1);  // ln Gamma(0) divides by zero
  EXPECT_EQ(IncompleteBeta(0.5L, NaN, 1), 1);
  EXPECT_EQ(IncompleteBeta(NaN, 2, 3), 1);
  EXPECT_THROW(IncompleteBetaContinuedFraction(NaN, 2, 3), EArithmeticError);
  EXPECT_THROW(IncompleteBetaContinuedFraction(0.3L, NaN, 3), EArithmeticError);
}

TEST(Power, WholeAndFractionalExponentsAndFaults) {
  for (auto [x, y, expected] : {std::tuple<extended, extended, extended>{0, 0, 1}, {5.5L, 0, 1}, {0, 2.5L, 0},
                                {2, 10, 1024}, {-3, 3, -27}, {2, -2, 0.25L}})
    EXPECT_EQ(Power(x, y), expected) << x << " " << y;
  EXPECT_NEAR(Power(8, 1.0L / 3), 2, 1e-18);
  EXPECT_NEAR(Power(10, 0.5L), std::sqrt(10.0L), 1e-18);
  // Division by zero, the logarithm of zero or of a negative base, overflow.
  for (auto [x, y] : {std::pair<extended, extended>{0, -1}, {0, -0.5L}, {-8, 1.0L / 3}, {1e3000L, 2}, {10, 1e5L + 0.5L}})
    EXPECT_THROW(Power(x, y), EArithmeticError) << x << " " << y;
}

TEST(UniformRandom, FixedSequenceInsideTheUnitIntervalAndEveryThreadStartsAlike) {
  RandomSeed1 = InitialRandomSeed1;
  RandomSeed2 = InitialRandomSeed2;
  EXPECT_EQ(UniformRandom(), 1120735397 * 4.656613e-10L);
  EXPECT_EQ(UniformRandom(), 376398899 * 4.656613e-10L);
  EXPECT_EQ(UniformRandom(), 248445365 * 4.656613e-10L);
  extended sum = 0;
  for (int i = 0; i < 100000; ++i) {
    extended u = UniformRandom();
    ASSERT_GT(u, 0);
    ASSERT_LT(u, 1);
    sum += u;
  }
  EXPECT_NEAR(sum / 100000, 0.5L, 0.005L);
#if !defined(__EMSCRIPTEN__)  // the WebAssembly build has no threads
  extended first = 0;
  std::thread([&first] { first = UniformRandom(); }).join();
  EXPECT_EQ(first, 1120735397 * 4.656613e-10L);
#endif
}

}  // namespace
