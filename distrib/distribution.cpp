#include "distrib/distribution.h"

#include <cmath>

#include "distrib/argument_checks.h"
#include "distrib/arithmetic_faults.h"
#include "distrib/uniform_random.h"

tDistribution::tDistribution() = default;
tDistribution::~tDistribution() = default;

// Stores the three values, then validates records 1 to ParameterCount in
// order: strictly above the lower bound (1301, 1305, 1309), strictly below
// the upper bound (1303). Values already stored stay stored on an error.
bool tDistribution::SetParameters(extended p1, extended p2, extended p3) {
  Parameters[1].Value = p1;
  Parameters[2].Value = p2;
  Parameters[3].Value = p3;
  for (int i = 1; i <= ParameterCount; ++i) {
    CheckArgument(1297 + 4 * i, Parameters[i].Value, Parameters[i].LowerBound);
    CheckArgument(1303, Parameters[i].Value, Parameters[i].UpperBound);
  }
  SupportLower = -DistributionInfinity;
  SupportUpper = DistributionInfinity;
  return true;
}

bool tDistribution::InSupport(extended x) { return SupportLower <= x && x <= SupportUpper; }

extended tDistribution::Density(extended) { return 0; }

extended tDistribution::PointProbability(extended) { return 0; }

// The rule for x outside the support: 0 below it, 1 at or above its upper
// end, otherwise the probability of [SupportLower, x]. A NaN argument would
// recurse through IntervalProbability without end: it is an invalid
// operation.
extended tDistribution::Cdf(extended x) {
  if (std::isnan(x)) RaiseArithmeticError("invalid operation", "Cdf");
  if (x < SupportLower) return 0;
  if (x >= SupportUpper) return 1;
  return IntervalProbability(SupportLower, x);
}

// P(lower <= X <= upper) from Cdf, with the ends clipped to the support and
// an end at +-2147483647 read as infinite.
extended tDistribution::IntervalProbability(extended lower, extended upper) {
  if (lower < SupportLower) lower = SupportLower;
  if (upper > SupportUpper) upper = SupportUpper;
  extended r;
  if (upper >= DistributionInfinity)
    r = 1 - Cdf(lower) + PointProbability(lower);
  else if (lower <= -DistributionInfinity)
    r = Cdf(upper);
  else
    r = Cdf(upper) - Cdf(lower) + PointProbability(lower);
  if (r < 0) r = 0;
  if (r > 1) r = 1;
  return r;
}

bool tDistribution::HasMean() { return true; }

bool tDistribution::HasVariance() { return true; }

extended tDistribution::StandardDeviation() {
  RaiseArgumentErrorIf(!HasVariance(), 1363);
  return CheckFinite(std::sqrt(Variance()), "StandardDeviation");
}

// A variate by inversion, Quantile(u) for u uniform on (0, 1) (Devroye
// 1986, section II.2): as accurate as the quantile, which is found to the
// unit's tolerance.
extended tDistribution::RandomValue() { return Quantile(UniformRandom()); }
