#include "engine/compare_two_cases.h"

#include <cmath>

#include "distrib/t_distribution.h"
#include "engine/case_difference.h"
#include "engine/interval_estimates.h"
#include "matrix/matrix_operations.h"
#include "core/text_format.h"

namespace {

// One-tailed probability of t in the direction of its sign, P(T >= |t|),
// as the tail itself: it keeps its relative accuracy however small.
extended OneTailedProbability(tT_distribution& t, extended tValue) {
  return t.UpperTail(std::fabs(tValue));
}

}  // namespace

// The task difference minus the difference the regression predicts from the
// covariates, over its standard error s sqrt(2 + v), with v = d' (X'X)^-1 d
// for the covariate difference d. When the covariate scores are identical
// (exactly), v is 0 and the noncentral t search is undefined, so the nested
// branch CompareEqualCovariates takes the chi-square route instead.
void CompareTwoCases(int k, int n, tVector caseA, tVector caseB, tVector sds, tVector means,
                     tMatrix R, extended confidenceLevel, bool twoSided,
                     AnalysisResults& results, extended& conditionalSd, tReportLines& report,
                     const bool& diagnosticLines) {
  tCaseDifference working;
  CompareTwoCases(k, n, caseA, caseB, sds, means, R, confidenceLevel, twoSided, results, conditionalSd, report,
                  diagnosticLines, working);
}

void CompareTwoCases(int k, int n, tVector caseA, tVector caseB, tVector sds, tVector means,
                     tMatrix R, extended confidenceLevel, bool twoSided,
                     AnalysisResults& results, extended& conditionalSd, tReportLines& report,
                     const bool& diagnosticLines, tCaseDifference& working) {
  const int order = k + 1;
  working = CaseDifference(k, n, caseA, caseB, sds, means, R);
  const tCaseDifference& cases = working;
  const tVector& beta = cases.beta;
  const extended s2 = cases.residualVariance;
  conditionalSd = std::sqrt(s2);
  results.df = (n - k) - 1;
  tT_distribution t(results.df);

  extended num, den, c;

  // Identical covariate scores: the difference needs no covariate term and
  // its standard error is s sqrt 2.
  auto CompareEqualCovariates = [&]() {
    int wholeDf = n - k - 1;
    results.df = wholeDf;
    num = cases.observed;
    den = ConditionalSdOfDifference(std::sqrt(s2));
    results.tValue = num / den;
    results.pOneTailed = OneTailedProbability(t, results.tValue);
    results.pTwoTailed = 2 * results.pOneTailed;
    results.pctEstimate = 100 * results.pOneTailed;
    c = num / den;
    results.zPccc = c;
    tEqualCovariatesLimits limits =
        EqualCovariatesLimits(cases.observed, s2, wholeDf, twoSided, confidenceLevel, results);
    if (diagnosticLines) {
      report.Add("Special Case : All covariate scores are equal for the two cases!!! ");
      PrintVector(beta, order, "TESTING: beta vector", report);
      report.Add(FormatC("TESTING: conditional variance ie sigma squared  = %3.3Lf", s2));
      report.Add(FormatC("TESTING: conditional SD  = %3.3Lf", std::sqrt(s2)));
      report.Add(FormatC("TESTING: numerator for t equation  = %3.3Lf", num));
      report.Add(FormatC("TESTING: denominator for t equation = %3.3Lf", den));
      report.Add(FormatC("TESTING: c (as used in finding limits) = %3.3Lf", c));
      report.Add(FormatC("TESTING: a (chi square value) = %3.3Lf", limits.a));
      report.Add(FormatC("TESTING: b (chi square value) = %3.3Lf", limits.b));
      report.Add(FormatC("TESTING: z_1 (is used as effect size) = %3.3Lf", limits.z1));
      report.Add(FormatC("TESTING: z_2 (is used as effect size) = %3.3Lf", limits.z2));
    }
  };

  if (cases.equalCovariates) {
    CompareEqualCovariates();
    return;
  }

  const extended rhs = cases.predicted;
  num = cases.observed - rhs;
  const extended v = cases.v;
  den = std::sqrt(2 * s2 + s2 * v);
  results.tValue = num / den;
  results.pOneTailed = OneTailedProbability(t, results.tValue);
  results.pTwoTailed = 2 * results.pOneTailed;
  results.pctEstimate = 100 * results.pOneTailed;
  c = num / ConditionalSdOfDifference(std::sqrt(s2));
  results.zPccc = c;
  extended cStar = std::sqrt(2 / v) * c;

  tGeneralLimits limits = GeneralBranchLimits(c, cStar, v, results.df, twoSided, confidenceLevel, results);

  if (diagnosticLines) {
    PrintVector(beta, order, "TESTING: beta vector", report);
    report.Add(FormatC("TESTING: RHS numerator for t   = %3.3Lf", rhs));
    report.Add(FormatC("TESTING: Full numerator for t equation  = %3.3Lf", num));
    report.Add(FormatC("TESTING: RHS denominator for t   = %3.3Lf", v));
    report.Add(FormatC("TESTING: Full denominator for t equation = %3.3Lf", den));
    report.Add(FormatC("TESTING: c (as used in finding limits) = %3.3Lf", c));
    report.Add(FormatC("TESTING: c plus gubbins (as used in finding limits) = %3.3Lf", cStar));
    report.Add(FormatC("TESTING: Noncentrality parameter for lower (par_l) = %3.3Lf", limits.parLow));
    report.Add(FormatC("TESTING: Noncentrality parameter for upper (par_u) = %3.3Lf", limits.parHigh));
    report.Add(FormatC("TESTING: Noncentrality parameter plus stuff = %3.3Lf", limits.zLo));
    report.Add(FormatC("TESTING: Noncentrality parameter plus stuff = %3.3Lf", limits.zHi));
  }
}
