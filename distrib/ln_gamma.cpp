#include "distrib/ln_gamma.h"

#include <cmath>

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
extended StirlingLeadingTerms(extended x) { return (x - 0.5L) * std::log(x) - x + HalfLnTwoPi; }

}  // namespace

// Stirling's formula with its asymptotic series (Abramowitz and Stegun
// 6.1.40) from x = 15 on; below, the recurrence Gamma(x) = Gamma(x + n) /
// (x (x + 1) ... (x + n - 1)) first carries the argument up to 15. Absolute
// error a few 1e-19 for x of order 1 to 1e4, growing like |ln Gamma(x)|
// times the unit roundoff beyond.
extended LnGamma(extended x) {
  if (std::isnan(x)) RaiseArithmeticError("invalid operation", "LnGamma");
  if (x <= 0) RaiseArithmeticError(x == 0 ? "division by zero" : "invalid operation", "LnGamma");
  if (std::isinf(x)) RaiseArithmeticError("overflow", "LnGamma");
  if (x >= StirlingThreshold) return StirlingLeadingTerms(x) + StirlingSeries(x);
  extended product = 1;
  while (x < StirlingThreshold) {
    product *= x;
    x += 1;
  }
  return StirlingLeadingTerms(x) + StirlingSeries(x) - std::log(product);
}

// The series itself from x = 15 on; below, the difference of LnGamma and
// the leading terms, both of order 1 there, so nothing is lost.
extended LnGammaStirlingRemainder(extended x) {
  if (x >= StirlingThreshold) return StirlingSeries(x);
  return LnGamma(x) - StirlingLeadingTerms(x);
}
