// The distributions against an independent oracle, Boost.Math, over a grid
// of parameters, arguments across both tails and probabilities from 1e-6
// to 1 - 1e-6.
//
// Tolerances: 1e-9 absolute on Cdf, 1e-8 relative on Quantile (absolute
// where the quantile is below 1 in size). Where the algorithms approximate
// on purpose (the t above 1000 degrees of freedom, the chi-square above
// 1000), the tolerance is that approximation's. Regions that the algorithms
// as written cannot bring to these tolerances are tested with their
// measured bounds in tests of their own, named after the cause:
//   - P(a, x) is 0 below x = 5e-12 (the series' absolute equality test), so
//     chi-square Cdf below x = 1e-11 and quantiles there, the normal Cdf
//     within 3.2e-6 standard deviations of the mean, and the noncentral t
//     with 2.5e-9 < |delta| < 3.2e-6 (whose Phi(-delta) is taken as 1/2)
//     are off by up to (5e-12)^a / Gamma(a + 1), 1.3e-6 and 0.4 |delta|;
//   - the series of P(a, x) stops after 100 terms, short of convergence
//     near the mean for shapes above about 225 (chi-square above 450
//     degrees of freedom): up to 7.8e-6 at 1000 degrees of freedom;
//   - the Lanczos log-gamma is good to about 1e-10, so noncentral t
//     quantiles far out in the tails (p < 0.01 or p > 0.99) move by the
//     resulting Cdf error over the density;
//   - for nu < 1 and x^2/nu beyond 1e13, y = x^2/(x^2 + nu) is too close to
//     1 for 1 - y to keep its digits.
// Each test prints the largest differences it saw.
#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "distrib/chi_square_distribution.h"
#include "distrib/non_central_t_distribution.h"
#include "distrib/normal_distribution.h"
#include "distrib/t_distribution.h"

namespace {

namespace bm = boost::math;
using LD = long double;

constexpr LD CdfTolerance = 1e-9L;
constexpr LD QuantileTolerance = 1e-8L;
constexpr LD SupportEnd = 2147483647.0L;

const std::vector<LD> Probabilities = {1e-6L, 1e-4L, 0.01L, 0.025L, 0.1L, 0.3L, 0.5L,
                                       0.7L,  0.9L,  0.975L, 0.99L, 1 - 1e-4L, 1 - 1e-6L};
const std::vector<LD> CentralProbabilities = {0.01L, 0.025L, 0.1L, 0.3L, 0.5L,
                                              0.7L,  0.9L,   0.975L, 0.99L};

// Quantile difference, relative for quantiles of size 1 and above.
LD QuantileDifference(LD ours, LD oracle) {
  return std::fabs(ours - oracle) / std::max<LD>(1, std::fabs(oracle));
}

// The largest differences seen by one test, printed at its end.
struct tLargest {
  explicit tLargest(std::string n) : name(std::move(n)) {}
  tLargest(const tLargest&) = delete;
  std::string name;
  LD cdf = 0, quantile = 0;
  std::string cdfAt, quantileAt;
  void Cdf(LD d, const std::string& at) {
    if (d > cdf) cdf = d, cdfAt = at;
  }
  void Quantile(LD d, const std::string& at) {
    if (d > quantile) quantile = d, quantileAt = at;
  }
  ~tLargest() {
    std::printf("[oracle] %-34s max |dCdf| %.2Le (%s)  max dQuantile %.2Le (%s)\n", name.c_str(),
                cdf, cdfAt.c_str(), quantile, quantileAt.c_str());
  }
};

std::string At(const char* fmt, LD a, LD b = 0, LD c = 0) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, fmt, a, b, c);
  return buffer;
}

