// The chi-square distribution: the gamma distribution with shape nu/2 and
// rate 1/2.
#pragma once

#include <memory>

#include "distrib/gamma_distribution.h"

class tChi_square_distribution : public tGamma_distribution {
 public:
  // Create: nu > 0 and nu/2 < 2147483647.
  explicit tChi_square_distribution(extended df);
  static std::unique_ptr<tChi_square_distribution> Create(extended df);

  // Sets shape nu/2 and rate 1/2; p2 and p3 are ignored.
  bool SetParameters(extended df, extended p2, extended p3) override;

 protected:
  extended DegreesOfFreedom = 0;
};
