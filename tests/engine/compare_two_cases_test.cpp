#include "engine/compare_two_cases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "distrib/distribution_errors.h"
#include "distrib/t_distribution.h"
#include "engine/interval_estimates.h"
#include "engine_test_support.h"

namespace {

struct tRun {
  AnalysisResults results;
  long double conditionalSd = 0;
  tLineList report;
};

tRun Compare(const tWorkedControls& controls, tVector caseA, tVector caseB, bool twoSided,
         bool diagnostics = false) {
  tRun run;
  CompareTwoCases(controls.k, controls.n, caseA, caseB, controls.sds, controls.means, controls.R, 95,
                  twoSided, run.results, run.conditionalSd, run.report, diagnostics);
  return run;
}

// --- Worked cases (controls n = 10, r = 0.6; Case A 40 and 12) ---

// The general pair (Case B 55 and 9) and the equal-covariates pair (55 and
// 12), each with both kinds of interval. One-sided, the equal-covariates
// limits scale the chi-square quantiles on 8 df, 15.50731306 (0.95) and
// 2.73263645 (0.05), by -15 / sqrt(2 8 72). The test itself does not depend
// on the interval kind, and nothing is appended to the report without
// diagnostic lines.
TEST(CompareTwoCases, WorkedCases) {
  const long double equalScale = -15 / std::sqrt(2 * 8 * 72.0L);
  struct tCase {
    long double covariateB;
    bool twoSided;
    long double t, pOne, zLower, zUpper, zTolerance, pctLower, pctUpper, pctTolerance;
  };
  const tCase cases[] = {
      {9, true, -1.885618L, 0.048036L, -3.1657L, -0.7953L, 5e-5L, 0.0774L, 21.32L, 5e-3L},
      {9, false, -1.885618L, 0.048036L, -2.9596L, -0.9682L, 5e-5L, 0.1540L, 16.648L, 5e-4L},
      {12, true, -1.25L, 0.123313L, -1.85060L, -0.65248L, 5e-6L, 3.2114L, 25.7046L, 5e-5L},
      {12, false, -1.25L, 0.123313L, equalScale * std::sqrt(15.50731306L), equalScale * std::sqrt(2.73263645L),
       1e-7L, 0, 0, 0},
  };
  tWorkedControls controls;
  for (const tCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "covariate B " << (double)c.covariateB
                                    << (c.twoSided ? " two-sided" : " one-sided"));
    const tRun run = Compare(controls, Scores(40, 12), Scores(55, c.covariateB), c.twoSided);
    const AnalysisResults& r = run.results;
    EXPECT_NEAR(r.tValue, c.t, 5e-7);
    EXPECT_EQ(r.df, 8);
    EXPECT_NEAR(r.pOneTailed, c.pOne, 5e-7);
    EXPECT_NEAR(r.pTwoTailed, 2 * c.pOne, 5e-7);
    EXPECT_NEAR(r.pctEstimate, 100 * c.pOne, 5e-5);
    // Z-PCCC: -24 / (sqrt(72) sqrt 2) = -2 on the general branch, t on the other.
    if (c.covariateB == 12)
      EXPECT_EQ(r.zPccc, r.tValue);
    else
      EXPECT_NEAR(r.zPccc, -2, 1e-12);
    EXPECT_NEAR(run.conditionalSd, std::sqrt(72.0L), 1e-12);
    EXPECT_NEAR(r.zPcccLower, c.zLower, c.zTolerance);
    EXPECT_NEAR(r.zPcccUpper, c.zUpper, c.zTolerance);
    if (c.pctTolerance > 0) {
      EXPECT_NEAR(r.pctLower, c.pctLower, 5e-5);
      EXPECT_NEAR(r.pctUpper, c.pctUpper, c.pctTolerance);
    }
    EXPECT_EQ(run.report.Count(), 0);
  }
}

// --- Symmetries and special values ---

TEST(CompareTwoCases, SwappingTheCasesFlipsSignsAndExchangesLimits) {
  tWorkedControls controls;
  for (bool twoSided : {true, false}) {
    for (long double covariateB : {9.0L, 12.0L}) {  // general and equal-covariates branch
      SCOPED_TRACE(testing::Message() << "twoSided " << twoSided << " covariate B " << (double)covariateB);
      tRun ab = Compare(controls, Scores(40, 12), Scores(55, covariateB), twoSided);
      tRun ba = Compare(controls, Scores(55, covariateB), Scores(40, 12), twoSided);
      EXPECT_NEAR(ba.results.tValue, -ab.results.tValue, 1e-15);
      EXPECT_NEAR(ba.results.zPccc, -ab.results.zPccc, 1e-15);
      EXPECT_NEAR(ba.results.zPcccLower, -ab.results.zPcccUpper, 1e-15);
      EXPECT_NEAR(ba.results.zPcccUpper, -ab.results.zPcccLower, 1e-15);
      EXPECT_NEAR(ba.results.pOneTailed, ab.results.pOneTailed, 1e-15);
      EXPECT_NEAR(ba.results.pTwoTailed, ab.results.pTwoTailed, 1e-15);
      EXPECT_NEAR(ba.results.pctEstimate, ab.results.pctEstimate, 1e-13);
      EXPECT_NEAR(ba.results.pctLower, ab.results.pctLower, 1e-12);
      EXPECT_NEAR(ba.results.pctUpper, ab.results.pctUpper, 1e-12);
    }
  }
}