TEST(OracleNormal, CdfAndQuantile) {
  tLargest largest("normal");
  for (auto [mean, variance] : {std::pair{0.0L, 1.0L}, {-3.0L, 0.25L}, {100.0L, 400.0L}}) {
    tNormal_distribution ours(mean, variance);
    bm::normal_distribution<LD> oracle(mean, std::sqrt(variance));
    for (LD z = -9; z <= 9; z += 0.25L) {
      LD x = mean + z * std::sqrt(variance);
      LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
      EXPECT_LT(d, CdfTolerance) << mean << " " << variance << " x=" << x;
      largest.Cdf(d, At("mu=%Lg var=%Lg x=%Lg", mean, variance, x));
    }
    for (LD p : Probabilities) {
      LD d = QuantileDifference(ours.Quantile(p), bm::quantile(oracle, p));
      EXPECT_LT(d, QuantileTolerance) << mean << " " << variance << " p=" << p;
      largest.Quantile(d, At("mu=%Lg var=%Lg p=%Lg", mean, variance, p));
    }
  }
}

TEST(OracleNormal, MeasuredLimitNearTheMean) {
  // |z| < 3.16e-6: z^2/2 < 5e-12, so the Cdf is exactly 1/2.
  tNormal_distribution ours(0, 1);
  bm::normal_distribution<LD> oracle;
  for (LD z : {1e-8L, 1e-6L, 3e-6L}) {
    EXPECT_EQ(ours.Cdf(z), 0.5L);
    EXPECT_LT(std::fabs(ours.Cdf(z) - bm::cdf(oracle, z)), 1.3e-6L);
  }
  EXPECT_LT(std::fabs(ours.Cdf(3.2e-6L) - bm::cdf(oracle, 3.2e-6L)), CdfTolerance);
}

// Cdf at the oracle's quantiles and at half and twice them, Quantile at
// the probabilities where the true quantile is at least minQuantile.
void CompareChiSquare(LD nu, LD cdfTolerance, LD quantileTolerance, LD minQuantile,
                      tLargest& largest) {
  tChi_square_distribution ours(nu);
  bm::chi_squared_distribution<LD> oracle(nu);
  for (LD p : Probabilities) {
    LD q = bm::quantile(oracle, p);
    for (LD x : {q / 2, q, 2 * q}) {
      if (x < 1e-11L) continue;
      LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
      EXPECT_LT(d, cdfTolerance) << "nu=" << nu << " x=" << x;
      largest.Cdf(d, At("nu=%Lg x=%Lg", nu, x));
    }
    if (q < minQuantile) continue;
    LD d = QuantileDifference(ours.Quantile(p), q);
    EXPECT_LT(d, quantileTolerance) << "nu=" << nu << " p=" << p;
    largest.Quantile(d, At("nu=%Lg p=%Lg", nu, p));
  }
}

TEST(OracleChiSquare, UpTo450DegreesOfFreedom) {
  tLargest largest("chi-square nu <= 450");
  for (LD nu : {0.5L, 1.0L, 1.5L, 2.0L, 3.5L, 10.0L, 50.0L, 200.0L, 450.0L})
    CompareChiSquare(nu, CdfTolerance, QuantileTolerance, 1e-8L, largest);
}

TEST(OracleChiSquare, MeasuredLimitOfTheHundredTermSeries) {
  // Near the mean the series of P(a, x) stops at its 100-term limit before
  // converging once the shape passes about 225. Measured bounds.
  tLargest largest("chi-square 450 < nu <= 1000");
  CompareChiSquare(500, 2e-9L, 2e-10L, 0, largest);
  CompareChiSquare(700, 2.5e-7L, 2e-8L, 0, largest);
  CompareChiSquare(1000, 1e-5L, 1e-6L, 0, largest);
}

TEST(OracleChiSquare, WilsonHilfertyAbove1000DegreesOfFreedom) {
  // The approximation's error, measured: about 0.0096/nu on Cdf and
  // 2.8/nu^1.5 (relative) on the quantiles.
  tLargest largest("chi-square nu > 1000");
  for (LD nu : {1001.0L, 2000.0L, 1e4L, 1e5L})
    CompareChiSquare(nu, 0.012L / nu, 3 / std::pow(nu, 1.5L), 0, largest);
}

