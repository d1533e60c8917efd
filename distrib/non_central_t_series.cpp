#include "distrib/non_central_t_series.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/incomplete_beta.h"
#include "distrib/incomplete_gamma.h"
#include "distrib/ln_gamma.h"
#include "distrib/power.h"

namespace {

// The backward pass reaches down to lambda - 8 sqrt(lambda).
constexpr extended BackwardReach = 8;
// The distribution function's forward pass stops when the Poisson mass not
// yet visited, times the next incomplete beta value, falls below this.
constexpr extended CdfTailBound = 2.5e-12L;
// The density's forward pass stops when its q B term falls below this,
constexpr extended DensityTermBound = 5e-12L;
// and when the terms still to come (bounded geometrically) are below this
// share of the density (ample for the Newton steps of the quantile, which
// the density serves),
constexpr extended DensityTailShare = 1e-9L;
// or below the rounding of the sum, this share of the summed term sizes
// (for x < 0 after reflection the terms alternate in sign and the density
// can be far below them),
constexpr extended RoundingShare = 1e-18L;
// or below this, negligible whatever the sum.
constexpr extended NegligibleDensity = 1e-300L;
// Past the mode, Poisson weights below this add nothing the sum can hold
// (all later ones together stay below 1e-25). The remaining-mass tracker
// carries the rounding of the log-gamma start values (about 1e-10), so when
// y rounds to 1 the tail bound alone would never be met.
constexpr extended NegligibleWeight = 1e-30L;
// Indices of the series are 32-bit integers: a Poisson mean beyond them is
// the incomplete gamma argument the distribution function refuses (1361).
constexpr extended LargestPoissonMean = 2147483647.0L;

const extended LnTwo = std::log(2.0L);

// Below this exponent exp() stays finite in extended precision (the
// largest extended value is about e^11356.52).
constexpr extended LargestExpArgument = 11356;

// lead exp(lnFactor) y^a z^b, the powers by Power. The gamma-function factor of
// a beta term overflows on its own for many degrees of freedom and a large
// Poisson index (nu = 10000 from delta of about 190 on, nu = 2000 from
// about 8000) although the term itself is small; for the density, whose
// lead x nu is large, lead exp(lnFactor) does so even earlier (nu = 5750
// with delta = 327 at x = 300). Only when lead exp(lnFactor) would not stay
// finite is the product formed as a single exponential of the summed
// logarithms, with the sign of lead.
extended ScaledPowers(extended lead, extended lnFactor, extended y, extended a, extended z,
                      extended b, const char* where) {
  if (lead == 0) return 0;
  const extended lnLead = std::log(std::fabs(lead));
  if (lnFactor + lnLead < LargestExpArgument)
    return lead * CheckedExp(lnFactor, where) * Power(y, a) * Power(z, b);
  if ((y == 0 && a > 0) || (z == 0 && b > 0)) return 0;
  const extended magnitude =
      CheckedExp(lnLead + lnFactor + a * CheckedLn(y, where) + b * CheckedLn(z, where), where);
  return lead < 0 ? -magnitude : magnitude;
}

// Bound on the sum of the terms after t, for a sequence whose ratio of
// successive terms does not grow (log-concave, as both Poisson-times-beta
// sequences of the density are): with r = t/previous, at most t r/(1 - r);
// infinite while the terms still rise.
extended GeometricTail(extended t, extended previous) {
  if (t == 0) return 0;
  if (!(t < previous)) return std::numeric_limits<extended>::infinity();
  extended r = t / previous;
  return t * r / (1 - r);
}

// The shared set-up: Poisson mean, lower end of the sum and start index
// (the mode of the weights, ties to even), y = x^2/(x^2 + nu), sign of x.
struct SeriesSetUp {
  extended lambda, h, y, s;
  std::int64_t k0, m;
};

SeriesSetUp SetUp(extended x, extended nu, extended d) {
  SeriesSetUp u;
  u.lambda = CheckFinite(d * d / 2, "noncentral t");
  RaiseArgumentErrorIf(u.lambda > LargestPoissonMean, 1361);
  u.h = nu / 2;
  u.y = x == 0 ? 0 : x * x / (x * x + nu);
  CheckFinite(u.y, "noncentral t");
  extended low = std::floor(u.lambda - BackwardReach * std::sqrt(u.lambda));
  u.k0 = low < 0 ? 0 : static_cast<std::int64_t>(low);
  u.m = static_cast<std::int64_t>(std::nearbyint(u.lambda));
  if (u.m < u.k0) u.m = u.k0;
  u.s = x >= 0 ? 1 : -1;
  return u;
}

}  // namespace

