// Confidence limits on the effect size Z-PCCC and on the percentage of
// controls with a larger difference: by inverting the noncentral t in its
// noncentrality (cases whose covariates differ), or from chi-square
// quantiles (cases with identical covariate scores).
#pragma once

#include "engine/analysis_results.h"
#include "core/extended.h"

// The two probabilities at which the limits are sought, from the
// confidence level L in percent. Two-sided: pHigh = (1 - L/100)/2 and
// pLow = pHigh + L/100 (0.975 and 0.025 for L = 95). One-sided:
// pLow = L/100 and pHigh = 1 - L/100 (0.95 and 0.05).
struct tIntervalLevels {
  extended pLow;
  extended pHigh;
};
tIntervalLevels IntervalLevels(extended confidenceLevel, bool twoSided);

// The noncentrality delta at which the p-quantile of the noncentral t with
// df degrees of freedom equals x, that is, at which its distribution
// function at x equals p; to a few units of the last place of extended
// precision (absolutely 1e-11 near 0). A delta beyond the noncentral t's
// parameter range (magnitude 2147483647) raises its EArgumentError.
extended FindNoncentrality(extended df, extended x, extended p);

// Working values of the general branch's limits (for the diagnostic lines).
struct tGeneralLimits {
  extended parLow;   // noncentrality for pLow (par_l)
  extended parHigh;  // noncentrality for pHigh (par_u)
  extended zLo;      // sqrt(v/2) x par_l
  extended zHi;      // sqrt(v/2) x par_u
};

// Limits when the cases' covariates differ, from the effect size c, the
// observed value cStar = sqrt(2/v) x c on the noncentral t scale, the
// quadratic form v and df. Writes zPcccLower, zPcccUpper, pctLower and
// pctUpper of results.
tGeneralLimits GeneralBranchLimits(extended c, extended cStar, extended v, extended df,
                                   bool twoSided, extended confidenceLevel,
                                   AnalysisResults& results);

// Working values of the equal-covariates branch's limits.
struct tEqualCovariatesLimits {
  extended a;   // chi-square quantile at pLow
  extended b;   // chi-square quantile at pHigh
  extended z1;  // diff x sqrt(a / (2 df s2))
  extended z2;  // diff x sqrt(b / (2 df s2))
};

// Limits when the cases' covariate scores are identical, from the task
// difference diff = yA - yB, the residual variance s2 and the whole-number
// degrees of freedom n - k - 1. Writes the same four fields of results.
tEqualCovariatesLimits EqualCovariatesLimits(extended diff, extended s2, int wholeDf,
                                             bool twoSided, extended confidenceLevel,
                                             AnalysisResults& results);