TEST(OracleChiSquare, MeasuredLimitNearZero) {
  // Below x = 1e-11 (lambda x < 5e-12) the Cdf is 0.
  tChi_square_distribution half(0.5L), one(1);
  EXPECT_EQ(half.Cdf(9e-12L), 0);
  EXPECT_EQ(one.Cdf(9e-12L), 0);
  EXPECT_LT(bm::cdf(bm::chi_squared_distribution<LD>(0.5L), 9e-12L), 1.7e-3L);
}

TEST(OracleStudentT, UpTo1000DegreesOfFreedom) {
  tLargest largest("t nu <= 1000");
  for (LD nu : {0.5L, 1.0L, 1.5L, 2.0L, 3.0L, 5.0L, 10.0L, 30.0L, 100.0L, 999.0L, 1000.0L}) {
    tT_distribution ours(nu);
    bm::students_t_distribution<LD> oracle(nu);
    for (LD p : Probabilities) {
      LD q = bm::quantile(oracle, p);
      for (LD x : {q / 2, q, 2 * q}) {
        if (std::fabs(x) > SupportEnd) continue;
        LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
        EXPECT_LT(d, CdfTolerance) << "nu=" << nu << " x=" << x;
        largest.Cdf(d, At("nu=%Lg x=%Lg", nu, x));
      }
      // Quantiles beyond +-2147483647 (nu = 0.5 at 1e-6) give the support
      // end; that is tested with the generic quantile.
      if (std::fabs(q) >= SupportEnd) continue;
      LD d = QuantileDifference(ours.Quantile(p), q);
      EXPECT_LT(d, QuantileTolerance) << "nu=" << nu << " p=" << p;
      largest.Quantile(d, At("nu=%Lg p=%Lg", nu, p));
    }
  }
}

TEST(OracleStudentT, NormalFormulaAbove1000DegreesOfFreedom) {
  // Above 1000 degrees of freedom the Cdf is the standard normal one (to
  // 1e-9); its distance from the t is the approximation's, measured as
  // about 0.155/nu on Cdf and 5.9/nu (relative) on the quantiles.
  tLargest largest("t nu > 1000 (vs t)");
  bm::normal_distribution<LD> normal;
  for (LD nu : {1000.5L, 2000.0L, 1e5L}) {
    tT_distribution ours(nu);
    bm::students_t_distribution<LD> oracle(nu);
    for (LD p : Probabilities) {
      LD q = bm::quantile(oracle, p);
      for (LD x : {q / 2, q, 2 * q}) {
        LD c = ours.Cdf(x);
        EXPECT_LT(std::fabs(c - bm::cdf(normal, x)), CdfTolerance) << "nu=" << nu << " x=" << x;
        LD d = std::fabs(c - bm::cdf(oracle, x));
        EXPECT_LT(d, 0.16L / nu) << "nu=" << nu << " x=" << x;
        largest.Cdf(d, At("nu=%Lg x=%Lg", nu, x));
      }
      LD ourQuantile = ours.Quantile(p);
      EXPECT_LT(QuantileDifference(ourQuantile, bm::quantile(normal, p)), QuantileTolerance);
      LD d = QuantileDifference(ourQuantile, q);
      EXPECT_LT(d, 6 / nu) << "nu=" << nu << " p=" << p;
      largest.Quantile(d, At("nu=%Lg p=%Lg", nu, p));
    }
  }
}

// Tiny noncentralities: 1e-11 holds both tolerances; 1e-9 holds the Cdf
// tolerance (its error is 0.4e-9) but not the quantile's.
const std::vector<LD> Noncentralities = {-40, -20, -5, -1, -1e-11L, 0,  1e-11L,
                                         1e-9L, 0.5L, 1, 5, 20, 40};

