#include "distrib/non_central_t_distribution.h"

#include <cmath>

#include "distrib/argument_checks.h"
#include "distrib/ln_gamma.h"
#include "distrib/non_central_t_series.h"

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
  DegreesOfFreedom = df;
  Noncentrality = delta;
  CentralT->SetParameters(df, 0, 0);
  return true;
}

// The central t for zero noncentrality; the rule for outside points; else
// the series, for negative delta through P(T <= x; delta) = 1 - P(T <= -x; -delta).
extended tNon_central_t_distribution::Cdf(extended x) {
  if (NearlyEqual(0, Noncentrality)) return CentralT->Cdf(x);
  if (!InSupport(x)) return tDistribution::Cdf(x);
  if (Noncentrality < 0) return 1 - NonCentralTCdfSeries(-x, DegreesOfFreedom, -Noncentrality);
  return NonCentralTCdfSeries(x, DegreesOfFreedom, Noncentrality);
}

// The density at x for delta equals the density at -x for -delta.
extended tNon_central_t_distribution::Density(extended x) {
  if (NearlyEqual(0, Noncentrality)) return CentralT->Density(x);
  if (!InSupport(x)) return 0;
  if (Noncentrality < 0) return NonCentralTDensitySeries(-x, DegreesOfFreedom, -Noncentrality);
  return NonCentralTDensitySeries(x, DegreesOfFreedom, Noncentrality);
}

bool tNon_central_t_distribution::HasMean() { return DegreesOfFreedom > 1; }

bool tNon_central_t_distribution::HasVariance() { return DegreesOfFreedom > 2; }

// delta sqrt(nu/2) Gamma((nu-1)/2) / Gamma(nu/2); callers ask HasMean first.
extended tNon_central_t_distribution::Mean() {
  extended nu = DegreesOfFreedom;
  return Noncentrality * std::sqrt(nu / 2) * std::exp(LnGamma((nu - 1) / 2) - LnGamma(nu / 2));
}

// (delta^2 + 1) nu/(nu - 2) - mean^2; callers ask HasVariance first.
extended tNon_central_t_distribution::Variance() {
  extended nu = DegreesOfFreedom;
  extended mean = Mean();
  return (Noncentrality * Noncentrality + 1) * nu / (nu - 2) - mean * mean;
}
