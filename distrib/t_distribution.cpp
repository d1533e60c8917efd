#include "distrib/t_distribution.h"

#include <cmath>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/constants.h"
#include "distrib/distribution_errors.h"
#include "distrib/incomplete_beta.h"
#include "distrib/incomplete_gamma.h"
#include "distrib/ln_gamma.h"
#include "distrib/power.h"
#include "distrib/uniform_random.h"

namespace {

// Half-width of v in the ratio-of-uniforms sampler for nu >= 1:
// (nu-1)^((nu-1)/4) sqrt(2 nu) / (nu+1)^((nu+1)/4). The two powers
// overflow for nu above about 5300; there the same value is formed from
// logarithms.
extended RatioOfUniformsBound(extended nu) {
  try {
    return Power(nu - 1, (nu - 1) / 4) * std::sqrt(2 * nu) / Power(nu + 1, (nu + 1) / 4);
  } catch (const EArithmeticError&) {
    return ExtendedExp((nu - 1) / 4 * ExtendedLog(nu - 1) + ExtendedLog(2 * nu) / 2 -
                    (nu + 1) / 4 * ExtendedLog(nu + 1));
  }
}

}  // namespace

tT_distribution::tT_distribution(extended df) {
  ParameterCount = 1;
  Parameters[1] = {0, false, 0, DistributionInfinity};
  StandardNormal = std::make_unique<tNormal_distribution>(0, 1);
  ChiGamma = std::make_unique<tGamma_distribution>(df / 2, 1);
  SetParameters(df, 0, 0);
}

std::unique_ptr<tT_distribution> tT_distribution::Create(extended df) {
  return std::make_unique<tT_distribution>(df);
}

tT_distribution::~tT_distribution() {
  StandardNormal.reset();
  ChiGamma.reset();
}

bool tT_distribution::SetParameters(extended df, extended p2, extended p3) {
  tDistribution::SetParameters(df, p2, p3);
  DegreesOfFreedom = df;
  LogNormalisingConstant = LnGamma((df + 1) / 2) - LnGamma(df / 2) - ExtendedLog(df * Pi) / 2;
  if (df >= 1) RatioBound = RatioOfUniformsBound(df);
  if (df < 1) {
    RatioBound = std::sqrt(2 * df);
    ChiGamma->SetParameters(df / 2, 1, 0);
  }
  return true;
}

// Gamma((nu+1)/2) / (Gamma(nu/2) sqrt(nu pi)) (nu/(nu + x^2))^((nu+1)/2).
extended tT_distribution::Density(extended x) {
  if (!InSupport(x)) return 0;
  extended nu = DegreesOfFreedom;
  return ExtendedExp(ExtendedLog(nu / (nu + x * x)) * (nu + 1) / 2 + LogNormalisingConstant);
}

// 1 - I_r(nu/2, 1/2)/2 for x >= 0 and I_r(nu/2, 1/2)/2 below, with
// r = nu/(nu + x^2) and 1 - r = x^2/(nu + x^2) formed apart, so that
// neither loses digits when x^2 is tiny or huge beside nu. Exact for every
// nu (no normal approximation): the tail is accurate to about 1e-19
// absolute.
extended tT_distribution::Cdf(extended x) {
  if (!InSupport(x)) return tDistribution::Cdf(x);
  const extended nu = DegreesOfFreedom, x2 = x * x;
  const extended tail = 0.5L * IncompleteBeta(nu / (nu + x2), x2 / (nu + x2), nu / 2, 0.5L);
  return x >= 0 ? 1 - tail : tail;
}

// I_r(nu/2, 1/2)/2 as in Cdf, for x beyond the support too: where x^2
// overflows, r = nu/x^2 is formed as (nu/|x|)/|x| and 1 - r is 1.
extended tT_distribution::UpperTail(extended x) {
  if (std::isnan(x)) return x;
  const extended nu = DegreesOfFreedom, x2 = x * x;
  const bool finite = std::isfinite(x2);
  const extended r = finite ? nu / (nu + x2) : nu / std::fabs(x) / std::fabs(x);
  const extended tail = 0.5L * IncompleteBeta(r, finite ? x2 / (nu + x2) : 1, nu / 2, 0.5L);
  return x >= 0 ? tail : 1 - tail;
}

bool tT_distribution::HasMean() { return DegreesOfFreedom > 1; }

bool tT_distribution::HasVariance() { return DegreesOfFreedom > 2; }

extended tT_distribution::Mean() {
  RaiseArgumentErrorIf(!HasMean(), 1362);
  return 0;
}

extended tT_distribution::Variance() {
  RaiseArgumentErrorIf(!HasVariance(), 1363);
  return DegreesOfFreedom / (DegreesOfFreedom - 2);
}

// A t variate on nu degrees of freedom:
//  - nu = 1 and 3: from a point (b, c) uniform in the unit disc, c/b (a
//    Cauchy variate) and sqrt(3) c / (b + 1) (Kinderman, A. J., Monahan,
//    J. F. and Ramage, J. G. (1977), Computer methods for sampling from
//    Student's t distribution, Math. Comp. 31, 1009-1018);
//  - other nu > 1: the ratio-of-uniforms method of the same paper, x = v/u
//    accepted when x^2 <= nu (u^(-4/(nu+1)) - 1), that is u^2 at most the
//    density's kernel (1 + x^2/nu)^(-(nu+1)/2);
//  - nu < 1: z sqrt(nu/2) / sqrt(g) with z standard normal and g
//    gamma(nu/2, 1), so that z / sqrt(2g/nu) is a t variate (the
//    definition; Devroye, L. (1986), Non-Uniform Random Variate
//    Generation, Springer, section IX.5).
// Exact apart from the uniform generator's granularity.
extended tT_distribution::RandomValue() {
  extended nu = DegreesOfFreedom;
  if (nu == 1 || nu == 3) {
    extended b, c;
    do {
      b = 2 * UniformRandom() - 1;
      c = 2 * UniformRandom() - 1;
    } while (b * b + c * c > 1);
    if (nu == 1) return c / b;
    return std::sqrt(3.0L) * c / (b + 1);
  }
  if (nu > 1) {
    for (;;) {
      extended u = UniformRandom();
      extended x = (2 * UniformRandom() - 1) * RatioBound / u;
      extended w = (Power(u, -4 / (nu + 1)) - 1) * nu;
      if (w >= x * x) return x;
    }
  }
  extended z = StandardNormal->RandomValue();
  extended g = ChiGamma->RandomValue();
  return z * std::sqrt(nu / 2) / std::sqrt(g);
}