// On the general branch, covariate means 0 and task mean 0 make the fit
// exact: intercept 0 and slope 0.5 (task SD 1, covariate SD 1, r = 0.5), so
// a task difference of 1 with a covariate difference of 2 is exactly the
// predicted difference.
TEST(CompareTwoCases, ZeroDifferenceOnBothBranches) {
  tWorkedControls worked, exact;
  exact.n = 5;
  exact.sds[1] = exact.sds[2] = 1;
  exact.means[1] = exact.means[2] = 0;
  exact.R[1][2] = exact.R[2][1] = 0.5L;
  const tRun equal = Compare(worked, Scores(47, 12), Scores(47, 12), true);
  const tRun general = Compare(exact, Scores(1, 2), Scores(0, 0), true);
  for (const AnalysisResults& r : {equal.results, general.results}) {
    ASSERT_EQ(r.tValue, 0);
    EXPECT_EQ(r.zPccc, 0);
    EXPECT_EQ(r.pOneTailed, 0.5);
    EXPECT_EQ(r.pTwoTailed, 1);
    EXPECT_EQ(r.pctEstimate, 50);
  }
  EXPECT_EQ(equal.results.zPcccLower, 0);
  EXPECT_EQ(equal.results.zPcccUpper, 0);
  EXPECT_EQ(equal.results.pctLower, 50);
  EXPECT_EQ(equal.results.pctUpper, 50);
  // A symmetric interval around 0 and percentages (c >= 0 side) around 50.
  const AnalysisResults& r = general.results;
  EXPECT_NEAR(r.zPcccLower, -r.zPcccUpper, 1e-15);
  EXPECT_LT(r.zPcccLower, 0);
  EXPECT_NEAR(r.pctLower + r.pctUpper, 100, 1e-5);
}

TEST(CompareTwoCases, OneDegreeOfFreedom) {
  // n = k + 2: the t distribution on 1 df is the Cauchy distribution.
  tWorkedControls controls;
  controls.n = 3;
  tRun run = Compare(controls, Scores(40, 12), Scores(55, 9), true);
  const AnalysisResults& r = run.results;
  EXPECT_EQ(r.df, 1);
  long double cauchyTail = 0.5L - std::atan(std::fabs(r.tValue)) / 3.14159265358979323846L;
  EXPECT_NEAR(r.pOneTailed, cauchyTail, 1e-10);
  EXPECT_TRUE(std::isfinite(r.zPcccLower) && std::isfinite(r.zPcccUpper));
  EXPECT_LT(r.zPcccLower, r.zPccc);
  EXPECT_GT(r.zPcccUpper, r.zPccc);
  EXPECT_LT(r.pctLower, r.pctEstimate);
  EXPECT_GT(r.pctUpper, r.pctEstimate);
}

TEST(CompareTwoCases, UncorrelatedCovariatesGiveTheScaledTaskSd) {
  // k = 3 covariates uncorrelated with the task and with each other.
  tWorkedControls controls;
  controls.k = 3;
  controls.n = 20;
  controls.R = tMatrix{};
  for (int i = 1; i <= 4; ++i) {
    controls.R[i][i] = 1;
    controls.sds[i] = 2 + i;
    controls.means[i] = 10 * i;
  }
  tVector caseA, caseB;
  caseA[1] = 50; caseA[2] = 21; caseA[3] = 29; caseA[4] = 44;
  caseB[1] = 38; caseB[2] = 18; caseB[3] = 33; caseB[4] = 40;
  long double expectedSd = 3 * std::sqrt(19.0L / 16.0L);
  tRun general = Compare(controls, caseA, caseB, true);
  EXPECT_NEAR(general.conditionalSd, expectedSd, 1e-14);
  // No covariate predicts the task, so the effect size is the plain
  // difference over the conditional SD of a difference.
  EXPECT_NEAR(general.results.zPccc, 12 / (expectedSd * std::sqrt(2.0L)), 1e-12);

  caseB[2] = 21; caseB[3] = 29; caseB[4] = 44;
  tRun equal = Compare(controls, caseA, caseB, true);
  EXPECT_NEAR(equal.conditionalSd, expectedSd, 1e-14);
}

TEST(CompareTwoCases, SearchPastTheNoncentralityBoundRaisesArgumentError) {
  // A covariate difference of 1e-9 makes c* about -1e10: the lower end of the
  // bracket must pass -2147483647, which the noncentral t refuses. The
  // smallest representable difference still takes the general branch (the
  // equal-covariates branch never raises).
  tWorkedControls controls;
  for (bool twoSided : {true, false}) {
    for (long double covariateB : {12 + 1e-9L, 12 - 1e-9L, std::nextafter(12.0L, 13.0L)}) {
      SCOPED_TRACE(testing::Message() << "covariate B - 12 = " << (double)(covariateB - 12));
      tVector caseA = Scores(40, 12), caseB = Scores(55, covariateB);
      AnalysisResults results;
      long double sd;
      tLineList report;
      EXPECT_THROW(CompareTwoCases(1, 10, caseA, caseB, controls.sds, controls.means, controls.R, 95,
                                   twoSided, results, sd, report, true),
                   EArgumentError);
      // Swapped, the upper end must pass +2147483647.
      EXPECT_THROW(CompareTwoCases(1, 10, caseB, caseA, controls.sds, controls.means, controls.R, 95,
                                   twoSided, results, sd, report, true),
                   EArgumentError);
      EXPECT_TRUE(report.lines.empty());
    }
  }
}

