// The framework (validation, the rule outside the support, interval
// probabilities, the generic quantile and its guards) and the normal
// distribution.
#include <gtest/gtest.h>

#include <cmath>

#include "core/extended_math.h"
#include "distrib/distribution_errors.h"
#include "distrib/normal_distribution.h"
#include "distrib/t_distribution.h"
#include "distrib/uniform_random.h"
#include "distrib_test_support.h"

namespace {

constexpr extended Infinity = 2147483647.0L;

// Cdf and Quantile elsewhere are held to the oracle grid.
TEST(NormalDistribution, ExactValuesDensityIntervalsAndMoments) {
  tNormal_distribution n(0, 1);
  EXPECT_EQ(n.Cdf(0), 0.5L);
  EXPECT_EQ(n.Cdf(-2147483648.0L), 0);
  EXPECT_EQ(n.Cdf(2147483648.0L), 1);
  // The first midpoint of the bracket [-2, 2] is already the answer.
  EXPECT_EQ(n.Quantile(0.5L), 0);
  EXPECT_NEAR(n.IntervalProbability(-1, 1), 0.6826894921L, 1e-10);
  EXPECT_EQ(n.IntervalProbability(-3000000000.0L, 1), n.Cdf(1));
  EXPECT_NEAR(n.Density(0), 0.3989422804014327L, 1e-15);
  // Parameterised by the variance.
  tNormal_distribution wide(5, 4);
  EXPECT_NEAR(wide.Density(5), 0.3989422804014327L / 2, 1e-15);
  EXPECT_EQ(wide.Mean(), 5);
  EXPECT_EQ(wide.Variance(), 4);
  EXPECT_EQ(wide.StandardDeviation(), 2);
  EXPECT_EQ(ArgumentErrorId([] { tT_distribution(2).StandardDeviation(); }), 1363);  // no variance
}

TEST(GenericQuantile, ProbabilitiesAtAndBeyondTheEnds) {
  tNormal_distribution n(0, 1);
  EXPECT_EQ(n.Quantile(0), -Infinity);
  EXPECT_EQ(n.Quantile(3e-12L), -Infinity);
  EXPECT_EQ(n.Quantile(1), Infinity);
  EXPECT_EQ(n.Quantile(1 - 3e-12L), Infinity);
  EXPECT_EQ(ArgumentErrorId([&] { n.Quantile(-0.1L); }), 1302);
  EXPECT_EQ(ArgumentErrorId([&] { n.Quantile(1.1L); }), 1315);
  EXPECT_EQ(ArgumentErrorId([&] { n.Quantile(NaN); }), 1302);
}

TEST(Validation, BrokenBoundsAndNaNRaiseWithTheirIdentifiers) {
  EXPECT_EQ(ArgumentErrorId([] { tNormal_distribution(0, 0); }), 1305);
  EXPECT_EQ(ArgumentErrorId([] { tNormal_distribution(0, -1); }), 1305);
  EXPECT_EQ(ArgumentErrorId([] { tNormal_distribution(2147483647.0L, 1); }), 1303);
  EXPECT_EQ(ArgumentErrorId([] { tNormal_distribution(-2147483647.0L, 1); }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tNormal_distribution(0, 2147483647.0L); }), 1303);
  EXPECT_NE(tNormal_distribution::Create(0, 1), nullptr);
  EXPECT_EQ(ArgumentErrorId([] { tNormal_distribution(NaN, 1); }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tNormal_distribution(0, NaN); }), 1305);
  tNormal_distribution n(0, 1);
  EXPECT_EQ(ArgumentErrorId([&] { n.SetParameters(0, NaN, 0); }), 1305);
}

TEST(Validation, AFailedSetParametersKeepsTheValuesButNotTheirConstants) {
  tNormal_distribution n(0, 1);
  EXPECT_EQ(ArgumentErrorId([&] { n.SetParameters(3, -1, 7); }), 1305);
  EXPECT_EQ(n.ParameterValue(1), 3);
  EXPECT_EQ(n.ParameterValue(2), -1);
  EXPECT_EQ(n.ParameterValue(3), 7);
  EXPECT_EQ(n.Mean(), 0);
  EXPECT_EQ(n.Cdf(0), 0.5L);
  // A later valid call recomputes everything.
  n.SetParameters(3, 4, 0);
  EXPECT_EQ(n.Cdf(3), 0.5L);
  EXPECT_EQ(n.StandardDeviation(), 2);
}

