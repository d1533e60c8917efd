#include <cmath>

#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/distribution.h"

namespace {

// Absolute step below which the inversion stops.
constexpr extended StepTolerance = 5e-12L;
// Far out in heavy tails (|x| of order 1e7 and beyond, as for t quantiles
// with few degrees of freedom) the absolute test asks for less than the
// spacing of extended reals, and Newton steps driven by the rounding noise
// of Cdf can hop between neighbouring values for ever. A step below this
// fraction of |x| (the resolution of a double) ends the search as well; it
// can only act where |x| > 2.25e4.
constexpr extended RelativeStepTolerance = 0x1p-52L;
// Newton-bisection needs well under 200 iterations from any bracket within
// the support; more means the distribution function is not monotone.
constexpr int InversionIterationLimit = 2000;
// Factor by which the bracket widens around the centre while searching.
constexpr extended WideningFactor = 8;

}  // namespace

// The p-quantile by numerical inversion of Cdf: a bracket around the mean
// (or the middle of the support) widened by factors of 8 until it holds the
// answer, then Newton steps, replaced by bisection whenever a step would
// leave the bracket's half-width.
extended tContinuous_distribution::Quantile(extended p) {
  CheckArgument(1302, p, 0);
  if (NearlyEqual(0, p)) return SupportLower;
  CheckArgument(1315, p, 1);
  if (NearlyEqual(p, 1)) return SupportUpper;

  extended L = SupportLower;
  extended U = SupportUpper;
  extended M = HasMean() ? Mean() : (L + U) / 2;
  extended W = HasVariance() ? 2 * StandardDeviation() : 8;
  CheckFinite(M, "Quantile");
  CheckFinite(W, "Quantile");
  if (U > M + W) U = M + W;
  if (L < M - W) L = M - W;

  // Upward search. When the whole support lies below p (a heavy tail that
  // reaches beyond +-2147483647, the unit's infinity) the answer is the
  // support's end.
  while (CheckFinite(Cdf(U), "Quantile") < p) {
    if (U >= SupportUpper) return SupportUpper;
    L = U;
    U = M + WideningFactor * (U - M);
    if (U > SupportUpper) U = SupportUpper;
  }
  // Downward search, only when the upward one did not move and neither end
  // was clipped to the support.
  if (NearlyEqual(U - L, 2 * W)) {
    while (CheckFinite(Cdf(L), "Quantile") > p) {
      if (L <= SupportLower) return SupportLower;
      U = L;
      L = M + WideningFactor * (L - M);
      if (L < SupportLower) L = SupportLower;
    }
  }

  extended x = (L + U) / 2;
  extended x0;
  int iterations = 0;
  do {
    if (++iterations > InversionIterationLimit) RaiseArithmeticError("no convergence", "Quantile");
    extended D = CheckFinite(Cdf(x), "Quantile") - p;
    extended f = CheckFinite(Density(x), "Quantile");
    x0 = x;
    if (D <= 0) L = x;
    if (D >= 0) U = x;
    if ((U - L) * f > std::fabs(2 * D))
      x = x - D / f;
    else
      x = (L + U) / 2;
    CheckFinite(x, "Quantile");
  } while (!(std::fabs(x - x0) < StepTolerance ||
             std::fabs(x - x0) < RelativeStepTolerance * std::fabs(x)));
  return x;
}
