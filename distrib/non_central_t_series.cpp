#include "distrib/non_central_t_series.h"

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"
#include "distrib/incomplete_beta.h"
#include "distrib/incomplete_beta_ladder.h"
#include "distrib/incomplete_gamma.h"
#include "distrib/ln_gamma.h"
#include "distrib/power.h"

namespace {

// The density's backward pass reaches down to lambda - 8 sqrt(lambda).
constexpr extended BackwardReach = 8;
// The distribution function's passes stop when the terms still to come
// are bounded by this (absolute; the value lies in [0, 1], where the
// extended unit roundoff is 5.4e-20),
constexpr extended NegligibleTail = 1e-20L;
// or by this when summed in double precision (unit roundoff 1.1e-16).
constexpr double DraftTail = 1e-18;
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
// Indices of the series are 32-bit integers: a Poisson mean beyond them is
// the incomplete gamma argument the distribution function refuses (1361).
constexpr extended LargestPoissonMean = LargestWholeArgument;

const extended LnTwo = ExtendedLog(2.0L);

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
  const extended lnLead = ExtendedLog(std::fabs(lead));
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
// (the mode of the weights, ties to even), y = x^2/(x^2 + nu) and
// z = 1 - y = nu/(x^2 + nu), sign of x.
struct SeriesSetUp {
  extended lambda, h, y, z, s;
  std::int64_t k0, m;
};

SeriesSetUp SetUp(extended x, extended nu, extended d) {
  SeriesSetUp u;
  u.lambda = CheckFinite(d * d / 2, "noncentral t");
  RaiseArgumentErrorIf(u.lambda > LargestPoissonMean, 1361);
  u.h = nu / 2;
  u.y = x == 0 ? 0 : x * x / (x * x + nu);
  u.z = nu / (x * x + nu);
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
// mode m of the Poisson weights (Benton and Krishnamoorthy, Computational
// Statistics and Data Analysis 43, 2003): the incomplete beta values come
// from two calls at m and the recurrences I_y(a+1, h) = I_y(a, h) - G(a)
// with G(a) = y^a (1-y)^h / (a B(a, h)), walked down and then up until the
// weights still to come, times the largest incomplete beta value they can
// meet, are below NegligibleTail. The start weights and G values come from
// the saddle-point power terms, accurate to a few units of the last place
// whatever nu and lambda. About 20 sqrt(lambda) terms; absolute error a few
// 1e-19 times that count.
//
// The first two derivatives in d come with it at no further special-
// function cost: only the weights depend on d. With lambda = d^2/2,
// P_j'/P_j = 2 (j - lambda)/d and P_j''/P_j = j (2j - 1)/lambda - 4j - 1
// + 2 lambda; for Q_j put j + 1/2 for j in the first and j (2j + 1)/lambda
// - 4j - 3 + 2 lambda for the second (the 1/d^2 parts already cancelled,
// so that tiny d loses nothing); and dPhi(-d)/dd = -phi(d),
// d2Phi(-d)/dd2 = d phi(d).
namespace {

// The sums of the series' terms a = s P_j I_y(j + 1/2, h) and
// b = Q_j I_y(j + 1, h) that its value and derivatives need: with
// e = j - lambda, sum a, sum b, sum e (a + b), sum e^2 (a + b) and
// sum j (a - b).
struct tSeriesSums {
  extended a = 0, b = 0, e = 0, e2 = 0, j = 0;
};

// Both passes over the terms, in the arithmetic of Real: from the mode m
// down to 0 and up, each until the terms still to come are below tail.
// Below j the weights fall at least by the ratio (j + 1/2) / lambda and
// every I_y is at most 1; past the mode they fall at least by
// lambda / (j + 1), and the I_y values fall with j.
template <class Real>
tSeriesSums SumTerms(const SeriesSetUp& u, extended P0, extended Q0, tIncompleteBetaLadder& ladder,
                     Real tail) {
  const char* where = "noncentral t Cdf";
  const Real lambda = static_cast<Real>(u.lambda), s = static_cast<Real>(u.s);
  const Real inverseLambda = 1 / lambda;
  Real sumA = 0, sumB = 0, sumE = 0, sumE2 = 0, sumJ = 0;
  auto add = [&](Real j, Real P, Real Q, const tIncompleteBetaLadder::tRung& I) {
    const Real a = s * P * static_cast<Real>(I.half), b = Q * static_cast<Real>(I.whole);
    const Real ab = a + b, e = j - lambda;
    sumA += a;
    sumB += b;
    sumE += e * ab;
    sumE2 += e * (e * ab);
    sumJ += j * (a - b);
  };
  add(static_cast<Real>(u.m), static_cast<Real>(P0), static_cast<Real>(Q0), ladder.At(u.m));

  Real P = static_cast<Real>(P0), Q = static_cast<Real>(Q0);
  for (std::int64_t jj = u.m - 1; jj >= 0; --jj) {
    const Real j = static_cast<Real>(jj);
    P *= (j + 1) * inverseLambda;
    Q *= (j + Real(1.5)) * inverseLambda;
    add(j, P, Q, ladder.At(jj));
    // A non-finite value would never meet the stopping test.
    if (!std::isfinite(sumA + sumB)) RaiseArithmeticError("overflow", where);
    // (P + Q) r / (1 - r) < tail for r = (j + 1/2)/lambda.
    if (j + Real(0.5) < lambda && (P + Q) * (j + Real(0.5)) < tail * (lambda - j - Real(0.5))) break;
  }

  P = static_cast<Real>(P0), Q = static_cast<Real>(Q0);
  for (std::int64_t jj = u.m + 1;; ++jj) {
    const Real j = static_cast<Real>(jj);
    const Real shared = lambda / (j * (j + Real(0.5)));
    P *= (j + Real(0.5)) * shared;
    Q *= j * shared;
    const tIncompleteBetaLadder::tRung I = ladder.At(jj);
    add(j, P, Q, I);
    if (!std::isfinite(sumA + sumB)) RaiseArithmeticError("overflow", where);
    // still lambda/(j + 1) / (1 - lambda/(j + 1)) < tail.
    const Real still = std::max<Real>(static_cast<Real>(I.half), 0) * P +
                       std::max<Real>(static_cast<Real>(I.whole), 0) * Q;
    if (j + 1 > lambda && still * lambda < tail * (j + 1 - lambda)) break;
  }
  return {sumA, sumB, sumE, sumE2, sumJ};
}

}  // namespace

extended NonCentralTCdfSeries(extended x, extended nu, extended d, tNoncentralityDerivatives* derivatives,
                              tIncompleteBetaLadder* ladder, tSeriesPrecision precision) {
  const char* where = "noncentral t Cdf";
  if (std::isnan(x) || std::isnan(nu) || std::isnan(d)) RaiseArithmeticError("invalid operation", where);
  const extended normalTail = 0.5L * ExtendedErfc(d * InverseSqrtTwo);
  const extended normalDensity = InverseSqrtTwoPi * ExtendedExp(-0.5L * d * d);
  if (derivatives) *derivatives = {-normalDensity, d * normalDensity};
  SeriesSetUp u = SetUp(x, nu, d);
  // At x = 0 (or x^2 vanishing beside nu) every I_y term is 0.
  if (u.y == 0) return normalTail;
  const extended lambda = u.lambda;
  const extended m = static_cast<extended>(u.m);
  tIncompleteBetaLadder own;
  if (!ladder) ladder = &own;
  if (!ladder->Matches(u.y, u.z, u.h)) ladder->Reset(u.y, u.z, u.h);

  // P_j = e^-lambda lambda^j / j! / 2 and Q_j = e^-lambda lambda^(j+1/2) /
  // Gamma(j + 3/2) / 2 (d / sqrt 2 = sqrt lambda).
  const extended P0 = 0.5L * (u.m == 0 ? ExtendedExp(-lambda) : GammaPowerTerm(lambda, m) / m);
  const extended Q0 = 0.5L * GammaPowerTerm(lambda, m + 0.5L) / (m + 0.5L);
  const tSeriesSums sums = precision == tSeriesPrecision::Double
                               ? SumTerms<double>(u, P0, Q0, *ladder, DraftTail)
                               : SumTerms<extended>(u, P0, Q0, *ladder, NegligibleTail);
  if (derivatives) {
    derivatives->slope += CheckFinite(2 / d * (sums.e + 0.5L * sums.b), where);
    derivatives->curvature +=
        CheckFinite(2 / lambda * sums.e2 - sums.j / lambda - sums.a - 3 * sums.b, where);
  }
  return normalTail + (sums.a + sums.b);
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