// The noncentral t at delta = 0 is the central t, so a limit changes sign
// exactly where the observed value passes the central t quantile; with a
// normal formula for the central t above 1000 df it once took the wrong
// sign in a band of observed values there.
TEST(CompareTwoCases, LimitsChangeSignAtTheCentralTQuantile) {
  const long double quantile = tT_distribution(1001).Quantile(0.975L);
  for (long double offset : {-1e-3L, -1e-6L, 1e-6L, 1e-3L}) {
    const long double delta = FindNoncentrality(1001, quantile + offset, 0.975L);
    EXPECT_GT(delta * offset, 0) << (double)offset;
    // Near 0 the limit moves with x at the ratio of the densities, about 1.
    EXPECT_NEAR(delta, offset, 5e-3L * std::fabs(offset)) << (double)offset;
  }
}

// Covariate scores 1e-3 SD apart with 2,000 controls put the observed value
// at 32000 on the noncentral t scale; the limits, near 31007 and 32992,
// exist and are found (the search once gave up past 32768).
TEST(CompareTwoCases, TinyCovariateDifferenceWithLargeSamples) {
  const long double c = 5.968L, cStar = 32000, v = 2 * c * c / (cStar * cStar);
  AnalysisResults results;
  const tGeneralLimits limits = GeneralBranchLimits(c, cStar, v, 1997, true, 95, results);
  EXPECT_NEAR(limits.parLow, 31007.4517715305L, 1e-9L * 31007);
  EXPECT_NEAR(limits.parHigh, 32992.1276024087L, 1e-9L * 32992);
  EXPECT_NEAR(results.zPcccLower, 5.783, 5e-4);
  EXPECT_NEAR(results.zPcccUpper, 6.153, 5e-4);

  tWorkedControls controls;
  controls.n = 2000;
  tRun run = Compare(controls, Scores(40, 10.002L), Scores(55, 10), true);
  EXPECT_TRUE(std::isfinite(run.results.zPcccLower) && std::isfinite(run.results.zPcccUpper));
  EXPECT_LT(run.results.zPcccLower, run.results.zPccc);
  EXPECT_GT(run.results.zPcccUpper, run.results.zPccc);
}

TEST(CompareTwoCases, FindNoncentralityRaisesForObservedValuesBeyondReach) {
  EXPECT_THROW(FindNoncentrality(8, 1e12L, 0.975L), EArgumentError);
  EXPECT_THROW(FindNoncentrality(8, -1e12L, 0.025L), EArgumentError);
  EXPECT_THROW(FindNoncentrality(1, 1e30L, 0.5L), EArgumentError);
}

// --- Diagnostic lines ---

TEST(CompareTwoCases, DiagnosticLinesOfBothBranches) {
  const std::vector<std::string> general = {
      "TESTING: beta vector",
      "   20.00000   3.00000   ",
      "TESTING: RHS numerator for t   = 9.000",
      "TESTING: Full numerator for t equation  = -24.000",
      "TESTING: RHS denominator for t   = 0.250",
      "TESTING: Full denominator for t equation = 12.728",
      "TESTING: c (as used in finding limits) = -2.000",
      "TESTING: c plus gubbins (as used in finding limits) = -5.657",
      "TESTING: Noncentrality parameter for lower (par_l) = -8.954",
      "TESTING: Noncentrality parameter for upper (par_u) = -2.249",
      "TESTING: Noncentrality parameter plus stuff = -3.166",
      "TESTING: Noncentrality parameter plus stuff = -0.795",
  };
  const std::vector<std::string> equal = {
      "Special Case : All covariate scores are equal for the two cases!!! ",
      "TESTING: beta vector",
      "   20.00000   3.00000   ",
      "TESTING: conditional variance ie sigma squared  = 72.000",
      "TESTING: conditional SD  = 8.485",
      "TESTING: numerator for t equation  = -15.000",
      "TESTING: denominator for t equation = 12.000",
      "TESTING: c (as used in finding limits) = -1.250",
      "TESTING: a (chi square value) = 17.535",
      "TESTING: b (chi square value) = 2.180",
      "TESTING: z_1 (is used as effect size) = -1.851",
      "TESTING: z_2 (is used as effect size) = -0.652",
  };
  tWorkedControls controls;
  EXPECT_EQ(Compare(controls, Scores(40, 12), Scores(55, 9), true, true).report.lines, general);
  EXPECT_EQ(Compare(controls, Scores(40, 12), Scores(55, 12), true, true).report.lines, equal);
}

}  // namespace
