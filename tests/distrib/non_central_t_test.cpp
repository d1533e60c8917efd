// The noncentral t distribution: reference values, its identities with the
// central t, the density as the derivative of the distribution function,
// the series against the integral, the derivatives in the noncentrality,
// re-parameterisation, and the guards of its open-ended series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/extended_math.h"
#include "distrib/chi_square_distribution.h"
#include "distrib/distribution_errors.h"
#include "distrib/incomplete_beta.h"
#include "distrib/non_central_t_distribution.h"
#include "distrib/non_central_t_integral.h"
#include "distrib/non_central_t_series.h"
#include "distrib/normal_distribution.h"
#include "distrib/t_distribution.h"
#include "distrib_test_support.h"

namespace {

TEST(NonCentralT, ReferenceValues) {
  tNon_central_t_distribution a(10, 1);
  EXPECT_NEAR(a.Cdf(2), 0.80761156253L, 1e-10);
  EXPECT_NEAR(a.Cdf(-1), 0.02680185677L, 1e-10);
  EXPECT_NEAR(a.Density(2), 0.22542404659L, 1e-10);
  EXPECT_NEAR(a.Quantile(0.975L), 3.5405055351L, 1e-9);
  EXPECT_NEAR(tNon_central_t_distribution(5, 2.5L).Cdf(3), 0.59589601150L, 1e-10);
  EXPECT_NEAR(tNon_central_t_distribution(15, 4).Cdf(6), 0.90252471709L, 1e-10);
  EXPECT_EQ(a.Cdf(-2147483648.0L), 0);
  EXPECT_EQ(a.Cdf(2147483648.0L), 1);
}

TEST(NonCentralT, NegativeNoncentralityByReflection) {
  tNon_central_t_distribution d(20, -1.5L);
  EXPECT_NEAR(d.Cdf(0.5L), 0.97657797264L, 1e-10);
  tNon_central_t_distribution mirror(20, 1.5L);
  for (extended x : {-3.0L, -0.5L, 0.0L, 0.5L, 4.0L}) {
    EXPECT_NEAR(d.Cdf(x), 1 - mirror.Cdf(-x), 1e-15) << x;
    EXPECT_NEAR(d.Density(x), mirror.Density(-x), 1e-15) << x;
  }
  EXPECT_NEAR(d.Quantile(0.1L), -mirror.Quantile(0.9L), 1e-11);
}

TEST(NonCentralT, AtZeroTheNormalTailAndTheScaledCentralDensity) {
  tNormal_distribution normal(0, 1);
  tNon_central_t_distribution d(8, 1);
  EXPECT_NEAR(d.Cdf(0), normal.Cdf(-1), 1e-11);
  for (extended delta : {0.3L, 1.0L, -2.0L, 7.0L}) {
    tNon_central_t_distribution nct(8, delta);
    EXPECT_NEAR(nct.Density(0), ExtendedExp(-delta * delta / 2) * tT_distribution(8).Density(0),
                1e-10)
        << delta;
  }
}

TEST(NonCentralT, ZeroNoncentralityIsTheCentralT) {
  for (extended nu : {0.5L, 3.0L, 1500.0L}) {
    tT_distribution t(nu);
    for (extended delta : {0.0L, 4e-12L, -4e-12L}) {
      tNon_central_t_distribution nct(nu, delta);
      for (extended x : {-2.5L, 0.0L, 1.0L}) {
        EXPECT_EQ(nct.Cdf(x), t.Cdf(x)) << nu << " " << delta;
        EXPECT_EQ(nct.Density(x), t.Density(x)) << nu << " " << delta;
      }
    }
  }
}

TEST(NonCentralT, DensityIsTheDerivativeOfTheDistributionFunction) {
  const extended h = 1e-5L;
  for (extended nu : {3.0L, 8.0L, 50.0L})
    for (extended delta : {-3.0L, 0.7L, 6.0L}) {
      tNon_central_t_distribution d(nu, delta);
      for (extended x : {delta - 2, delta + 0.3L, delta + 3, -0.4L}) {
        extended slope = (d.Cdf(x + h) - d.Cdf(x - h)) / (2 * h);
        EXPECT_NEAR(d.Density(x), slope, 1e-7) << nu << " " << delta << " " << x;
      }
    }
}

TEST(NonCentralT, ReParameterisedEqualsFresh) {
  tNon_central_t_distribution reused(10, 1);
  for (auto [nu, delta] : {std::pair{10.0L, -2.0L}, {3.0L, 5.0L}, {25.0L, 0.0L}, {7.0L, 0.4L}}) {
    reused.SetParameters(nu, delta, 0);
    tNon_central_t_distribution fresh(nu, delta);
    for (extended x : {-1.0L, 0.0L, 2.0L, 6.0L}) {
      EXPECT_EQ(reused.Cdf(x), fresh.Cdf(x)) << nu << " " << delta;
      EXPECT_EQ(reused.Density(x), fresh.Density(x)) << nu << " " << delta;
    }
    EXPECT_EQ(reused.Quantile(0.975L), fresh.Quantile(0.975L)) << nu << " " << delta;
  }
}

TEST(NonCentralT, ParameterRulesAndNaN) {
  EXPECT_EQ(ArgumentErrorId([] { tNon_central_t_distribution(0, 1); }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tNon_central_t_distribution(NaN, 1); }), 1301);
  EXPECT_EQ(ArgumentErrorId([] { tNon_central_t_distribution(5, -2147483647.0L); }), 1305);
  EXPECT_EQ(ArgumentErrorId([] { tNon_central_t_distribution(5, NaN); }), 1305);
  tNon_central_t_distribution d(5, 1);
  EXPECT_EQ(ArgumentErrorId([&] { d.SetParameters(5, 2147483647.0L, 0); }), 1303);
  EXPECT_FALSE(tNon_central_t_distribution(1, 1).HasMean());
  EXPECT_FALSE(tNon_central_t_distribution(2, 1).HasVariance());
  EXPECT_TRUE(tNon_central_t_distribution(2.5L, 1).HasVariance());
  // The series raise on non-finite values instead of looping.
  EXPECT_THROW(NonCentralTCdfSeries(NaN, 5, 1), EArithmeticError);
  EXPECT_THROW(NonCentralTCdfSeries(1, NaN, 1), EArithmeticError);
  EXPECT_THROW(NonCentralTDensitySeries(NaN, 5, 1), EArithmeticError);
  EXPECT_THROW(NonCentralTDensitySeries(1, NaN, 1), EArithmeticError);
  tNon_central_t_distribution fresh(5, 1);
  EXPECT_THROW(fresh.Cdf(NaN), EArithmeticError);
  EXPECT_EQ(fresh.Density(NaN), 0);
}

