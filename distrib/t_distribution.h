// Student's t distribution with a real number of degrees of freedom.
#pragma once

#include <memory>

#include "distrib/distribution.h"
#include "distrib/gamma_distribution.h"
#include "distrib/normal_distribution.h"

class tT_distribution : public tContinuous_distribution {
 public:
  // Create: nu in (0, 2147483647).
  explicit tT_distribution(extended df);
  static std::unique_ptr<tT_distribution> Create(extended df);
  ~tT_distribution() override;

  bool SetParameters(extended df, extended p2, extended p3) override;
  extended Density(extended x) override;
  extended Cdf(extended x) override;
  // P(T > x), formed directly (not as 1 - Cdf(x)), so that for x > 0 it
  // keeps its relative accuracy, a few units of the last place times
  // nu/2, down to the smallest normal extended values, also beyond the
  // support (|x| > 2147483647).
  extended UpperTail(extended x);
  bool HasMean() override;
  bool HasVariance() override;
  extended Mean() override;
  extended Variance() override;
  extended RandomValue() override;

 protected:
  extended DegreesOfFreedom = 0;
  extended LogNormalisingConstant = 0;
  extended RatioBound = 0;
  std::unique_ptr<tNormal_distribution> StandardNormal;
  std::unique_ptr<tGamma_distribution> ChiGamma;
};
