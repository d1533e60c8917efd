// The gamma distribution with shape alpha and rate lambda.
#pragma once

#include <memory>

#include "distrib/distribution.h"

class tGamma_distribution : public tContinuous_distribution {
 public:
  // Create: shape and rate each in (0, 2147483647).
  tGamma_distribution(extended shape, extended rate);
  static std::unique_ptr<tGamma_distribution> Create(extended shape, extended rate);

  bool SetParameters(extended shape, extended rate, extended p3) override;
  bool InSupport(extended x) override;
  extended Density(extended x) override;
  extended Cdf(extended x) override;
  extended Mean() override;
  extended Variance() override;
  extended RandomValue() override;

 protected:
  extended Shape = 0;
  extended Rate = 0;
  extended LogNormalisingConstant = 0;
  extended SamplerConstant1 = 0;
  extended SamplerConstant2 = 0;
};
