// The gamma, chi-square and Student t distributions.
#include <gtest/gtest.h>

#include <cmath>

#include "core/extended_math.h"
#include "distrib/chi_square_distribution.h"
#include "distrib/distribution_errors.h"
#include "distrib/gamma_distribution.h"
#include "distrib/normal_distribution.h"
#include "distrib/t_distribution.h"
#include "distrib/uniform_random.h"
#include "distrib_test_support.h"

namespace {

void ResetGenerator() {
  RandomSeed1 = InitialRandomSeed1;
  RandomSeed2 = InitialRandomSeed2;
}

TEST(GammaDistribution, ExponentialCase) {
  tGamma_distribution g(1, 2);
  EXPECT_EQ(g.Density(0), 2);
  EXPECT_NEAR(g.Cdf(1), 0.8646647168L, 1e-10);
  EXPECT_NEAR(g.Quantile(0.5L), ExtendedLog(2.0L) / 2, 1e-11);
  EXPECT_EQ(g.Mean(), 0.5L);
  EXPECT_EQ(g.Variance(), 0.25L);
}

TEST(GammaDistribution, BelowAndAtTheOrigin) {
  for (extended shape : {0.5L, 1.0L, 3.0L}) {
    tGamma_distribution g(shape, 1);
    EXPECT_EQ(g.Cdf(-1), 0) << shape;
    EXPECT_EQ(g.Cdf(0), 0) << shape;
    EXPECT_EQ(g.Quantile(0), 0) << shape;
    EXPECT_EQ(g.Quantile(3e-12L), 0) << shape;
  }
  // Shape below 1: the origin lies outside the support, yet P(X <= 0) = 0.
  tGamma_distribution g(0.5L, 1);
  EXPECT_FALSE(g.InSupport(0));
  EXPECT_TRUE(g.InSupport(1e-300L));
  EXPECT_EQ(g.Density(0), 0);
  EXPECT_EQ(tGamma_distribution(3, 1).Density(0), 0);
}

// Cdf and Quantile are held to the oracle grid; here the identities.
TEST(ChiSquareDistribution, IsTheGammaWithHalfTheDegreesOfFreedomAndRateOneHalf) {
  for (extended nu : {0.7L, 3.0L, 40.0L, 1001.0L}) {
    tChi_square_distribution c(nu);
    tGamma_distribution g(nu / 2, 0.5L);
    EXPECT_EQ(c.Mean(), nu);
    EXPECT_EQ(c.Variance(), 2 * nu);
    for (extended x : {0.3L, nu, 3 * nu}) {
      EXPECT_EQ(c.Cdf(x), g.Cdf(x)) << nu;
      EXPECT_EQ(c.Density(x), g.Density(x)) << nu;
    }
    EXPECT_EQ(c.Quantile(0.9L), g.Quantile(0.9L)) << nu;
    // Re-parameterised chi-square objects agree with fresh ones.
    tChi_square_distribution other(5);
    other.SetParameters(nu, 123, 456);
    EXPECT_EQ(other.Cdf(nu), c.Cdf(nu)) << nu;
  }
}

// For an even number of degrees of freedom the chi-square distribution
// function is a Poisson tail: P(chi2_nu <= x) = 1 - sum_{k < nu/2}
// e^(-x/2) (x/2)^k / k!. Above 1000 degrees of freedom as below, with no
// normal approximation.
TEST(ChiSquareDistribution, ExactForManyDegreesOfFreedom) {
  for (extended nu : {40.0L, 1002.0L, 20000.0L}) {
    tChi_square_distribution c(nu);
    for (extended x : {0.9L * nu, nu, 1.1L * nu}) {
      extended term = ExtendedExp(-x / 2), poissonTail = 0;
      for (int k = 0; k < nu / 2; ++k) {
        poissonTail += term;
        term *= x / 2 / (k + 1);
      }
      EXPECT_EXTENDED_NEAR(c.Cdf(x), 1 - poissonTail, 1e-17L) << nu << " " << x;
    }
  }
  tChi_square_distribution c1001(1001);
  EXPECT_LT(c1001.Cdf(990), 0.5L);
  EXPECT_GT(c1001.Cdf(1012), 0.5L);
  EXPECT_LT(c1001.Quantile(0.025L), 1001);
  EXPECT_GT(c1001.Quantile(0.975L), 1001);
}

TEST(ChiSquareDistribution, ParameterRules) {
  EXPECT_EQ(ArgumentErrorId([] { tChi_square_distribution(0); }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tChi_square_distribution(-3); }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tChi_square_distribution{NaN}; }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tChi_square_distribution(2 * 2147483647.0L); }), 1303);
  EXPECT_EQ(ArgumentErrorId([] { tGamma_distribution(1, 0); }), 1305);
}

