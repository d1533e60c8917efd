#include "distrib/gamma_distribution.h"

#include <cmath>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"
#include "distrib/incomplete_gamma.h"
#include "distrib/ln_gamma.h"
#include "distrib/power.h"
#include "distrib/uniform_random.h"

tGamma_distribution::tGamma_distribution(extended shape, extended rate) {
  ParameterCount = 2;
  Parameters[1] = {0, false, 0, DistributionInfinity};
  Parameters[2] = {0, false, 0, DistributionInfinity};
  SetParameters(shape, rate, 0);
}

std::unique_ptr<tGamma_distribution> tGamma_distribution::Create(extended shape, extended rate) {
  return std::make_unique<tGamma_distribution>(shape, rate);
}

bool tGamma_distribution::SetParameters(extended shape, extended rate, extended p3) {
  tDistribution::SetParameters(shape, rate, p3);
  Shape = shape;
  Rate = rate;
  LogNormalisingConstant = shape * ExtendedLog(rate) - LnGamma(shape);
  SupportLower = 0;
  SupportUpper = DistributionInfinity;
  if (shape > 1) {
    // Bounds of v in the ratio-of-uniforms sampler around the mode. The
    // difference alpha - s is formed as (alpha - 1)^2 / (alpha + s), its
    // value without the cancellation that makes it 0 (and its logarithm a
    // fault) for a shape within about 1e-9 of 1.
    extended s = std::sqrt(2 * shape - 1);
    extended lnShapeLessOne = CheckedLn(shape - 1, "gamma SetParameters");
    extended shapeMinusS = (shape - 1) * (shape - 1) / (shape + s);
    SamplerConstant1 =
        (1 - s) * std::sqrt(CheckedExp((shape - 1) * (CheckedLn(shapeMinusS, "gamma SetParameters") -
                                                      lnShapeLessOne) + s - 1,
                                       "gamma SetParameters"));
    SamplerConstant2 =
        (1 + s) * std::sqrt(CheckedExp((shape - 1) * (ExtendedLog(shape + s) - lnShapeLessOne) - s - 1,
                                       "gamma SetParameters"));
  } else if (shape < 1) {
    SamplerConstant1 = (EulerE + shape) / EulerE;
    SamplerConstant2 = 1 / shape;
  }
  return true;
}

// For a shape below 1 the origin, where the density is unbounded, is left out.
bool tGamma_distribution::InSupport(extended x) {
  if (Shape >= 1) return tDistribution::InSupport(x);
  return tDistribution::InSupport(x) && x > 0;
}

// x^(alpha-1) lambda^alpha e^(-lambda x) / Gamma(alpha); at the origin
// lambda for the exponential, 0 otherwise.
extended tGamma_distribution::Density(extended x) {
  if (InSupport(x) && x > 0)
    return CheckedExp((Shape - 1) * ExtendedLog(x) + LogNormalisingConstant - Rate * x, "gamma Density");
  if (NearlyEqual(1, Shape) && x == 0) return Rate;
  return 0;
}

// P(alpha, lambda x) for every shape (no normal approximation).
extended tGamma_distribution::Cdf(extended x) {
  if (!InSupport(x)) {
    // For a shape below 1 the origin lies outside the support, but
    // P(X <= 0) = 0; the rule for outside points would ask for Cdf(0) again.
    if (x == 0) return 0;
    return tDistribution::Cdf(x);
  }
  return IncompleteGamma(Rate * x, Shape);
}

extended tGamma_distribution::Mean() { return Shape / Rate; }

extended tGamma_distribution::Variance() { return Shape / (Rate * Rate); }

// A gamma(shape, 1) variate, scaled by 1/lambda:
//  - shape 1: the exponential by inversion, -ln u;
//  - shape above 1: the ratio-of-uniforms method of Kinderman and Monahan
//    (1977, see tNormal_distribution::RandomValue) centred on the mode
//    shape - 1, with a quick acceptance and a quick rejection bound before
//    the exact test (the same family as Cheng, R. C. H. and Feast, G. M.
//    (1979), Some simple gamma variate generators, Appl. Statist. 28,
//    290-295); the expected number of trials stays bounded as shape grows;
//  - shape below 1: rejection from the mixture of x^(shape-1) on (0, 1) and
//    e^-x beyond, algorithm GS of Ahrens, J. H. and Dieter, U. (1974),
//    Computer methods for sampling from gamma, beta, Poisson and binomial
//    distributions, Computing 12, 223-246.
// Exact apart from the uniform generator's granularity.
extended tGamma_distribution::RandomValue() {
  extended X;
  if (Shape == 1) {
    X = -ExtendedLog(UniformRandom());
  } else if (Shape > 1) {
    for (;;) {
      extended u = UniformRandom();
      extended w = UniformRandom();
      extended v = SamplerConstant1 + w * (SamplerConstant2 - SamplerConstant1);
      extended x = v / u;
      extended g = x + Shape - 1;
      extended c = -2 * u * u + 8 * u - 6;
      extended k = 2 * u * u - 2;
      bool quickAccept = x >= 0 ? -x * x * (x + g) >= c * g * g : -x * x >= c * g;
      if (quickAccept) {
        X = g;
        break;
      }
      bool quickReject = x >= 0 ? -u * x * x <= k * g : -u * x * x <= k * (Shape - 1);
      if (quickReject || g <= 0) continue;
      if (x + 2 * ExtendedLog(u) <= (Shape - 1) * ExtendedLog(1 + x / (Shape - 1))) {
        X = g;
        break;
      }
    }
  } else {
    extended b = SamplerConstant1;
    for (;;) {
      extended u = UniformRandom();
      extended p = b * u;
      extended w = UniformRandom();
      if (p <= 1) {
        X = Power(p, SamplerConstant2);
        if (ExtendedLog(w) <= -X) break;
      } else {
        X = -ExtendedLog((b - p) * SamplerConstant2);
        if (w <= Power(X, Shape - 1)) break;
      }
    }
  }
  return X / Rate;
}