// Phi(-d) + sum_j (s P_j I_y(j + 1/2, h) + Q_j I_y(j + 1, h)), started at the
// mode m of the Poisson weights: the incomplete beta values come from two
// calls at m and the recurrences I_y(a+1, h) = I_y(a, h) - G(a) with
// G(a) = Gamma(a+h)/(Gamma(a+1) Gamma(h)) y^a (1-y)^h, walked down to k0
// and then up until the unvisited Poisson mass times I_y is negligible.
extended NonCentralTCdfSeries(extended x, extended nu, extended d) {
  const char* where = "noncentral t Cdf";
  // Phi(-d) first: its incomplete gamma refuses d^2/2 > 2147483647 (1361).
  extended normalTail = 0.5L * (1 - IncompleteGamma(d * d / 2, 0.5L));
  SeriesSetUp u = SetUp(x, nu, d);
  // At x = 0 (or x^2 vanishing beside nu) every I_y term is 0.
  if (u.y == 0) return normalTail;
  const extended lambda = u.lambda, h = u.h, y = u.y, s = u.s;
  const extended m = static_cast<extended>(u.m);
  const extended lnLambda = CheckedLn(lambda, where);
  const extended lnGammaH = LnGamma(h);

  const extended P0 = 0.5L * CheckedExp(m * lnLambda - lambda - LnGamma(m + 1), where);
  const extended Q0 =
      0.5L * d * CheckedExp(m * lnLambda - lambda - 0.5L * LnTwo - LnGamma(m + 1.5L), where);
  const extended IA0 = IncompleteBeta(y, m + 0.5L, h);
  const extended IB0 = IncompleteBeta(y, m + 1, h);
  const extended GA0 = ScaledPowers(1, LnGamma(m + 0.5L + h) - LnGamma(m + 1.5L) - lnGammaH, y,
                                    m + 0.5L, 1 - y, h, where);
  const extended GB0 =
      ScaledPowers(1, LnGamma(m + 1 + h) - LnGamma(m + 2) - lnGammaH, y, m + 1, 1 - y, h, where);

  extended E = 0.5L - P0;
  extended sum = normalTail + s * P0 * IA0 + Q0 * IB0;

  // Backward pass, j = m - 1 down to k0.
  extended P = P0, Q = Q0, IA = IA0, IB = IB0, GA = GA0, GB = GB0;
  for (std::int64_t jj = u.m - 1; jj >= u.k0; --jj) {
    extended j = static_cast<extended>(jj);
    P = P * (j + 1) / lambda;
    Q = Q * (j + 1.5L) / lambda;
    E = E - P;
    GA = GA * (j + 1.5L) / ((j + 0.5L + h) * y);
    GB = GB * (j + 2) / ((j + 1 + h) * y);
    IA = IA + GA;
    IB = IB + GB;
    sum = sum + s * P * IA + Q * IB;
  }
  CheckFinite(sum, where);

  // Forward pass, j = m + 1, m + 2, ... from the start values.
  P = P0, Q = Q0, IA = IA0, IB = IB0, GA = GA0, GB = GB0;
  for (std::int64_t jj = u.m + 1;; ++jj) {
    extended j = static_cast<extended>(jj);
    P = P * lambda / j;
    Q = Q * lambda / (j + 0.5L);
    E = E - P;
    IA = IA - GA;
    IB = IB - GB;
    sum = sum + s * P * IA + Q * IB;
    GA = GA * y * (j - 0.5L + h) / (j + 0.5L);
    GB = GB * y * (j + h) / (j + 1);
    // A non-finite value would fail the stopping test for ever.
    CheckFinite(sum, where);
    CheckFinite(E * (IA - GA), where);
    if (E * (IA - GA) < CdfTailBound) break;
    if (P < NegligibleWeight && Q < NegligibleWeight) break;
  }
  return sum;
}