// For an even number of degrees of freedom P(|T| <= t) = sin(theta) (1 +
// cos^2/2 + 1.3/(2.4) cos^4 + ... + 1.3...(nu-3)/(2.4...(nu-2)) cos^(nu-2)),
// theta = atan(t / sqrt nu) (Abramowitz and Stegun 26.7.3). Above 1000
// degrees of freedom as below: no normal approximation, whose one-tailed
// p at 1.96 is 1.4e-4 too small at 1002.
TEST(TDistribution, ExactForManyDegreesOfFreedom) {
  for (extended nu : {10.0L, 1002.0L}) {
    tT_distribution t(nu);
    for (extended x : {0.25L, 1.96L, 4.0L}) {
      const extended theta = std::atan(x / std::sqrt(nu));
      const extended cos2 = std::cos(theta) * std::cos(theta);
      extended term = 1, sum = 1;
      for (int k = 1; 2 * k <= nu - 2; ++k) {
        term *= cos2 * (2 * k - 1) / (2 * k);
        sum += term;
      }
      const extended central = std::sin(theta) * sum;
      EXPECT_EXTENDED_NEAR(t.Cdf(x), (1 + central) / 2, 1e-18L) << nu << " " << x;
      EXPECT_EXTENDED_NEAR(t.Cdf(-x), (1 - central) / 2, 1e-18L) << nu << " " << x;
    }
  }
  tNormal_distribution normal(0, 1);
  EXPECT_NEAR(normal.Cdf(1.96L) - tT_distribution(1002).Cdf(1.96L), 1.4e-4L, 1e-5L);
}

// Exact at the centre and beyond the support; Cdf and Quantile elsewhere
// are held to the oracle grid.
TEST(TDistribution, CentreAndFarTails) {
  for (extended nu : {0.5L, 1.0L, 10.0L, 1000.0L, 1000.5L, 5000.0L})
    EXPECT_EQ(tT_distribution(nu).Cdf(0), 0.5L) << nu;
  EXPECT_EQ(tT_distribution(10).Cdf(-2147483648.0L), 0);
  EXPECT_EQ(tT_distribution(10).Cdf(2147483648.0L), 1);
  tT_distribution t(2000);
  EXPECT_EQ(t.Cdf(-70000), 0);
  EXPECT_EQ(t.Cdf(70000), 1);
  EXPECT_LT(tT_distribution(500).Cdf(-70000), 1e-300L);
  EXPECT_EQ(tChi_square_distribution(1e5L).Cdf(2e9L), 1);
  // The gamma's own rule: lambda x above 2147483647 is refused (1361).
  EXPECT_EQ(ArgumentErrorId([] { tGamma_distribution(2, 4).Cdf(1e9L); }), 1361);
}

TEST(TDistribution, MomentsAndTheirRules) {
  EXPECT_EQ(ArgumentErrorId([] { tT_distribution(0); }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tT_distribution{NaN}; }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tT_distribution(2147483647.0L); }), 1303);
  EXPECT_NO_THROW(tT_distribution(0.5L));
  tT_distribution t(2);
  EXPECT_TRUE(t.HasMean());
  EXPECT_FALSE(t.HasVariance());
  EXPECT_EQ(t.Mean(), 0);
  EXPECT_EQ(ArgumentErrorId([&] { t.Variance(); }), 1363);
  tT_distribution t1(1);
  EXPECT_FALSE(t1.HasMean());
  EXPECT_EQ(ArgumentErrorId([&] { t1.Mean(); }), 1362);
  EXPECT_NEAR(tT_distribution(5).Variance(), 5.0L / 3, 1e-18);
}

TEST(TDistribution, ConstructsForManyAndForNearlyTwoDegreesOfFreedom) {
  // The sampler's power terms overflow above about 5300 degrees of
  // freedom, and the gamma sampler's alpha - sqrt(2 alpha - 1) cancels to
  // 0 for a shape within 1e-9 of 1; neither may stop construction.
  for (extended nu : {6000.0L, 1e6L, 2147483646.0L, 2 + 1e-12L, 2 + 1e-15L}) {
    tT_distribution t(nu);
    EXPECT_EQ(t.Cdf(0), 0.5L) << nu;
    EXPECT_TRUE(std::isfinite(t.RandomValue())) << nu;
  }
}

// The fraction of draws in [-1, 1] against the distribution function.
extended CentralFraction(tDistribution& d, int count) {
  int inside = 0;
  for (int i = 0; i < count; ++i)
    if (std::fabs(d.RandomValue()) <= 1) ++inside;
  return static_cast<extended>(inside) / count;
}

TEST(TDistribution, RandomValuesFollowTheDistribution) {
  ResetGenerator();
  // nu = 0.5 checks the scaling z sqrt(nu/2)/sqrt(g) of the sampler for
  // nu < 1; nu = 1 and 3 take the polar method, 5 the ratio of uniforms.
  for (extended nu : {0.5L, 0.9L, 1.0L, 3.0L, 5.0L}) {
    tT_distribution t(nu);
    EXPECT_NEAR(CentralFraction(t, 20000), 2 * t.Cdf(1) - 1, 0.012) << nu;
  }
}

TEST(GammaDistribution, RandomValuesHaveTheMean) {
  ResetGenerator();
  for (extended shape : {0.3L, 1.0L, 2.5L, 30.0L}) {
    tGamma_distribution g(shape, 2);
    extended sum = 0, below = 0;
    const int count = 20000;
    extended median = g.Quantile(0.5L);
    for (int i = 0; i < count; ++i) {
      extended x = g.RandomValue();
      sum += x;
      if (x <= median) ++below;
    }
    EXPECT_NEAR(sum / count, shape / 2, 0.03 * std::sqrt(shape) + 0.01) << shape;
    EXPECT_NEAR(below / count, 0.5, 0.012) << shape;
  }
}

}  // namespace