// Two representations meet at the switch from the series to the integral:
// where both run they must agree to the rounding of either.
TEST(NonCentralT, SeriesAndIntegralAgree) {
  for (extended nu : {0.5L, 3.0L, 54.0L, 2000.0L})
    for (extended d : {12.0L, 40.0L, 150.0L}) {
      const extended spread = std::sqrt(1 + d * d / (2 * nu));
      for (extended k : {-6.0L, -2.0L, 0.0L, 1.5L, 5.0L}) {
        const extended x = d + k * spread;
        tNoncentralityDerivatives fromSeries, fromIntegral;
        const extended series = NonCentralTCdfSeries(x, nu, d, &fromSeries);
        const extended integral = NonCentralTCdfIntegral(x, nu, d, &fromIntegral);
        SCOPED_TRACE(testing::Message() << "nu " << (double)nu << " d " << (double)d << " x " << (double)x);
        EXPECT_EXTENDED_NEAR(series, integral, 2e-18L);
        EXPECT_EXTENDED_NEAR(fromSeries.slope, fromIntegral.slope, 1e-17L);
        EXPECT_EXTENDED_NEAR(fromSeries.curvature, fromIntegral.curvature, 1e-16L);
        // The density's series stops near a relative 1e-9 (it serves Newton steps).
        if (x > 0) {
          const extended density = NonCentralTDensityIntegral(x, nu, d);
          EXPECT_EXTENDED_NEAR(NonCentralTDensitySeries(x, nu, d), density, 1e-8L * density + 1e-20L);
        }
      }
    }
}

