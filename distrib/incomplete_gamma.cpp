#include "distrib/incomplete_gamma.h"

#include <cmath>

#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/distribution_errors.h"
#include "distrib/iteration_limits.h"
#include "distrib/ln_gamma.h"

namespace {

// Terms of the power series after the first one; reaching the limit is
// not an error.
constexpr int SeriesTermLimit = 100;
// Relative accuracy at which the series and the continued fraction stop.
constexpr extended Accuracy = 5e-12L;

// exp(-x + a ln x - ln Gamma(a)), the common factor x^a e^-x / Gamma(a).
extended Prefactor(extended x, extended a, const char* where) {
  return CheckedExp(-x + a * CheckedLn(x, where) - LnGamma(a), where);
}

}  // namespace

// P(a, x) by the power series sum x^n / (a (a+1) ... (a+n)).
extended IncompleteGammaSeries(extended x, extended a) {
  if (NearlyEqual(0, x)) return 0;
  extended ap = a;
  extended term = 1 / a;
  extended sum = term;
  int n = 1;
  do {
    ap = ap + 1;
    term = term * x / ap;
    sum = sum + term;
    n = n + 1;
  } while (!(std::fabs(term) < std::fabs(sum) * Accuracy || n > SeriesTermLimit));
  CheckFinite(sum, "IncompleteGamma");
  return CheckFinite(sum * Prefactor(x, a, "IncompleteGamma"), "IncompleteGamma");
}

// Q(a, x) = 1 - P(a, x) by Legendre's continued fraction, evaluated with
// the three-term recurrence and renormalised by 1/a1 at every step.
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
    if (std::fabs((g - gOld) / g) < Accuracy) break;
  }
  return CheckFinite(Prefactor(x, a, "IncompleteGamma") * g, "IncompleteGamma");
}

extended IncompleteGamma(extended x, extended a) {
  CheckArgument(1302, x, 0);
  RaiseArgumentErrorIf(x > DistributionInfinity, 1361);
  CheckArgument(1301, a, 0);
  RaiseArgumentErrorIf(a > DistributionInfinity, 1361);
  if (x < a + 1) return IncompleteGammaSeries(x, a);
  return 1 - IncompleteGammaContinuedFraction(x, a);
}
