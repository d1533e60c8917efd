// The two-case comparison with ten thousand and a hundred thousand controls,
// end to end through CompareTwoCases. The noncentralities of an ordinary
// effect are then in the hundreds (about -200 for Z-PCCC = -2 with 10,000
// controls), where the noncentral t once raised overflow. The figures are
// checked against a second route: the one-covariate regression in closed
// form, Boost.Math's normal, and Boost's noncentral t with a TOMS 748 root
// finder for the limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "engine/compare_two_cases.h"
#include "oracle_noncentrality.h"

namespace {

// Controls: task mean 50, SD 10; covariate mean 10, SD 2; correlation 0.6.
// Case A scores 40 (covariate 12), Case B 55 (covariate 9).
constexpr long double TaskMean = 50, TaskSd = 10, CovariateMean = 10, CovariateSd = 2, R = 0.6L;
constexpr long double TaskA = 40, CovariateA = 12, TaskB = 55, CovariateB = 9;

struct tExpected {
  long double df, tValue, zPccc, v;
  double pOne, zLower, zUpper, pctLower, pctUpper;
};

// One covariate in closed form: slope r sdY/sdX, residual variance
// sdY^2 (1 - r^2)(n - 1)/(n - 2), v = dX^2 / ((n - 1) sdX^2).
tExpected Expect(int n, bool twoSided) {
  tExpected e{};
  e.df = n - 2;
  long double slope = R * TaskSd / CovariateSd;
  long double s2 = TaskSd * TaskSd * (1 - R * R) * (n - 1) / (n - 2);
  long double dX = CovariateA - CovariateB;
  long double num = (TaskA - TaskB) - slope * dX;
  e.zPccc = num / (std::sqrt(s2) * std::sqrt(2.0L));
  e.v = dX * dX / ((n - 1) * CovariateSd * CovariateSd);
  e.tValue = num / std::sqrt(s2 * (2 + e.v));
  boost::math::normal normal;
  e.pOne = boost::math::cdf(boost::math::students_t(static_cast<double>(e.df)), static_cast<double>(e.tValue));
  double pHigh = twoSided ? 0.025 : 0.05;
  double pLow = twoSided ? 0.975 : 0.95;
  double cStar = static_cast<double>(std::sqrt(2 / e.v) * e.zPccc);
  double half = static_cast<double>(std::sqrt(e.v / 2));
  e.zLower = half * OracleNoncentrality(static_cast<double>(e.df), cStar, pLow);
  e.zUpper = half * OracleNoncentrality(static_cast<double>(e.df), cStar, pHigh);
  e.pctLower = 100 * boost::math::cdf(normal, e.zLower);
  e.pctUpper = 100 * boost::math::cdf(normal, e.zUpper);
  return e;
}

TEST(LargeControlSamples, CompareTwoCasesGivesFiniteLimitsThatAgreeWithBoost) {
  tVector sds, means, caseA, caseB;
  tMatrix correlations;
  sds[1] = TaskSd, sds[2] = CovariateSd;
  means[1] = TaskMean, means[2] = CovariateMean;
  correlations[1][1] = correlations[2][2] = 1;
  correlations[1][2] = correlations[2][1] = R;
  caseA[1] = TaskA, caseA[2] = CovariateA;
  caseB[1] = TaskB, caseB[2] = CovariateB;

  struct tCase {
    int n;
    bool twoSided;
  };
  for (tCase c : {tCase{10000, true}, tCase{10000, false}, tCase{100000, true}}) {
    SCOPED_TRACE(testing::Message() << "n " << c.n << (c.twoSided ? " two-sided" : " one-sided"));
    AnalysisResults r;
    extended conditionalSd;
    tLineList report;
    ASSERT_NO_THROW(CompareTwoCases(1, c.n, caseA, caseB, sds, means, correlations, 95,
                                    c.twoSided, r, conditionalSd, report, false));
    tExpected e = Expect(c.n, c.twoSided);

    EXPECT_EQ(r.df, e.df);
    EXPECT_NEAR(r.tValue, e.tValue, 1e-12);
    EXPECT_NEAR(r.zPccc, e.zPccc, 1e-12);
    EXPECT_NEAR(r.pOneTailed, e.pOne, 1e-13);
    ASSERT_TRUE(std::isfinite(r.zPcccLower) && std::isfinite(r.zPcccUpper));
    EXPECT_NEAR(r.zPcccLower, e.zLower, 1e-9 * std::fabs(e.zLower));
    EXPECT_NEAR(r.zPcccUpper, e.zUpper, 1e-9 * std::fabs(e.zUpper));
    EXPECT_NEAR(r.pctLower, e.pctLower, 1e-4);
    EXPECT_NEAR(r.pctUpper, e.pctUpper, 1e-4);
    // The large-sample picture: Z-PCCC near -24/(8 sqrt 2) = -2.1213, the
    // limits about z -+ z_level sqrt(v/2 + z^2/(2 df)).
    long double zLevel = c.twoSided ? 1.959963985L : 1.644853627L;
    long double spread = zLevel * std::sqrt(e.v / 2 + e.zPccc * e.zPccc / (2 * e.df));
    EXPECT_NEAR(r.zPccc, -2.1213L, 2e-4L);
    EXPECT_NEAR(r.zPcccLower, r.zPccc - spread, 0.005L * spread);
    EXPECT_NEAR(r.zPcccUpper, r.zPccc + spread, 0.005L * spread);
    std::printf("n %d %s: Z-PCCC %.6Lf (%.6Lf, %.6Lf), Boost route (%.6f, %.6f), percentage %.4Lf "
                "(%.4Lf, %.4Lf)\n",
                c.n, c.twoSided ? "two-sided" : "one-sided", r.zPccc, r.zPcccLower, r.zPcccUpper,
                e.zLower, e.zUpper, r.pctEstimate, r.pctLower, r.pctUpper);
  }
}

}  // namespace