// Beyond the series' reach (d^2/2 past 2147483647) the distribution still
// has a distribution function, up to the parameter bound: T is about
// d / S there, so P(T <= d / s) is the chi tail P(S >= s).
TEST(NonCentralT, NoncentralitiesUpToTheParameterBound) {
  EXPECT_EQ(ArgumentErrorId([] { NonCentralTCdfSeries(70000, 8, 70000); }), 1361);
  tChi_square_distribution chiSquare(8);
  for (extended d : {70000.0L, 1e9L}) {
    tNon_central_t_distribution t(8, d);
    for (extended s : {1.0L, 1.5L, 2.0L})
      EXPECT_NEAR(t.Cdf(d / s), 1 - chiSquare.Cdf(8 * s * s), 1e-8L) << d << " " << s;
    EXPECT_EXTENDED_NEAR(t.Cdf(t.Quantile(0.975L)), 0.975L, 1e-15L) << d;
  }
  // Within the series' reach, a large noncentrality still inverts.
  tNon_central_t_distribution large(200, 1024);
  const extended median = large.Quantile(0.5L);
  EXPECT_NEAR(large.Cdf(median), 0.5L, 1e-9);
  EXPECT_GT(median, 1024);
}

// The derivatives in the noncentrality that the limits' search uses, on
// both routes, both signs and within the zero tolerance, against central
// differences of Cdf.
TEST(NonCentralT, NoncentralityDerivativesAreTheSlopesOfTheDistributionFunction) {
  for (extended nu : {1.0L, 8.0L, 2000.0L})
    for (extended delta : {-60.0L, -5.0L, -1e-13L, 0.3L, 20.0L, 45.0L})
      for (extended k : {-1.5L, 0.0L, 2.0L}) {
        const extended x = delta + k * std::sqrt(1 + delta * delta / (2 * nu));
        const extended h = 1e-4L * std::max<extended>(1, std::fabs(delta) / 10);
        auto cdf = [&](extended at) { return tNon_central_t_distribution(nu, at).Cdf(x); };
        auto slope = [&](extended at) {
          tNoncentralityDerivatives derivatives;
          tNon_central_t_distribution(nu, at).CdfAndNoncentralityDerivatives(x, derivatives);
          return derivatives.slope;
        };
        tNoncentralityDerivatives derivatives;
        tNon_central_t_distribution t(nu, delta);
        EXPECT_EQ(t.CdfAndNoncentralityDerivatives(x, derivatives), t.Cdf(x));
        SCOPED_TRACE(testing::Message() << "nu " << (double)nu << " delta " << (double)delta << " x " << (double)x);
        EXPECT_NEAR(derivatives.slope, (cdf(delta + h) - cdf(delta - h)) / (2 * h), 1e-8L);
        EXPECT_NEAR(derivatives.curvature, (slope(delta + h) - slope(delta - h)) / (2 * h), 1e-7L);
      }
}

// A search keeps the series' incomplete beta values between noncentralities
// at one x (and may sum in double precision); the values stay those of a
// fresh evaluation (the ladder's recurrences, walked from another start,
// add a few 1e-18).
TEST(NonCentralT, SharedLadderAndDraftSumsKeepTheValues) {
  tIncompleteBetaLadder ladder;
  for (extended delta : {-30.0L, 2.0L, 25.0L, 0.5L, -3.0L}) {
    tNon_central_t_distribution t(54, delta);
    tNoncentralityDerivatives kept, draft, fresh;
    const extended value = t.CdfAndNoncentralityDerivatives(7, fresh);
    EXPECT_EXTENDED_NEAR(t.CdfAndNoncentralityDerivatives(7, kept, &ladder), value, 1e-16L) << delta;
    EXPECT_EXTENDED_NEAR(t.CdfAndNoncentralityDerivatives(7, draft, &ladder, tSeriesPrecision::Double), value,
                         1e-15L)
        << delta;
    EXPECT_EXTENDED_NEAR(kept.slope, fresh.slope, 1e-16L) << delta;
  }
  // The rungs, reached from either side, are the incomplete beta values.
  const extended y = 0.3L, z = 0.7L, h = 27;
  tIncompleteBetaLadder rungs;
  rungs.Reset(y, z, h);
  rungs.At(40);
  for (std::int64_t j : {0, 17, 40, 41, 90}) {
    EXPECT_EXTENDED_NEAR(rungs.At(j).half, IncompleteBeta(y, z, j + 0.5L, h), 1e-17L) << j;
    EXPECT_EXTENDED_NEAR(rungs.At(j).whole, IncompleteBeta(y, z, j + 1.0L, h), 1e-17L) << j;
  }
}

