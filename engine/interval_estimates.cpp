#include "engine/interval_estimates.h"

#include <cmath>
#include <limits>
#include <string>

#include "distrib/chi_square_distribution.h"
#include "distrib/distribution_errors.h"
#include "distrib/non_central_t_distribution.h"
#include "distrib/normal_distribution.h"
#include "engine/std_normal_integral.h"

namespace {

// Width of the final bracket of the noncentrality search (delta scale).
constexpr extended NoncentralityResolution = 1e-6L;

// Below this noncentrality a quantile of the noncentral t costs little;
// beyond it the expansion first consults the cheap bound below.
constexpr extended CostlyNoncentrality = 1024.0L;

// Share of the bound below that the expansion trusts (the chi-square and
// normal quantiles behind it are themselves approximate).
constexpr extended BoundSafetyFactor = 0.99L;

// A noncentrality below which the p-quantile of the noncentral t with df
// degrees of freedom is certainly below x (x > 0). With T = (Z + delta) /
// sqrt(V/df), V chi-square on df, and q the chi-square quantile at
// alpha = (1 - p)/2:
//   P(T <= x) = E[Phi(x sqrt(V/df) - delta)] >= (1 - alpha) Phi(x sqrt(q/df) - delta),
// which exceeds p as soon as delta < x sqrt(q/df) - Phi^-1(p / (1 - alpha)).
// Gives minus infinity for x <= 0, where no such bound is needed.
extended NoncentralityFloor(extended df, extended x, extended p) {
  if (!(x > 0)) return -std::numeric_limits<extended>::infinity();
  extended alpha = (1 - p) / 2;
  tChi_square_distribution chiSquare(df);
  extended q = chiSquare.Quantile(alpha);
  tNormal_distribution standardNormal(0, 1);
  extended z = standardNormal.Quantile(p / (1 - alpha));
  return BoundSafetyFactor * (x * std::sqrt(q / df) - z);
}

// Tells whether x is certainly above the p-quantile at noncentrality delta
// without evaluating that quantile. Only large |delta| consult the bound
// (computed once per search and cached in floor), so ordinary searches take
// exactly the path of the quantile comparisons. Needed for a tiny but
// non-zero covariate difference: its observed value of 1e10 and more would
// otherwise make the expansion evaluate quantiles at 1024, 2048, ..., 32768
// (seconds in all, the series growing with the noncentrality) before the
// noncentral t refuses 65536, where delta^2/2 passes the incomplete gamma's
// argument bound. With the bound the doubling runs on, without evaluations,
// to the parameter bound 2147483647, which SetParameters refuses.
bool CertainlyAboveQuantile(extended df, extended x, extended p, extended delta, bool& known,
                            extended& floor) {
  if (delta < CostlyNoncentrality) return false;
  if (!known) {
    floor = NoncentralityFloor(df, x, p);
    known = true;
  }
  return delta < floor;
}

}  // namespace

tIntervalLevels IntervalLevels(extended confidenceLevel, bool twoSided) {
  tIntervalLevels levels;
  if (twoSided) {
    levels.pHigh = (1 - confidenceLevel / 100) / 2;
    levels.pLow = levels.pHigh + confidenceLevel / 100;
  } else {
    levels.pLow = confidenceLevel / 100;
    levels.pHigh = 1 - confidenceLevel / 100;
  }
  return levels;
}

// Inversion of the noncentral t quantile in its noncentrality by bracket
// doubling and bisection. The quantile increases with delta; comparisons are
// strict, so an x equal to a quantile stops an expansion and moves hi in the
// bisection. There is no cap on the doublings: they end with the
// EArgumentError of the noncentral t when they pass what it accepts.
extended FindNoncentrality(extended df, extended x, extended p) {
  extended lo = -1;
  extended hi = 1;
  tNon_central_t_distribution noncentralT(df, hi);

  // Upward: certainly-known comparisons are skipped (see
  // CertainlyAboveQuantile); the doubling sequence stays the same.
  bool upperKnown = false;
  extended upperFloor = 0;
  while (CertainlyAboveQuantile(df, x, p, hi, upperKnown, upperFloor) || x > noncentralT.Quantile(p)) {
    lo = hi;
    hi = 2 * hi;
    noncentralT.SetParameters(df, hi, 0);
  }

  if (lo < 0) {
    // Downward, by the reflection Q(p; delta) = -Q(1 - p; -delta): x below
    // the quantile at lo is x' = -x above the (1 - p)-quantile at -lo.
    bool lowerKnown = false;
    extended lowerFloor = 0;
    noncentralT.SetParameters(df, lo, 0);
    while (CertainlyAboveQuantile(df, -x, 1 - p, -lo, lowerKnown, lowerFloor) ||
           x < noncentralT.Quantile(p)) {
      hi = lo;
      lo = 2 * lo;
      noncentralT.SetParameters(df, lo, 0);
    }
  }

  extended mid;
  do {
    mid = (hi + lo) / 2;
    noncentralT.SetParameters(df, mid, 0);
    if (x > noncentralT.Quantile(p))
      lo = mid;
    else
      hi = mid;
  } while (hi - lo >= NoncentralityResolution);
  return mid;
}

