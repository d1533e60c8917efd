#include "distrib/incomplete_beta.h"

#include <cmath>
#include <limits>

#include "core/extended_math.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"
#include "distrib/distribution_errors.h"
#include "distrib/iteration_limits.h"
#include "distrib/ln_gamma.h"
#include "distrib/log1p_minus_x.h"

namespace {

// a (ln(x/x0) - u) with u = x/x0 - 1 = e/a, lnRatio = ln(x/x0): the
// deviance of one factor of the beta power term from its saddle point.
extended Deviance(extended a, extended e, extended lnRatio) {
  const extended u = e / a;
  if (std::fabs(u) < SaddlePointReach) return a * Log1pMinusX(u);
  return a * lnRatio - e;
}

}  // namespace

// With c = a + b and the saddle point x0 = a/c, y0 = b/c, Stirling's
// formula for the three gamma functions of B(a, b) (their remainders
// exact) gives
//   ln(x^a y^b / B(a, b)) = a (ln(x/x0) - u) + b (ln(y/y0) - v)
//                           + ln(a b / (2 pi c)) / 2 - R(a) - R(b) + R(c),
// u = x/x0 - 1, v = y/y0 - 1 (a u + b v = 0 is what lets them be added),
// each deviance by ln(1 + u) - u near the saddle point. The logarithms of
// size a and b never meet, so the relative error stays a few units of the
// last place for a and b in the millions (the plain form
// ln Gamma(a + b) - ln Gamma(a) - ln Gamma(b) + ... loses ten digits there).
extended BetaPowerTerm(extended x, extended y, extended a, extended b) {
  const extended c = a + b;
  // The smaller of x and y carries its digits; the other is taken as 1
  // minus it, so that with b in the millions y^b does not inherit the
  // rounding of y near 1 (5e-20 there is 2.5e-14 of y^(5e5)).
  // e = c x - a = b - c y is then formed from the exact one.
  extended e, lnX, lnY;
  if (x <= y) {
    e = c * x - a;
    lnX = ExtendedLog(x);
    lnY = ExtendedLog1p(-x);
  } else {
    e = b - c * y;
    lnX = ExtendedLog1p(-y);
    lnY = ExtendedLog(y);
  }
  const extended exponent = Deviance(a, e, lnX + ExtendedLog1p(b / a)) +
                            Deviance(b, -e, lnY + ExtendedLog1p(a / b)) +
                            0.5L * ExtendedLog(a * b / (2 * Pi * c)) - LnGammaStirlingRemainder(a) -
                            LnGammaStirlingRemainder(b) + LnGammaStirlingRemainder(c);
  if (std::isnan(exponent)) RaiseArithmeticError("invalid operation", "IncompleteBeta");
  return CheckFinite(ExtendedExp(exponent), "IncompleteBeta");
}

// The continued fraction of I_x(a, b) (even and odd steps of the
// recurrence taken together, Numerical Recipes 6.4), renormalised by bpp
// at every step.
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
    if (std::fabs(az - aOld) <= UnitRoundoff * std::fabs(az)) break;
  }
  return az;
}

// I_x(a, b) = BetaPowerTerm CF(x, a, b) / a below (a + 1)/(a + b + 2),
// else by the symmetry I_x(a, b) = 1 - I_y(b, a). Any arithmetic fault in
// the computation gives 1.
extended IncompleteBeta(extended x, extended y, extended a, extended b, extended& powerTerm) {
  powerTerm = 0;
  if (!(x > 0)) {
    if (x <= 0) return 0;
    powerTerm = std::numeric_limits<extended>::quiet_NaN();  // x is NaN
    return 1;
  }
  if (!(y > 0)) return 1;
  try {
    powerTerm = BetaPowerTerm(x, y, a, b);
    extended result;
    if (x < (a + 1) / (a + b + 2))
      result = powerTerm * IncompleteBetaContinuedFraction(x, a, b) / a;
    else
      result = 1 - powerTerm * IncompleteBetaContinuedFraction(y, b, a) / b;
    return CheckFinite(result, "IncompleteBeta");
  } catch (const EArithmeticError&) {
    powerTerm = std::numeric_limits<extended>::quiet_NaN();
    return 1;
  }
}

extended IncompleteBeta(extended x, extended y, extended a, extended b) {
  extended powerTerm;
  return IncompleteBeta(x, y, a, b, powerTerm);
}

extended IncompleteBeta(extended x, extended a, extended b) {
  if (x <= 0) return 0;
  if (x >= 1) return 1;
  return IncompleteBeta(x, 1 - x, a, b);
}