TEST(NonCentralT, ForwardPassEndsWhenYRoundsToOne) {
  // nu = 0.01, x = 1e9: y = x^2/(x^2 + nu) rounds to 1, so I_y stays 1,
  // while the remaining-mass tracker settles about 4e-12 above 0 for this
  // delta (the rounding of the start weight). The tail test alone would
  // never be met.
  tNon_central_t_distribution d(0.01L, 3240.9L);
  extended p = d.Cdf(1e9L);
  EXPECT_GE(p, 0);
  EXPECT_LE(p, 1);
}

// Many degrees of freedom (large control samples) with the noncentralities
// of ordinary effects: the gamma-function factors of the beta terms, and
// for the density that factor times x nu, pass the extended range on their
// own although every term is small. Nothing may raise, the distribution
// function must stay a distribution function, and quantiles must invert it.
TEST(NonCentralT, ManyDegreesOfFreedomRaiseNoOverflow) {
  for (extended nu : {2000.0L, 5000.0L, 9998.0L, 50000.0L, 100000.0L})
    for (extended delta : {-1000.0L, -300.0L, -176.0L, -77.0L, 77.0L, 200.0L, 300.0L}) {
      SCOPED_TRACE(testing::Message() << "nu " << (double)nu << " delta " << (double)delta);
      tNon_central_t_distribution d(nu, delta);
      // The spread of T is about sqrt(1 + delta^2/(2 nu)).
      const extended sd = std::sqrt(1 + delta * delta / (2 * nu));
      std::vector<extended> xs = {-2e9L, -1e4L, -std::fabs(delta), delta - 8 * sd, delta - 3 * sd,
                                  delta, delta + 3 * sd, delta + 8 * sd, 0, std::fabs(delta),
                                  1e4L, 2e9L};
      std::sort(xs.begin(), xs.end());
      extended previous = 0;
      for (extended x : xs) {
        extended c = 0, f = 0;
        ASSERT_NO_THROW(c = d.Cdf(x)) << x;
        ASSERT_NO_THROW(f = d.Density(x)) << x;
        // Within the accuracy of the values (far out, a few 1e-12 from the
        // series' remaining-mass tracker and the alternating sums).
        EXPECT_GE(c, previous - 1e-10L) << x;
        EXPECT_GE(c, -1e-10L) << x;
        EXPECT_LE(c, 1 + 1e-10L) << x;
        EXPECT_GE(f, -1e-10L) << x;
        EXPECT_TRUE(std::isfinite(f)) << x;
        previous = c;
      }
      for (extended p : {0.025L, 0.975L}) {
        extended q = 0;
        ASSERT_NO_THROW(q = d.Quantile(p)) << p;
        EXPECT_NEAR(d.Cdf(q), p, 1e-9L) << p;
        EXPECT_NEAR(q, delta, 3 * sd) << p;
      }
    }
  // The density alone overflowed here (x nu times the gamma factor).
  tNon_central_t_distribution d(5747.59L, 326.895L);
  EXPECT_NO_THROW(d.Density(300));
  EXPECT_NEAR(d.Quantile(0.5L), 326.9135L, 1e-3L);
}

// Away from the centre the density's terms can be each below the forward
// pass's term bound yet still rising, or many of that size; the density
// must still be the slope of the distribution function there.
TEST(NonCentralT, DensityInTheFarTailsIsTheSlopeOfTheDistributionFunction) {
  struct tCase {
    extended nu, delta, p;
  };
  for (tCase c : {tCase{100000, 77, 1 - 1e-6L}, tCase{100000, -77, 1e-6L},
                  tCase{9998, 200, 1 - 1e-6L}, tCase{8, 300, 1 - 1e-6L}, tCase{20, -300, 1e-6L},
                  tCase{2, 5, 1e-6L}}) {
    tNon_central_t_distribution d(c.nu, c.delta);
    extended x = d.Quantile(c.p);
    extended h = 1e-3L * std::max<extended>(1, std::fabs(x) / 100);
    extended slope = (d.Cdf(x + h) - d.Cdf(x - h)) / (2 * h);
    EXPECT_NEAR(d.Density(x), slope, 1e-4L * slope)
        << c.nu << " " << c.delta << " x=" << x;
  }
}

}  // namespace