TEST(OracleNonCentralT, CdfAcrossBothTails) {
  tLargest largest("noncentral t Cdf");
  for (LD nu : {0.5L, 1.0L, 2.0L, 5.0L, 8.0L, 20.0L, 100.0L, 1000.0L, 5000.0L})
    for (LD delta : Noncentralities) {
      // Above 1000 degrees of freedom a zero delta means the central t's
      // normal formula (tested above).
      if (nu > 1000 && std::fabs(delta) < 5e-12L) continue;
      tNon_central_t_distribution ours(nu, delta);
      bm::non_central_t_distribution<LD> oracle(nu, delta);
      for (LD p : Probabilities) {
        LD q = bm::quantile(oracle, p);
        for (LD x : {q / 2, q, 2 * q, -q}) {
          if (std::fabs(x) > SupportEnd || x * x / nu > 1e13L) continue;
          LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
          EXPECT_LT(d, CdfTolerance) << "nu=" << nu << " delta=" << delta << " x=" << x;
          largest.Cdf(d, At("nu=%Lg delta=%Lg x=%Lg", nu, delta, x));
        }
      }
    }
}

TEST(OracleNonCentralT, QuantileBetweenOnePercentAndNinetyNine) {
  tLargest largest("noncentral t Quantile");
  for (LD nu : {0.5L, 1.0L, 2.0L, 5.0L, 8.0L, 20.0L, 100.0L, 1000.0L, 5000.0L})
    for (LD delta : Noncentralities) {
      if (nu > 1000 && std::fabs(delta) < 5e-12L) continue;
      if (delta == 1e-9L) continue;
      tNon_central_t_distribution ours(nu, delta);
      bm::non_central_t_distribution<LD> oracle(nu, delta);
      for (LD p : CentralProbabilities) {
        // With half a degree of freedom 1e-8 holds from 2.5% to 97.5%.
        if (nu < 1 && (p < 0.025L || p > 0.975L)) continue;
        LD d = QuantileDifference(ours.Quantile(p), bm::quantile(oracle, p));
        EXPECT_LT(d, QuantileTolerance) << "nu=" << nu << " delta=" << delta << " p=" << p;
        largest.Quantile(d, At("nu=%Lg delta=%Lg p=%Lg", nu, delta, p));
      }
    }
}

TEST(OracleNonCentralT, ManyDegreesOfFreedomWithALargeNoncentrality) {
  // The gamma-function factor of the beta terms overflows here by itself
  // (nu = 10000 from delta of about 190 on); the terms stay finite.
  tLargest largest("noncentral t large nu and delta");
  for (LD nu : {2000.0L, 10000.0L})
    for (LD delta : {-300.0L, 1000.0L}) {
      tNon_central_t_distribution ours(nu, delta);
      bm::non_central_t_distribution<LD> oracle(nu, delta);
      for (LD p : {0.025L, 0.5L, 0.975L}) {
        LD q = bm::quantile(oracle, p);
        LD dc = std::fabs(ours.Cdf(q) - p);
        EXPECT_LT(dc, CdfTolerance) << "nu=" << nu << " delta=" << delta << " p=" << p;
        largest.Cdf(dc, At("nu=%Lg delta=%Lg p=%Lg", nu, delta, p));
        LD dq = QuantileDifference(ours.Quantile(p), q);
        EXPECT_LT(dq, QuantileTolerance) << "nu=" << nu << " delta=" << delta << " p=" << p;
        largest.Quantile(dq, At("nu=%Lg delta=%Lg p=%Lg", nu, delta, p));
      }
    }
}