// The term-by-term derivative of the distribution function's series:
// sum_j (s p_j A_j + q_j B_j) with A_j, B_j half the x-derivatives of
// I_y(j + 1/2, h) and I_y(j + 1, h), started at the mode and walked by
// their ratio recurrences.
extended NonCentralTDensitySeries(extended x, extended nu, extended d) {
  const char* where = "noncentral t Density";
  SeriesSetUp u = SetUp(x, nu, d);
  const extended lambda = u.lambda, h = u.h, y = u.y, s = u.s;
  const extended lnGammaH = LnGamma(h);
  if (x == 0) {
    // Only the j = 0 term is left: the Poisson weight p_0 times the
    // central t density at 0.
    return CheckedExp(-lambda - LnGamma(1), where) *
           CheckedExp(LnGamma(h + 0.5L) - LnGamma(0.5L) - lnGammaH - 0.5L * CheckedLn(nu, where),
                      where);
  }
  const extended m = static_cast<extended>(u.m);
  const extended lnLambda = CheckedLn(lambda, where);
  const extended x2 = x * x;

  const extended p0 = CheckedExp(m * lnLambda - lambda - LnGamma(m + 1), where);
  const extended q0 =
      d * CheckedExp(m * lnLambda - lambda - 0.5L * LnTwo - LnGamma(m + 1.5L), where);
  const extended denominator = (x2 + nu) * (x2 + nu);
  const extended A0 = ScaledPowers(x * nu, LnGamma(h + m + 0.5L) - LnGamma(m + 0.5L) - lnGammaH,
                                   y, m - 0.5L, 1 - y, h - 1, where) /
                      denominator;
  const extended B0 = ScaledPowers(x * nu, LnGamma(h + m + 1) - LnGamma(m + 1) - lnGammaH, y, m,
                                   1 - y, h - 1, where) /
                      denominator;
  extended sum = s * p0 * A0 + q0 * B0;
  // The summed sizes of the terms, for the rounding share of the forward
  // pass's test.
  extended size = std::fabs(p0 * A0) + std::fabs(q0 * B0);

  // Backward pass, j = m - 1 down to k0.
  extended p = p0, q = q0, A = A0, B = B0;
  for (std::int64_t jj = u.m - 1; jj >= u.k0; --jj) {
    extended j = static_cast<extended>(jj);
    p = p * (j + 1) / lambda;
    q = q * (j + 1.5L) / lambda;
    A = A * ((x2 + nu) / x2) * (j + 0.5L) / (j + 0.5L + h);
    B = B * ((x2 + nu) / x2) * (j + 1) / (j + 1 + h);
    sum = sum + s * p * A + q * B;
    size = size + std::fabs(p * A) + std::fabs(q * B);
  }
  CheckFinite(sum, where);

  // Forward pass, j = m + 1, m + 2, ... from the start values. Away from the
  // centre the terms can be single-handedly below the term bound and yet
  // still rising, or many (about sqrt(lambda)) of that size: in the right
  // tail at nu = 100000, delta = 77 the q B test alone stops at once and
  // returns 2e-11 for a density of 5e-6, and at nu = 8, delta = 300 half
  // of the density. So the pass also waits until the terms fall and their
  // geometric tail is negligible.
  p = p0, q = q0, A = A0, B = B0;
  extended termA = std::fabs(p0 * A0), termB = std::fabs(q0 * B0);
  for (std::int64_t jj = u.m + 1;; ++jj) {
    extended j = static_cast<extended>(jj);
    p = p * lambda / j;
    q = q * lambda / (j + 0.5L);
    A = A * (x2 / (x2 + nu)) * (j - 0.5L + h) / (j - 0.5L);
    B = B * (x2 / (x2 + nu)) * (j + h) / j;
    sum = sum + s * p * A + q * B;
    // A non-finite value would fail the stopping test for ever.
    CheckFinite(sum, where);
    CheckFinite(q * B, where);
    const extended nextA = std::fabs(p * A), nextB = std::fabs(q * B);
    size = size + nextA + nextB;
    if (nextB < DensityTermBound &&
        GeometricTail(nextA, termA) + GeometricTail(nextB, termB) <=
            DensityTailShare * std::fabs(sum) + RoundingShare * size + NegligibleDensity)
      break;
    termA = nextA;
    termB = nextB;
  }
  return sum;
}
