// The root of the distribution class family and the continuous branch with
// its generic quantile.
//
// Each concrete class has a constructor taking its parameters (it validates
// them through its own SetParameters and raises EArgumentError) and a static
// Create returning a std::unique_ptr. Objects are not copyable. Every real is
// the extended type.
#pragma once

#include <cstdint>

#include "core/extended.h"

// One parameter record: its value must lie strictly between the bounds.
struct DistributionParameter {
  extended Value = 0;
  bool MustBeInteger = false;
  extended LowerBound = 0;
  extended UpperBound = 0;
};

class tDistribution {
 public:
  tDistribution(const tDistribution&) = delete;
  tDistribution& operator=(const tDistribution&) = delete;

  // The thirteen operations, declared in their slot order (0 to 12).

  // Stores p1, p2, p3, validates records 1 to ParameterCount (raising
  // EArgumentError at the first violation) and resets the support to
  // [-2147483647, 2147483647].
  virtual bool SetParameters(extended p1, extended p2, extended p3);
  // SupportLower <= x <= SupportUpper.
  virtual bool InSupport(extended x);
  virtual extended Density(extended x);
  virtual extended PointProbability(extended x);
  // P(X <= x). Here the rule for x outside the support: 0 below, 1 at or
  // above the upper end, IntervalProbability(SupportLower, x) otherwise.
  virtual extended Cdf(extended x);
  // P(lower <= X <= upper), clamped to [0, 1].
  virtual extended IntervalProbability(extended lower, extended upper);
  virtual extended Quantile(extended p) = 0;
  virtual bool HasMean();
  virtual bool HasVariance();
  virtual extended Mean() = 0;
  virtual extended Variance() = 0;
  // sqrt(Variance()); EArgumentError 1363 when there is no variance.
  virtual extended StandardDeviation();
  // Inverse-transform sampling: Quantile(UniformRandom()).
  virtual extended RandomValue();

  virtual ~tDistribution();

  extended ParameterValue(int i) const { return Parameters[i].Value; }

 protected:
  tDistribution();

  std::uint8_t ParameterCount = 0;
  DistributionParameter Parameters[4];  // records 1 to 3 are used
  extended SupportLower = 0;
  extended SupportUpper = 0;
};

class tContinuous_distribution : public tDistribution {
 public:
  // The generic quantile: numerical inversion of Cdf by Newton steps
  // safeguarded by bisection.
  extended Quantile(extended p) override;

 protected:
  tContinuous_distribution() = default;
};
