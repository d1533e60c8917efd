// The distributions against an independent oracle, Boost.Math in long
// double, over a grid of parameters, arguments across both tails and
// probabilities from 1e-6 to 1 - 1e-6.
//
// Tolerances: CdfTolerance absolute on Cdf, QuantileTolerance relative on
// Quantile (absolute where the quantile is below 1 in size), each about
// ten times the largest difference seen, except that
//   - the t with 1e5 and more degrees of freedom is held to 1e-15: its
//     incomplete beta function is evaluated near the continued fraction's
//     switch point there, good to a few 1e-16;
//   - the noncentral t Cdf is held to 2e-14: Boost's own long double
//     value errs by 1e-14 far out in the tails at |delta| = 80 (checked
//     against 50 digits, where ours agrees to 1e-19).
// Regions with looser bounds are tested with their measured bounds in
// tests of their own, named after the cause:
//   - the density series of the noncentral t stops near a relative 1e-9,
//     which limits the generic quantile's Newton steps in the far tails;
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

constexpr LD CdfTolerance = 1e-16L;
constexpr LD QuantileTolerance = 1e-13L;
constexpr LD LargeDegreesOfFreedomTolerance = 1e-15L;
constexpr LD NonCentralCdfTolerance = 2e-14L;
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

TEST(OracleNormal, NearTheMean) {
  // The incomplete gamma series once took z^2/2 below 5e-12 as 0, so that
  // the Cdf was 1/2 within 3.2e-6 standard deviations of the mean.
  tNormal_distribution ours(0, 1);
  bm::normal_distribution<LD> oracle;
  for (LD z : {1e-12L, 1e-8L, 1e-6L, 3e-6L, -2e-7L})
    EXPECT_LT(std::fabs(ours.Cdf(z) - bm::cdf(oracle, z)), 1e-19L) << z;
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

TEST(OracleChiSquare, HalfToAHundredThousandDegreesOfFreedom) {
  // No 100-term cap on the series (it cost 8e-6 near the mean at 1000
  // degrees of freedom) and no Wilson-Hilferty approximation above 1000.
  tLargest largest("chi-square");
  for (LD nu : {0.5L, 1.0L, 1.5L, 2.0L, 3.5L, 10.0L, 50.0L, 200.0L, 450.0L, 1000.0L, 1001.0L, 2000.0L, 1e5L})
    CompareChiSquare(nu, CdfTolerance, QuantileTolerance, 1e-8L, largest);
  // Near 0, where the series once took lambda x < 5e-12 as 0.
  for (LD nu : {0.5L, 1.0L}) {
    bm::chi_squared_distribution<LD> oracle(nu);
    EXPECT_LT(std::fabs(tChi_square_distribution(nu).Cdf(9e-12L) - bm::cdf(oracle, 9e-12L)), 1e-19L) << nu;
  }
}

TEST(OracleStudentT, HalfToAMillionDegreesOfFreedom) {
  // Exact above 1000 degrees of freedom too, where the normal formula was
  // off by up to 0.155/nu.
  tLargest largest("t");
  for (LD nu : {0.5L, 1.0L, 1.5L, 2.0L, 3.0L, 5.0L, 10.0L, 30.0L, 100.0L, 999.0L, 1000.0L, 1000.5L, 2000.0L,
                1e5L, 1e6L}) {
    tT_distribution ours(nu);
    bm::students_t_distribution<LD> oracle(nu);
    for (LD p : Probabilities) {
      LD q = bm::quantile(oracle, p);
      for (LD x : {q / 2, q, 2 * q}) {
        if (std::fabs(x) > SupportEnd) continue;
        LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
        EXPECT_LT(d, nu < 1e5L ? CdfTolerance : LargeDegreesOfFreedomTolerance) << "nu=" << nu << " x=" << x;
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

// Tiny noncentralities included (Phi(-delta) once took delta below 3.2e-6
// as 0, an error of 0.4 delta); 40 and beyond take the integral.
const std::vector<LD> Noncentralities = {-80, -40, -20, -5, -1, -1e-11L, 0, 1e-11L,
                                         1e-9L, 1e-6L, 0.5L, 1, 5, 20, 39, 80};

TEST(OracleNonCentralT, CdfAcrossBothTails) {
  tLargest largest("noncentral t Cdf");
  for (LD nu : {0.5L, 1.0L, 2.0L, 5.0L, 8.0L, 20.0L, 100.0L, 1000.0L, 5000.0L})
    for (LD delta : Noncentralities) {
      tNon_central_t_distribution ours(nu, delta);
      bm::non_central_t_distribution<LD> oracle(nu, delta);
      for (LD p : Probabilities) {
        LD q = bm::quantile(oracle, p);
        for (LD x : {q / 2, q, 2 * q, -q}) {
          if (std::fabs(x) > SupportEnd || x * x / nu > 1e13L) continue;
          LD d = std::fabs(ours.Cdf(x) - bm::cdf(oracle, x));
          EXPECT_LT(d, NonCentralCdfTolerance) << "nu=" << nu << " delta=" << delta << " x=" << x;
          largest.Cdf(d, At("nu=%Lg delta=%Lg x=%Lg", nu, delta, x));
        }
      }
    }
}

TEST(OracleNonCentralT, QuantileBetweenOnePercentAndNinetyNine) {
  tLargest largest("noncentral t Quantile");
  for (LD nu : {0.5L, 1.0L, 2.0L, 5.0L, 8.0L, 20.0L, 100.0L, 1000.0L, 5000.0L})
    for (LD delta : Noncentralities) {
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
  // (nu = 10000 from delta of about 190 on); the terms stay finite. The
  // library's own values are off by about 1e-16 here, so the reference is
  // P(T <= x) = E Phi(x sqrt(V / nu) - delta), V chi-square on nu degrees
  // of freedom, integrated to 30 digits, at points near the 2.5%, 50% and
  // 97.5% quantiles.
  struct tPoint {
    LD nu, delta, x, cdf;
  };
  const tPoint points[] = {
      {2000.0L, -300.0L, -309.801L, 0.02500504905680826733269L},
      {2000.0L, -300.0L, -300.049L, 0.5000392810283632941455L},
      {2000.0L, -300.0L, -290.782L, 0.975002674024394246253L},
      {2000.0L, 1000.0L, 969.889L, 0.02500065817452482049098L},
      {2000.0L, 1000.0L, 1000.17L, 0.5000872905874154184987L},
      {2000.0L, 1000.0L, 1032.05L, 0.9750086152015821486894L},
      {10000.0L, -300.0L, -304.657L, 0.02499031628439949410768L},
      {10000.0L, -300.0L, -300.01L, 0.4999227406869640320566L},
      {10000.0L, -300.0L, -295.462L, 0.9750008890851655344645L},
      {10000.0L, 1000.0L, 986.194L, 0.0249960891035708563069L},
      {10000.0L, 1000.0L, 1000.03L, 0.4998228573785240955108L},
      {10000.0L, 1000.0L, 1014.19L, 0.9749735251557717809526L},
  };
  tLargest largest("noncentral t large nu and delta");
  for (const tPoint& point : points) {
    tNon_central_t_distribution ours(point.nu, point.delta);
    const std::string at = At("nu=%Lg delta=%Lg x=%Lg", point.nu, point.delta, point.x);
    LD dc = std::fabs(ours.Cdf(point.x) - point.cdf);
    EXPECT_LT(dc, CdfTolerance) << at;
    largest.Cdf(dc, at);
    LD dq = QuantileDifference(ours.Quantile(point.cdf), point.x);
    EXPECT_LT(dq, QuantileTolerance) << at;
    largest.Quantile(dq, at);
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
      EXPECT_LT(dd, 1e-12L) << "nu=" << nu << " delta=" << delta << " p=" << p;
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
  // The generic quantile's Newton steps in the far tails, where the
  // density's series (relative 1e-9) and the absolute step test of 5e-12
  // limit it. Measured bound for nu >= 1.
  tLargest largest("noncentral t far-tail Quantile");
  for (LD nu : {1.0L, 2.0L, 8.0L, 100.0L, 1000.0L})
    for (LD delta : {-40.0L, -5.0L, -1.0L, 1.0L, 5.0L, 40.0L}) {
      tNon_central_t_distribution ours(nu, delta);
      bm::non_central_t_distribution<LD> oracle(nu, delta);
      for (LD p : {1e-6L, 1e-4L, 1e-3L, 0.999L, 1 - 1e-4L, 1 - 1e-6L}) {
        LD d = QuantileDifference(ours.Quantile(p), bm::quantile(oracle, p));
        EXPECT_LT(d, 3e-12L) << "nu=" << nu << " delta=" << delta << " p=" << p;
        largest.Quantile(d, At("nu=%Lg delta=%Lg p=%Lg", nu, delta, p));
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
