#include "distrib/incomplete_beta.h"

#include <cmath>

#include "distrib/arithmetic_faults.h"
#include "distrib/distribution_errors.h"
#include "distrib/iteration_limits.h"
#include "distrib/ln_gamma.h"

namespace {

// Relative accuracy at which the continued fraction stops.
constexpr extended Accuracy = 5e-12L;

}  // namespace

// The continued fraction of I_x(a, b) (even and odd steps of the
// recurrence taken together), renormalised by bpp at every step.
extended IncompleteBetaContinuedFraction(extended x, extended a, extended b) {
  extended qab = a + b, qap = a + 1, qam = a - 1;
  extended am = 1, bm = 1, az = 1;
  extended bz = 1 - qab * x / qap;
  for (long m = 1;; ++m) {
    if (m > ContinuedFractionTermLimit)
      RaiseArithmeticError("no convergence", "IncompleteBeta");
    extended em = m;
    extended tem = em + em;
    extended d = (b - em) * em * x / ((qam + tem) * (a + tem));
    extended ap = az + d * am;
    extended bp = bz + d * bm;
    d = -(a + em) * (qab + em) * x / ((a + tem) * (qap + tem));
    extended app = ap + d * az;
    extended bpp = bp + d * bz;
    extended aOld = az;
    am = ap / bpp;
    bm = bp / bpp;
    az = app / bpp;
    bz = 1;
    // A division by zero or a NaN argument would fail the stopping test
    // forever: it is a fault.
    CheckFinite(am, "IncompleteBeta");
    CheckFinite(bm, "IncompleteBeta");
    CheckFinite(az, "IncompleteBeta");
    if (std::fabs(az - aOld) < Accuracy * std::fabs(az)) break;
  }
  return az;
}

// I_x(a, b) = bt CF(x, a, b) / a below (a + 1)/(a + b + 2), else by the
// symmetry I_x(a, b) = 1 - I_(1-x)(b, a). Any arithmetic fault in the
// computation gives 1.
extended IncompleteBeta(extended x, extended a, extended b) {
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  try {
    extended bt = CheckedExp(LnGamma(a + b) + a * CheckedLn(x, "IncompleteBeta") +
                                 b * CheckedLn(1 - x, "IncompleteBeta") - LnGamma(a) - LnGamma(b),
                             "IncompleteBeta");
    extended result;
    if (x < (a + 1) / (a + b + 2))
      result = bt * IncompleteBetaContinuedFraction(x, a, b) / a;
    else
      result = 1 - bt * IncompleteBetaContinuedFraction(1 - x, b, a) / b;
    return CheckFinite(result, "IncompleteBeta");
  } catch (const EArithmeticError&) {
    return 1;
  }
}
