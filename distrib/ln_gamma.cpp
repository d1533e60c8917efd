#include "distrib/ln_gamma.h"

#include "distrib/arithmetic_faults.h"

namespace {

// Coefficients of the six-term Lanczos sum and sqrt(2 pi).
constexpr extended LanczosCoefficients[6] = {
    76.18009172947146L,     -86.50532032941677L,    24.01409824083091L,
    -1.231739572450155L,    0.1208650973866179e-2L, -0.5395239384953e-5L};
constexpr extended SqrtTwoPi = 2.5066282746310005L;

}  // namespace

// ln Gamma(x), Lanczos sum: s = 1 + sum c_i/(x + i - 1), the denominators
// formed by adding 1 at a time to x - 1; the result is
// ln(sqrt(2 pi) s) + (x - 0.5) ln(x + 4.5) - (x + 4.5).
extended LnGamma(extended x) {
  extended t = x + 4.5L;
  extended denominator = x - 1;
  extended s = 1;
  for (extended c : LanczosCoefficients) {
    denominator = denominator + 1;
    s = s + c / denominator;
  }
  CheckFinite(s, "LnGamma");
  extended result = CheckedLn(SqrtTwoPi * s, "LnGamma") + (x - 0.5L) * CheckedLn(t, "LnGamma") - t;
  return CheckFinite(result, "LnGamma");
}