// General branch: the noncentralities for the two levels, mapped back to
// the Z-PCCC scale by sqrt(v/2); the percentages are the standard normal
// tail beyond each limit on the side of the observed difference.
tGeneralLimits GeneralBranchLimits(extended c, extended cStar, extended v, extended df,
                                   bool twoSided, extended confidenceLevel,
                                   AnalysisResults& results) {
  tIntervalLevels levels = IntervalLevels(confidenceLevel, twoSided);
  tGeneralLimits limits;
  try {
    limits.parLow = FindNoncentrality(df, cStar, levels.pLow);
    limits.parHigh = FindNoncentrality(df, cStar, levels.pHigh);
  } catch (const EArgumentError& error) {
    // An observed c* of the order of 1e4 and more (covariate scores that
    // differ by a tiny amount, so that v is tiny) drives the search past
    // what the noncentral t accepts; the distribution's own message names
    // only a parameter bound, so the user is told what it means.
    throw EArgumentError(error.Identifier(),
                         std::string("The confidence limits on the effect size cannot be found: the search "
                                     "for the noncentrality parameter went out of range (") +
                             error.what() +
                             "). This happens when the two cases' covariate scores differ by a tiny "
                             "amount; if they are meant to be equal, enter them exactly equal.");
  }
  limits.zLo = std::sqrt(v / 2) * limits.parLow;
  limits.zHi = std::sqrt(v / 2) * limits.parHigh;
  if (c >= 0) {
    results.pctLower = (1 - static_cast<extended>(StdNormalCdf(static_cast<double>(limits.zHi)))) * 100;
    results.pctUpper = (1 - static_cast<extended>(StdNormalCdf(static_cast<double>(limits.zLo)))) * 100;
  } else {
    results.pctLower = static_cast<extended>(StdNormalCdf(static_cast<double>(limits.zLo))) * 100;
    results.pctUpper = static_cast<extended>(StdNormalCdf(static_cast<double>(limits.zHi))) * 100;
  }
  results.zPcccLower = limits.zLo;
  results.zPcccUpper = limits.zHi;
  return limits;
}

// Equal-covariates branch: (df s2 / sigma2) is chi-square on df, so the
// limits on diff / (sigma sqrt 2) scale the observed effect by
// sqrt(chi-square quantile / df).
tEqualCovariatesLimits EqualCovariatesLimits(extended diff, extended s2, int wholeDf,
                                             bool twoSided, extended confidenceLevel,
                                             AnalysisResults& results) {
  tNormal_distribution standardNormal(0, 1);
  tChi_square_distribution chiSquare(wholeDf);
  tIntervalLevels levels = IntervalLevels(confidenceLevel, twoSided);
  tEqualCovariatesLimits limits;
  limits.a = chiSquare.Quantile(levels.pLow);
  limits.b = chiSquare.Quantile(levels.pHigh);
  extended df = wholeDf;
  limits.z1 = diff * std::sqrt(limits.a / (2 * df * s2));
  limits.z2 = diff * std::sqrt(limits.b / (2 * df * s2));
  if (diff >= 0) {
    results.pctLower = (1 - standardNormal.Cdf(limits.z1)) * 100;
    results.pctUpper = (1 - standardNormal.Cdf(limits.z2)) * 100;
    results.zPcccUpper = limits.z1;
    results.zPcccLower = limits.z2;
  } else {
    results.pctLower = standardNormal.Cdf(limits.z1) * 100;
    results.pctUpper = standardNormal.Cdf(limits.z2) * 100;
    results.zPcccLower = limits.z1;
    results.zPcccUpper = limits.z2;
  }
  return limits;
}
