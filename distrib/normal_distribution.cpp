#include "distrib/normal_distribution.h"

#include <cmath>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"
#include "distrib/incomplete_gamma.h"
#include "distrib/uniform_random.h"

namespace {

// Where IncompleteGamma itself turns from the series to the continued
// fraction for a = 1/2 (x = a + 1): below it Q >= 0.08, so 1 - P loses
// nothing that matters.
constexpr extended NormalContinuedFractionStart = 1.5L;

}  // namespace

tNormal_distribution::tNormal_distribution(extended mean, extended variance) {
  ParameterCount = 2;
  Parameters[1] = {0, false, -DistributionInfinity, DistributionInfinity};
  Parameters[2] = {0, false, 0, DistributionInfinity};
  SetParameters(mean, variance, 0);
}

std::unique_ptr<tNormal_distribution> tNormal_distribution::Create(extended mean, extended variance) {
  return std::make_unique<tNormal_distribution>(mean, variance);
}

bool tNormal_distribution::SetParameters(extended mean, extended variance, extended third) {
  tDistribution::SetParameters(mean, variance, third);
  Mu = mean;
  Sigma2 = variance;
  Sigma = std::sqrt(variance);
  LogNormalisingConstant = -(ExtendedLog(2 * Pi) + ExtendedLog(variance)) / 2;
  RatioBound = std::sqrt(2 / ExtendedExp(1.0L));
  return true;
}

// exp(-(ln 2 pi + ln sigma^2)/2 - (x - mu)^2 / (2 sigma^2)).
extended tNormal_distribution::Density(extended x) {
  if (!InSupport(x)) return 0;
  extended exponent = CheckFinite((x - Mu) * (x - Mu) / (2 * Sigma2), "normal Density");
  return ExtendedExp(LogNormalisingConstant - exponent);
}

// Phi(z) = (1 + P(1/2, z^2/2)) / 2 for z = (x - mu)/sigma >= 0; below,
// Phi(z) = Q(1/2, z^2/2) / 2 = erfc(-z/sqrt 2) / 2. From z^2/2 = 3/2 on
// the lower tail is Legendre's continued fraction for Q itself, so that
// it keeps its relative accuracy (a few units of the last place) down to
// the smallest extended values; 1/2 - P/2 there would keep only an
// absolute 1e-19. An upper tail of the standard normal is Cdf(-z),
// never 1 - Cdf(z).
extended tNormal_distribution::Cdf(extended x) {
  if (!InSupport(x)) return tDistribution::Cdf(x);
  extended z = CheckFinite((x - Mu) / Sigma, "normal Cdf");
  // Far out the incomplete gamma would refuse z^2/2 (and z^2 may overflow).
  if (std::fabs(z) > NormalTailSaturation) return z > 0 ? 1 : 0;
  extended halfSquare = CheckFinite(z * z * 0.5L, "normal Cdf");
  if (z >= 0) return 0.5L + 0.5L * IncompleteGamma(halfSquare, 0.5L);
  if (halfSquare >= NormalContinuedFractionStart) return 0.5L * IncompleteGammaContinuedFraction(halfSquare, 0.5L);
  return 0.5L - 0.5L * IncompleteGamma(halfSquare, 0.5L);
}

extended tNormal_distribution::Mean() { return Mu; }

extended tNormal_distribution::Variance() { return Sigma2; }

// A normal variate by the ratio-of-uniforms method (Kinderman, A. J. and
// Monahan, J. F. (1977), Computer generation of random variables using
// the ratio of uniform deviates, ACM Trans. Math. Software 3, 257-260):
// (u, v) uniform on [0, 1] x [-sqrt(2/e), sqrt(2/e)] is accepted when
// x = v/u satisfies x^2 <= -4 ln u. Two squeezes on -4 ln u save most
// logarithms: 6 - 8u + 2u^2 below it (accept) and 2/u - 2u above it
// (reject). Exact apart from the uniform generator's granularity; about
// 1.37 pairs of uniforms per variate.
extended tNormal_distribution::RandomValue() {
  extended x;
  for (;;) {
    extended u = UniformRandom();
    extended v = (2 * UniformRandom() - 1) * RatioBound;
    x = v / u;
    extended x2 = x * x;
    if (x2 <= 6 - 8 * u + 2 * u * u) break;
    if (x2 >= 2 / u - 2 * u) continue;
    if (x2 <= -4 * ExtendedLog(u)) break;
  }
  return Mu + Sigma * x;
}
