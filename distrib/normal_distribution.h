// The normal distribution, parameterised by its mean and variance.
#pragma once

#include <memory>

#include "distrib/distribution.h"

class tNormal_distribution : public tContinuous_distribution {
 public:
  // Create: mean in (-2147483647, 2147483647), variance in (0, 2147483647).
  tNormal_distribution(extended mean, extended variance);
  static std::unique_ptr<tNormal_distribution> Create(extended mean, extended variance);

  bool SetParameters(extended mean, extended variance, extended third) override;
  extended Density(extended x) override;
  extended Cdf(extended x) override;
  extended Mean() override;
  extended Variance() override;
  extended RandomValue() override;

 protected:
  extended Mu = 0;
  extended Sigma2 = 0;
  extended Sigma = 0;
  extended LogNormalisingConstant = 0;
  extended RatioBound = 0;
};