TEST(OracleNonCentralT, LargeControlSamples) {
  // Ten thousand or a hundred thousand controls with ordinary effects:
  // before the gamma-function factors were formed as logarithms these
  // raised overflow from delta = -176 (nu = 9998) and -77 (nu = 100000)
  // on. The density is checked too, across both tails: its forward pass
  // used to stop before the terms that make up the tails.
  tLargest largest("noncentral t large samples");
  LD densityLargest = 0;
  for (auto [nu, delta] : {std::pair{9998.0L, -176.0L}, {9998.0L, -200.0L}, {9998.0L, -300.0L},
                           {9998.0L, 200.0L}, {100000.0L, -77.0L}, {100000.0L, 77.0L},
                           {100000.0L, -200.0L}, {50000.0L, 300.0L}}) {
    tNon_central_t_distribution ours(nu, delta);
    bm::non_central_t_distribution<LD> oracle(nu, delta);
    for (LD p : {1e-6L, 0.001L, 0.025L, 0.5L, 0.975L, 0.999L, 1 - 1e-6L}) {
      LD q = bm::quantile(oracle, p);
      for (LD x : {q, q - 1, q + 1, LD(0), 3 * delta}) {
        LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
        EXPECT_LT(d, CdfTolerance) << "nu=" << nu << " delta=" << delta << " x=" << x;
        largest.Cdf(d, At("nu=%Lg delta=%Lg x=%Lg", nu, delta, x));
      }
      LD density = bm::pdf(oracle, q);
      LD dd = std::fabs(ours.Density(q) - density) / density;
      EXPECT_LT(dd, 1e-6L) << "nu=" << nu << " delta=" << delta << " p=" << p;
      densityLargest = std::max(densityLargest, dd);
      if (p < 0.01L || p > 0.99L) continue;
      LD dq = QuantileDifference(ours.Quantile(p), q);
      EXPECT_LT(dq, QuantileTolerance) << "nu=" << nu << " delta=" << delta << " p=" << p;
      largest.Quantile(dq, At("nu=%Lg delta=%Lg p=%Lg", nu, delta, p));
    }
  }
  std::printf("[oracle] noncentral t large samples: max relative density difference %.2Le\n",
              densityLargest);
}

TEST(OracleNonCentralT, MeasuredLimitInTheFarTails) {
  // The Cdf's error of some 5e-11 (log-gamma accuracy) over the small
  // density of the far tails. Measured bound for nu >= 1.
  tLargest largest("noncentral t far-tail Quantile");
  for (LD nu : {1.0L, 2.0L, 8.0L, 100.0L, 1000.0L})
    for (LD delta : {-40.0L, -5.0L, -1.0L, 1.0L, 5.0L, 40.0L}) {
      tNon_central_t_distribution ours(nu, delta);
      bm::non_central_t_distribution<LD> oracle(nu, delta);
      for (LD p : {1e-6L, 1e-4L, 1e-3L, 0.999L, 1 - 1e-4L, 1 - 1e-6L}) {
        LD d = QuantileDifference(ours.Quantile(p), bm::quantile(oracle, p));
        EXPECT_LT(d, 1e-4L) << "nu=" << nu << " delta=" << delta << " p=" << p;
        largest.Quantile(d, At("nu=%Lg delta=%Lg p=%Lg", nu, delta, p));
      }
    }
}

TEST(OracleNonCentralT, MeasuredLimitForTinyNoncentrality) {
  // 5e-12 <= |delta| < 3.2e-6: delta^2/2 < 5e-12, so Phi(-delta) is taken
  // as 1/2 and the Cdf is off by about 0.4 |delta|.
  tLargest largest("noncentral t tiny delta");
  for (LD delta : {-1e-6L, 1e-8L, 3e-6L}) {
    tNon_central_t_distribution ours(8, delta);
    bm::non_central_t_distribution<LD> oracle(8, delta);
    for (LD x : {-2.0L, 0.0L, 1.5L}) {
      LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
      EXPECT_LT(d, 0.4L * std::fabs(delta) + CdfTolerance) << delta << " " << x;
      largest.Cdf(d, At("nu=8 delta=%Lg x=%Lg", delta, x));
    }
  }
}

TEST(OracleNonCentralT, MeanAndVariance) {
  for (LD nu : {3.0L, 10.0L, 200.0L})
    for (LD delta : {-5.0L, 0.5L, 20.0L}) {
      tNon_central_t_distribution ours(nu, delta);
      bm::non_central_t_distribution<LD> oracle(nu, delta);
      EXPECT_NEAR(ours.Mean(), bm::mean(oracle), 1e-9L * std::max<LD>(1, std::fabs(delta)));
      EXPECT_NEAR(ours.Variance(), bm::variance(oracle), 1e-8L * bm::variance(oracle));
    }
}

}  // namespace
