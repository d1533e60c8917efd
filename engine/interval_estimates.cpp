#include "engine/interval_estimates.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/chi_square_distribution.h"
#include "distrib/distribution_errors.h"
#include "distrib/non_central_t_distribution.h"
#include "distrib/normal_distribution.h"

namespace {

// The search stops when a step moves the noncentrality by less than this
// share of its size (a few units of the last place of extended precision),
constexpr extended RelativeResolution = 0x1p-60L;
// or by less than this: the noncentral t is the central one within 5e-12
// of 0, so no finer absolute resolution means anything there.
constexpr extended AbsoluteResolution = 1e-11L;
// A residual F - p this small is the rounding of F itself (values in
// [0, 1], unit roundoff 2^-64).
constexpr extended ResidualFloor = 0x1p-63L;
// The rounding of a draft value of F (double-precision sums), with room.
constexpr extended DraftRounding = 1e-14L;
// Safeguard against a distribution function that is not monotone in the
// noncentrality: far more steps than any search takes (well under 20 from
// the start value, 64 bisections from any bracket).
constexpr int SearchStepLimit = 400;
// While the root is not yet bracketed, a step may move at most this many
// spreads sqrt(1 + x^2 / (2 df)) of T, doubled at each such step.
constexpr extended FirstReach = 2;
// Halley's correction of a Newton step is taken only while it changes the
// step by less than this factor either way; else the Newton step stands.
constexpr extended HalleyFactorLimit = 2;
// The distribution function is summed in double precision until a step
// moves less than this many spreads of T (the error after the next step is
// then of the order of its cube), in extended precision from then on.
constexpr extended DraftStepLimit = 1e-3L;
// A Halley step from an extended-precision value that moves less than this
// many spreads leaves an error of the order of its cube, below the
// resolution: the search ends there without evaluating again.
constexpr extended FinalHalleyStep = 1e-7L;

// The standard normal deviate z with upper tail probability q, 0 < q < 1,
// to about 4.5e-4 (Abramowitz and Stegun 26.2.23, rational approximation
// in sqrt(-2 ln q)): enough for a start value.
extended NormalDeviateEstimate(extended q) {
  const bool upper = q < 0.5L;
  const extended t = std::sqrt(-2 * ExtendedLog(upper ? q : 1 - q));
  const extended z = t - (2.515517L + t * (0.802853L + t * 0.010328L)) /
                             (1 + t * (1.432788L + t * (0.189269L + t * 0.001308L)));
  return upper ? z : -z;
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

namespace {

// A search for noncentralities at one observed value x: the noncentral t
// it re-parameterises and the incomplete beta values of its series, which
// depend on x and df alone and so serve every step and both limits.
struct tNoncentralitySearch {
  tNoncentralitySearch(extended degreesOfFreedom, extended observed)
      : df(degreesOfFreedom), x(observed), noncentralT(degreesOfFreedom, 1) {}
  extended Solve(extended p);

  extended df, x;
  tNon_central_t_distribution noncentralT;
  tIncompleteBetaLadder ladder;
};

// Solves F(x; df, delta) = p for delta, F the noncentral t distribution
// function, which falls strictly as delta grows. Halley's method with the
// exact first and second derivatives in delta, safeguarded by the bracket
// that the signs seen so far give: a step that leaves the bracket bisects
// it instead, and until both ends are known a step may reach at most
// FirstReach spreads of T (doubling each time). The start is the normal
// approximation P(T <= x) ~ Phi((x (1 - 1/(4 df)) - delta) /
// sqrt(1 + x^2/(2 df))) (Abramowitz and Stegun 26.7.10), from which three
// or four steps reach the extended unit roundoff. The search stays inside
// the noncentral t's open parameter range; a root beyond it raises that
// distribution's EArgumentError.
extended tNoncentralitySearch::Solve(extended p) {
  // The largest noncentralities the distribution accepts.
  const extended upperEnd = std::nextafter(DistributionInfinity, 0.0L);
  const extended lowerEnd = -upperEnd;
  auto spreadAt = [this](extended at) { return std::sqrt(1 + at / df * at / 2); };

  extended delta = x * (1 - 1 / (4 * df)) + NormalDeviateEstimate(p) * spreadAt(x);
  delta = std::clamp(delta, lowerEnd, upperEnd);

  // Known ends: F(lo) > p (the root lies above lo), F(hi) < p.
  extended lo = -std::numeric_limits<extended>::infinity();
  extended hi = std::numeric_limits<extended>::infinity();
  extended reach = FirstReach;
  tSeriesPrecision precision = tSeriesPrecision::Double;
  for (int step = 0; step < SearchStepLimit; ++step) {
    noncentralT.SetParameters(df, delta, 0);
    tNoncentralityDerivatives derivatives;
    const extended r = CheckFinite(
        noncentralT.CdfAndNoncentralityDerivatives(x, derivatives, &ladder, precision) - p,
        "FindNoncentrality");
    const bool extendedValue = precision == tSeriesPrecision::Extended;
    // Within the rounding of the distribution function: nothing finer
    // can be told apart.
    if (extendedValue && std::fabs(r) <= ResidualFloor) return delta;
    // A draft value's sign is trusted only well above its rounding.
    const bool signKnown = extendedValue || std::fabs(r) > DraftRounding;
    if (r > 0 && signKnown) {
      if (delta >= upperEnd) noncentralT.SetParameters(df, DistributionInfinity, 0);  // raises
      lo = delta;
    } else if (r < 0 && signKnown) {
      if (delta <= lowerEnd) noncentralT.SetParameters(df, -DistributionInfinity, 0);  // raises
      hi = delta;
    }

    extended proposed = std::numeric_limits<extended>::quiet_NaN();
    bool halley = false;
    if (derivatives.slope < 0) {
      const extended newtonStep = -r / derivatives.slope;
      const extended halleyFactor = 1 + newtonStep * derivatives.curvature / (2 * derivatives.slope);
      halley = halleyFactor > 1 / HalleyFactorLimit && halleyFactor < HalleyFactorLimit;
      proposed = delta + (halley ? newtonStep / halleyFactor : newtonStep);
    }
    const extended spread = spreadAt(delta);
    const extended move = std::fabs(proposed - delta);
    const extended resolution = std::max(RelativeResolution * std::fabs(delta), AbsoluteResolution);
    if (extendedValue && (move <= resolution || (halley && move <= FinalHalleyStep * spread)) &&
        proposed >= lo && proposed <= hi)
      return proposed;
    if (move <= DraftStepLimit * spread || hi - lo <= DraftStepLimit * spread)
      precision = tSeriesPrecision::Extended;
    extended next;
    if (std::isfinite(lo) && std::isfinite(hi)) {
      next = proposed > lo && proposed < hi ? proposed : lo + (hi - lo) / 2;
    } else {
      // Not yet bracketed: towards the root, but no further than the reach.
      const extended limit = r > 0 ? delta + reach * spread : delta - reach * spread;
      if (r > 0 ? proposed > delta && proposed <= limit : proposed < delta && proposed >= limit) {
        next = proposed;
      } else {
        next = limit;
        reach *= 2;
      }
    }
    next = std::clamp(next, lowerEnd, upperEnd);
    if (extendedValue && hi - lo <= resolution) return next;
    delta = next;
  }
  RaiseArithmeticError("no convergence", "FindNoncentrality");
}

}  // namespace

extended FindNoncentrality(extended df, extended x, extended p) {
  return tNoncentralitySearch(df, x).Solve(p);
}

// General branch: the noncentralities for the two levels, mapped back to
// the Z-PCCC scale by sqrt(v/2); the percentages are the standard normal
// tail beyond each limit on the side of the observed difference, to a few
// units of the last place of extended precision relative to their size
// (so that the four printed decimals are the correctly rounded value).
tGeneralLimits GeneralBranchLimits(extended c, extended cStar, extended v, extended df,
                                   bool twoSided, extended confidenceLevel,
                                   AnalysisResults& results) {
  tIntervalLevels levels = IntervalLevels(confidenceLevel, twoSided);
  tGeneralLimits limits;
  try {
    tNoncentralitySearch search(df, cStar);
    limits.parLow = search.Solve(levels.pLow);
    limits.parHigh = search.Solve(levels.pHigh);
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
  // Each tail directly (the upper one as Phi(-z)), in extended precision.
  tNormal_distribution standardNormal(0, 1);
  if (c >= 0) {
    results.pctLower = standardNormal.Cdf(-limits.zHi) * 100;
    results.pctUpper = standardNormal.Cdf(-limits.zLo) * 100;
  } else {
    results.pctLower = standardNormal.Cdf(limits.zLo) * 100;
    results.pctUpper = standardNormal.Cdf(limits.zHi) * 100;
  }
  results.zPcccLower = limits.zLo;
  results.zPcccUpper = limits.zHi;
  return limits;
}

// Equal-covariates branch: (df s2 / sigma2) is chi-square on df, so the
// limits on diff / (sigma sqrt 2) scale the observed effect by
// sqrt(chi-square quantile / df); the percentages as on the general branch.
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
    results.pctLower = standardNormal.Cdf(-limits.z1) * 100;
    results.pctUpper = standardNormal.Cdf(-limits.z2) * 100;
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
