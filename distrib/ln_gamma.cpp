#include "distrib/ln_gamma.h"

#include <cmath>
#include <limits>

#include "core/extended_math.h"
#include "distrib/arithmetic_faults.h"

namespace {

// From this argument on the Stirling series below alone is used; its first
// omitted term, B_18/(18 17 x^17), is then below 2e-21.
constexpr extended StirlingThreshold = 15;

// B_2k / (2k (2k - 1)) for k = 1..8, the coefficients of Stirling's series
// in powers of 1/x (B_2k the Bernoulli numbers).
constexpr extended StirlingCoefficients[8] = {
    1.0L / 12,          -1.0L / 360,         1.0L / 1260,     -1.0L / 1680,
    1.0L / 1188,        -691.0L / 360360,    1.0L / 156,      -3617.0L / 122400};

// ln(2 pi) / 2.
constexpr extended HalfLnTwoPi = 0.91893853320467274178032973640561764L;

// Stirling's series sum_k c_k / x^(2k - 1) for x >= StirlingThreshold.
extended StirlingSeries(extended x) {
  const extended inverseSquare = 1 / (x * x);
  extended sum = 0;
  for (int k = 7; k >= 0; --k) sum = sum * inverseSquare + StirlingCoefficients[k];
  return sum / x;
}

// (x - 1/2) ln x - x + ln(2 pi)/2: Stirling's formula without its remainder.
extended StirlingLeadingTerms(extended x) { return (x - 0.5L) * ExtendedLog(x) - x + HalfLnTwoPi; }

// One step of the recurrence of Stirling's remainder,
//   R(x) - R(x + 1) = (x + 1/2) ln(1 + 1/x) - 1,
// which follows from ln Gamma(x + 1) = ln Gamma(x) + ln x. With
// s = 1/(2x + 1), ln(1 + 1/x) = 2 artanh s, so the step is the series
// s^2/3 + s^4/5 + s^6/7 + ..., all terms positive: no cancellation, and
// relative error a few units of the last place. Used for x >= 1
// (s <= 1/3), where it needs at most about twenty terms.
extended StirlingRemainderStep(extended x) {
  const extended s = 1 / (2 * x + 1);
  const extended sSquare = s * s;
  extended power = sSquare, sum = 0;
  for (int odd = 3;; odd += 2) {
    const extended term = power / odd;
    sum += term;
    if (term <= sum * std::numeric_limits<extended>::epsilon()) return sum;
    power *= sSquare;
  }
}

// R(x) for 1 <= x < StirlingThreshold: the series at x + n >= 15 plus
// the n steps down to x.
extended StirlingRemainderByRecurrence(extended x) {
  extended steps = 0;
  while (x < StirlingThreshold) {
    steps += StirlingRemainderStep(x);
    x += 1;
  }
  return StirlingSeries(x) + steps;
}

}  // namespace

// Stirling's formula with its asymptotic series (Abramowitz and Stegun
// 6.1.40) from x = 15 on. Between 1 and 15 the leading terms plus the
// remainder carried down from x + n >= 15 by its own recurrence (above),
// whose steps are small and exact to their last places: so near the zeros
// of ln Gamma at 1 and 2 the absolute error is about 1e-20 (forming
// ln Gamma(x + n) - ln(x (x + 1) ... (x + n - 1)) instead would leave the
// rounding of two logarithms near 25, some 2e-18). Below 1,
// ln Gamma(x) = ln Gamma(x + 1) - ln x. Elsewhere the error is a few units
// of the last place of |ln Gamma(x)|.
extended LnGamma(extended x) {
  if (std::isnan(x)) RaiseArithmeticError("invalid operation", "LnGamma");
  if (x <= 0) RaiseArithmeticError(x == 0 ? "division by zero" : "invalid operation", "LnGamma");
  if (std::isinf(x)) RaiseArithmeticError("overflow", "LnGamma");
  if (x >= StirlingThreshold) return StirlingLeadingTerms(x) + StirlingSeries(x);
  if (x < 1) return LnGamma(x + 1) - ExtendedLog(x);
  return StirlingLeadingTerms(x) + StirlingRemainderByRecurrence(x);
}

// The series itself from x = 15 on, the recurrence from 1; below 1 the
// difference of LnGamma and the leading terms, where neither is small
// beside the other.
extended LnGammaStirlingRemainder(extended x) {
  if (x >= StirlingThreshold) return StirlingSeries(x);
  if (x >= 1) return StirlingRemainderByRecurrence(x);
  return LnGamma(x) - StirlingLeadingTerms(x);
}
