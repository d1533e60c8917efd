// The noncentrality limits and the test's t and p against a 50-digit
// reference written here: Boost.Math's noncentral t and Student t in
// cpp_bin_float_50, and, for noncentralities of a thousand and more, the
// distribution function as E[Q(nu/2, nu (Z + delta)^2 / (2 x^2))] over the
// standard normal Z by Gauss-Kronrod quadrature (a representation the
// program does not use).
//
// A limit passes when the reference distribution function at delta -+ 1e-9
// max(|delta|, 1) lies on either side of p, so that the true root is
// within that band. Under the sanitizers (ten times slower) the grid is
// thinner.
#include <gtest/gtest.h>

#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/multiprecision/cpp_bin_float.hpp>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "engine/compare_two_cases.h"
#include "engine/interval_estimates.h"

#if defined(__SANITIZE_ADDRESS__)
constexpr bool UnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool UnderSanitizer = true;
#else
constexpr bool UnderSanitizer = false;
#endif
#else
constexpr bool UnderSanitizer = false;
#endif

namespace {

using mp = boost::multiprecision::cpp_bin_float_50;

constexpr long double LimitTolerance = 1e-9L;

// P(T <= x) for T noncentral t on nu degrees of freedom, noncentrality d.
mp ReferenceCdf(mp nu, mp d, mp x) {
  if (boost::multiprecision::abs(d) < 1000) return boost::math::cdf(boost::math::non_central_t_distribution<mp>(nu, d), x);
  if (x < 0) return 1 - ReferenceCdf(nu, -d, -x);
  // T <= x  <=>  Z + d <= x sqrt(V/nu), so for x > 0 and Z + d > 0 the
  // probability given Z is the chi-square tail Q(nu/2, nu (Z + d)^2 / (2x^2)).
  const mp a = nu / 2;
  auto integrand = [&](mp z) {
    const mp w = (z + d) / x;
    const mp tail = z + d <= 0 ? mp(1) : boost::math::gamma_q(a, a * w * w);
    return exp(-z * z / 2) * tail;
  };
  return boost::math::quadrature::gauss_kronrod<mp, 61>::integrate(integrand, mp(-12), mp(12), 15, mp(1e-30)) /
         sqrt(2 * boost::math::constants::pi<mp>());
}

struct tLimitCase {
  long double df, x, p;
};

TEST(NoncentralityReference, LimitsLieWithinOneBillionthOfTheRoot) {
  std::vector<tLimitCase> cases;
  // Boost's noncentral t: |delta| up to a few hundred, df 1 to 1e6.
  const std::vector<long double> dfs =
      UnderSanitizer ? std::vector<long double>{1, 54, 1e6} : std::vector<long double>{1, 2, 8, 54, 1000, 1e6};
  const std::vector<long double> xs =
      UnderSanitizer ? std::vector<long double>{-6, 3} : std::vector<long double>{-6, 0.3L, 3, 30, 250};
  for (long double df : dfs)
    for (long double x : xs)
      for (long double p : {0.025L, 0.975L}) cases.push_back({df, x, p});
  // The integral form: |delta| from 3000 to 1e6, the search's far reach.
  if (UnderSanitizer) {
    cases.push_back({8, 1e4L, 0.975L});
  } else {
    for (tLimitCase c : {tLimitCase{8, 3000, 0.975L}, tLimitCase{1997, 32000, 0.025L},
                         tLimitCase{1997, 32000, 0.975L}, tLimitCase{54, -1e5L, 0.05L},
                         tLimitCase{1, 1e6L, 0.95L}, tLimitCase{8, 1e6L, 0.025L}})
      cases.push_back(c);
  }

  long double worst = 0;
  for (const tLimitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "df " << (double)c.df << ", x " << (double)c.x << ", p " << (double)c.p);
    const long double delta = FindNoncentrality(c.df, c.x, c.p);
    const long double band = LimitTolerance * std::max<long double>(std::fabs(delta), 1);
    const mp below = ReferenceCdf(mp(c.df), mp(delta) - mp(band), mp(c.x));
    const mp above = ReferenceCdf(mp(c.df), mp(delta) + mp(band), mp(c.x));
    EXPECT_GT(below, mp(c.p));
    EXPECT_LT(above, mp(c.p));
    // The root by linear interpolation across the band, for the report.
    const mp root = mp(delta) - mp(band) + 2 * mp(band) * (below - mp(c.p)) / (below - above);
    worst = std::max(worst, static_cast<long double>(abs(root - mp(delta))) / std::max<long double>(std::fabs(delta), 1));
  }
  std::printf("[reference] %zu limits, largest error %.2Le relative to max(|delta|, 1)\n", cases.size(), worst);
}

// One covariate in closed form, in 50 digits: slope r sY/sX, residual
// variance sY^2 (1 - r^2)(n - 1)/(n - 2), v = dX^2 / ((n - 1) sX^2).
TEST(NoncentralityReference, TestStatisticAndProbabilityToTwelveDigits) {
  struct tCase {
    int n;
    long double covariateMean, covariateSd, covariateA, covariateB;
  };
  const std::vector<tCase> cases = {
      {10, 10, 2, 12, 9},                    // the worked controls
      {1002, 10, 2, 12, 9},                  // just past the old normal formula
      {100000, 10, 2, 12, 9},
      {40, 5e6L, 5, 5e6L + 7, 5e6L - 3},     // mean 1e6 SDs from 0
      {40, 5e4L, 5e-4L, 5e4L + 3e-4L, 5e4L}, // mean 1e8 SDs from 0
  };
  const long double taskMean = 50, taskSd = 10, r = 0.6L, taskA = 40, taskB = 55;
  for (const tCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "n " << c.n << ", covariate mean " << (double)c.covariateMean);
    tVector sds, means, caseA, caseB;
    tMatrix R;
    sds[1] = taskSd, sds[2] = c.covariateSd;
    means[1] = taskMean, means[2] = c.covariateMean;
    R[1][1] = R[2][2] = 1;
    R[1][2] = R[2][1] = r;
    caseA[1] = taskA, caseA[2] = c.covariateA;
    caseB[1] = taskB, caseB[2] = c.covariateB;
    AnalysisResults results;
    long double conditionalSd;
    tLineList report;
    CompareTwoCases(1, c.n, caseA, caseB, sds, means, R, 95, true, results, conditionalSd, report, false);

    const mp n = c.n, slope = mp(r) * mp(taskSd) / mp(c.covariateSd);
    const mp s2 = mp(taskSd) * mp(taskSd) * (1 - mp(r) * mp(r)) * (n - 1) / (n - 2);
    const mp dX = mp(c.covariateA) - mp(c.covariateB);
    const mp num = (mp(taskA) - mp(taskB)) - slope * dX;
    const mp v = dX * dX / ((n - 1) * mp(c.covariateSd) * mp(c.covariateSd));
    const mp t = num / sqrt(s2 * (2 + v));
    const mp pOne = t >= 0 ? boost::math::cdf(boost::math::complement(boost::math::students_t_distribution<mp>(n - 2), t))
                           : boost::math::cdf(boost::math::students_t_distribution<mp>(n - 2), t);
    EXPECT_NEAR(results.tValue, static_cast<long double>(t), 1e-12L * std::fabs(static_cast<long double>(t)));
    EXPECT_NEAR(results.pOneTailed, static_cast<long double>(pOne), 1e-12L);
    EXPECT_NEAR(results.zPccc, static_cast<long double>(num / sqrt(2 * s2)), 1e-12L);
  }
}

}  // namespace