TEST(OutsideTheSupport, NaNIsAnInvalidOperationNotAnEndlessRecursion) {
  tNormal_distribution n(0, 1);
  EXPECT_THROW(n.Cdf(NaN), EArithmeticError);
  EXPECT_EQ(n.Density(NaN), 0);
  EXPECT_EQ(n.IntervalProbability(-Infinity, Infinity), 1);
}

TEST(NormalDistribution, FarTailsSaturateInsteadOfRefusingTheArgument) {
  // Beyond 65536 standard deviations z^2/2 leaves the incomplete gamma's
  // range; the distribution function is 0 or 1 there.
  tNormal_distribution n(0, 1);
  EXPECT_EQ(n.Cdf(-70000), 0);
  EXPECT_EQ(n.Cdf(70000), 1);
  EXPECT_EQ(n.IntervalProbability(-Infinity, 0), 0.5L);
  tNormal_distribution narrow(0, 1e-4000L);
  EXPECT_EQ(narrow.Cdf(-1), 0);
  EXPECT_EQ(narrow.Cdf(1), 1);
}

// A continuous distribution whose distribution function is supplied by the
// test: the standard logistic unless told to misbehave.
class tScriptedDistribution : public tContinuous_distribution {
 public:
  enum class Fault { None, NaNCdf, NaNDensity, NaNMean, CdfNeverReachesOne };
  explicit tScriptedDistribution(Fault fault) : fault_(fault) {
    ParameterCount = 0;
    SetParameters(0, 0, 0);
  }
  extended Cdf(extended x) override {
    ++cdfCalls;
    if (fault_ == Fault::NaNCdf) return NaN;
    extended value = 1 / (1 + ExtendedExp(-x));
    if (fault_ == Fault::CdfNeverReachesOne) value *= 0.5L;
    return value;
  }
  extended Density(extended x) override {
    if (fault_ == Fault::NaNDensity) return NaN;
    extended e = ExtendedExp(-x);
    return e / ((1 + e) * (1 + e));
  }
  extended Mean() override { return fault_ == Fault::NaNMean ? NaN : 0; }
  extended Variance() override { return 3.289868133696453L; }  // pi^2/3
  int cdfCalls = 0;

 private:
  Fault fault_;
};

TEST(GenericQuantile, InvertsTheDistributionFunction) {
  tScriptedDistribution logistic(tScriptedDistribution::Fault::None);
  for (extended p : {1e-6L, 0.01L, 0.3L, 0.5L, 0.9L, 1 - 1e-6L})
    EXPECT_NEAR(logistic.Quantile(p), ExtendedLog(p / (1 - p)), 1e-11) << p;
}

TEST(GenericQuantile, NonFiniteValuesRaiseInsteadOfLooping) {
  using F = tScriptedDistribution::Fault;
  for (F fault : {F::NaNCdf, F::NaNDensity, F::NaNMean}) {
    tScriptedDistribution d(fault);
    EXPECT_THROW(d.Quantile(0.3L), EArithmeticError);
    EXPECT_LT(d.cdfCalls, 5);
  }
}

TEST(GenericQuantile, ATailBeyondTheSupportGivesTheSupportEnd) {
  tScriptedDistribution half(tScriptedDistribution::Fault::CdfNeverReachesOne);
  EXPECT_EQ(half.Quantile(0.75L), Infinity);
  // Student's t with half a degree of freedom: its 1e-6 quantiles lie
  // beyond +-2147483647.
  tT_distribution t(0.5L);
  EXPECT_EQ(t.Quantile(1e-6L), -Infinity);
  EXPECT_EQ(t.Quantile(1 - 1e-6L), Infinity);
}

TEST(NormalDistribution, RandomValuesHaveTheMeanAndVariance) {
  RandomSeed1 = InitialRandomSeed1;
  RandomSeed2 = InitialRandomSeed2;
  tNormal_distribution n(10, 4);
  const int count = 40000;
  extended sum = 0, sumSquares = 0, below = 0;
  for (int i = 0; i < count; ++i) {
    extended x = n.RandomValue();
    sum += x;
    sumSquares += x * x;
    if (x <= 10 + 2 * 1.959963984540054L) ++below;
  }
  extended mean = sum / count;
  EXPECT_NEAR(mean, 10, 0.04);
  EXPECT_NEAR(sumSquares / count - mean * mean, 4, 0.12);
  EXPECT_NEAR(below / count, 0.975, 0.003);
}

}  // namespace
