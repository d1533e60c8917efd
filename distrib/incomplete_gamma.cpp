#include "distrib/incomplete_gamma.h"

#include <cmath>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"
#include "distrib/iteration_limits.h"
#include "distrib/ln_gamma.h"
#include "distrib/log1p_minus_x.h"

// x^a e^-x / Gamma(a) in the saddle-point form
//   exp(a (ln(1 + u) - u)) sqrt(a / (2 pi)) exp(-remainder(a)),  u = x/a - 1,
// (Stirling's formula for Gamma(a), its remainder exact): the large
// logarithms a ln x, x and ln Gamma(a) never meet, so the relative error
// stays a few units of the last place even for a in the millions, where
// their difference would lose ten digits.
extended GammaPowerTerm(extended x, extended a) {
  if (x == 0) return 0;
  const extended ratio = x / a;
  // Far from the saddle point x = a there is no cancellation to avoid, and
  // x - a may round to -a (x/a below 1e-19), which ln(1 + u) cannot take.
  const extended power = std::fabs(ratio - 1) < SaddlePointReach
                             ? a * Log1pMinusX((x - a) / a)
                             : a * ExtendedLog(ratio) - (x - a);
  const extended exponent = power + 0.5L * ExtendedLog(a / (2 * Pi)) - LnGammaStirlingRemainder(a);
  // -infinity (x/a underflowing) is a term of 0; NaN a fault.
  if (std::isnan(exponent)) RaiseArithmeticError("invalid operation", "IncompleteGamma");
  return ExtendedExp(exponent);
}

// P(a, x) = x^a e^-x / Gamma(a) * sum_n x^n / (a (a+1) ... (a+n)), summed
// until a term no longer changes the sum (Numerical Recipes 6.2). Below
// x = a + 1 the terms fall at least geometrically after n ~ x - a; near
// x = a they need about 10 sqrt(a) terms.
extended IncompleteGammaSeries(extended x, extended a) {
  if (x == 0) return 0;
  extended ap = a;
  extended term = 1 / a;
  extended sum = term;
  for (long n = 1;; ++n) {
    if (n > SeriesTermLimit) RaiseArithmeticError("no convergence", "IncompleteGamma");
    ap = ap + 1;
    term = term * x / ap;
    sum = sum + term;
    CheckFinite(sum, "IncompleteGamma");
    if (term < sum * UnitRoundoff) break;
  }
  return CheckFinite(sum * GammaPowerTerm(x, a), "IncompleteGamma");
}

// Q(a, x) = 1 - P(a, x) by Legendre's continued fraction, evaluated with
// the three-term recurrence and renormalised by 1/a1 at every step, until
// two successive convergents agree to the unit roundoff.
extended IncompleteGammaContinuedFraction(extended x, extended a) {
  extended a0 = 1, a1 = x, b0 = 0, b1 = 1, fac = 1, g = 0, gOld = 1;
  for (long n = 1;; ++n) {
    if (n > ContinuedFractionTermLimit)
      RaiseArithmeticError("no convergence", "IncompleteGamma");
    extended ana = n - a;
    a0 = (a1 + a0 * ana) * fac;
    b0 = (b1 + b0 * ana) * fac;
    extended anf = n * fac;
    a1 = x * a0 + anf * a1;
    b1 = x * b0 + anf * b1;
    // A NaN here (from a NaN argument) would fail the stopping test forever.
    CheckFinite(a1, "IncompleteGamma");
    CheckFinite(b1, "IncompleteGamma");
    if (a1 != 0) {
      gOld = g;
      fac = 1 / a1;
      g = b1 * fac;
    }
    CheckFinite(g, "IncompleteGamma");
    if (std::fabs(g - gOld) <= std::fabs(g) * UnitRoundoff) break;
  }
  return CheckFinite(GammaPowerTerm(x, a) * g, "IncompleteGamma");
}

extended IncompleteGamma(extended x, extended a) {
  CheckArgument(1302, x, 0);
  RaiseArgumentErrorIf(x > DistributionInfinity, 1361);
  CheckArgument(1301, a, 0);
  RaiseArgumentErrorIf(a > DistributionInfinity, 1361);
  if (x < a + 1) return IncompleteGammaSeries(x, a);
  return 1 - IncompleteGammaContinuedFraction(x, a);
}
