#include "distrib/non_central_t_distribution.h"

#include <cmath>

#include "core/extended_math.h"
#include "distrib/argument_checks.h"
#include "distrib/ln_gamma.h"
#include "distrib/non_central_t_integral.h"
#include "distrib/non_central_t_series.h"

namespace {

// From this noncentrality on the integral over the chi distribution is
// cheaper than the Poisson-weighted series, whose length grows like the
// noncentrality (both are accurate to about 1e-19 on either side).
constexpr extended IntegralNoncentrality = 40;

}  // namespace

tNon_central_t_distribution::tNon_central_t_distribution(extended df, extended delta) {
  ParameterCount = 2;
  Parameters[1] = {0, false, 0, DistributionInfinity};
  Parameters[2] = {0, false, -DistributionInfinity, DistributionInfinity};
  CentralT = std::make_unique<tT_distribution>(df);
  SetParameters(df, delta, 0);
}

std::unique_ptr<tNon_central_t_distribution> tNon_central_t_distribution::Create(extended df,
                                                                               extended delta) {
  return std::make_unique<tNon_central_t_distribution>(df, delta);
}

tNon_central_t_distribution::~tNon_central_t_distribution() { CentralT.reset(); }

bool tNon_central_t_distribution::SetParameters(extended df, extended delta, extended p3) {
  tDistribution::SetParameters(df, delta, p3);
  // The central t depends on nu alone; a search that moves only delta
  // leaves it as it is.
  if (df != DegreesOfFreedom) CentralT->SetParameters(df, 0, 0);
  DegreesOfFreedom = df;
  Noncentrality = delta;
  return true;
}

// The central t for zero noncentrality; the rule for outside points; else
// the series or, for large noncentralities, the integral; for negative
// delta through P(T <= x; delta) = 1 - P(T <= -x; -delta).
extended tNon_central_t_distribution::Cdf(extended x) {
  if (NearlyEqual(0, Noncentrality)) return CentralT->Cdf(x);
  if (!InSupport(x)) return tDistribution::Cdf(x);
  const bool reflect = Noncentrality < 0;
  const extended d = std::fabs(Noncentrality), at = reflect ? -x : x;
  const extended p = d >= IntegralNoncentrality ? NonCentralTCdfIntegral(at, DegreesOfFreedom, d)
                                                : NonCentralTCdfSeries(at, DegreesOfFreedom, d);
  return reflect ? 1 - p : p;
}

// With the reflection F(x; delta) = 1 - G(-x; -delta), F' = G' and
// F'' = -G'' (derivatives of G in its own noncentrality). Within the zero
// tolerance the value is the central t's and the derivatives the series'
// at the edge of the tolerance (they are smooth through 0).
extended tNon_central_t_distribution::CdfAndNoncentralityDerivatives(
    extended x, tNoncentralityDerivatives& derivatives, tIncompleteBetaLadder* ladder,
    tSeriesPrecision precision) {
  derivatives = {};
  if (!InSupport(x)) return tDistribution::Cdf(x);
  const bool reflect = Noncentrality < 0;
  const extended at = reflect ? -x : x;
  if (NearlyEqual(0, Noncentrality)) {
    NonCentralTCdfSeries(at, DegreesOfFreedom, EqualityTolerance, &derivatives, ladder, precision);
    if (reflect) derivatives.curvature = -derivatives.curvature;
    return CentralT->Cdf(x);
  }
  const extended d = std::fabs(Noncentrality);
  const extended p = d >= IntegralNoncentrality
                         ? NonCentralTCdfIntegral(at, DegreesOfFreedom, d, &derivatives)
                         : NonCentralTCdfSeries(at, DegreesOfFreedom, d, &derivatives, ladder, precision);
  if (!reflect) return p;
  derivatives.curvature = -derivatives.curvature;
  return 1 - p;
}

// The density at x for delta equals the density at -x for -delta.
extended tNon_central_t_distribution::Density(extended x) {
  if (NearlyEqual(0, Noncentrality)) return CentralT->Density(x);
  if (!InSupport(x)) return 0;
  const extended d = std::fabs(Noncentrality), at = Noncentrality < 0 ? -x : x;
  if (d >= IntegralNoncentrality) return NonCentralTDensityIntegral(at, DegreesOfFreedom, d);
  return NonCentralTDensitySeries(at, DegreesOfFreedom, d);
}

bool tNon_central_t_distribution::HasMean() { return DegreesOfFreedom > 1; }

bool tNon_central_t_distribution::HasVariance() { return DegreesOfFreedom > 2; }

// delta sqrt(nu/2) Gamma((nu-1)/2) / Gamma(nu/2); callers ask HasMean first.
extended tNon_central_t_distribution::Mean() {
  extended nu = DegreesOfFreedom;
  return Noncentrality * std::sqrt(nu / 2) * ExtendedExp(LnGamma((nu - 1) / 2) - LnGamma(nu / 2));
}

// (delta^2 + 1) nu/(nu - 2) - mean^2; callers ask HasVariance first.
extended tNon_central_t_distribution::Variance() {
  extended nu = DegreesOfFreedom;
  extended mean = Mean();
  return (Noncentrality * Noncentrality + 1) * nu / (nu - 2) - mean * mean;
}
